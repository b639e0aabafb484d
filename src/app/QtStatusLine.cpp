#include "app/QtStatusLine.h"

#include <QFileInfo>
#include <QLabel>

#include "stats/Format.h"

namespace zavuv {

QtStatusLine::QtStatusLine(QWidget* parent) : QStatusBar(parent) {
  setObjectName(QStringLiteral("StatusLine"));
  setSizeGripEnabled(false);
  LabelStatus = new QLabel(this);
  LabelStatus->setObjectName(QStringLiteral("LabelStatus"));
  LabelFiles = new QLabel(this);
  LabelFiles->setObjectName(QStringLiteral("LabelFiles"));
  // Long texts are cut rather than widening the window.
  for (QLabel* label : {LabelStatus, LabelFiles}) {
    label->setMinimumWidth(0);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }
  addWidget(LabelStatus, 3);
  addPermanentWidget(LabelFiles, 2);
  LabelFiles->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void QtStatusLine::Say(const QString& text) {
  LabelStatus->setText(text);
  LabelStatus->setToolTip(text);
}

QString QtStatusLine::Said() const { return LabelStatus->text(); }

void QtStatusLine::SetFiles(const QString& shoesFile, const QString& strategyFile) {
  QStringList parts;
  if (!shoesFile.isEmpty()) parts << QStringLiteral("靴資料: ") + FileOf(shoesFile);
  if (!strategyFile.isEmpty()) parts << QStringLiteral("策略組合: ") + FileOf(strategyFile);
  LabelFiles->setText(parts.join(QStringLiteral(" · ")));
  QStringList full;
  if (!shoesFile.isEmpty()) full << shoesFile;
  if (!strategyFile.isEmpty()) full << strategyFile;
  LabelFiles->setToolTip(full.join(QLatin1Char('\n')));
}

QString QtStatusLine::Count(std::int64_t n) {
  return QString::fromStdString(FormatDecimal(static_cast<double>(n), 0, true));
}

QString QtStatusLine::FileOf(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace zavuv
