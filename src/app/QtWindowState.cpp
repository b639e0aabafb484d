#include "app/QtWindowState.h"

#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QWidget>

#include "app/QtRecentFiles.h"

namespace zavuv {

void QtWindowState::Read(const QString& file) const {
  if (file.isEmpty()) return;
  QSettings ini(file, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Window"));
  if (ini.contains(QStringLiteral("Geometry")))
    window_->restoreGeometry(ini.value(QStringLiteral("Geometry")).toByteArray());
  for (const auto& [key, splitter] : splitters_)
    if (ini.contains(QLatin1String(key))) splitter->restoreState(ini.value(QLatin1String(key)).toByteArray());
  for (const auto& [key, tabs] : tabs_) {
    const int index = ini.value(QLatin1String(key), -1).toInt();
    if (index >= 0 && index < tabs->count() && tabs->isTabVisible(index)) tabs->setCurrentIndex(index);
  }
  ini.endGroup();
  recent_.Read(ini);
}

void QtWindowState::Write(const QString& file) const {
  if (file.isEmpty()) return;
  QSettings ini(file, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Window"));
  ini.setValue(QStringLiteral("Geometry"), window_->saveGeometry());
  for (const auto& [key, splitter] : splitters_) ini.setValue(QLatin1String(key), splitter->saveState());
  for (const auto& [key, tabs] : tabs_) ini.setValue(QLatin1String(key), tabs->currentIndex());
  ini.endGroup();
  recent_.Write(ini);
}

}  // namespace zavuv
