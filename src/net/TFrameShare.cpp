#include "net/TFrameShare.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/QtMessages.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"

namespace zavuv {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

QTableView* Grid(QWidget* parent, const char* name, QtTableModel* model) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setToolTip(QStringLiteral("雙擊下載使用"));
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->verticalHeader()->hide();
  model->SetReadOnly(true);
  model->BindView(grid);
  return grid;
}

QtNavigator* Navigator(QWidget* parent, const char* name, Table* table) {
  auto* n = new QtNavigator(parent);
  n->setObjectName(QString::fromLatin1(name));
  n->SetTable(table);
  n->SetVisibleButtons({QtNavigator::First, QtNavigator::Prior, QtNavigator::Next, QtNavigator::Last});
  return n;
}

}  // namespace

TFrameShare::TFrameShare(net::Sharing& sharing, net::SendCommandFunction send, QWidget* parent)
    : QWidget(parent), sharing_(sharing), send_(std::move(send)) {
  setObjectName(QStringLiteral("TabSheetShare"));
  PageControlShare = new QTabWidget(this);
  PageControlShare->setObjectName(QStringLiteral("PageControlShare"));

  // "個人": the private lists.
  auto* privatePage = new QWidget(PageControlShare);
  privatePage->setObjectName(QStringLiteral("TabSheetPrivate"));
  auto* privateLayout = new QVBoxLayout(privatePage);
  auto* privateRow = new QHBoxLayout;
  DBNavigatorPrivate = Navigator(privatePage, "DBNavigatorPrivate", &sharing_.PrivateData);
  BtnGetPrivateDataList = Button(privatePage, "BtnGetPrivateDataList", "下載百家樂資料清單");
  BtnGetPrivateBetList = Button(privatePage, "BtnGetPrivateBetList", "下載投注法清單");
  BtnGetPrivateBetAmountList = Button(privatePage, "BtnGetPrivateBetAmountList", "下載注碼法清單");
  BtnGetPrivateBetList->setEnabled(false);
  BtnGetPrivateBetAmountList->setEnabled(false);
  BtnUsePrivateData = Button(privatePage, "BtnUsePrivateData", "下載使用");
  for (QWidget* w : std::initializer_list<QWidget*>{DBNavigatorPrivate, BtnGetPrivateDataList, BtnGetPrivateBetList,
                                                    BtnGetPrivateBetAmountList, BtnUsePrivateData})
    privateRow->addWidget(w);
  privateRow->addStretch(1);
  privateLayout->addLayout(privateRow);
  privateModel_ = new QtTableModel(&sharing_.PrivateData, this);
  privateModel_->SetColumns({"UpLoadDate", "ShoesName", "Info"});
  DBGridPrivateData = Grid(privatePage, "DBGridPrivateData", privateModel_);
  privateLayout->addWidget(DBGridPrivateData, 1);

  // "文章分享": the article list and the article box.
  auto* articlePage = new QWidget(PageControlShare);
  articlePage->setObjectName(QStringLiteral("TabSheetPublicData"));
  auto* articleLayout = new QGridLayout(articlePage);
  auto* articleRow = new QHBoxLayout;
  DBNavigator2 = Navigator(articlePage, "DBNavigator2", &sharing_.Article);
  BtnGetArticleList = Button(articlePage, "BtnGetArticleList", "下載文章清單");
  BtnDownloadArticle = Button(articlePage, "BtnDownloadArticle", "下載文章閱讀");
  articleRow->addWidget(DBNavigator2);
  articleRow->addWidget(BtnGetArticleList);
  articleRow->addWidget(BtnDownloadArticle);
  articleRow->addStretch(1);
  articleLayout->addLayout(articleRow, 0, 0, 1, 2);
  articleModel_ = new QtTableModel(&sharing_.Article, this);
  articleModel_->SetColumns({"UpLoadDate", "NickName", "Title"});
  DBGridArticle = Grid(articlePage, "DBGridArticle", articleModel_);
  articleLayout->addWidget(DBGridArticle, 1, 0, 3, 1);
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(new QLabel(QStringLiteral("文章標題"), articlePage));
  EditArticleTitle = new QLineEdit(articlePage);
  EditArticleTitle->setObjectName(QStringLiteral("EditArticleTitle"));
  EditArticleTitle->setMaxLength(50);
  titleRow->addWidget(EditArticleTitle, 1);
  articleLayout->addLayout(titleRow, 1, 1);
  MemoArticle = new QPlainTextEdit(articlePage);
  MemoArticle->setObjectName(QStringLiteral("MemoArticle"));
  MemoArticle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  articleLayout->addWidget(MemoArticle, 2, 1);
  BtnShareArticleToServer = Button(articlePage, "BtnShareArticleToServer", "放到伺服器分享");
  articleLayout->addWidget(BtnShareArticleToServer, 3, 1);
  articleLayout->setColumnStretch(0, 1);
  articleLayout->setColumnStretch(1, 1);

  PageControlShare->addTab(privatePage, QStringLiteral("個人"));
  PageControlShare->addTab(articlePage, QStringLiteral("文章分享"));
  PageControlShare->setCurrentWidget(articlePage);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControlShare);

  for (QPushButton* b : {BtnGetPrivateDataList, BtnGetPrivateBetList, BtnGetPrivateBetAmountList, BtnGetArticleList})
    connect(b, &QPushButton::clicked, this, &TFrameShare::BtnGetPrivateDataListClick);
  connect(BtnUsePrivateData, &QPushButton::clicked, this, &TFrameShare::BtnUsePrivateDataClick);
  connect(DBGridPrivateData, &QTableView::doubleClicked, this, &TFrameShare::BtnUsePrivateDataClick);
  connect(BtnDownloadArticle, &QPushButton::clicked, this, &TFrameShare::BtnDownloadArticleClick);
  connect(DBGridArticle, &QTableView::doubleClicked, this, &TFrameShare::BtnDownloadArticleClick);
  connect(BtnShareArticleToServer, &QPushButton::clicked, this, &TFrameShare::BtnShareArticleToServerClick);
  connect(EditArticleTitle, &QLineEdit::textEdited, this,
          [this](const QString& text) { sharing_.ArticleTitle = text.toStdString(); });
  connect(MemoArticle, &QPlainTextEdit::textChanged, this, [this] {
    if (showing_) return;
    sharing_.ArticleLines.clear();
    for (const QString& line : MemoArticle->toPlainText().split(QLatin1Char('\n')))
      sharing_.ArticleLines.push_back(line.toStdString());
    if (!sharing_.ArticleLines.empty() && sharing_.ArticleLines.back().empty()) sharing_.ArticleLines.pop_back();
    sharing_.ArticleModified = true;
  });
  ShowSharing();
}

