// The main window: the shoe strip at the top (navigator, grid, note box, file
// buttons), the account column on the right (TFrameAccount) and the tab pages: roads
// and road settings (TFrameRoads), statistics, strategies (TFrameStrategies),
// combined results (TFrameCombinedResults), sharing (hidden), forum, game rooms and
// system settings (TFrameSystemSetup). It owns the workbench that all of them show,
// runs start-up and shut-down and the range run's progress dialog.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/TAboutBox.h"
#include "app/IniFile.h"
#include "app/QtRecentFiles.h"
#include "app/QtWindowState.h"
#include "app/TFrameShoeStrip.h"
#include "app/Workbench.h"
#include "net/Board.h"
#include "net/Sharing.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableView;
class QTextEdit;
class QTimer;

namespace zavuv {

class Strategy;
class TFormChangeInfo;
class TFormExportShoesData;
class TFormLogin;
class TFormSignUp;
class TFrameAccount;
class TFrameCombinedResults;
class TFrameForum;
class TFrameShare;
class QtRangeRun;
class QtStatusLine;
class TFormBillboard;
class TFormVictor;
class TFormLevelboard;
class TFormBoard;
class TFrameGameRooms;
class TFrameRoadSheet;
class TFrameRoads;
class TFrameShoeStats;
class TFrameStrategies;
class TFrameStrategy;
class TFrameSystemSetup;

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

  // Strategy files: every strategy saved as a strategy set, or the strategies replaced
  // by those of a set (with its bead road settings). Errors are shown.
  bool SaveStrategies(const QString& path);
  bool ReadStrategies(const QString& path);
  // The combined result table exported as comma-separated text.
  bool ExportCombinedCsv(const QString& path);

  // The plug-in registry (the workbench's): the BA*.so modules of the working
  // directory, registered once while the window is created (before any strategy
  // exists) and loaded until the process ends; PlugInScan tells what became of each
  // module file.
  PlugInRegistry& PlugIns;
  std::vector<PlugInScanEntry> PlugInScan;
  // AddPlugIn on a new strategy for every registered module, in load order.
  void AddPlugIns(Strategy& strategy) const { PlugIns.AddTo(strategy); }

  // The file commands of the shoe strip, each taking a file name.
  void ReadData(const QString& path);
  void MergeData(const QString& path);
  bool SaveData(const QString& path);

  // The last eight shoe files and strategy sets read or saved, newest first; the
  // "最近" button beside the file buttons offers them.
  QtRecentFiles Recent;

  // A .DAT file dropped on the window: read or merged, as the user answers.
  void DropDataFile(const QString& path);

  // Where the window keeps its size and position, splitter positions, current tabs
  // and recent files between runs: an INI file beside BA.ini ("BAWindow.ini" in the
  // working directory for the program). Empty keeps nothing (tests, batch modes).
  QString WindowStateFile;
  void ReadWindowState() { windowState_.Read(WindowStateFile); }
  void WriteWindowState() const { windowState_.Write(WindowStateFile); }

  // Before an action that would lose unsaved work (the shoes, the strategy set or
  // both, as the flags say): asks "save / don't save / cancel", naming what changed;
  // nothing is asked when nothing changed. True when the action may go on.
  bool KeepChanges(bool shoes, bool strategies);

  // The current-shoe refresh (the workbench's): roads, then the strategies' analysis,
  // then statistics.
  void ClientDataSetShoesDataAfterScroll() { bench_.RefreshCurrentShoe(); }

  // The three ranking boards: a reply fills its board and sets its pending flag
  // (Boards.BillboardPending ...); the timer shows one pending board per tick, in the
  // order ranking board, champions, level board, through these functions (by default
  // the board's dialog, modally).
  net::Boards Boards;
  std::function<void()> ShowBillboard;
  std::function<void()> ShowVictor;
  std::function<void()> ShowLevelboard;
  // The sharing page's lists and article (its tab stays hidden; replies still land).
  net::Sharing Sharing;

  // The community server's port for every connection: 24, unless a test or
  // `zavuv --port N` sets it before the window is created.
  static int& ServerPort();
  // Whether showing the window logs in when BA.ini asks for automatic login. The batch
  // modes (`--dump-ui`, `--bench`) turn it off: they never connect.
  bool AutoLoginAllowed = true;
  // What became of BA.ini when it was read at show.
  IniFile::LoadStatus SettingsStatus = IniFile::LoadStatus::Missing;

  QString BaseCaption;
  QString NickName;
  QStringList ScratchList;

  // Shoe strip.
  TFrameShoeStrip* FrameShoeStrip = nullptr;   // the strip, with its controls
  QWidget* PanelShoesData = nullptr;
  QSplitter* Splitter4 = nullptr;

