// The navigator bar over any table: first, prior, next, last, insert, delete, edit,
// post and cancel. Which buttons show and their hints are set per use; a button is
// enabled only when its action makes sense in the table's present state (moves on a
// read-only store, the editing buttons only on an editable data set).
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <vector>

#include "table/ClientDataSet.h"

class QToolButton;

namespace zavuv {

class QtNavigator : public QWidget, public TableObserver {
  Q_OBJECT

 public:
  enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };
  static constexpr int kButtonCount = 9;

  explicit QtNavigator(QWidget* parent = nullptr);
  ~QtNavigator() override;

  void SetTable(Table* table);
  Table* GetTable() const { return table_; }

  // The buttons shown, in the bar's fixed order.
  void SetVisibleButtons(const std::vector<Button>& buttons);
  // Hints of the nine buttons, in the order of Button; shown as tool tips.
  void SetHints(const QStringList& hints);
  // When on (the default), Delete asks before deleting the record.
  void SetConfirmDelete(bool confirm) { confirmDelete_ = confirm; }
  void SetDeleteQuestion(const QString& text) { deleteQuestion_ = text; }

  QToolButton* ButtonOf(Button button) const { return buttons_[button]; }
  // Does what pressing the button does; an error is shown, not thrown.
  void Click(Button button);
  // Enables the buttons for the table's present state.
  void UpdateButtons();

 signals:
  void clicked(zavuv::QtNavigator::Button button);

 private:
  void TableReset() override { UpdateButtons(); }
  void RowsInserted(int, int) override { UpdateButtons(); }
  void RowsRemoved(int, int) override { UpdateButtons(); }
  void RowChanged(int) override {}
  void CursorMoved(int) override { UpdateButtons(); }
  void StateChanged() override { UpdateButtons(); }

  Table* table_ = nullptr;
  std::array<QToolButton*, kButtonCount> buttons_{};
  bool confirmDelete_ = true;
  QString deleteQuestion_;
};

}  // namespace zavuv
