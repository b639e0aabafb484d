#include "app/TFormDaruvedaZizeveva.h"

#include <QApplication>
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QToolButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/TFormExportShoesData.h"
#include "app/TFrameAccount.h"
#include "app/TFrameCombinedResults.h"
#include "app/TFrameForum.h"
#include "app/TFrameRoads.h"
#include "app/TFrameStrategies.h"
#include "app/QtServerClient.h"
#include "app/TFrameSystemSetup.h"
#include "net/TFormBoard.h"
#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "net/TFrameShare.h"
#include "net/Protocol.h"
#include "net/LineChannel.h"
#include "roads/TFrameRoadSheet.h"
#include "rooms/TFrameGameRooms.h"
#include "stats/TFrameShoeStats.h"
#include "strategy/TFrameStrategy.h"
#include "table/Big5.h"
#include "table/QtDBMemo.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

namespace {

const QStringList kShoeNavigatorHints = {
    QStringLiteral("移至第一靴記錄"), QStringLiteral("移至上一靴記錄"), QStringLiteral("移至下一靴記錄"),
    QStringLiteral("移至最後一靴記錄"), QStringLiteral("插入新靴記錄"), QStringLiteral("刪除本靴記錄"),
    QStringLiteral("修改本靴記錄"), QStringLiteral("確認編輯中記錄"), QStringLiteral("取消編輯中記錄")};

const char* const kDataFilter = "百家樂資料|*.DAT";

}  // namespace

TFormDaruvedaZizeveva::TFormDaruvedaZizeveva(QWidget* parent) : QWidget(parent), PlugIns(bench_.PlugIns()) {
  setObjectName(QStringLiteral("TFormDaruvedaZizeveva"));
  setWindowTitle(QStringLiteral("zavuv"));
  setWindowIcon(QIcon(ProgramIcon(32)));
  resize(793, 533);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(793 / 2, 533 / 2));

  // The layout first, as the window's resources would be; then the creation steps.
  Splitter4 = Named(new QSplitter(Qt::Vertical, this), "Splitter4");
  Splitter4->setHandleWidth(5);
  Splitter4->setChildrenCollapsible(false);
  Splitter4->addWidget(BuildShoeStrip());
  auto* lower = Named(new QWidget, "PanelMain");
  auto* lowerLayout = new QHBoxLayout(lower);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->setSpacing(2);
  PageControl1 = Named(new QTabWidget(lower), "PageControl1");
  PageControl1->addTab(TabSheetRoad = FrameRoads = new TFrameRoads(bench_), QStringLiteral("路紙"));
  PageControl1->addTab(TabSheetStats = Page("TabSheetStats"), QStringLiteral("統計"));
  FrameShoeStats = Named(new TFrameShoeStats(bench_.Stats(), TabSheetStats), "FrameShoeStats");
  TabSheetStats->layout()->addWidget(FrameShoeStats);
  // The combined results page holds the strip where the strategies' views go.
  FrameCombinedResults = new TFrameCombinedResults(bench_);
  FrameStrategies = new TFrameStrategies(bench_, FrameCombinedResults->ScrollBoxViewResultsContents);
  PageControl1->addTab(TabSheetStrategy = FrameStrategies, QStringLiteral("策略"));
  PageControl1->addTab(TabSheetMutliStrategy = FrameCombinedResults, QStringLiteral("多重策略分析結果"));
  PageControl1->addTab(BuildSharePage(), QStringLiteral("分享下載"));
  PageControl1->addTab(TabSheetForum = FrameForum = new TFrameForum(ForumTitle(), ForumAddress()),
                       QStringLiteral("討論區"));
  PageControl1->addTab(BuildGameRoomPage(), QStringLiteral("遊樂場"));
  PageControl1->addTab(TabSheetSetup = FrameSystemSetup = new TFrameSystemSetup, QStringLiteral("系統設定"));
  PageControl1->setTabVisible(PageControl1->indexOf(TabSheetShare), false);   // no command shows it
  lowerLayout->addWidget(PageControl1, 1);
  lowerLayout->addWidget(PanelConnectServer = FrameAccount = new TFrameAccount);
  Splitter4->addWidget(lower);
  Splitter4->setStretchFactor(1, 1);
  Splitter4->setSizes({125, 533 - 125});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(Splitter4);

  // The controls the window and its callers reach directly.
  BtnConnect = FrameAccount->BtnConnect;
  EditMessage = FrameAccount->EditMessage;
  PageControlRoad = FrameRoads->PageControlRoad;
  MainRoadSheet = FrameRoads->MainRoadSheet;
  SplitterOtherRoad = FrameRoads->SplitterOtherRoad;
  MinorRoadSheet1 = FrameRoads->MinorRoadSheet1;
  MinorRoadSheet2 = FrameRoads->MinorRoadSheet2;
  MinorRoadSheet3 = FrameRoads->MinorRoadSheet3;
  for (int i = 0; i < 3; ++i) {
    SpinEditNoOfBall[i] = FrameRoads->SpinEditNoOfBall[i];
    CheckBoxBallRoadIgnoreTie[i] = FrameRoads->CheckBoxBallRoadIgnoreTie[i];
  }
  BtnCreateStrategy = FrameStrategies->BtnCreateStrategy;
  BtnDestroyStrategy = FrameStrategies->BtnDestroyStrategy;
  EditShoeFrom = FrameStrategies->EditShoeFrom;
  EditShoeTo = FrameStrategies->EditShoeTo;
  BtnAnalysisAllShoes = FrameStrategies->BtnAnalysisAllShoes;
  PageControlStrategy = FrameStrategies->PageControlStrategy;
  BtnReadStrategies = FrameStrategies->BtnReadStrategies;
  BtnSaveStrategies = FrameStrategies->BtnSaveStrategies;
  DBGridAnalysis = FrameCombinedResults->DBGridAnalysis;
  CheckBoxAnalysisGoFirst = FrameCombinedResults->CheckBoxAnalysisGoFirst;
  BtnExportCombinedCsv = FrameCombinedResults->BtnExportCombinedCsv;
  ScrollBoxViewResults = FrameCombinedResults->ScrollBoxViewResults;
  ScrollBoxViewResultsContents = FrameCombinedResults->ScrollBoxViewResultsContents;
  BtnForum = FrameForum->BtnForum;
  PanelForum = FrameForum->PanelForum;
  WebBrowser1 = FrameForum->WebBrowser1;

  PageControl1->setCurrentWidget(TabSheetForum);
  PageControlGameRoom->setCurrentIndex(1);   // 戰場

  connect(FrameShoeStats->BtnStatAll, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnStatAllClick);
  connect(BtnAnalysisAllShoes, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnAnalysisAllShoesClick);
  auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
  connect(open, &QShortcut::activated, BtnReadData, &QPushButton::click);
  auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
  connect(save, &QShortcut::activated, BtnSaveData, &QPushButton::click);

  TimerGetMessage = Named(new QTimer(this), "TimerGetMessage");
  TimerGetMessage->setInterval(500);
  connect(TimerGetMessage, &QTimer::timeout, this, &TFormDaruvedaZizeveva::TimerGetMessageTimer);

  FormCreate();
  CreateDialogs();
  TimerGetMessage->start();
}

