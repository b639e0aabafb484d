#include "app/TFormDaruvedaZizeveva.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

#ifdef ZAVUV_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

#include "app/QtLinkLabel.h"
#include "app/TFormExportShoesData.h"
#include "roads/TFrameRoadSheet.h"
#include "stats/TFrameShoeStats.h"
#include "strategy/QtResultGrid.h"
#include "strategy/StrategyFile.h"
#include "strategy/TFrameAnalysisResult.h"
#include "strategy/TFrameStrategy.h"
#include "table/Big5.h"
#include "table/QtDBMemo.h"
#include "table/QtMessages.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "table/TableCsv.h"

namespace zavuv {

namespace {

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr) {
  auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
  button->setAutoDefault(false);
  if (hint) button->setToolTip(QString::fromUtf8(hint));
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption) {
  return Named(new QLabel(QString::fromUtf8(caption), parent), name);
}

// A tab page with a vertical layout.
QWidget* Page(const char* name, QVBoxLayout** layout = nullptr) {
  auto* page = Named(new QWidget, name);
  auto* l = new QVBoxLayout(page);
  l->setContentsMargins(4, 4, 4, 4);
  if (layout) *layout = l;
  return page;
}

// The program icon: a banker ring and a player ring on squared paper.
QPixmap ProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(192, 192, 192), 1));
  for (int k = 1; k < 4; ++k) {
    p.drawLine(0, k * size / 4, size, k * size / 4);
    p.drawLine(k * size / 4, 0, k * size / 4, size);
  }
  const double r = size * 0.3;
  p.setPen(QPen(QColor(255, 0, 0), std::max(2.0, size / 12.0)));
  p.drawEllipse(QRectF(size * 0.08, size * 0.08, r * 1.6, r * 1.6));
  p.setPen(QPen(QColor(0, 0, 255), std::max(2.0, size / 12.0)));
  p.drawEllipse(QRectF(size * 0.44, size * 0.44, r * 1.6, r * 1.6));
  return pixmap;
}

// Rounds to the nearest integer, halves to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

std::string FileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

const QStringList kShoeNavigatorHints = {
    QStringLiteral("移至第一靴記錄"), QStringLiteral("移至上一靴記錄"), QStringLiteral("移至下一靴記錄"),
    QStringLiteral("移至最後一靴記錄"), QStringLiteral("插入新靴記錄"), QStringLiteral("刪除本靴記錄"),
    QStringLiteral("修改本靴記錄"), QStringLiteral("確認編輯中記錄"), QStringLiteral("取消編輯中記錄")};

const char* const kDataFilter = "百家樂資料|*.DAT";
const char* const kStrategyFilter = "策略組合|*.json";
const char* const kCsvFilter = "CSV 檔|*.CSV";

}  // namespace

// ---------------------------------------------------------------- about box

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TAboutBox"));
  setWindowTitle(QStringLiteral("關於"));
  setFixedSize(311, 226);
  auto* panel = Named(new QFrame(this), "Panel1");
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  auto* icon = Named(new QLabel(panel), "ProgramIcon");
  icon->setPixmap(ProgramIcon(40));
  auto* product = Label(panel, "ProductName", "zavuv");
  QFont big = product->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  product->setFont(big);
  auto* subtitle = Label(panel, "ProductName2", "百家樂路紙及策略分析");
  auto* version = Label(panel, "Version", "Version 1.11");
  auto* notice = Label(panel, "Copyright", "本程式只供研究及娛樂之用");
  auto* header = new QGridLayout;
  header->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  header->addWidget(product, 0, 1);
  header->addWidget(subtitle, 1, 1);
  header->addWidget(version, 2, 1);
  header->setColumnStretch(1, 1);
  auto* inner = new QVBoxLayout(panel);
  inner->setContentsMargins(8, 6, 8, 6);
  inner->setSpacing(2);
  inner->addLayout(header);
  inner->addWidget(notice);
  inner->addWidget(Named(new QtLinkLabel(QStringLiteral("https://zavuv.example.org/"), panel), "LinkHome"));
  inner->addWidget(Named(new QtLinkLabel(TFormDaruvedaZizeveva::ForumAddress(), panel), "LinkForum"));
  inner->addWidget(Named(new QtLinkLabel(QStringLiteral("mailto:support@zavuv.example.org"), panel), "LinkMail"));
  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(panel, 1);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void TAboutBox::showEvent(QShowEvent* event) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  QDialog::showEvent(event);
}

// ---------------------------------------------------------------- main window

const QString& TFormDaruvedaZizeveva::ForumAddress() {
  static const QString address = QStringLiteral("https://zavuv.example.org/forum/");
  return address;
}

