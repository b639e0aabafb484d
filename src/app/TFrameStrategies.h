// The page "策略" (TabSheetStrategy): "新增策略", "刪除策略", the range fields
// "靴名由:" and "靴名至:", "分析分段資料", reading and saving strategy sets, and one
// page per strategy of the workbench (TFrameStrategy), in the workbench's order. The
// class declares no signals of its own (the widget dump shows it as the page it is);
// the main window drives the range run from "分析分段資料".
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <cstddef>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace zavuv {

class Strategy;
class TFrameStrategy;
class Workbench;
struct VerdictReport;

class TFrameStrategies : public QWidget {
 public:
  // resultViews is where the strategies' side-by-side views go.
  TFrameStrategies(Workbench& bench, QWidget* resultViews, QWidget* parent = nullptr);

  // The strategy pages, in page order.
  std::vector<TFrameStrategy*> StrategyPages() const;
  // A strategy with that name and those two choices joins the workbench; its page.
  TFrameStrategy* CreateStrategy(const QString& name, int betMethod, int betAmount);
  // The page of a strategy that joined the workbench, and its going.
  void AddStrategyPage(Strategy& strategy, std::size_t index);
  void RemoveStrategyPage(std::size_t index);
  // After a run that an error ended: every page shows its tables again.
  void RunAbandoned();
  // Every page shows its verdict (the report's, in page order) with its Holm p-value.
  void ShowVerdicts(const VerdictReport& report);

  // Strategy sets (errors are shown).
  bool SaveStrategies(const QString& path);
  bool ReadStrategies(const QString& path);

  // What the strategy set lost if it went now, as the save question names it: empty
  // when nothing changed, else "策略組合" with the changed pages' names.
  QString ChangesText() const;
  // The set saved under a name the user chooses; false when cancelled or failed.
  bool SaveStrategiesAs();
  // Before the pages give way to a set read: asks to save changed pages first. True
  // when the read may go on.
  bool KeepChanges();
  // Told of every strategy set read or saved (the window's recent files).
  std::function<void(const QString& path)> OnFileUsed;
  // What a read or save did, for the window's status line ("已儲存 我的策略.json").
  std::function<void(const QString& text)> OnDone;

  // While a room bets automatically the strategies are its own: everything on the
  // page is off and a line over the strategy tabs names the room
  // ("自動下注進行中: 戰場2"). An empty name gives the page back.
  void ShowAutoBetLock(const QString& roomTitle);

  void BtnCreateStrategyClick();
  // Deletes the current page (the button asks first; shut-down does not).
  void BtnDestroyStrategyClick();
  void BtnReadStrategiesClick();
  void BtnSaveStrategiesClick();

  QPushButton* BtnCreateStrategy = nullptr;
  QPushButton* BtnDestroyStrategy = nullptr;
  QLineEdit* EditShoeFrom = nullptr;
  QLineEdit* EditShoeTo = nullptr;
  QPushButton* BtnAnalysisAllShoes = nullptr;
  QPushButton* BtnReadStrategies = nullptr;
  QPushButton* BtnSaveStrategies = nullptr;
  QTabWidget* PageControlStrategy = nullptr;
  QLabel* LabelAutoBetLock = nullptr;

 private:
  Workbench& bench_;
  QWidget* resultViews_;
};

}  // namespace zavuv