TFormDaruvedaZizeveva::~TFormDaruvedaZizeveva() { FormDestroy(); }

void TFormDaruvedaZizeveva::FormCreate() {
  // The receive thread and the game rooms join here as their parts arrive.
  ScratchList.clear();
  LoadPlugIns();
  TFrameRoadSheet::SetDefaultRoad(&bench_.DisplayRoad());
  TFrameRoadSheet::SetDefaultRoadSettings(&bench_.Roads());
  FrameRoads->AttachRoads();
  // The views follow the workbench.
  bench_.OnStrategyAdded = [this](Strategy& strategy, std::size_t index) {
    FrameStrategies->AddStrategyPage(strategy, index);
  };
  bench_.OnStrategyRemoving = [this](Strategy&, std::size_t index) { FrameStrategies->RemoveStrategyPage(index); };
  bench_.OnRoadSettingsChanged = [this] { FrameRoads->ShowRoadSettings(); };
  bench_.OnError = [this](std::exception_ptr error) {
    Guarded(this, [&] { std::rethrow_exception(error); });
    RunAbandoned();
  };
  bench_.OnCurrentShoeShown = [this] {
    FrameShoeStats->ShowShoeStats();
    FrameRoads->ShowAskRoad();
  };
  bench_.OnAutoBetLock = [this](bool locked) { TabSheetStrategy->setEnabled(!locked); };
  FrameStrategies->OnFileUsed = [this](const QString& path) { UseRecentFile(RecentStrategyFiles, path); };
  setAcceptDrops(true);
  BaseCaption = windowTitle();
  FrameAccount->Client().SetSettingsSource([this] { return FrameSystemSetup->CurrentSettings(); });
  FrameAccount->Client().SetPort(ServerPort());
  FrameAccount->OnNickName = [this](const QString& nickName, const QString& caption) {
    NickName = nickName;
    setWindowTitle(caption);  // the caption, and the program's title on the task bar
  };
  ConnectServerLines();
}

