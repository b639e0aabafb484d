#include "bets/QtChoicePage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "bets/QtPlugInComboBox.h"
#include "plugins/QtPlugInPanel.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

QtChoicePage::QtChoicePage(QWidget* page, const char* caption, int builtInCount, int stripMargin) {
  PanelSelect = Named(new QWidget(page), "PanelSelect");
  Label1 = Label(PanelSelect, "Label1", caption);
  ComboBoxSelect = Named(new QtPlugInComboBox(PanelSelect), "ComboBoxSelect");
  ComboBoxSelect->SetFirstPlugIn(builtInCount);
  ComboBoxSelect->setMinimumWidth(180);
  Label1->setBuddy(ComboBoxSelect);
  Strip = new QHBoxLayout(PanelSelect);
  Strip->setContentsMargins(4, stripMargin, 4, stripMargin);
  Strip->addWidget(Label1);
  Strip->addWidget(ComboBoxSelect);
  Panel1 = SelectorPanels(page, PanelSelect);
}

QtChoicePage::~QtChoicePage() { DropView(); }

void QtChoicePage::LoadItems(const std::vector<std::string>& items, int index) {
  const QSignalBlocker block(ComboBoxSelect);
  ComboBoxSelect->clear();
  for (const std::string& item : items) ComboBoxSelect->addItem(QString::fromStdString(item));
  ComboBoxSelect->setCurrentIndex(index);
}

void QtChoicePage::AddItem(const std::string& caption) {
  const QSignalBlocker block(ComboBoxSelect);
  ComboBoxSelect->addItem(QString::fromStdString(caption));
}

void QtChoicePage::ShowIndex(int index) {
  const QSignalBlocker block(ComboBoxSelect);
  ComboBoxSelect->setCurrentIndex(index);
}

void QtChoicePage::DropView() {
  delete view_;
  view_ = nullptr;
}

void QtChoicePage::FillPlugInWrapper(QWidget* wrapper, Published* component, int index) {
  auto* layout = new QVBoxLayout(wrapper);
  layout->setContentsMargins(0, 0, 0, 0);
  QWidget* panel = component ? MakePlugInPanel(component, wrapper) : nullptr;
  layout->addWidget(panel ? panel : Named(new QLabel(ComboBoxSelect->itemText(index), wrapper), "LabelPlugIn"));
  layout->addStretch(1);
}

void QtChoicePage::Put(QWidget* view, int index) {
  view_ = view;
  if (view_) {
    view_->setParent(Panel1);
    Panel1->layout()->addWidget(view_);
    view_->show();
  }
  ShowIndex(index);
}

}  // namespace zavuv