const QString& TFormDaruvedaZizeveva::ForumTitle() {
  static const QString title = QStringLiteral("zavuv 百家樂討論區");
  return title;
}

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
  PageControl1->addTab(BuildRoadPage(), QStringLiteral("路紙"));
  PageControl1->addTab(TabSheetStats = Page("TabSheetStats"), QStringLiteral("統計"));
  FrameShoeStats = Named(new TFrameShoeStats(bench_.Stats(), TabSheetStats), "FrameShoeStats");
  TabSheetStats->layout()->addWidget(FrameShoeStats);
  PageControl1->addTab(BuildStrategyPage(), QStringLiteral("策略"));
  PageControl1->addTab(BuildMultiStrategyPage(), QStringLiteral("多重策略分析結果"));
  PageControl1->addTab(BuildSharePage(), QStringLiteral("分享下載"));
  PageControl1->addTab(BuildForumPage(), QStringLiteral("討論區"));
  PageControl1->addTab(BuildGameRoomPage(), QStringLiteral("遊樂場"));
  PageControl1->addTab(BuildSetupPage(), QStringLiteral("系統設定"));
  PageControl1->setTabVisible(PageControl1->indexOf(TabSheetShare), false);   // no command shows it
  lowerLayout->addWidget(PageControl1, 1);
  lowerLayout->addWidget(BuildAccountPanel());
  Splitter4->addWidget(lower);
  Splitter4->setStretchFactor(1, 1);
  Splitter4->setSizes({125, 533 - 125});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(Splitter4);

  PageControl1->setCurrentWidget(TabSheetForum);
  PageControlGameRoom->setCurrentIndex(1);   // 戰場

  connect(FrameShoeStats->BtnStatAll, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnStatAllClick);
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
  for (TFrameRoadSheet* sheet : {MainRoadSheet, MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) {
    sheet->SetRoadSettings(&bench_.Roads());
    sheet->SetRoad(&bench_.DisplayRoad());
  }
  // The views follow the workbench.
  bench_.OnStrategyAdded = [this](Strategy& strategy, std::size_t index) { AddStrategyPage(strategy, index); };
  bench_.OnStrategyRemoving = [this](Strategy&, std::size_t index) { RemoveStrategyPage(index); };
  bench_.OnRoadSettingsChanged = [this] { ShowRoadSettings(); };
  bench_.OnError = [this](std::exception_ptr error) {
    Guarded(this, [&] { std::rethrow_exception(error); });
    RunAbandoned();
  };
  bench_.OnCurrentShoeShown = [this] { FrameShoeStats->ShowShoeStats(); };
  bench_.OnAutoBetLock = [this](bool locked) { TabSheetStrategy->setEnabled(!locked); };
  BaseCaption = windowTitle();
}

void TFormDaruvedaZizeveva::LoadPlugIns() {
  PlugInScan = PlugIns.LoadFolder(".", [this](const std::string& message) {
    ShowMessage(this, QString::fromStdString(message));
  });
}

void TFormDaruvedaZizeveva::CreateDialogs() {
  // In the order of start-up; the login, sign-up, account, card and board dialogs
  // join this list with the networking and the rooms.
  AboutBox = new TAboutBox(this);
  FormExportShoesData = new TFormExportShoesData(bench_.Shoes(), this);
}

void TFormDaruvedaZizeveva::FormShow() {
  ShoesData& shoes = bench_.Shoes();
  shoes.ShoesLoading = true;
  CreateFirstStrategy();
  // The shoe table exists from the start, empty.
  int item = 0;
  for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) {
    sheet->ComboBoxRoad->removeItem(0);   // "大路" is the main sheet's alone
    sheet->ComboBoxRoad->setCurrentIndex(item++);
  }
  bench_.DisplayRoad().SetAutoRedraw(true);
  bench_.DisplayRoad().SetResult("");
  shoes.ShoesLoading = false;
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
  // Every strategy page goes through the delete action.
  while (PageControlStrategy && PageControlStrategy->count() > 0) BtnDestroyStrategyClick();
  bench_.OnStrategyAdded = nullptr;
  bench_.OnStrategyRemoving = nullptr;
  bench_.OnRoadSettingsChanged = nullptr;
  bench_.OnError = nullptr;
  bench_.OnCurrentShoeShown = nullptr;
  bench_.OnAutoBetLock = nullptr;
  const QObjectList children = this->children();
  for (QObject* child : children) delete child;
  TimerGetMessage = nullptr;
  TFrameRoadSheet::SetDefaultRoad(nullptr);
  TFrameRoadSheet::SetDefaultRoadSettings(nullptr);
  ScratchList.clear();
}

void TFormDaruvedaZizeveva::CreateFirstStrategy() { BtnCreateStrategy->click(); }
void TFormDaruvedaZizeveva::ReadSettings() {}
void TFormDaruvedaZizeveva::AutoLogin() {}
void TFormDaruvedaZizeveva::WriteSettings() {}

void TFormDaruvedaZizeveva::RunAbandoned() {
  for (TFrameStrategy* page : StrategyPages()) page->RunAbandoned();
}

void TFormDaruvedaZizeveva::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TFormDaruvedaZizeveva::closeEvent(QCloseEvent* event) {
  FormClose();
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
  Guarded(this, [&] { bench_.Shoes().ReadData(FileName(path)); });
}

void TFormDaruvedaZizeveva::MergeData(const QString& path) {
  Guarded(this, [&] { bench_.Shoes().MergeData(FileName(path)); });
}

void TFormDaruvedaZizeveva::SaveData(const QString& path) {
  Guarded(this, [&] { bench_.Shoes().SaveData(FileName(path)); });
}

void TFormDaruvedaZizeveva::BtnReadDataClick() {
  const bool merge = sender() == BtnMergeData;
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"));
  if (path.isEmpty()) return;
  if (merge)
    MergeData(path);
  else
    ReadData(path);
}

void TFormDaruvedaZizeveva::BtnSaveDataClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"));
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

// ---------------------------------------------------------------- current shoe