void TFormDaruvedaZizeveva::ConnectServerLines() {
  QtServerClient& client = FrameAccount->Client();
  // The rooms send through the connection and write into the message pane.
  QtRoomHost& host = FrameGameRooms->Host();
  host.Connected = [&client] { return client.Connected(); };
  host.Send = [&client](const std::string& text) { client.Channel().SendLine(text); };
  host.Message = [this](const QString& text, const QColor& colour) { FrameAccount->AppendColoured(text, colour); };
  // The dispatcher's lines for the rooms, the boards and the sharing page.
  FrameAccount->OnRoomMessage = [this](std::string_view room, std::string_view arguments) {
    FrameGameRooms->HandleLine(room, arguments);
  };
  FrameAccount->OnBoard = [this](net::BoardKind kind, bool utf8, std::string_view arguments) {
    Boards.HandleReply(kind, utf8, arguments);
  };
  FrameAccount->OnSharingReply = [this](std::string_view command, std::string_view arguments) {
    // The grids follow their tables even when the reply breaks off half-way.
    struct Show {
      TFrameShare* page;
      ~Show() { page->ShowSharing(); }
    } show{FrameShare};
    Sharing.HandleReply(command, arguments, bench_.Shoes().Table());
  };
  // Every login starts with an empty private list.
  connect(&client, &QtServerClient::loggedIn, this, [this] {
    Sharing.PrivateData.EmptyDataSet();
    FrameShare->ShowSharing();
  });
}

int& TFormDaruvedaZizeveva::ServerPort() {
  static int port = net::kDefaultPort;
  return port;
}

void TFormDaruvedaZizeveva::LoadPlugIns() {
  PlugInScan = PlugIns.LoadFolder(".", [this](const std::string& message) {
    ShowMessage(this, QString::fromStdString(message));
  });
}

void TFormDaruvedaZizeveva::CreateDialogs() {
  // In the order of start-up; the card and board dialogs join this list with the rooms.
  FormLogin = new TFormLogin(this);
  FormSignUp = new TFormSignUp(this);
  FormChangeInfo = new TFormChangeInfo(this);
  FrameAccount->Client().SetDialogs(FormLogin, FormSignUp, FormChangeInfo);
  AboutBox = new TAboutBox(this);
  FormExportShoesData = new TFormExportShoesData(bench_.Shoes(), this);
  // The card window belongs to the rooms' page; then the three boards.
  FormBillboard = new TFormBillboard(Boards.Billboard, this);
  FormVictor = new TFormVictor(Boards.Victor, this);
  FormLevelboard = new TFormLevelboard(Boards.Levelboard, this);
  ShowBillboard = [this] { ShowBoardDialog(FormBillboard); };
  ShowVictor = [this] { ShowBoardDialog(FormVictor); };
  ShowLevelboard = [this] { ShowBoardDialog(FormLevelboard); };
}

void TFormDaruvedaZizeveva::ShowBoardDialog(TFormBoard* dialog) {
  dialog->ShowBoard();
  boardShowing_ = true;
  dialog->exec();
  boardShowing_ = false;
}

void TFormDaruvedaZizeveva::FormShow() {
  ShoesData& shoes = bench_.Shoes();
  shoes.ShoesLoading = true;
  CreateFirstStrategy();
  // The shoe table exists from the start, empty.
  FrameRoads->ChooseMinorRoads();
  bench_.DisplayRoad().SetAutoRedraw(true);
  bench_.DisplayRoad().SetResult("");
  shoes.ShoesLoading = false;
  // The first page is the program's own: closing right away asks nothing.
  bench_.MarkStrategiesUnchanged();
  ReadSettings();
  AutoLogin();
}

void TFormDaruvedaZizeveva::FormClose() {
  TimerGetMessage->stop();
  WriteSettings();
}

