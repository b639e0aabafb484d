#include "bets/TFrameBetAmountAntiCancel.h"

#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

TFrameBetAmountAntiCancel::TFrameBetAmountAntiCancel(BetAmountAntiCancel& amount, QWidget* parent)
    : TFrameBetAmountCancel(amount, parent) {
  setObjectName(QStringLiteral("TFrameBetAmountAntiCancel"));
  LabelNotice = kit::Label(this, "LabelNotice", "注意:本注碼法是反消數纜");
  QFont font(QStringLiteral("Arial"));
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans CJK TC")});
  font.setPixelSize(16);
  font.setBold(true);
  LabelNotice->setFont(font);
  LabelNotice->setStyleSheet(QStringLiteral("color: red;"));
  LabelNotice->setToolTip(
      QStringLiteral("一般消數纜是消「要羸」的注碼, 成功消得到即是羸了那些注碼, 相反斷纜就會輸大錢\n"
                     "反消數纜是要消「要輸」的注碼, 成功消得到即是輸了那些注碼, 反而斷纜就會羸大錢"));
  SpinEditLargest->setToolTip(QStringLiteral("當下注等於或大於此注碼, 而又羸了的話便當作斷纜\n輸入0或負數即表示不使用此設定"));
  MainLayout()->insertWidget(0, LabelNotice);
}

}  // namespace zavuv