void TFormDaruvedaZizeveva::BtnStatAllClick() {
  ShoeRange range;
  range.From = Utf8ToBig5(EditShoeFrom->text().toStdString());
  range.To = Utf8ToBig5(EditShoeTo->text().toStdString());
  range.RestartEachShoe = FrameShoeStats->CheckBoxStatEach->isChecked();
  Guarded(this, [&] { bench_.CountRangeStats(range); });
  FrameShoeStats->ShowShoeStats();
}

// ---------------------------------------------------------------- account column

QWidget* TFormDaruvedaZizeveva::BuildAccountPanel() {
  PanelConnectServer = Named(new QFrame, "PanelConnectServer");
  PanelConnectServer->setFixedWidth(169);
  auto* lvlCaption = Label(PanelConnectServer, "LabelLvlCaption", "等級:");
  LabelLvl = Label(PanelConnectServer, "LabelLvl", "");
  BtnLevelboard = Button(PanelConnectServer, "BtnLevelboard", "英雄榜");
  auto* expCaption = Label(PanelConnectServer, "LabelExpCaption", "經驗:");
  ImageExp = Label(PanelConnectServer, "ImageExp", "");
  ImageExp->setFixedSize(121, 20);
  LabelExp = Label(ImageExp, "LabelExp", "");
  LabelExp->setGeometry(8, 0, 105, 20);
  LabelExp->setAlignment(Qt::AlignCenter);
  BtnConnect = Button(PanelConnectServer, "BtnConnect", "登入");
  BtnConnect->setCheckable(true);
  BtnChangeInfo = Button(PanelConnectServer, "BtnChangeInfo", "更改帳戶資料");
  BtnGetOnlineList = Button(PanelConnectServer, "BtnGetOnlineList", "在線名單");
  BtnSignUp = Button(PanelConnectServer, "BtnSignUp", "開新帳戶");
  auto* infoCaption = Label(PanelConnectServer, "LabelMessage", "資訊");
  MemoMessage = Named(new QTextEdit(PanelConnectServer), "MemoMessage");
  MemoMessage->setReadOnly(true);
  MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* chatCaption = Label(PanelConnectServer, "LabelChat", "交談");
  BtnChatFont = Button(PanelConnectServer, "BtnChatFont", "對話字型");
  BtnClearMsg = Button(PanelConnectServer, "BtnClearMsg", "清除");
  EditMessage = Named(new QLineEdit(PanelConnectServer), "EditMessage");
  EditMessage->setMaxLength(100);

  auto* layout = new QVBoxLayout(PanelConnectServer);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(3);
  auto* lvlRow = new QHBoxLayout;
  lvlRow->addWidget(lvlCaption);
  lvlRow->addWidget(LabelLvl, 1);
  lvlRow->addWidget(BtnLevelboard);
  layout->addLayout(lvlRow);
  auto* expRow = new QHBoxLayout;
  expRow->addWidget(expCaption);
  expRow->addWidget(ImageExp);
  expRow->addStretch(1);
  layout->addLayout(expRow);
  auto* account = new QGridLayout;
  account->setSpacing(2);
  account->addWidget(BtnConnect, 0, 0);
  account->addWidget(BtnChangeInfo, 0, 1);
  account->addWidget(BtnGetOnlineList, 1, 0);
  account->addWidget(BtnSignUp, 1, 1);
  layout->addLayout(account);
  layout->addWidget(infoCaption);
  layout->addWidget(MemoMessage, 1);
  auto* chatRow = new QHBoxLayout;
  chatRow->addWidget(chatCaption);
  chatRow->addStretch(1);
  chatRow->addWidget(BtnChatFont);
  chatRow->addWidget(BtnClearMsg);
  layout->addLayout(chatRow);
  layout->addWidget(EditMessage);
  for (QPushButton* b : {BtnConnect, BtnChangeInfo, BtnGetOnlineList, BtnSignUp, BtnLevelboard, BtnChatFont, BtnClearMsg})
    b->setStyleSheet(QStringLiteral("padding: 2px 3px;"));

  // No server connection yet: the account controls wait for the networking.
  for (QWidget* w : {static_cast<QWidget*>(BtnLevelboard), static_cast<QWidget*>(BtnConnect),
                     static_cast<QWidget*>(BtnChangeInfo), static_cast<QWidget*>(BtnGetOnlineList),
                     static_cast<QWidget*>(BtnSignUp), static_cast<QWidget*>(BtnChatFont),
                     static_cast<QWidget*>(BtnClearMsg), static_cast<QWidget*>(EditMessage)})
    w->setEnabled(false);
  return PanelConnectServer;
}

// ---------------------------------------------------------------- roads

