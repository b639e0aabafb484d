#include "app/QtRecentFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace zavuv {

void QtRecentFiles::Use(QStringList& list, const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  list.removeAll(full);
  list.prepend(full);
  while (list.size() > kRecentFiles) list.removeLast();
}

void QtRecentFiles::FillMenu(QMenu* menu, const OpenFunction& openShoes, const OpenFunction& openStrategies) const {
  menu->clear();
  auto add = [&](const QString& caption, const QString& path, const OpenFunction& open) {
    QAction* action = menu->addAction(caption);
    action->setToolTip(path);
    QObject::connect(action, &QAction::triggered, menu, [path, open] { open(path); });
  };
  for (const QString& path : Shoes) add(QFileInfo(path).fileName(), path, openShoes);
  if (!Shoes.isEmpty() && !Strategies.isEmpty()) menu->addSeparator();
  for (const QString& path : Strategies)
    add(QStringLiteral("策略組合: ") + QFileInfo(path).fileName(), path, openStrategies);
  if (menu->isEmpty()) menu->addAction(QStringLiteral("(沒有)"))->setEnabled(false);
}

void QtRecentFiles::Read(const QSettings& ini) {
  Shoes = ini.value(QStringLiteral("Recent/ShoeFiles")).toStringList().mid(0, kRecentFiles);
  Strategies = ini.value(QStringLiteral("Recent/StrategyFiles")).toStringList().mid(0, kRecentFiles);
}

void QtRecentFiles::Write(QSettings& ini) const {
  ini.setValue(QStringLiteral("Recent/ShoeFiles"), Shoes);
  ini.setValue(QStringLiteral("Recent/StrategyFiles"), Strategies);
}

}  // namespace zavuv