  // The panels, one per area, and the same as plain widgets under their page names.
  TFrameAccount* FrameAccount = nullptr;
  TFrameRoads* FrameRoads = nullptr;
  TFrameStrategies* FrameStrategies = nullptr;
  TFrameCombinedResults* FrameCombinedResults = nullptr;
  TFrameSystemSetup* FrameSystemSetup = nullptr;
  TFrameForum* FrameForum = nullptr;
  QWidget* PanelConnectServer = nullptr;
  QWidget* TabSheetRoad = nullptr;
  QWidget* TabSheetStrategy = nullptr;
  QWidget* TabSheetMutliStrategy = nullptr;
  QWidget* TabSheetSetup = nullptr;

  // Controls of the panels that the window and its callers reach directly.
  QPushButton* BtnConnect = nullptr;
  QLineEdit* EditMessage = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QTabWidget* PageControlRoad = nullptr;
  TFrameRoadSheet* MainRoadSheet = nullptr;
  QSplitter* SplitterOtherRoad = nullptr;
  TFrameRoadSheet* MinorRoadSheet1 = nullptr;
  TFrameRoadSheet* MinorRoadSheet2 = nullptr;
  TFrameRoadSheet* MinorRoadSheet3 = nullptr;
  QSpinBox* SpinEditNoOfBall[3] = {};
  QCheckBox* CheckBoxBallRoadIgnoreTie[3] = {};
  QWidget* TabSheetStats = nullptr;
  TFrameShoeStats* FrameShoeStats = nullptr;
  QPushButton* BtnCreateStrategy = nullptr;
  QPushButton* BtnDestroyStrategy = nullptr;
  QLineEdit* EditShoeFrom = nullptr;
  QLineEdit* EditShoeTo = nullptr;
  QPushButton* BtnAnalysisAllShoes = nullptr;
  QTabWidget* PageControlStrategy = nullptr;
  QPushButton* BtnReadStrategies = nullptr;
  QPushButton* BtnSaveStrategies = nullptr;
  QTableView* DBGridAnalysis = nullptr;
  QCheckBox* CheckBoxAnalysisGoFirst = nullptr;
  QPushButton* BtnExportCombinedCsv = nullptr;
  QScrollArea* ScrollBoxViewResults = nullptr;
  QWidget* ScrollBoxViewResultsContents = nullptr;
  // "分析分段資料": the run with its progress dialog and questions.
  QtRangeRun* RangeRunner = nullptr;
  QWidget* TabSheetShare = nullptr;
  TFrameShare* FrameShare = nullptr;
  TFormBillboard* FormBillboard = nullptr;
  TFormVictor* FormVictor = nullptr;
  TFormLevelboard* FormLevelboard = nullptr;
  QWidget* TabSheetForum = nullptr;
  QPushButton* BtnForum = nullptr;
  QWidget* PanelForum = nullptr;
  QWidget* WebBrowser1 = nullptr;
  QWidget* TabSheetGameRoom = nullptr;
  QTabWidget* PageControlGameRoom = nullptr;
  TFrameGameRooms* FrameGameRooms = nullptr;   // the rooms; HandleLine takes their lines
  QTimer* TimerGetMessage = nullptr;

  // Dialogs.
  TFormLogin* FormLogin = nullptr;
  TFormSignUp* FormSignUp = nullptr;
  TFormChangeInfo* FormChangeInfo = nullptr;
  TAboutBox* AboutBox = nullptr;
  TFormExportShoesData* FormExportShoesData = nullptr;

  // The line at the bottom: what the last file command or range run did, and the
  // files in use.
  QtStatusLine* StatusLine = nullptr;

 public slots:
  void BtnForumClick();
  void BtnStatAllClick();
  void TimerGetMessageTimer();
  void BtnAnalysisAllShoesClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCreate();
  // The start-up scan of the plug-in modules ("no plugintype" shown per module
  // without its kind).
  void LoadPlugIns();
  void CreateDialogs();
  // The connection's lines to the rooms, the boards and the sharing page, and the
  // rooms' way back to the connection and the message pane.
  void ConnectServerLines();
  void ShowBoardDialog(TFormBoard* dialog);
  void FormShow();
  void FormClose();
  void FormDestroy();
  QWidget* BuildShoeStrip();
  QWidget* BuildSharePage();
  QWidget* BuildGameRoomPage();
  // After a run that an error ended: every page shows its tables again.
  void RunAbandoned();
  // The workbench's verdicts onto the strategy pages and the combined results page.
  void ShowVerdicts();
  // Start-up hooks of later parts: the first strategy page, the settings file, the
  // automatic login; and the settings file at close.
  void CreateFirstStrategy();
  void ReadSettings();
  void AutoLogin();
  void WriteSettings();
  // The left-button hook installed while an embedded browser holds the focus.
  bool AppMessage(QObject* watched, QEvent* event);

  bool shown_ = false;
  bool appMessageInstalled_ = false;
  bool boardShowing_ = false;  // a board dialog is open: the next waits for it to close
  QtWindowState windowState_{this, Recent};
  QString strategyFile_;   // the strategy set last read or saved
};

}  // namespace zavuv