void TFormDaruvedaZizeveva::FormDestroy() {
  // The views and models go first: sheets detach from the road models and grids
  // from their tables while both still exist. The strategy pages are deleted with them.
  if (appMessageInstalled_) qApp->removeEventFilter(this);
  bench_.Shoes().OnRefresh = nullptr;
  // A room still betting lets go of the strategies; then every strategy page goes
  // through the delete action.
  if (bench_.AutoBetting()) Guarded(this, [&] { bench_.StopAutoBet(bench_.AutoBetHolder()); });
  while (PageControlStrategy && PageControlStrategy->count() > 0) FrameStrategies->BtnDestroyStrategyClick();
  bench_.OnStrategyAdded = nullptr;
  bench_.OnStrategyRemoving = nullptr;
  bench_.OnRoadSettingsChanged = nullptr;
  bench_.OnError = nullptr;
  bench_.OnCurrentShoeShown = nullptr;
  bench_.OnAutoBetLock = nullptr;
  FrameAccount->OnRoomMessage = nullptr;
  FrameAccount->OnBoard = nullptr;
  FrameAccount->OnSharingReply = nullptr;
  FrameGameRooms->Host().Connected = nullptr;
  FrameGameRooms->Host().Send = nullptr;
  FrameGameRooms->Host().Message = nullptr;
  const QObjectList children = this->children();
  for (QObject* child : children) delete child;
  TimerGetMessage = nullptr;
  TFrameRoadSheet::SetDefaultRoad(nullptr);
  TFrameRoadSheet::SetDefaultRoadSettings(nullptr);
  ScratchList.clear();
}

void TFormDaruvedaZizeveva::CreateFirstStrategy() { BtnCreateStrategy->click(); }
void TFormDaruvedaZizeveva::ReadSettings() {
  // A missing, unreadable or damaged file gives the defaults; it is not touched until
  // the window closes.
  FrameSystemSetup->ShowSettings(zavuv::ReadSettings(std::string(kSettingsFileName), &SettingsStatus));
}

void TFormDaruvedaZizeveva::AutoLogin() {
  if (!FrameSystemSetup->CheckBoxUseAutoLogin->isChecked()) return;
  BtnConnect->setChecked(true);
  FrameAccount->BtnConnectClick(true);
}

void TFormDaruvedaZizeveva::WriteSettings() {
  // Closing must not fail: an error while writing ends the writing silently.
  zavuv::WriteSettings(std::string(kSettingsFileName), FrameSystemSetup->CurrentSettings());
}

void TFormDaruvedaZizeveva::RunAbandoned() { FrameStrategies->RunAbandoned(); }

void TFormDaruvedaZizeveva::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TFormDaruvedaZizeveva::closeEvent(QCloseEvent* event) {
  if (!KeepChanges(true, true)) {
    event->ignore();
    return;
  }
  FormClose();
  WriteWindowState();
  event->accept();
}

// ---------------------------------------------------------------- shoe strip

