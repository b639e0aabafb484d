#include "table/QtNavigator.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "widgets/QtMessages.h"

namespace zavuv {

namespace {

struct ButtonLook {
  const char* name;
  const char* glyph;
};

// Object names as the bar's buttons are known; glyphs drawn by the font.
constexpr ButtonLook kLooks[QtNavigator::kButtonCount] = {
    {"nbFirst", "|◀"}, {"nbPrior", "◀"}, {"nbNext", "▶"},  {"nbLast", "▶|"},  {"nbInsert", "+"},
    {"nbDelete", "−"}, {"nbEdit", "▲"},  {"nbPost", "✓"}, {"nbCancel", "✕"},
};

}  // namespace

QtNavigator::QtNavigator(QWidget* parent)
    : QWidget(parent), deleteQuestion_(QStringLiteral("確定刪除這筆記錄?")) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int b = 0; b < kButtonCount; ++b) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(kLooks[b].name));
    button->setText(QString::fromUtf8(kLooks[b].glyph));
    button->setFocusPolicy(Qt::StrongFocus);   // a click takes the focus, so an open cell editor commits first
    button->setMinimumSize(24, 22);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(button, &QToolButton::clicked, this, [this, b] { Click(static_cast<Button>(b)); });
    layout->addWidget(button);
    buttons_[b] = button;
  }
  UpdateButtons();
}

QtNavigator::~QtNavigator() { SetTable(nullptr); }

void QtNavigator::SetTable(Table* table) {
  if (table_) table_->RemoveObserver(this);
  table_ = table;
  if (table_) table_->AddObserver(this);
  UpdateButtons();
}

void QtNavigator::SetVisibleButtons(const std::vector<Button>& visible) {
  for (int b = 0; b < kButtonCount; ++b) buttons_[b]->setVisible(false);
  for (Button b : visible) buttons_[b]->setVisible(true);
}

void QtNavigator::SetHints(const QStringList& hints) {
  for (int b = 0; b < kButtonCount && b < hints.size(); ++b) buttons_[b]->setToolTip(hints[b]);
}

void QtNavigator::UpdateButtons() {
  auto* set = dynamic_cast<ClientDataSet*>(table_);
  bool active = table_ != nullptr;
  int count = active ? table_->RecordCount() : 0;
  int row = active ? table_->CurrentRow() : -1;
  bool editing = active && table_->State() != DataSetState::Browse;
  buttons_[First]->setEnabled(active && row > 0);
  buttons_[Prior]->setEnabled(active && row > 0);
  buttons_[Next]->setEnabled(active && row >= 0 && row < count - 1);
  buttons_[Last]->setEnabled(active && row >= 0 && row < count - 1);
  buttons_[Insert]->setEnabled(set != nullptr);
  buttons_[Delete]->setEnabled(set != nullptr && count > 0);
  buttons_[Edit]->setEnabled(set != nullptr && !editing);
  buttons_[Post]->setEnabled(set != nullptr && editing);
  buttons_[Cancel]->setEnabled(set != nullptr && editing);
}

void QtNavigator::Click(Button button) {
  if (!table_) return;
  auto* set = dynamic_cast<ClientDataSet*>(table_);
  bool done = Guarded(window(), [&] {
    switch (button) {
      case First: table_->First(); break;
      case Prior: table_->Prior(); break;
      case Next: table_->Next(); break;
      case Last: table_->Last(); break;
      case Insert: if (set) set->Insert(); break;
      case Delete:
        if (set && !set->IsEmpty() && (!confirmDelete_ || AskYesNo(window(), deleteQuestion_))) set->Delete();
        break;
      case Edit: if (set) set->Edit(); break;
      case Post: if (set) set->Post(); break;
      case Cancel: if (set) set->Cancel(); break;
    }
  });
  UpdateButtons();
  if (done) emit clicked(button);
}

}  // namespace zavuv
