#include "strategy/TFrameAdditionalSetupContinuousWin.h"

#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameAdditionalSetupContinuousWin::TFrameAdditionalSetupContinuousWin(AdditionalSetupContinuousWin& setup,
                                                                       QWidget* parent)
    : QWidget(parent), setup_(setup) {
  setObjectName(QStringLiteral("TFrameAdditionalSetupContinuousWin"));
  SpinEditConWin = Spin(this, "SpinEditConWin", setup_.ConWin, 2, 20);
  SpinEditConWin->setMinimumWidth(60);
  SpinEditConWin->setToolTip(QStringLiteral("以某個局數為一單元分析\n每當完成該局數後投注法及/或注碼法便會重新開始"));
  connect(SpinEditConWin, &QSpinBox::valueChanged, this, [this](int v) { setup_.ConWin = v; });
  auto* row = new QHBoxLayout;
  row->addWidget(Label(this, "Label1", "每連羸"));
  row->addWidget(SpinEditConWin);
  row->addWidget(Label(this, "Label2", "局後便重新開始注碼法"));
  row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addStretch(1);
}

}  // namespace zavuv