QWidget* TFormDaruvedaZizeveva::BuildShoeStrip() {
  PanelShoesData = Named(new QFrame, "PanelShoesData");
  PanelShoesData->setMinimumHeight(90);
  DBNavigatorShoesData = Named(new QtNavigator(PanelShoesData), "DBNavigatorShoesData");
  DBNavigatorShoesData->SetHints(kShoeNavigatorHints);
  DBNavigatorShoesData->SetDeleteQuestion(QStringLiteral("刪除本靴記錄?"));
  DBNavigatorShoesData->SetTable(&bench_.Shoes().Table());
  DBNavigatorShoesData->setFixedWidth(9 * 26);
  BtnReadData = Button(PanelShoesData, "BtnReadData", "讀入資料", "開啟檔案讀入靴資料");
  BtnSaveData = Button(PanelShoesData, "BtnSaveData", "儲存資料", "將所有靴資料存入檔案");
  BtnMergeData = Button(PanelShoesData, "BtnMergeData", "合併資料", "讀入靴資料, 合併到現時資料之後面");
  BtnExportShoesData = Button(PanelShoesData, "BtnExportShoesData", "匯出資料", "匯出靴資料為文字檔");
  BtnAbout = Button(PanelShoesData, "BtnAbout", "關於");
  BtnRecentFiles = Named(new QToolButton(PanelShoesData), "BtnRecentFiles");
  BtnRecentFiles->setText(QStringLiteral("最近"));
  BtnRecentFiles->setToolTip(QStringLiteral("最近使用的靴資料檔及策略組合檔"));
  BtnRecentFiles->setPopupMode(QToolButton::InstantPopup);
  BtnRecentFiles->setMenu(new QMenu(BtnRecentFiles));
  connect(BtnRecentFiles->menu(), &QMenu::aboutToShow, this, &TFormDaruvedaZizeveva::FillRecentMenu);
  auto* gridLabel = Label(PanelShoesData, "LabelShoesData", "每靴資料");
  DBGridShoesData = Named(new QTableView(PanelShoesData), "DBGridShoesData");
  DataSourceShoesData = Named(new QtTableModel(&bench_.Shoes().Table(), this), "DataSourceShoesData");
  DataSourceShoesData->SetColumns({"ShoesName", "ShoesResult"});
  DataSourceShoesData->BindView(DBGridShoesData);
  DBGridShoesData->horizontalHeader()->setStretchLastSection(true);
  DBGridShoesData->setColumnWidth(0, DBGridShoesData->fontMetrics().averageCharWidth() * 15 + 10);
  auto* infoLabel = Label(PanelShoesData, "LabelShoesInfo", "每靴詳細說明");
  DBMemoShoesInfo = Named(new QtDBMemo(PanelShoesData), "DBMemoShoesInfo");
  DBMemoShoesInfo->SetField(&bench_.Shoes().Table(), "ShoesInfo");

  connect(BtnReadData, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnReadDataClick);
  connect(BtnMergeData, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnReadDataClick);
  connect(BtnSaveData, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnSaveDataClick);
  connect(BtnExportShoesData, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnExportShoesDataClick);
  connect(BtnAbout, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnAboutClick);

  auto* top = new QHBoxLayout;
  top->setSpacing(2);
  top->addWidget(DBNavigatorShoesData);
  top->addSpacing(6);
  top->addWidget(gridLabel);
  top->addStretch(1);
  for (QPushButton* b : {BtnReadData, BtnSaveData, BtnMergeData, BtnExportShoesData}) top->addWidget(b);
  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  left->addLayout(top);
  left->addWidget(DBGridShoesData, 1);
  auto* infoRow = new QHBoxLayout;
  infoRow->addWidget(infoLabel);
  infoRow->addStretch(1);
  // "最近" sits here rather than after the file buttons, and "關於" is only as wide as
  // its caption, so that the strip still fits the window's start size.
  BtnAbout->setStyleSheet(QStringLiteral("padding: 3px 8px;"));
  infoRow->addWidget(BtnRecentFiles);
  infoRow->addWidget(BtnAbout);
  auto* right = new QVBoxLayout;
  right->setSpacing(2);
  right->addLayout(infoRow);
  right->addWidget(DBMemoShoesInfo, 1);
  auto* layout = new QHBoxLayout(PanelShoesData);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addLayout(left, 3);
  layout->addLayout(right, 1);
  return PanelShoesData;
}

void TFormDaruvedaZizeveva::ReadData(const QString& path) {
  if (!Guarded(this, [&] { bench_.Shoes().ReadData(FileName(path)); })) return;
  ShoesFileName = path;
  UseRecentFile(RecentShoeFiles, path);
}

void TFormDaruvedaZizeveva::MergeData(const QString& path) {
  if (Guarded(this, [&] { bench_.Shoes().MergeData(FileName(path)); })) UseRecentFile(RecentShoeFiles, path);
}

void TFormDaruvedaZizeveva::UseRecentFile(QStringList& list, const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  list.removeAll(full);
  list.prepend(full);
  while (list.size() > kRecentFiles) list.removeLast();
}

void TFormDaruvedaZizeveva::FillRecentMenu() {
  QMenu* menu = BtnRecentFiles->menu();
  menu->clear();
  auto add = [&](const QString& caption, const QString& path, void (TFormDaruvedaZizeveva::*open)(const QString&)) {
    QAction* action = menu->addAction(caption);
    action->setToolTip(path);
    connect(action, &QAction::triggered, this, [this, path, open] { (this->*open)(path); });
  };
  for (const QString& path : RecentShoeFiles)
    add(QFileInfo(path).fileName(), path, &TFormDaruvedaZizeveva::OpenRecentShoeFile);
  if (!RecentShoeFiles.isEmpty() && !RecentStrategyFiles.isEmpty()) menu->addSeparator();
  for (const QString& path : RecentStrategyFiles)
    add(QStringLiteral("策略組合: ") + QFileInfo(path).fileName(), path, &TFormDaruvedaZizeveva::OpenRecentStrategyFile);
  if (menu->isEmpty()) menu->addAction(QStringLiteral("(沒有)"))->setEnabled(false);
}