QWidget* TFormDaruvedaZizeveva::BuildRoadPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetRoad = Page("TabSheetRoad", &layout);
  layout->setContentsMargins(0, 0, 0, 0);
  PageControlRoad = Named(new QTabWidget(TabSheetRoad), "PageControlRoad");
  PageControlRoad->setTabPosition(QTabWidget::South);
  layout->addWidget(PageControlRoad);

  QVBoxLayout* drawLayout = nullptr;
  TabSheetDrawRoad = Page("TabSheetDrawRoad", &drawLayout);
  drawLayout->setContentsMargins(0, 0, 0, 0);
  SplitterRoad = Named(new QSplitter(Qt::Vertical, TabSheetDrawRoad), "SplitterRoad");
  SplitterRoad->setHandleWidth(3);
  SplitterRoad->setChildrenCollapsible(false);
  MainRoadSheet = Named(new TFrameRoadSheet, "MainRoadSheet");
  MainRoadSheet->ComboBoxRoad->clear();
  MainRoadSheet->ComboBoxRoad->addItem(QStringLiteral("大路"));
  MainRoadSheet->SetSurfaceSize(1200, 800);
  MainRoadSheet->SetZoom(10, 50, 18);
  MainRoadSheet->setMinimumWidth(150);
  PanelOtherRoad = Named(new QWidget, "PanelOtherRoad");
  auto* otherLayout = new QHBoxLayout(PanelOtherRoad);
  otherLayout->setContentsMargins(0, 0, 0, 0);
  SplitterOtherRoad = Named(new QSplitter(Qt::Horizontal, PanelOtherRoad), "SplitterOtherRoad");
  SplitterOtherRoad->setHandleWidth(3);
  SplitterOtherRoad->setChildrenCollapsible(false);
  otherLayout->addWidget(SplitterOtherRoad);
  MinorRoadSheet1 = Named(new TFrameRoadSheet, "MinorRoadSheet1");
  MinorRoadSheet2 = Named(new TFrameRoadSheet, "MinorRoadSheet2");
  MinorRoadSheet3 = Named(new TFrameRoadSheet, "MinorRoadSheet3");
  for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) {
    sheet->SetZoom(5, 30, 12);
    sheet->setMinimumWidth(60);
    SplitterOtherRoad->addWidget(sheet);
  }
  SplitterOtherRoad->setStretchFactor(1, 1);
  SplitterOtherRoad->setSizes({200, 400, 200});
  SplitterOtherRoad->installEventFilter(this);
  SplitterRoad->addWidget(MainRoadSheet);
  SplitterRoad->addWidget(PanelOtherRoad);
  SplitterRoad->setStretchFactor(0, 1);
  SplitterRoad->setSizes({250, 150});
  drawLayout->addWidget(SplitterRoad);
  PageControlRoad->addTab(TabSheetDrawRoad, QStringLiteral("路紙"));
  PageControlRoad->addTab(BuildRoadSettingPage(), QStringLiteral("設定"));
  return TabSheetRoad;
}

QWidget* TFormDaruvedaZizeveva::BuildRoadSettingPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetRoadSetting = Page("TabSheetRoadSetting", &layout);
  auto* row = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    const QString n = QString::number(i + 1);
    auto* group = new QGroupBox(QStringLiteral("珠路%1設定").arg(n), TabSheetRoadSetting);
    group->setObjectName(QStringLiteral("GroupBoxBall") + n);
    auto* label = new QLabel(QStringLiteral("每行粒數"), group);
    label->setObjectName(QStringLiteral("LabelNoOfBall") + n);
    auto* spin = new QSpinBox(group);
    spin->setObjectName(QStringLiteral("SpinEditNoOfBall") + n);
    spin->setRange(1, 20);
    spin->setValue(bench_.Roads().beads[i]);
    label->setBuddy(spin);
    auto* box = new QCheckBox(QStringLiteral("開和不計"), group);
    box->setObjectName(QStringLiteral("CheckBoxBallRoadIgnoreTie") + n);
    box->setChecked(bench_.Roads().ignoreTies[i]);
    auto* g = new QGridLayout(group);
    g->addWidget(label, 0, 0);
    g->addWidget(spin, 0, 1);
    g->addWidget(box, 1, 0, 1, 2);
    SpinEditNoOfBall[i] = spin;
    CheckBoxBallRoadIgnoreTie[i] = box;
    connect(spin, &QSpinBox::valueChanged, this, &TFormDaruvedaZizeveva::SpinEditNoOfBall1Change);
    connect(box, &QCheckBox::toggled, this, &TFormDaruvedaZizeveva::SpinEditNoOfBall1Change);
    row->addWidget(group);
  }
  row->addStretch(1);
  layout->addLayout(row);
  layout->addStretch(1);
  return TabSheetRoadSetting;
}

void TFormDaruvedaZizeveva::SpinEditNoOfBall1Change() {
  int i = 0;
  while (i < 3 && sender() != SpinEditNoOfBall[i] && sender() != CheckBoxBallRoadIgnoreTie[i]) ++i;
  if (i == 3) return;
  bench_.Roads().beads[i] = SpinEditNoOfBall[i]->value();
  bench_.Roads().ignoreTies[i] = CheckBoxBallRoadIgnoreTie[i]->isChecked();
  const QString name = QStringLiteral("珠路%1").arg(i + 1);
  // The practice room's sheet follows the minor sheets once the rooms exist.
  for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) sheet->RefreshIfShowing(name);
}

void TFormDaruvedaZizeveva::PanelOtherRoadCanResize(int oldWidth, int newWidth) {
  QList<int> sizes = SplitterOtherRoad->sizes();
  if (oldWidth <= 0 || sizes.size() != 3) return;
  const double scale = static_cast<double>(newWidth) / oldWidth;
  const int left = RoundEven(sizes[0] * scale);
  const int right = RoundEven(sizes[2] * scale);
  const int middle = std::max(0, newWidth - left - right - 2 * SplitterOtherRoad->handleWidth());
  SplitterOtherRoad->setSizes({left, middle, right});
}

