// A strategy's side-by-side view on the page "並排觀看分析結果": the strategy's name,
// a scroll bar setting the view's width (240 to 450 pixels), one check box per
// column, a navigator and a grid over a second cursor on the strategy's result rows.
// Moving to another row in one view moves every other view in the same strip to the
// same row number (counted from the top), unless a view is Syncing (its strategy is
// running, or it is being moved by another view).
#pragma once

#include <QWidget>

#include "table/TableClone.h"

class QCheckBox;
class QLabel;
class QScrollBar;
class QTableView;

namespace zavuv {

class QtNavigator;
class QtTableModel;

class TFrameAnalysisResult : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameAnalysisResult(QWidget* parent = nullptr);
  ~TFrameAnalysisResult() override;

  // The strategy's result rows (null: none); a new cursor over them.
  void CloneCursor(Table* results);
  void SetStrategyName(const QString& name);

  // A run of the strategy begins: detached and Syncing until Finish.
  void BeginRun();
  void EndRun(Table* results);

  // Moves this view's table to the row number of the other table.
  void SyncTo(const Table& other);

  TableClone ClientDataSetAnalysis;
  bool Syncing = false;

  QLabel* LabelStrategy = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QCheckBox* CheckBoxShoesName = nullptr;
  QCheckBox* CheckBoxGameNo = nullptr;
  QCheckBox* CheckBoxBet = nullptr;
  QCheckBox* CheckBoxBetAmount = nullptr;
  QCheckBox* CheckBoxGameResult = nullptr;
  QCheckBox* CheckBoxProfit = nullptr;
  QCheckBox* CheckBoxAccProfit = nullptr;
  QtNavigator* DBNavigatorAnalysis = nullptr;
  QtTableModel* DataSourceAnalysis = nullptr;
  QTableView* DBGridAnalysis = nullptr;

 public slots:
  void ScrollBar1Change(int position);
  void CheckBoxShoesNameClick();
  void ClientDataSetAnalysisAfterScroll();

 private:
  void SetColumnWidths();
  bool detached_ = false;
};

}  // namespace zavuv
