// The main window: the shoe strip at the top (navigator, grid, note box, file
// buttons), the account column on the right, and the tab pages: roads, road
// settings, statistics, strategies, combined results, sharing (hidden), forum, game
// rooms and system settings. It owns the shoe table, the road models and the
// statistics, and runs the current-shoe refresh after every move and post.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/Workbench.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableView;
class QTextEdit;
class QTimer;

namespace zavuv {

class QtDBMemo;
class QtNavigator;
class QtTableModel;
class Strategy;
class TFormExportShoesData;
class TFrameRoadSheet;
class TFrameShoeStats;
class TFrameStrategy;

// The about box: program icon, product name, version, a notice and three links.
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;   // centred on the screen
};

class TFormDaruvedaZizeveva : public QWidget {
  Q_OBJECT

  // What the window shows and acts on; first, so that it outlives every view.
  Workbench bench_;

 public:
  // Creates the window (FormCreate) and then its dialogs, which live for the whole run.
  explicit TFormDaruvedaZizeveva(QWidget* parent = nullptr);
  ~TFormDaruvedaZizeveva() override;

  static const QString& ForumAddress();
  static const QString& ForumTitle();

  // The engine side: the workbench (the rooms take their reference here) and its parts.
  Workbench& Bench() { return bench_; }
  ShoesData& Shoes() { return bench_.Shoes(); }
  TRoad& DisplayRoad() { return bench_.DisplayRoad(); }
  TRoad& AnalysisRoad() { return bench_.AnalysisRoad(); }
  ShoeStats& Stats() { return bench_.Stats(); }
  RoadSettings& BeadSettings() { return bench_.Roads(); }
  StrategyHost& Host() { return bench_.Host(); }
  MultiStrategyAnalysis& Combined() { return bench_.Combined(); }

  // The strategy pages, in page order.
  std::vector<TFrameStrategy*> StrategyPages() const;
  // Adds a strategy with that name and those two choices to the workbench (the
  // registered plug-ins are offered before the choices are made); its page follows.
  TFrameStrategy* CreateStrategy(const QString& name, int betMethod, int betAmount);

  // Strategy files: every page saved as a strategy set, or the pages replaced by the
  // strategies of a set (with its bead road settings). Errors are shown.
  bool SaveStrategies(const QString& path);
  bool ReadStrategies(const QString& path);
  // The shown result table exported as comma-separated text.
  bool ExportCombinedCsv(const QString& path);

  // The plug-in registry: the BA*.so modules of the working directory, registered
  // once while the window is created (before any strategy exists) and loaded until
  // the process ends; PlugInScan tells what became of each module file.
  PlugInRegistry& PlugIns;
  std::vector<PlugInScanEntry> PlugInScan;
  // AddPlugIn on a new strategy for every registered module, in load order (the
  // strategy pages' CreateStrategy calls it before the first choice is made).
  void AddPlugIns(Strategy& strategy) const { PlugIns.AddTo(strategy); }

  // The file commands of the shoe strip, each taking a file name.
  void ReadData(const QString& path);
  void MergeData(const QString& path);
  void SaveData(const QString& path);

  // The current-shoe refresh (the workbench's): roads, then the strategies' analysis,
  // then statistics.
  void ClientDataSetShoesDataAfterScroll() { bench_.RefreshCurrentShoe(); }

  // Pending ranking boards, shown one per tick of TimerGetMessage in this order.
  bool BillboardPending = false;
  bool VictorPending = false;
  bool LevelboardPending = false;
  std::function<void()> ShowBillboard;
  std::function<void()> ShowVictor;
  std::function<void()> ShowLevelboard;

  QString BaseCaption;
  QString NickName;
  QStringList ScratchList;

  // Shoe strip.
  QWidget* PanelShoesData = nullptr;
  QtNavigator* DBNavigatorShoesData = nullptr;
  QtTableModel* DataSourceShoesData = nullptr;
  QTableView* DBGridShoesData = nullptr;
  QtDBMemo* DBMemoShoesInfo = nullptr;
  QPushButton* BtnReadData = nullptr;
  QPushButton* BtnSaveData = nullptr;
  QPushButton* BtnMergeData = nullptr;
  QPushButton* BtnExportShoesData = nullptr;
  QPushButton* BtnAbout = nullptr;
  QSplitter* Splitter4 = nullptr;

  // Account column (the networking issue brings it to life).
  QWidget* PanelConnectServer = nullptr;
  QLabel* LabelLvl = nullptr;
  QPushButton* BtnLevelboard = nullptr;
  QLabel* ImageExp = nullptr;
  QLabel* LabelExp = nullptr;
  QPushButton* BtnConnect = nullptr;
  QPushButton* BtnChangeInfo = nullptr;
  QPushButton* BtnGetOnlineList = nullptr;
  QPushButton* BtnSignUp = nullptr;
  QTextEdit* MemoMessage = nullptr;
  QPushButton* BtnChatFont = nullptr;
  QPushButton* BtnClearMsg = nullptr;
  QLineEdit* EditMessage = nullptr;