bool TFormDaruvedaZizeveva::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SplitterOtherRoad && event->type() == QEvent::Resize) {
    auto* resize = static_cast<QResizeEvent*>(event);
    const int width = resize->size().width();
    if (!SplitterOtherRoad->isVisible()) return false;
    if (!otherRoadLaidOut_) {
      // The first real width: the outer sheets take their design width of 200.
      otherRoadLaidOut_ = true;
      const int outer = std::min(200, std::max(60, (width - 2 * SplitterOtherRoad->handleWidth()) / 3));
      SplitterOtherRoad->setSizes({outer, width - 2 * outer - 2 * SplitterOtherRoad->handleWidth(), outer});
    } else if (resize->oldSize().width() > 0 && resize->oldSize().width() != width) {
      PanelOtherRoadCanResize(resize->oldSize().width(), width);
    }
    return false;
  }
  if (appMessageInstalled_) AppMessage(watched, event);
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- strategy pages

QWidget* TFormDaruvedaZizeveva::BuildStrategyPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetStrategy = Page("TabSheetStrategy", &layout);
  BtnCreateStrategy = Button(TabSheetStrategy, "BtnCreateStrategy", "新增策略");
  BtnDestroyStrategy = Button(TabSheetStrategy, "BtnDestroyStrategy", "刪除策略");
  EditShoeFrom = Named(new QLineEdit(TabSheetStrategy), "EditShoeFrom");
  EditShoeFrom->setToolTip(QStringLiteral("分析或統計部分資料時的第一靴牌的靴名\n不輸入即由記錄中第一靴牌開始"));
  EditShoeTo = Named(new QLineEdit(TabSheetStrategy), "EditShoeTo");
  EditShoeTo->setToolTip(QStringLiteral("分析或統計部分資料時的最後一靴牌的靴名\n不輸入即至記錄中最後一靴牌"));
  for (QLineEdit* e : {EditShoeFrom, EditShoeTo}) e->setMaximumWidth(120);
  BtnAnalysisAllShoes = Button(TabSheetStrategy, "BtnAnalysisAllShoes", "分析分段資料");
  auto* fromLabel = Label(TabSheetStrategy, "LabelShoeFrom", "靴名由:");
  fromLabel->setBuddy(EditShoeFrom);
  auto* toLabel = Label(TabSheetStrategy, "LabelShoeTo", "靴名至:");
  toLabel->setBuddy(EditShoeTo);
  BtnReadStrategies = Button(TabSheetStrategy, "BtnReadStrategies", "讀入策略組合", "由策略組合檔讀入所有策略, 取代現有的策略");
  BtnSaveStrategies = Button(TabSheetStrategy, "BtnSaveStrategies", "儲存策略組合", "將所有策略存入策略組合檔");
  PageControlStrategy = Named(new QTabWidget(TabSheetStrategy), "PageControlStrategy");
  connect(BtnCreateStrategy, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnCreateStrategyClick);
  connect(BtnDestroyStrategy, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnDestroyStrategyClick);
  connect(BtnAnalysisAllShoes, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnAnalysisAllShoesClick);
  connect(BtnReadStrategies, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnReadStrategiesClick);
  connect(BtnSaveStrategies, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnSaveStrategiesClick);
  // Tight enough for the window's start width of 793 pixels.
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  row->addWidget(BtnCreateStrategy);
  row->addWidget(BtnDestroyStrategy);
  row->addSpacing(4);
  row->addWidget(fromLabel);
  row->addWidget(EditShoeFrom);
  row->addWidget(toLabel);
  row->addWidget(EditShoeTo);
  row->addWidget(BtnAnalysisAllShoes);
  row->addStretch(1);
  row->addWidget(BtnReadStrategies);
  row->addWidget(BtnSaveStrategies);
  layout->addLayout(row);
  layout->addWidget(PageControlStrategy, 1);
  return TabSheetStrategy;
}

