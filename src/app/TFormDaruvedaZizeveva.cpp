#include "app/TFormDaruvedaZizeveva.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/QtRangeRun.h"
#include "app/QtRecentFiles.h"
#include "app/QtServerClient.h"
#include "app/QtStatusLine.h"
#include "app/TFormExportShoesData.h"
#include "app/TFrameAccount.h"
#include "app/TFrameCombinedResults.h"
#include "app/TFrameForum.h"
#include "app/TFrameRoads.h"
#include "app/TFrameShoeStrip.h"
#include "app/TFrameStrategies.h"
#include "app/TFrameSystemSetup.h"
#include "net/LineChannel.h"
#include "net/Protocol.h"
#include "net/TFormBoard.h"
#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "net/TFrameShare.h"
#include "roads/TFrameRoadSheet.h"
#include "rooms/TFrameGameRoomClientBattle.h"
#include "rooms/TFrameGameRoomClientPractice.h"
#include "rooms/TFrameGameRooms.h"
#include "stats/TFrameShoeStats.h"
#include "strategy/TFrameStrategy.h"
#include "table/Big5.h"
#include "verdict/TFrameRisk.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

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
  StatusLine = new QtStatusLine(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 0);
  layout->setSpacing(0);
  layout->addWidget(Splitter4, 1);
  layout->addWidget(StatusLine);

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

  windowState_.AddSplitter("Splitter4", Splitter4);
  windowState_.AddSplitter("SplitterRoad", FrameRoads->SplitterRoad);
  windowState_.AddSplitter("SplitterOtherRoad", SplitterOtherRoad);
  windowState_.AddTabs("PageControl1", PageControl1);
  windowState_.AddTabs("PageControlRoad", PageControlRoad);
  windowState_.AddRoadSettings(&bench_.Roads(), [this] { FrameRoads->ShowRoadSettings(); });
  for (TFrameRoadSheet* sheet : {MainRoadSheet, MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3})
    windowState_.AddRoadSheet(sheet->objectName(), sheet);
  for (std::size_t i = 0; i < FrameGameRooms->FrameGameRoomClientBattle.size(); ++i) {
    const QString room = QStringLiteral("BattleRoom%1.").arg(i + 1);
    TFrameGameRoomClientBattle* battle = FrameGameRooms->FrameGameRoomClientBattle[i];
    windowState_.AddRoadSheet(room + QStringLiteral("RoadSheet1"), battle->RoadSheet1);
    windowState_.AddRoadSheet(room + QStringLiteral("RoadSheet2"), battle->RoadSheet2);
  }
  windowState_.AddRoadSheet(QStringLiteral("PracticeRoom.RoadSheet"),
                            FrameGameRooms->FrameGameRoomClientPractice->RoadSheet);
  PageControl1->setCurrentWidget(TabSheetForum);
  PageControlGameRoom->setCurrentIndex(1);   // 戰場

  connect(FrameShoeStats->BtnStatAll, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnStatAllClick);
  connect(BtnAnalysisAllShoes, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnAnalysisAllShoesClick);
  auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
  connect(open, &QShortcut::activated, FrameShoeStrip->BtnReadData, &QPushButton::click);
  auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
  connect(save, &QShortcut::activated, FrameShoeStrip->BtnSaveData, &QPushButton::click);

  TimerGetMessage = Named(new QTimer(this), "TimerGetMessage");
  TimerGetMessage->setInterval(500);
  connect(TimerGetMessage, &QTimer::timeout, this, &TFormDaruvedaZizeveva::TimerGetMessageTimer);

  FormCreate();
  CreateDialogs();
  TimerGetMessage->start();
}

TFormDaruvedaZizeveva::~TFormDaruvedaZizeveva() { FormDestroy(); }