void TFormDaruvedaZizeveva::OpenRecentShoeFile(const QString& path) {
  if (KeepChanges(true, false)) ReadData(path);
}

void TFormDaruvedaZizeveva::OpenRecentStrategyFile(const QString& path) {
  if (FrameStrategies->KeepChanges()) FrameStrategies->ReadStrategies(path);
}

void TFormDaruvedaZizeveva::DropDataFile(const QString& path) {
  switch (AskChoice(this, QStringLiteral("讀入或合併靴資料檔?\n") + QFileInfo(path).fileName(),
                    {QStringLiteral("讀入資料"), QStringLiteral("合併資料"), QStringLiteral("取消")})) {
    case 0:
      if (KeepChanges(true, false)) ReadData(path);
      break;
    case 1:
      MergeData(path);
      break;
    default:
      break;
  }
}

namespace {

// The one local .DAT file of a drag, or an empty text.
QString DroppedDataFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".DAT"), Qt::CaseInsensitive)) return {};
  return url.toLocalFile();
}

}  // namespace

void TFormDaruvedaZizeveva::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedDataFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormDaruvedaZizeveva::dropEvent(QDropEvent* event) {
  const QString path = DroppedDataFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // After the drop has finished: the question is modal.
  QTimer::singleShot(0, this, [this, path] { DropDataFile(path); });
}

void TFormDaruvedaZizeveva::ReadWindowState() {
  if (WindowStateFile.isEmpty()) return;
  QSettings ini(WindowStateFile, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Window"));
  if (ini.contains(QStringLiteral("Geometry"))) restoreGeometry(ini.value(QStringLiteral("Geometry")).toByteArray());
  const struct {
    const char* key;
    QSplitter* splitter;
  } splitters[] = {{"Splitter4", Splitter4}, {"SplitterRoad", FrameRoads->SplitterRoad}, {"SplitterOtherRoad", SplitterOtherRoad}};
  for (const auto& s : splitters)
    if (ini.contains(QLatin1String(s.key))) s.splitter->restoreState(ini.value(QLatin1String(s.key)).toByteArray());
  const struct {
    const char* key;
    QTabWidget* tabs;
  } tabs[] = {{"PageControl1", PageControl1}, {"PageControlRoad", PageControlRoad}};
  for (const auto& t : tabs) {
    const int index = ini.value(QLatin1String(t.key), -1).toInt();
    if (index >= 0 && index < t.tabs->count() && t.tabs->isTabVisible(index)) t.tabs->setCurrentIndex(index);
  }
  ini.endGroup();
  RecentShoeFiles = ini.value(QStringLiteral("Recent/ShoeFiles")).toStringList().mid(0, kRecentFiles);
  RecentStrategyFiles = ini.value(QStringLiteral("Recent/StrategyFiles")).toStringList().mid(0, kRecentFiles);
}

void TFormDaruvedaZizeveva::WriteWindowState() const {
  if (WindowStateFile.isEmpty()) return;
  QSettings ini(WindowStateFile, QSettings::IniFormat);
  ini.beginGroup(QStringLiteral("Window"));
  ini.setValue(QStringLiteral("Geometry"), saveGeometry());
  ini.setValue(QStringLiteral("Splitter4"), Splitter4->saveState());
  ini.setValue(QStringLiteral("SplitterRoad"), FrameRoads->SplitterRoad->saveState());
  ini.setValue(QStringLiteral("SplitterOtherRoad"), SplitterOtherRoad->saveState());
  ini.setValue(QStringLiteral("PageControl1"), PageControl1->currentIndex());
  ini.setValue(QStringLiteral("PageControlRoad"), PageControlRoad->currentIndex());
  ini.endGroup();
  ini.setValue(QStringLiteral("Recent/ShoeFiles"), RecentShoeFiles);
  ini.setValue(QStringLiteral("Recent/StrategyFiles"), RecentStrategyFiles);
}

bool TFormDaruvedaZizeveva::SaveData(const QString& path) {
  if (!Guarded(this, [&] { bench_.Shoes().SaveData(FileName(path)); })) return false;
  ShoesFileName = path;
  UseRecentFile(RecentShoeFiles, path);
  return true;
}

bool TFormDaruvedaZizeveva::KeepChanges(bool shoes, bool strategies) {
  const bool shoesChanged = shoes && bench_.Shoes().Changed();
  const QString strategyChanges = strategies ? FrameStrategies->ChangesText() : QString();
  if (!shoesChanged && strategyChanges.isEmpty()) return true;
  QString text = QStringLiteral("下列資料已更改但未儲存:");
  if (shoesChanged) text += QStringLiteral("\n靴資料");
  if (!strategyChanges.isEmpty()) text += QLatin1Char('\n') + strategyChanges;
  text += QStringLiteral("\n是否儲存?");
  switch (AskSave(this, text)) {
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      return false;
    case SaveAnswer::Save:
      break;
  }
  if (shoesChanged) {
    const QString path =
        ChooseSaveFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"), ShoesFileName);
    if (path.isEmpty() || !SaveData(path)) return false;
  }
  return strategyChanges.isEmpty() || FrameStrategies->SaveStrategiesAs();
}

void TFormDaruvedaZizeveva::BtnReadDataClick() {
  const bool merge = sender() == BtnMergeData;
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"));
  if (path.isEmpty()) return;
  if (!merge && !KeepChanges(true, false)) return;
  if (merge)
    MergeData(path);
  else
    ReadData(path);
}

void TFormDaruvedaZizeveva::BtnSaveDataClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"), ShoesFileName);
  if (path.isEmpty()) return;
  SaveData(path);
}

