#include "bets/TFrameBetSelector.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <algorithm>

#include "bets/QtPlugInComboBox.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameBetSelector::TFrameBetSelector(BetSelector& selector, const char* caption, const char* eachName,
                                     const char* eachCaption, QWidget* parent)
    : TFrameCommonBet(parent), selector_(selector), page_(this, caption, selector.BuiltInCount(), 0) {
  PanelSelect = page_.PanelSelect;
  PanelSelect->setFixedHeight(std::max(25, fontMetrics().height() + 10));
  Label1 = page_.Label1;
  ComboBoxSelect = page_.ComboBoxSelect;
  Panel1 = page_.Panel1;
  CheckBoxEach = CheckBox(PanelSelect, eachName, eachCaption, selector_.CheckBoxEach);
  page_.Strip->addSpacing(12);
  page_.Strip->addWidget(CheckBoxEach);
  page_.Strip->addStretch(1);

  connect(ComboBoxSelect, &QComboBox::activated, this, &TFrameBetSelector::ComboBoxSelectChange);
  connect(CheckBoxEach, &QCheckBox::clicked, this, [this](bool on) {
    selector_.CheckBoxEach = on;
    emit eachClicked(on);
  });
  selector_.OnComponentChanging = [this] { page_.DropView(); };
  selector_.OnComponentChanged = [this] { ComponentChanged(); };
  LoadChoices();
}

TFrameBetSelector::~TFrameBetSelector() {
  selector_.OnComponentChanging = nullptr;
  selector_.OnComponentChanged = nullptr;
  page_.DropView();   // before the component it shows
}

void TFrameBetSelector::LoadChoices() {
  page_.LoadItems(selector_.Items(), selector_.ItemIndex());
  CheckBoxEach->setChecked(selector_.CheckBoxEach);
}

void TFrameBetSelector::AddPlugIn(BetPlugIn plugIn) {
  const std::string caption = plugIn.Description;
  selector_.AddPlugIn(std::move(plugIn));
  page_.AddItem(caption);
}

void TFrameBetSelector::LoadSettings() {
  LoadChoices();
  if (TFrameCommonBet* view = CurrentView()) view->LoadSettings();
}

bool TFrameBetSelector::MayReplace(QWidget* parent, const BetSelector& selector, int index) {
  if (index == selector.ItemIndex() || !selector.Modified()) return true;
  return AskYesNo(parent, QStringLiteral("表格已更改但未儲存, 更換後更改會失去, 是否更換?"));
}

void TFrameBetSelector::ComboBoxSelectChange(int index) {
  if (!MayReplace(this, selector_, index)) {
    LoadChoices();
    return;
  }
  if (!Guarded(this, [&] { selector_.ComboBoxSelectChange(index); })) LoadChoices();
}

void TFrameBetSelector::ComponentChanged() {
  page_.DropView();
  CommonBet* component = selector_.CurrentComponent();
  TFrameCommonBet* builtIn = component ? MakeView(*component) : nullptr;
  page_.ShowView<TFrameCommonBet>(builtIn, component, selector_.ItemIndex(), "PlugInComponent");
  emit componentChanged(selector_.ItemIndex());
}

}  // namespace zavuv