void TFormDaruvedaZizeveva::FormCreate() {
  RangeRunner = new QtRangeRun(bench_, this);
  // The receive thread and the game rooms join here as their parts arrive.
  ScratchList.clear();
  LoadPlugIns();
  TFrameRoadSheet::SetDefaultRoad(&bench_.DisplayRoad());
  TFrameRoadSheet::SetDefaultRoadSettings(&bench_.Roads());
  FrameRoads->AttachRoads();
  // The minor sheets' roads are chosen before the window state (read before the
  // window is shown) brings the user's own choice.
  FrameRoads->ChooseMinorRoads();
  // The views follow the workbench.
  bench_.OnStrategyAdded = [this](Strategy& strategy, std::size_t index) {
    FrameStrategies->AddStrategyPage(strategy, index);
  };
  bench_.OnStrategyRemoving = [this](Strategy&, std::size_t index) { FrameStrategies->RemoveStrategyPage(index); };
  bench_.OnRoadSettingsChanged = [this] { FrameRoads->ShowRoadSettings(); };
  FrameRoads->OnBeadRoadChanged = [this](const QString& roadName) { FrameGameRooms->RefreshIfShowing(roadName); };
  bench_.OnError = [this](std::exception_ptr error) {
    Guarded(this, [&] { std::rethrow_exception(error); });
    RunAbandoned();
  };
  bench_.OnCurrentShoeShown = [this] {
    FrameShoeStats->ShowShoeStats();
    FrameRoads->ShowAskRoad();
  };
  bench_.OnAnalysed = [this] { ShowVerdicts(); };
  FrameCombinedResults->FrameRisk->RecordRange = [this] {
    return std::pair{Utf8ToBig5(EditShoeFrom->text().toStdString()), Utf8ToBig5(EditShoeTo->text().toStdString())};
  };
  bench_.OnAutoBetLock = [this](bool locked) {
    FrameStrategies->ShowAutoBetLock(locked ? FrameGameRooms->RoomTitle(bench_.AutoBetHolder()) : QString());
  };
  FrameStrategies->OnFileUsed = [this](const QString& path) {
    QtRecentFiles::Use(Recent.Strategies, path);
    strategyFile_ = path;
  };
  // Every file command and range run says what it did; the files in use follow.
  auto said = [this](const QString& text) {
    StatusLine->Say(text);
    StatusLine->SetFiles(FrameShoeStrip->ShoesFileName, strategyFile_);
  };
  FrameShoeStrip->OnDone = said;
  FrameStrategies->OnDone = said;
  FrameCombinedResults->OnDone = said;
  RangeRunner->OnDone = said;
  setAcceptDrops(true);
  BaseCaption = windowTitle();
  SetProgramTitle(BaseCaption);  // the program's title follows the window's caption
  FrameAccount->Client().SetSettingsSource([this] { return FrameSystemSetup->CurrentSettings(); });
  FrameAccount->Client().SetPort(ServerPort());
  // Accepted TLS certificates are kept with the window's state, beside BA.ini.
  FrameAccount->Client().SetKnownHostsFile([this] { return WindowStateFile; });
  FrameAccount->OnNickName = [this](const QString& nickName, const QString& caption) {
    NickName = nickName;
    setWindowTitle(caption);  // the caption, and the program's title on the task bar
    SetProgramTitle(caption);  // and the caption of the message boxes
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
  // Every login starts with an empty private list, and gives the rooms back their
  // countdowns and buttons; a logout or a lost line takes them away.
  connect(&client, &QtServerClient::loggedIn, this, [this] {
    Sharing.PrivateData.EmptyDataSet();
    FrameShare->ShowSharing();
    FrameGameRooms->ConnectionChanged(true);
  });
  connect(&client, &QtServerClient::disconnected, this, [this] { FrameGameRooms->ConnectionChanged(false); });
  // Before the first login the rooms are offline too.
  FrameGameRooms->ConnectionChanged(client.Connected());
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
  FormExportShoesData->OnDone = FrameShoeStrip->OnDone;
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
  FrameCombinedResults->FrameRisk->StopRun();
  while (PageControlStrategy && PageControlStrategy->count() > 0) FrameStrategies->BtnDestroyStrategyClick();
  bench_.OnStrategyAdded = nullptr;
  bench_.OnStrategyRemoving = nullptr;
  bench_.OnRoadSettingsChanged = nullptr;
  FrameRoads->OnBeadRoadChanged = nullptr;
  bench_.OnError = nullptr;
  bench_.OnCurrentShoeShown = nullptr;
  bench_.OnAnalysed = nullptr;
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
  if (!AutoLoginAllowed || !FrameSystemSetup->CheckBoxUseAutoLogin->isChecked()) return;
  BtnConnect->setChecked(true);
  FrameAccount->BtnConnectClick(true);
}

void TFormDaruvedaZizeveva::WriteSettings() {
  // Closing must not fail: an error while writing ends the writing silently.
  zavuv::WriteSettings(std::string(kSettingsFileName), FrameSystemSetup->CurrentSettings());
}

void TFormDaruvedaZizeveva::RunAbandoned() {
  FrameStrategies->RunAbandoned();
  ShowVerdicts();
}

void TFormDaruvedaZizeveva::ShowVerdicts() {
  // Judged once per analysis: a range of 10,000 shoes takes a few tenths of a second.
  VerdictReport report;
  if (!Guarded(this, [&] { report = bench_.JudgeResults(); })) return;
  FrameStrategies->ShowVerdicts(report);
  FrameCombinedResults->ShowVerdicts(report);
}

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
  FrameShoeStrip = new TFrameShoeStrip(bench_, Recent);
  PanelShoesData = FrameShoeStrip;
  FrameShoeStrip->KeepChanges = [this](bool shoes, bool strategies) { return KeepChanges(shoes, strategies); };
  FrameShoeStrip->ShowExportDialog = [this] { FormExportShoesData->exec(); };
  FrameShoeStrip->ShowAboutBox = [this] { AboutBox->exec(); };
  FrameShoeStrip->OpenStrategyFile = [this](const QString& path) {
    if (FrameStrategies->KeepChanges()) FrameStrategies->ReadStrategies(path);
  };
  return PanelShoesData;
}