void TFormDaruvedaZizeveva::BtnExportShoesDataClick() {
  if (bench_.Shoes().Table().State() != DataSetState::Browse) {
    ShowMessage(this, QStringLiteral("資料更改中"));
    return;
  }
  FormExportShoesData->exec();
}

void TFormDaruvedaZizeveva::BtnAboutClick() { AboutBox->exec(); }

// ---------------------------------------------------------------- pages

std::vector<TFrameStrategy*> TFormDaruvedaZizeveva::StrategyPages() const { return FrameStrategies->StrategyPages(); }

TFrameStrategy* TFormDaruvedaZizeveva::CreateStrategy(const QString& name, int betMethod, int betAmount) {
  return FrameStrategies->CreateStrategy(name, betMethod, betAmount);
}

bool TFormDaruvedaZizeveva::SaveStrategies(const QString& path) { return FrameStrategies->SaveStrategies(path); }
bool TFormDaruvedaZizeveva::ReadStrategies(const QString& path) { return FrameStrategies->ReadStrategies(path); }
bool TFormDaruvedaZizeveva::ExportCombinedCsv(const QString& path) {
  return FrameCombinedResults->ExportCombinedCsv(path);
}

void TFormDaruvedaZizeveva::BtnStatAllClick() {
  ShoeRange range;
  range.From = Utf8ToBig5(EditShoeFrom->text().toStdString());
  range.To = Utf8ToBig5(EditShoeTo->text().toStdString());
  range.RestartEachShoe = FrameShoeStats->CheckBoxStatEach->isChecked();
  Guarded(this, [&] { bench_.CountRangeStats(range); });
  FrameShoeStats->ShowShoeStats();
}

bool TFormDaruvedaZizeveva::AnalysisProgress(int done, int total) {
  emit analysisProgress(done, total);
  const qint64 elapsed = runClock_.elapsed();
  if (!ProgressAnalysis && elapsed >= 500 && !cancelRequested_) {
    ProgressAnalysis = new QProgressDialog(QStringLiteral("分析分段資料中..."), QStringLiteral("取消"), 0, total, this);
    ProgressAnalysis->setObjectName(QStringLiteral("ProgressAnalysis"));
    ProgressAnalysis->setWindowTitle(QStringLiteral("分析分段資料"));
    ProgressAnalysis->setWindowModality(Qt::WindowModal);
    ProgressAnalysis->setMinimumDuration(0);
    ProgressAnalysis->setAutoClose(false);
    ProgressAnalysis->setAutoReset(false);
    connect(ProgressAnalysis, &QProgressDialog::canceled, this, &TFormDaruvedaZizeveva::CancelAnalysis);
    ProgressAnalysis->show();
  }
  if (ProgressAnalysis && (elapsed - progressShown_ >= 50 || done == total)) {
    progressShown_ = elapsed;
    ProgressAnalysis->setMaximum(total);
    ProgressAnalysis->setLabelText(QStringLiteral("分析分段資料中... 第 %1 靴, 共 %2 靴").arg(done).arg(total));
    ProgressAnalysis->setValue(done);   // lets the dialog take a click on "取消"
  }
  return !cancelRequested_;
}

void TFormDaruvedaZizeveva::CancelAnalysis() { cancelRequested_ = true; }

