#include "app/TFrameShoeStrip.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/QtRecentFiles.h"
#include "app/QtStatusLine.h"
#include "app/Workbench.h"
#include "table/QtDBMemo.h"
#include "table/QtNavigator.h"
#include "table/QtTableModel.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

const char* const kDataFilter = "百家樂資料|*.DAT";

namespace {

const QStringList kShoeNavigatorHints = {
    QStringLiteral("移至第一靴記錄"), QStringLiteral("移至上一靴記錄"), QStringLiteral("移至下一靴記錄"),
    QStringLiteral("移至最後一靴記錄"), QStringLiteral("插入新靴記錄"), QStringLiteral("刪除本靴記錄"),
    QStringLiteral("修改本靴記錄"), QStringLiteral("確認編輯中記錄"), QStringLiteral("取消編輯中記錄")};

}  // namespace

TFrameShoeStrip::TFrameShoeStrip(Workbench& bench, QtRecentFiles& recent, QWidget* parent)
    : QFrame(parent), bench_(bench), recent_(recent) {
  setObjectName(QStringLiteral("PanelShoesData"));
  setMinimumHeight(90);
  DBNavigatorShoesData = Named(new QtNavigator(this), "DBNavigatorShoesData");
  DBNavigatorShoesData->SetHints(kShoeNavigatorHints);
  DBNavigatorShoesData->SetDeleteQuestion(QStringLiteral("刪除本靴記錄?"));
  DBNavigatorShoesData->SetTable(&bench_.Shoes().Table());
  DBNavigatorShoesData->setFixedWidth(9 * 26);
  BtnReadData = Button(this, "BtnReadData", "讀入資料", "開啟檔案讀入靴資料");
  BtnSaveData = Button(this, "BtnSaveData", "儲存資料", "將所有靴資料存入檔案");
  BtnMergeData = Button(this, "BtnMergeData", "合併資料", "讀入靴資料, 合併到現時資料之後面");
  BtnExportShoesData = Button(this, "BtnExportShoesData", "匯出資料", "匯出靴資料為文字檔");
  BtnAbout = Button(this, "BtnAbout", "關於");
  BtnRecentFiles = Named(new QToolButton(this), "BtnRecentFiles");
  BtnRecentFiles->setText(QStringLiteral("最近"));
  BtnRecentFiles->setToolTip(QStringLiteral("最近使用的靴資料檔及策略組合檔"));
  BtnRecentFiles->setPopupMode(QToolButton::InstantPopup);
  BtnRecentFiles->setMenu(new QMenu(BtnRecentFiles));
  connect(BtnRecentFiles->menu(), &QMenu::aboutToShow, this, [this] {
    recent_.FillMenu(
        BtnRecentFiles->menu(), [this](const QString& path) { ReadAfterAsking(path); },
        [this](const QString& path) {
          if (OpenStrategyFile) OpenStrategyFile(path);
        });
  });
  auto* gridLabel = Label(this, "LabelShoesData", "每靴資料");
  DBGridShoesData = Named(new QTableView(this), "DBGridShoesData");
  DataSourceShoesData = Named(new QtTableModel(&bench_.Shoes().Table(), this), "DataSourceShoesData");
  DataSourceShoesData->SetColumns({"ShoesName", "ShoesResult"});
  DataSourceShoesData->BindView(DBGridShoesData);
  DBGridShoesData->horizontalHeader()->setStretchLastSection(true);
  DBGridShoesData->setColumnWidth(0, DBGridShoesData->fontMetrics().averageCharWidth() * 15 + 10);
  // The result column is far wider than the grid. Scrolled by pixels, a cell that
  // becomes current shows from its start, and its editor (kept within the view)
  // keeps the caret in sight; by whole columns the grid could only show that
  // column's end, with the text being typed out of sight on the left.
  DBGridShoesData->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  auto* infoLabel = Label(this, "LabelShoesInfo", "每靴詳細說明");
  DBMemoShoesInfo = Named(new QtDBMemo(this), "DBMemoShoesInfo");
  DBMemoShoesInfo->SetField(&bench_.Shoes().Table(), "ShoesInfo");

  connect(BtnReadData, &QPushButton::clicked, this, [this] { BtnReadDataClick(false); });
  connect(BtnMergeData, &QPushButton::clicked, this, [this] { BtnReadDataClick(true); });
  connect(BtnSaveData, &QPushButton::clicked, this, [this] { BtnSaveDataClick(); });
  connect(BtnExportShoesData, &QPushButton::clicked, this, [this] { BtnExportShoesDataClick(); });
  connect(BtnAbout, &QPushButton::clicked, this, [this] {
    if (ShowAboutBox) ShowAboutBox();
  });

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
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addLayout(left, 3);
  layout->addLayout(right, 1);
}