void TFrameShare::ShowSharing() {
  showing_ = true;
  DBGridPrivateData->setColumnHidden(privateModel_->ColumnOfField("ShoesName"), !sharing_.ShoesNameColumnVisible);
  EditArticleTitle->setText(QString::fromStdString(sharing_.ArticleTitle));
  QStringList lines;
  for (const std::string& line : sharing_.ArticleLines) lines << QString::fromStdString(line);
  MemoArticle->setPlainText(lines.join(QLatin1Char('\n')));
  showing_ = false;
}

void TFrameShare::BtnGetPrivateDataListClick() {
  const char* command = nullptr;
  QObject* s = sender();
  if (s == BtnGetPrivateDataList) command = "GETPRIVATEDATALIST";
  else if (s == BtnGetPrivateBetList) command = "GETPRIVATEBETLIST";
  else if (s == BtnGetPrivateBetAmountList) command = "GETPRIVATEBETAMOUNTLIST";
  else if (s == BtnGetArticleList) command = "GETARTICLELIST";
  if (command) Guarded(this, [&] { net::Sharing::GetList(command, send_); });
}

void TFrameShare::BtnUsePrivateDataClick() { Guarded(this, [&] { sharing_.BtnUsePrivateDataClick(send_); }); }
void TFrameShare::BtnDownloadArticleClick() { Guarded(this, [&] { sharing_.BtnDownloadArticleClick(send_); }); }
void TFrameShare::BtnShareArticleToServerClick() {
  Guarded(this, [&] { sharing_.BtnShareArticleToServerClick(send_); });
}

}  // namespace zavuv
