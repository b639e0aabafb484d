#include "bets/TFrameBetSelector.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "bets/QtPlugInComboBox.h"
#include "plugins/QtPlugInPanel.h"
#include "widgets/QtMessages.h"

namespace zavuv {

using namespace kit;

TFrameBetSelector::TFrameBetSelector(BetSelector& selector, const char* caption, const char* eachName,
                                     const char* eachCaption, QWidget* parent)
    : TFrameCommonBet(parent), selector_(selector) {
  PanelSelect = Named(new QWidget(this), "PanelSelect");
  PanelSelect->setFixedHeight(std::max(25, fontMetrics().height() + 10));
  Label1 = Label(PanelSelect, "Label1", caption);
  ComboBoxSelect = Named(new QtPlugInComboBox(PanelSelect), "ComboBoxSelect");
  ComboBoxSelect->SetFirstPlugIn(selector_.BuiltInCount());
  ComboBoxSelect->setMinimumWidth(180);
  Label1->setBuddy(ComboBoxSelect);
  CheckBoxEach = CheckBox(PanelSelect, eachName, eachCaption, selector_.CheckBoxEach);
  auto* strip = new QHBoxLayout(PanelSelect);
  strip->setContentsMargins(4, 0, 4, 0);
  strip->addWidget(Label1);
  strip->addWidget(ComboBoxSelect);
  strip->addSpacing(12);
  strip->addWidget(CheckBoxEach);
  strip->addStretch(1);
  Panel1 = SelectorPanels(this, PanelSelect);

  connect(ComboBoxSelect, &QComboBox::activated, this, &TFrameBetSelector::ComboBoxSelectChange);
  connect(CheckBoxEach, &QCheckBox::clicked, this, [this](bool on) {
    selector_.CheckBoxEach = on;
    emit eachClicked(on);
  });
  selector_.OnComponentChanging = [this] { ComponentChanging(); };
  selector_.OnComponentChanged = [this] { ComponentChanged(); };
  LoadChoices();
}

TFrameBetSelector::~TFrameBetSelector() {
  selector_.OnComponentChanging = nullptr;
  selector_.OnComponentChanged = nullptr;
  delete view_;   // before the component it shows
  view_ = nullptr;
}

void TFrameBetSelector::LoadChoices() {
  const QSignalBlocker block(ComboBoxSelect);
  ComboBoxSelect->clear();
  for (const std::string& item : selector_.Items()) ComboBoxSelect->addItem(QString::fromStdString(item));
  ComboBoxSelect->setCurrentIndex(selector_.ItemIndex());
  CheckBoxEach->setChecked(selector_.CheckBoxEach);
}

void TFrameBetSelector::AddPlugIn(BetPlugIn plugIn) {
  const QString caption = QString::fromStdString(plugIn.Description);
  selector_.AddPlugIn(std::move(plugIn));
  const QSignalBlocker block(ComboBoxSelect);
  ComboBoxSelect->addItem(caption);
}

void TFrameBetSelector::LoadSettings() {
  LoadChoices();
  if (view_) view_->LoadSettings();
}

void TFrameBetSelector::ComboBoxSelectChange(int index) {
  if (!Guarded(this, [&] { selector_.ComboBoxSelectChange(index); })) LoadChoices();
}

void TFrameBetSelector::ComponentChanging() {
  delete view_;
  view_ = nullptr;
}

void TFrameBetSelector::ComponentChanged() {
  delete view_;
  view_ = nullptr;
  CommonBet* component = selector_.CurrentComponent();
  if (component) view_ = MakeView(*component);
  if (!view_ && selector_.ItemIndex() >= 0) {
    // A plug-in component: the panel its module makes (which goes before the
    // component does), or its caption when the module makes none.
    view_ = new TFrameCommonBet(Panel1);
    view_->setObjectName(QStringLiteral("PlugInComponent"));
    auto* layout = new QVBoxLayout(view_);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* panel = component ? MakePlugInPanel(component, view_) : nullptr;
    if (panel) {
      layout->addWidget(panel);
    } else {
      auto* caption = new QLabel(ComboBoxSelect->itemText(selector_.ItemIndex()), view_);
      caption->setObjectName(QStringLiteral("LabelPlugIn"));
      layout->addWidget(caption);
    }
    layout->addStretch(1);
  }
  if (view_) {
    view_->setParent(Panel1);
    Panel1->layout()->addWidget(view_);
    view_->show();
  }
  {
    const QSignalBlocker block(ComboBoxSelect);
    ComboBoxSelect->setCurrentIndex(selector_.ItemIndex());
  }
  emit componentChanged(selector_.ItemIndex());
}

}  // namespace zavuv