namespace {

QString Shoes(int n) { return QtStatusLine::Count(n) + QStringLiteral(" 靴"); }

}  // namespace

void TFrameShoeStrip::Done(const QString& text) {
  if (OnDone) OnDone(text);
}

void TFrameShoeStrip::ReadData(const QString& path) {
  const QString file = QtStatusLine::FileOf(path);
  if (!Guarded(this, [&] { bench_.Shoes().ReadData(FileName(path)); })) {
    Done(QStringLiteral("未能讀入 ") + file);
    return;
  }
  ShoesFileName = path;
  QtRecentFiles::Use(recent_.Shoes, path);
  Done(QStringLiteral("已讀入 %1 · %2").arg(Shoes(bench_.Shoes().Table().RecordCount()), file));
}

void TFrameShoeStrip::MergeData(const QString& path) {
  const QString file = QtStatusLine::FileOf(path);
  const int before = bench_.Shoes().Table().RecordCount();
  if (!Guarded(this, [&] { bench_.Shoes().MergeData(FileName(path)); })) {
    Done(QStringLiteral("未能合併 ") + file);
    return;
  }
  QtRecentFiles::Use(recent_.Shoes, path);
  const int after = bench_.Shoes().Table().RecordCount();
  Done(QStringLiteral("已合併 %1 · %2 (共 %3)").arg(Shoes(after - before), file, Shoes(after)));
}

bool TFrameShoeStrip::SaveData(const QString& path) {
  const QString file = QtStatusLine::FileOf(path);
  if (!Guarded(this, [&] { bench_.Shoes().SaveData(FileName(path)); })) {
    Done(QStringLiteral("未能儲存 ") + file);
    return false;
  }
  ShoesFileName = path;
  QtRecentFiles::Use(recent_.Shoes, path);
  Done(QStringLiteral("已儲存 %1 · %2").arg(Shoes(bench_.Shoes().Table().RecordCount()), file));
  return true;
}

void TFrameShoeStrip::ReadAfterAsking(const QString& path) {
  if (!KeepChanges || KeepChanges(true, false)) ReadData(path);
}

void TFrameShoeStrip::DropDataFile(const QString& path) {
  switch (AskChoice(this, QStringLiteral("讀入或合併靴資料檔?\n") + QFileInfo(path).fileName(),
                    {QStringLiteral("讀入資料"), QStringLiteral("合併資料"), QStringLiteral("取消")})) {
    case 0:
      ReadAfterAsking(path);
      break;
    case 1:
      MergeData(path);
      break;
    default:
      break;
  }
}

QString TFrameShoeStrip::DroppedDataFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".DAT"), Qt::CaseInsensitive)) return {};
  return url.toLocalFile();
}

void TFrameShoeStrip::BtnReadDataClick(bool merge) {
  const QString path = ChooseOpenFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"));
  if (path.isEmpty()) return;
  if (merge) {
    MergeData(path);
    return;
  }
  ReadAfterAsking(path);
}

void TFrameShoeStrip::BtnSaveDataClick() {
  const QString path = ChooseSaveFile(this, QString::fromUtf8(kDataFilter), QStringLiteral("DAT"), ShoesFileName);
  if (!path.isEmpty()) SaveData(path);
}

void TFrameShoeStrip::BtnExportShoesDataClick() {
  if (bench_.Shoes().Table().State() != DataSetState::Browse) {
    ShowMessage(this, QStringLiteral("資料更改中"));
    return;
  }
  if (ShowExportDialog) ShowExportDialog();
}

}  // namespace zavuv