void TFormDaruvedaZizeveva::ReadData(const QString& path) { FrameShoeStrip->ReadData(path); }
void TFormDaruvedaZizeveva::MergeData(const QString& path) { FrameShoeStrip->MergeData(path); }
bool TFormDaruvedaZizeveva::SaveData(const QString& path) { return FrameShoeStrip->SaveData(path); }

void TFormDaruvedaZizeveva::DropDataFile(const QString& path) { FrameShoeStrip->DropDataFile(path); }

void TFormDaruvedaZizeveva::dragEnterEvent(QDragEnterEvent* event) {
  if (!TFrameShoeStrip::DroppedDataFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormDaruvedaZizeveva::dropEvent(QDropEvent* event) {
  const QString path = TFrameShoeStrip::DroppedDataFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // After the drop has finished: the question is modal.
  QTimer::singleShot(0, this, [this, path] { DropDataFile(path); });
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
        ChooseSaveFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"), FrameShoeStrip->ShoesFileName);
    if (path.isEmpty() || !SaveData(path)) return false;
  }
  return strategyChanges.isEmpty() || FrameStrategies->SaveStrategiesAs();
}

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

void TFormDaruvedaZizeveva::BtnAnalysisAllShoesClick() {
  if (!RangeRunner->Run(EditShoeFrom->text(), EditShoeTo->text(), CheckBoxAnalysisGoFirst->isChecked()))
    RunAbandoned();
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
  QTableView* grid = FrameShoeStrip->DBGridShoesData;
  if (!target || (target != grid && !grid->isAncestorOf(target))) return false;
  // A disabled chat box cannot take the focus; the move is then skipped.
  if (EditMessage->isEnabled()) EditMessage->setFocus(Qt::MouseFocusReason);
  return false;
}

}  // namespace zavuv