void TFormDaruvedaZizeveva::BtnAnalysisAllShoesClick() {
  bench_.Combined().AnalysisGoFirst = CheckBoxAnalysisGoFirst->isChecked();
  const std::string from = Utf8ToBig5(EditShoeFrom->text().toStdString());
  const std::string to = Utf8ToBig5(EditShoeTo->text().toStdString());
  // A range whose rows would not fit (a million shoes and more) is offered as a
  // figures-only run: every figure, run table and chart, no rows.
  bool keepRows = true;
  const std::int64_t rowBytes = bench_.RangeRowBytes(from, to);
  if (rowBytes > RowBytesWithoutAsking)
    keepRows = !AskYesNo(this, QStringLiteral("分析範圍的每局分析結果約需 %1 MB 記憶體。\n"
                                              "按「是」只計算各策略的統計、連羸連輸統計及圖表, 不保留每局結果"
                                              " (分析結果表格會是空的);\n按「否」保留每局結果。")
                                   .arg(rowBytes >> 20));
  bench_.Combined().KeepRows = keepRows;
  cancelRequested_ = false;
  progressShown_ = 0;
  runClock_.start();
  RangeRun run;
  const bool done = Guarded(this, [&] {
    run = bench_.AnalyseRange(from, to, [this](int done, int total) { return AnalysisProgress(done, total); });
  });
  bench_.Combined().KeepRows = true;
  delete ProgressAnalysis;
  ProgressAnalysis = nullptr;
  if (!done) {
    RunAbandoned();
    return;
  }
  if (run.Cancelled)
    ShowMessage(this, QStringLiteral("分析已取消: 各策略及綜合分析結果只包括已分析的 %1 靴 (共 %2 靴)")
                          .arg(run.ShoesAnalysed)
                          .arg(run.ShoesInRange));
}

// ---------------------------------------------------------------- networking pages

QWidget* TFormDaruvedaZizeveva::BuildSharePage() {
  // Requests go out in the command's encoding, and only while connected ("未連線").
  auto send = [this](const std::string& command, const std::string& data) {
    net::QtLineChannel& channel = FrameAccount->Client().Channel();
    if (!channel.Connected()) throw net::NetError(std::string(net::kNotConnected));
    channel.SendLine(net::MakeLine(command, data));
  };
  TabSheetShare = FrameShare = new TFrameShare(Sharing, send);
  return TabSheetShare;
}

void TFormDaruvedaZizeveva::BtnForumClick() { FrameForum->BtnForumClick(); }

QWidget* TFormDaruvedaZizeveva::BuildGameRoomPage() {
  FrameGameRooms = new TFrameGameRooms(bench_);
  PageControlGameRoom = FrameGameRooms->PageControlGameRoom;
  return TabSheetGameRoom = FrameGameRooms;
}

// ---------------------------------------------------------------- timer

void TFormDaruvedaZizeveva::TimerGetMessageTimer() {
  // While a control of this window is active but does not hold the keyboard focus
  // (an embedded browser has it), clicks on the shoe grid bring the focus back.
  QWidget* active = focusWidget();
  const bool wanted = isActiveWindow() && active && !active->hasFocus();
  if (wanted != appMessageInstalled_) {
    if (wanted)
      qApp->installEventFilter(this);
    else
      qApp->removeEventFilter(this);
    appMessageInstalled_ = wanted;
  }
  // At most one pending board per tick; while one is open the others wait.
  if (boardShowing_) return;
  if (net::Board* board = Boards.TakePendingBoard()) {
    const std::function<void()>& show = board == &Boards.Billboard ? ShowBillboard
                                        : board == &Boards.Victor  ? ShowVictor
                                                                   : ShowLevelboard;
    if (show) show();
  }
}

bool TFormDaruvedaZizeveva::eventFilter(QObject* watched, QEvent* event) {
  if (appMessageInstalled_) AppMessage(watched, event);
  return QWidget::eventFilter(watched, event);
}

bool TFormDaruvedaZizeveva::AppMessage(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress) return false;
  if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
  auto* target = qobject_cast<QWidget*>(watched);
  if (!target || (target != DBGridShoesData && !DBGridShoesData->isAncestorOf(target))) return false;
  // A disabled chat box cannot take the focus; the move is then skipped.
  if (EditMessage->isEnabled()) EditMessage->setFocus(Qt::MouseFocusReason);
  return false;
}

}  // namespace zavuv