QWidget* TFormDaruvedaZizeveva::BuildMultiStrategyPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetMutliStrategy = Page("TabSheetMutliStrategy", &layout);
  auto* pages = Named(new QTabWidget(TabSheetMutliStrategy), "PageControlMultiStrategy");
  QVBoxLayout* analysisLayout = nullptr;
  QWidget* analysis = Page("TabSheetAnalysis", &analysisLayout);
  DBNavigatorAnalysis = Named(new QtNavigator(analysis), "DBNavigatorAnalysis");
  DBNavigatorAnalysis->SetVisibleButtons({QtNavigator::First, QtNavigator::Prior, QtNavigator::Next, QtNavigator::Last});
  DBNavigatorAnalysis->setFixedWidth(4 * 26);
  DBNavigatorAnalysis->SetTable(&bench_.Combined().ClientDataSetAnalysis);
  CheckBoxAnalysisGoFirst = Named(new QCheckBox(QStringLiteral("分析後資料置頂"), analysis), "CheckBoxAnalysisGoFirst");
  connect(CheckBoxAnalysisGoFirst, &QCheckBox::toggled, this, [this](bool on) { bench_.Combined().AnalysisGoFirst = on; });
  BtnExportCombinedCsv = Button(analysis, "BtnExportCsv", "匯出CSV", "將綜合分析結果存成CSV檔 (可用試算表開啟)");
  connect(BtnExportCombinedCsv, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnExportCombinedCsvClick);
  DBGridAnalysis = Named(new QTableView(analysis), "DBGridAnalysis");
  DataSourceAnalysis = Named(new QtTableModel(&bench_.Combined().ClientDataSetAnalysis, this), "DataSourceAnalysis");
  ShowResultGrid(DataSourceAnalysis, DBGridAnalysis);
  auto* row = new QHBoxLayout;
  row->addWidget(DBNavigatorAnalysis);
  row->addWidget(CheckBoxAnalysisGoFirst);
  row->addStretch(1);
  row->addWidget(BtnExportCombinedCsv);
  analysisLayout->addLayout(row);
  analysisLayout->addWidget(DBGridAnalysis, 1);
  QVBoxLayout* viewLayout = nullptr;
  QWidget* view = Page("TabSheetViewResults", &viewLayout);
  ScrollBoxViewResults = Named(new QScrollArea(view), "ScrollBoxViewResults");
  ScrollBoxViewResults->setWidgetResizable(true);
  ScrollBoxViewResultsContents = Named(new QWidget, "ScrollBoxViewResultsContents");
  auto* strip = new QHBoxLayout(ScrollBoxViewResultsContents);
  strip->setContentsMargins(1, 1, 1, 1);
  strip->setSpacing(2);
  strip->addStretch(1);   // each new view goes before it, right of those before
  ScrollBoxViewResults->setWidget(ScrollBoxViewResultsContents);
  viewLayout->addWidget(ScrollBoxViewResults);
  pages->addTab(analysis, QStringLiteral("綜合分析結果"));
  pages->addTab(view, QStringLiteral("並排觀看分析結果"));
  layout->addWidget(pages);
  return TabSheetMutliStrategy;
}

std::vector<TFrameStrategy*> TFormDaruvedaZizeveva::StrategyPages() const {
  std::vector<TFrameStrategy*> pages;
  for (int i = 0; i < PageControlStrategy->count(); ++i)
    if (auto* page = qobject_cast<TFrameStrategy*>(PageControlStrategy->widget(i))) pages.push_back(page);
  return pages;
}

void TFormDaruvedaZizeveva::AddStrategyPage(Strategy& strategy, std::size_t index) {
  auto* page = new TFrameStrategy(strategy, ScrollBoxViewResultsContents);
  const int at = PageControlStrategy->insertTab(static_cast<int>(index), page, page->StrategyName());
  PageControlStrategy->setCurrentIndex(at);
  connect(page, &TFrameStrategy::nameChanged, this, [this, page](const QString& name) {
    PageControlStrategy->setTabText(PageControlStrategy->indexOf(page), name);
  });
}

void TFormDaruvedaZizeveva::RemoveStrategyPage(std::size_t index) {
  QWidget* page = PageControlStrategy->widget(static_cast<int>(index));
  PageControlStrategy->removeTab(static_cast<int>(index));
  delete page;   // with its side-by-side view
}

TFrameStrategy* TFormDaruvedaZizeveva::CreateStrategy(const QString& name, int betMethod, int betAmount) {
  Guarded(this, [&] { bench_.CreateStrategy(name.toStdString(), betMethod, betAmount); });
  const std::vector<TFrameStrategy*> pages = StrategyPages();
  return pages.empty() ? nullptr : pages.back();
}

void TFormDaruvedaZizeveva::BtnCreateStrategyClick() {
  CreateStrategy(QString::fromStdString(bench_.NextStrategyName()), 0, 0);
}

void TFormDaruvedaZizeveva::BtnDestroyStrategyClick() {
  const int index = PageControlStrategy->currentIndex();
  if (index < 0) return;
  Guarded(this, [&] { bench_.RemoveStrategy(static_cast<std::size_t>(index)); });
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
  cancelRequested_ = false;
  progressShown_ = 0;
  runClock_.start();
  RangeRun run;
  const bool done = Guarded(this, [&] {
    run = bench_.AnalyseRange(Utf8ToBig5(EditShoeFrom->text().toStdString()),
                              Utf8ToBig5(EditShoeTo->text().toStdString()),
                              [this](int done, int total) { return AnalysisProgress(done, total); });
  });
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

bool TFormDaruvedaZizeveva::SaveStrategies(const QString& path) {
  return Guarded(this, [&] { bench_.SaveStrategies(FileName(path)); });
}

bool TFormDaruvedaZizeveva::ReadStrategies(const QString& path) {
  if (!Guarded(this, [&] { bench_.ReadStrategies(FileName(path)); })) return false;
  if (PageControlStrategy->count() > 0) PageControlStrategy->setCurrentIndex(0);
  return true;
}

void TFormDaruvedaZizeveva::ShowRoadSettings() {
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker spin(SpinEditNoOfBall[i]);
    const QSignalBlocker box(CheckBoxBallRoadIgnoreTie[i]);
    SpinEditNoOfBall[i]->setValue(bench_.Roads().Beads(i));
    CheckBoxBallRoadIgnoreTie[i]->setChecked(bench_.Roads().IgnoreTies(i));
  }
  for (int i = 0; i < 3; ++i) {
    const QString name = QStringLiteral("珠路%1").arg(i + 1);
    for (TFrameRoadSheet* sheet : {MinorRoadSheet1, MinorRoadSheet2, MinorRoadSheet3}) sheet->RefreshIfShowing(name);
  }
}

