#include "strategy/TFrameAdditionalSetup.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "widgets/QtPanelKit.h"
#include "bets/QtPlugInComboBox.h"
#include "plugins/QtPlugInPanel.h"
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

using namespace kit;

TFrameAdditionalSetup::TFrameAdditionalSetup(AdditionalSetup& setup, QWidget* parent)
    : QWidget(parent), setup_(setup) {
  setObjectName(QStringLiteral("TFrameAdditionalSetup"));
  PanelSelect = Named(new QWidget(this), "PanelSelect");
  Label1 = Label(PanelSelect, "Label1", "附加設定");
  ComboBoxSelect = Named(new QtPlugInComboBox(PanelSelect), "ComboBoxSelect");
  ComboBoxSelect->SetFirstPlugIn(static_cast<int>(AdditionalSetup::BuiltInItems().size()));
  ComboBoxSelect->setMinimumWidth(180);
  Label1->setBuddy(ComboBoxSelect);
  for (const std::string& item : setup_.Items()) ComboBoxSelect->addItem(QString::fromStdString(item));
  auto* strip = new QHBoxLayout(PanelSelect);
  strip->setContentsMargins(4, 2, 4, 2);
  strip->addWidget(Label1);
  strip->addWidget(ComboBoxSelect);
  strip->addStretch(1);
  Panel1 = SelectorPanels(this, PanelSelect);

  connect(ComboBoxSelect, &QComboBox::activated, this, &TFrameAdditionalSetup::ComboBoxSelectChange);
  setup_.OnSetupChanged = [this] { SetupChanged(); };
  if (setup_.ItemIndex() >= 0) SetupChanged();
}

TFrameAdditionalSetup::~TFrameAdditionalSetup() { setup_.OnSetupChanged = nullptr; }

QString TFrameAdditionalSetup::Caption() const { return QString::fromStdString(setup_.Caption()); }

void TFrameAdditionalSetup::AddPlugIn(SetupPlugIn plugIn) {
  const QString caption = QString::fromStdString(plugIn.Description);
  setup_.AddPlugIn(std::move(plugIn));
  const QSignalBlocker block(ComboBoxSelect);
  ComboBoxSelect->addItem(caption);
}

void TFrameAdditionalSetup::ComboBoxSelectChange(int index) {
  Guarded(this, [&] { setup_.ComboBoxSelectChange(index); });
}

void TFrameAdditionalSetup::SetupChanged() {
  delete view_;
  view_ = nullptr;
  CommonAdditionalSetup* current = setup_.CurrentSetup();
  if (auto* s = dynamic_cast<AdditionalSetupStartBet*>(current))
    view_ = new TFrameAdditionalSetupStartBet(*s, Panel1);
  else if (auto* s = dynamic_cast<AdditionalSetupTakeProfitStopLoss*>(current))
    view_ = new TFrameAdditionalSetupTakeProfitStopLoss(*s, Panel1);
  else if (auto* s = dynamic_cast<AdditionalSetupGroup*>(current))
    view_ = new TFrameAdditionalSetupGroup(*s, Panel1);
  else if (auto* s = dynamic_cast<AdditionalSetupContinuousWin*>(current))
    view_ = new TFrameAdditionalSetupContinuousWin(*s, Panel1);
  if (!view_ && setup_.ItemIndex() >= 0) {
    // A plug-in setup: the panel its module makes (which goes before the setup
    // does), or its caption when the module makes none.
    view_ = new QWidget(Panel1);
    view_->setObjectName(QStringLiteral("PlugInSetup"));
    auto* layout = new QVBoxLayout(view_);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* panel = current ? MakePlugInPanel(current, view_) : nullptr;
    layout->addWidget(panel ? panel : Named(new QLabel(Caption(), view_), "LabelPlugIn"));
    layout->addStretch(1);
  }
  if (view_) {
    view_->setParent(Panel1);
    Panel1->layout()->addWidget(view_);
    view_->show();
  }
  {
    const QSignalBlocker block(ComboBoxSelect);
    ComboBoxSelect->setCurrentIndex(setup_.ItemIndex());
  }
  emit captionChanged(Caption());
}

}  // namespace zavuv
