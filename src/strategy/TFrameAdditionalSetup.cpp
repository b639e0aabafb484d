#include "strategy/TFrameAdditionalSetup.h"

#include <QHBoxLayout>

#include "bets/QtPlugInComboBox.h"
#include "strategy/AdditionalSetupContinuousWin.h"
#include "strategy/AdditionalSetupGroup.h"
#include "strategy/AdditionalSetupStartBet.h"
#include "strategy/AdditionalSetupTakeProfitStopLoss.h"
#include "strategy/TFrameAdditionalSetupContinuousWin.h"
#include "strategy/TFrameAdditionalSetupGroup.h"
#include "strategy/TFrameAdditionalSetupStartBet.h"
#include "strategy/TFrameAdditionalSetupTakeProfitStopLoss.h"
#include "widgets/QtMessages.h"

namespace zavuv {

TFrameAdditionalSetup::TFrameAdditionalSetup(AdditionalSetup& setup, QWidget* parent)
    : QWidget(parent), setup_(setup), page_(this, "附加設定", setup.BuiltInCount(), 2) {
  setObjectName(QStringLiteral("TFrameAdditionalSetup"));
  PanelSelect = page_.PanelSelect;
  Label1 = page_.Label1;
  ComboBoxSelect = page_.ComboBoxSelect;
  Panel1 = page_.Panel1;
  page_.Strip->addStretch(1);
  page_.LoadItems(setup_.Items(), -1);

  connect(ComboBoxSelect, &QComboBox::activated, this, &TFrameAdditionalSetup::ComboBoxSelectChange);
  setup_.OnComponentChanging = [this] { page_.DropView(); };
  setup_.OnComponentChanged = [this] { SetupChanged(); };
  if (setup_.ItemIndex() >= 0) SetupChanged();
}

TFrameAdditionalSetup::~TFrameAdditionalSetup() {
  setup_.OnComponentChanging = nullptr;
  setup_.OnComponentChanged = nullptr;
  page_.DropView();   // before the setup it shows
}

QString TFrameAdditionalSetup::Caption() const { return QString::fromStdString(setup_.Caption()); }

void TFrameAdditionalSetup::AddPlugIn(SetupPlugIn plugIn) {
  const std::string caption = plugIn.Description;
  setup_.AddPlugIn(std::move(plugIn));
  page_.AddItem(caption);
}

void TFrameAdditionalSetup::ComboBoxSelectChange(int index) {
  Guarded(this, [&] { setup_.ComboBoxSelectChange(index); });
}

void TFrameAdditionalSetup::SetupChanged() {
  page_.DropView();
  CommonAdditionalSetup* current = setup_.CurrentSetup();
  QWidget* builtIn = nullptr;
  if (auto* s = dynamic_cast<AdditionalSetupStartBet*>(current))
    builtIn = new TFrameAdditionalSetupStartBet(*s, Panel1);
  else if (auto* s = dynamic_cast<AdditionalSetupTakeProfitStopLoss*>(current))
    builtIn = new TFrameAdditionalSetupTakeProfitStopLoss(*s, Panel1);
  else if (auto* s = dynamic_cast<AdditionalSetupGroup*>(current))
    builtIn = new TFrameAdditionalSetupGroup(*s, Panel1);
  else if (auto* s = dynamic_cast<AdditionalSetupContinuousWin*>(current))
    builtIn = new TFrameAdditionalSetupContinuousWin(*s, Panel1);
  page_.ShowView<QWidget>(builtIn, current, setup_.ItemIndex(), "PlugInSetup");
  emit captionChanged(Caption());
}

}  // namespace zavuv