void TFormDaruvedaZizeveva::BtnReadStrategiesClick() {
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kStrategyFilter), QStringLiteral("json"));
  if (!path.isEmpty()) ReadStrategies(path);
}

void TFormDaruvedaZizeveva::BtnSaveStrategiesClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kStrategyFilter), QStringLiteral("json"));
  if (!path.isEmpty()) SaveStrategies(path);
}

bool TFormDaruvedaZizeveva::ExportCombinedCsv(const QString& path) {
  return Guarded(this, [&] { WriteTableCsv(bench_.Combined().ClientDataSetAnalysis, FileName(path)); });
}

void TFormDaruvedaZizeveva::BtnExportCombinedCsvClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kCsvFilter), QStringLiteral("CSV"));
  if (!path.isEmpty()) ExportCombinedCsv(path);
}

// ---------------------------------------------------------------- networking pages

QWidget* TFormDaruvedaZizeveva::BuildSharePage() {
  QVBoxLayout* layout = nullptr;
  TabSheetShare = Page("TabSheetShare", &layout);
  auto* pages = Named(new QTabWidget(TabSheetShare), "PageControlShare");
  pages->addTab(Page("TabSheetPublicData"), QStringLiteral("文章分享"));
  pages->addTab(Page("TabSheetPrivate"), QStringLiteral("個人"));
  layout->addWidget(pages);
  return TabSheetShare;
}

#ifdef ZAVUV_HAVE_WEBENGINE
namespace {
// The embedded browser: pages may not open windows of their own.
class ForumView : public QWebEngineView {
 public:
  using QWebEngineView::QWebEngineView;

 protected:
  QWebEngineView* createWindow(QWebEnginePage::WebWindowType) override { return nullptr; }
};
}  // namespace
#endif

QWidget* TFormDaruvedaZizeveva::BuildForumPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetForum = Page("TabSheetForum", &layout);
  BtnForum = Named(new QPushButton(ForumTitle(), TabSheetForum), "BtnForum");
  BtnForum->setAutoDefault(false);
  connect(BtnForum, &QPushButton::clicked, this, &TFormDaruvedaZizeveva::BtnForumClick);
  PanelForum = Named(new QFrame(TabSheetForum), "PanelForum");
  static_cast<QFrame*>(PanelForum)->setFrameShape(QFrame::StyledPanel);
  auto* forumLayout = new QVBoxLayout(PanelForum);
  forumLayout->setContentsMargins(0, 0, 0, 0);
#ifdef ZAVUV_HAVE_WEBENGINE
  WebBrowser1 = Named(new ForumView(PanelForum), "WebBrowser1");
#else
  // No embedded browser in this build: the button shows the forum in the desktop's
  // browser.
  auto* note = Label(PanelForum, "WebBrowser1", "");
  note->setText(QStringLiteral("按上方的按鈕, 即以系統的瀏覽器開啟討論區:\n") + ForumAddress());
  note->setAlignment(Qt::AlignCenter);
  note->setWordWrap(true);
  WebBrowser1 = note;
#endif
  forumLayout->addWidget(WebBrowser1);
  auto* row = new QHBoxLayout;
  row->addWidget(BtnForum);
  row->addStretch(1);
  layout->addLayout(row);
  layout->addWidget(PanelForum, 1);
  return TabSheetForum;
}

void TFormDaruvedaZizeveva::BtnForumClick() {
#ifdef ZAVUV_HAVE_WEBENGINE
  static_cast<QWebEngineView*>(WebBrowser1)->load(QUrl(ForumAddress()));
#else
  OpenUrl(QUrl(ForumAddress()));
#endif
}

QWidget* TFormDaruvedaZizeveva::BuildGameRoomPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetGameRoom = Page("TabSheetGameRoom", &layout);
  PageControlGameRoom = Named(new QTabWidget(TabSheetGameRoom), "PageControlGameRoom");
  struct Room {
    const char* page;
    const char* caption;
    const char* frame;
  };
  const Room rooms[] = {{"TabSheetPractice", "練習場", "FrameGameRoomClientPractice"},
                        {"TabSheetBattle", "戰場", "FrameGameRoomClientBattle1"},
                        {"TabSheetBattle2", "戰場2", "FrameGameRoomClientBattle2"},
                        {"TabSheetBattle3", "戰場3", "FrameGameRoomClientBattle3"},
                        {"TabSheetBattle4", "戰場4", "FrameGameRoomClientBattle4"},
                        {"TabSheetBattle5", "戰場5", "FrameGameRoomClientBattle5"}};
  for (const Room& room : rooms) {
    QVBoxLayout* pageLayout = nullptr;
    QWidget* page = Page(room.page, &pageLayout);
    // The room frames come with the rooms; until then they stand empty.
    auto* frame = Named(new QFrame(page), room.frame);
    frame->setEnabled(false);
    auto* frameLayout = new QVBoxLayout(frame);
    auto* note = Label(frame, "LabelRoomClosed", "遊樂場需要連線至伺服器");
    note->setAlignment(Qt::AlignCenter);
    frameLayout->addWidget(note);
    pageLayout->addWidget(frame);
    PageControlGameRoom->addTab(page, QString::fromUtf8(room.caption));
  }
  layout->addWidget(PageControlGameRoom);
  return TabSheetGameRoom;
}