  // Pages.
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheetRoad = nullptr;
  QTabWidget* PageControlRoad = nullptr;
  QWidget* TabSheetDrawRoad = nullptr;
  QSplitter* SplitterRoad = nullptr;
  TFrameRoadSheet* MainRoadSheet = nullptr;
  QWidget* PanelOtherRoad = nullptr;
  QSplitter* SplitterOtherRoad = nullptr;
  TFrameRoadSheet* MinorRoadSheet1 = nullptr;
  TFrameRoadSheet* MinorRoadSheet2 = nullptr;
  TFrameRoadSheet* MinorRoadSheet3 = nullptr;
  QWidget* TabSheetRoadSetting = nullptr;
  QSpinBox* SpinEditNoOfBall[3] = {};
  QCheckBox* CheckBoxBallRoadIgnoreTie[3] = {};
  QWidget* TabSheetStats = nullptr;
  TFrameShoeStats* FrameShoeStats = nullptr;
  QWidget* TabSheetStrategy = nullptr;
  QPushButton* BtnCreateStrategy = nullptr;
  QPushButton* BtnDestroyStrategy = nullptr;
  QLineEdit* EditShoeFrom = nullptr;
  QLineEdit* EditShoeTo = nullptr;
  QPushButton* BtnAnalysisAllShoes = nullptr;
  QTabWidget* PageControlStrategy = nullptr;
  QWidget* TabSheetMutliStrategy = nullptr;
  QPushButton* BtnReadStrategies = nullptr;
  QPushButton* BtnSaveStrategies = nullptr;
  QTableView* DBGridAnalysis = nullptr;
  QtTableModel* DataSourceAnalysis = nullptr;
  QtNavigator* DBNavigatorAnalysis = nullptr;
  QCheckBox* CheckBoxAnalysisGoFirst = nullptr;
  QPushButton* BtnExportCombinedCsv = nullptr;
  QScrollArea* ScrollBoxViewResults = nullptr;
  QWidget* ScrollBoxViewResultsContents = nullptr;   // the strip of side-by-side views
  // Shown while a range run takes longer than half a second.
  QProgressDialog* ProgressAnalysis = nullptr;
  QWidget* TabSheetShare = nullptr;
  QWidget* TabSheetForum = nullptr;
  QPushButton* BtnForum = nullptr;
  QWidget* PanelForum = nullptr;
  QWidget* WebBrowser1 = nullptr;
  QWidget* TabSheetGameRoom = nullptr;
  QTabWidget* PageControlGameRoom = nullptr;
  QWidget* TabSheetSetup = nullptr;
  QTimer* TimerGetMessage = nullptr;

  // Dialogs.
  TAboutBox* AboutBox = nullptr;
  TFormExportShoesData* FormExportShoesData = nullptr;

 public slots:
  void BtnReadDataClick();   // shared by BtnReadData and BtnMergeData
  void BtnSaveDataClick();
  void BtnExportShoesDataClick();
  void BtnAboutClick();
  void BtnForumClick();
  void BtnStatAllClick();
  // Every change of the six bead-road settings.
  void SpinEditNoOfBall1Change();
  void TimerGetMessageTimer();
  void BtnCreateStrategyClick();
  void BtnDestroyStrategyClick();
  void BtnAnalysisAllShoesClick();
  void BtnReadStrategiesClick();
  void BtnSaveStrategiesClick();
  void BtnExportCombinedCsvClick();
  // Asks a running range analysis to stop after the shoe it is on.
  void CancelAnalysis();

 signals:
  // A range run has analysed `done` of its `total` shoes.
  void analysisProgress(int done, int total);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  // The start-up scan of the plug-in modules ("no plugintype" shown per module
  // without its kind).
  void LoadPlugIns();
  void CreateDialogs();
  void FormShow();
  void FormClose();
  void FormDestroy();
  QWidget* BuildShoeStrip();
  QWidget* BuildAccountPanel();
  QWidget* BuildRoadPage();
  QWidget* BuildRoadSettingPage();
  QWidget* BuildStrategyPage();
  QWidget* BuildMultiStrategyPage();
  QWidget* BuildSharePage();
  QWidget* BuildForumPage();
  QWidget* BuildGameRoomPage();
  QWidget* BuildSetupPage();
  // The page of a strategy that joined the workbench, and its going.
  void AddStrategyPage(Strategy& strategy, std::size_t index);
  void RemoveStrategyPage(std::size_t index);
  // The bead road settings page after a strategy set brought its own.
  void ShowRoadSettings();
  // After a run that an error ended: every page shows its tables again.
  void RunAbandoned();
  // The range run's report after each shoe; false asks it to stop.
  bool AnalysisProgress(int done, int total);
  // Start-up hooks of later parts: the first strategy page, the settings file, the
  // automatic login; and the settings file at close.
  void CreateFirstStrategy();
  void ReadSettings();
  void AutoLogin();
  void WriteSettings();
  // The left-button hook installed while an embedded browser holds the focus.
  bool AppMessage(QObject* watched, QEvent* event);
  void PanelOtherRoadCanResize(int oldWidth, int newWidth);

  bool cancelRequested_ = false;
  QElapsedTimer runClock_;     // since the range run began
  qint64 progressShown_ = 0;   // when the progress dialog was last brought up to date
  bool shown_ = false;
  bool appMessageInstalled_ = false;
  bool otherRoadLaidOut_ = false;   // the lower road panel has had its first real width
};

}  // namespace zavuv