QWidget* TFormDaruvedaZizeveva::BuildSetupPage() {
  QVBoxLayout* layout = nullptr;
  TabSheetSetup = Page("TabSheetSetup", &layout);
  auto* server = Named(new QGroupBox(QStringLiteral("伺服器設定"), TabSheetSetup), "GroupBoxServer");
  auto* rbMain = Named(new QRadioButton(QStringLiteral("主伺服器"), server), "RBtnMainServer");
  rbMain->setChecked(true);
  auto* rbLocal = Named(new QRadioButton(QStringLiteral("本機"), server), "RBtnLocalHost");
  auto* rbOther = Named(new QRadioButton(QStringLiteral("其他"), server), "RBtnOthersServer");
  auto* editServer = Named(new QLineEdit(server), "EditServer");
  editServer->setEnabled(false);
  auto* sg = new QGridLayout(server);
  sg->addWidget(rbMain, 0, 0);
  sg->addWidget(rbLocal, 0, 1);
  sg->addWidget(rbOther, 0, 2);
  sg->addWidget(Label(server, "LabelServer", "伺服器網址"), 1, 0);
  sg->addWidget(editServer, 1, 1, 1, 2);

  auto* login = Named(new QGroupBox(QStringLiteral("自動登入設定"), TabSheetSetup), "GroupBoxAutoLogin");
  auto* useAuto = Named(new QCheckBox(QStringLiteral("使用自動登入"), login), "CheckBoxUseAutoLogin");
  auto* userId = Named(new QLineEdit(login), "EditUserID");
  userId->setMaxLength(10);
  auto* password = Named(new QLineEdit(login), "EditUserPassword");
  password->setMaxLength(10);
  password->setEchoMode(QLineEdit::Password);
  auto* lg = new QGridLayout(login);
  lg->addWidget(useAuto, 0, 0, 1, 2);
  lg->addWidget(Label(login, "LabelUserID", "帳戶編號"), 1, 0);
  lg->addWidget(userId, 1, 1);
  lg->addWidget(Label(login, "LabelUserPassword", "帳戶密碼"), 2, 0);
  lg->addWidget(password, 2, 1);

  auto* proxy = Named(new QGroupBox(QStringLiteral("設定代理伺服器"), TabSheetSetup), "GroupBoxProxy");
  auto* notice = Label(proxy, "LabelProxyNotice",
                       "設定Proxy前必須先清楚所用Proxy的IP及所用的Port, 如不知道有甚麼Proxy可用, 可在以下的網址中找尋");
  notice->setWordWrap(true);
  auto* list = Named(new QtLinkLabel(QStringLiteral("https://zavuv.example.org/socks-proxies"), proxy), "LabelProxyList");
  QFont underlined = list->font();
  underlined.setUnderline(true);
  list->setFont(underlined);
  auto* useProxy = Named(new QCheckBox(QStringLiteral("使用代理伺服器(Proxy)"), proxy), "CheckBoxUseProxy");
  auto* proxyHost = Named(new QLineEdit(proxy), "EditProxy");
  auto* proxyPort = Named(new QSpinBox(proxy), "SpinEditProxyPort");
  proxyPort->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  proxyPort->setValue(0);
  auto* proxyUser = Named(new QLineEdit(proxy), "EditProxyUserID");
  auto* proxyPassword = Named(new QLineEdit(proxy), "EditProxyPassword");
  proxyPassword->setEchoMode(QLineEdit::Password);
  for (QWidget* w : {static_cast<QWidget*>(proxyHost), static_cast<QWidget*>(proxyPort),
                     static_cast<QWidget*>(proxyUser), static_cast<QWidget*>(proxyPassword)})
    w->setEnabled(false);
  auto* pg = new QGridLayout(proxy);
  pg->addWidget(notice, 0, 0, 1, 2);
  pg->addWidget(list, 1, 0, 1, 2);
  pg->addWidget(useProxy, 2, 0, 1, 2);
  pg->addWidget(Label(proxy, "LabelProxy", "代理伺服器(Proxy)"), 3, 0);
  pg->addWidget(proxyHost, 3, 1);
  pg->addWidget(Label(proxy, "LabelProxyPort", "連接埠(Port)"), 4, 0);
  pg->addWidget(proxyPort, 4, 1);
  pg->addWidget(Label(proxy, "LabelProxyUserID", "使用者ID(如適用)"), 5, 0);
  pg->addWidget(proxyUser, 5, 1);
  pg->addWidget(Label(proxy, "LabelProxyPassword", "使用者密碼(如適用)"), 6, 0);
  pg->addWidget(proxyPassword, 6, 1);

  // The settings file and the connection come with the networking; until then the
  // page shows its settings without acting on them.
  for (QGroupBox* g : {server, login, proxy}) g->setEnabled(false);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(server);
  left->addWidget(login);
  left->addStretch(1);
  columns->addLayout(left, 1);
  columns->addWidget(proxy, 1, Qt::AlignTop);
  layout->addLayout(columns);
  layout->addStretch(1);
  return TabSheetSetup;
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
  // At most one pending board per tick.
  if (BillboardPending) {
    BillboardPending = false;
    if (ShowBillboard) ShowBillboard();
  } else if (VictorPending) {
    VictorPending = false;
    if (ShowVictor) ShowVictor();
  } else if (LevelboardPending) {
    LevelboardPending = false;
    if (ShowLevelboard) ShowLevelboard();
  }
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
