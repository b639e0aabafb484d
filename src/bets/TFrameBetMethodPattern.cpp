#include "bets/TFrameBetMethodPattern.h"

#include <QTableView>

namespace zavuv {

TFrameBetMethodPattern::TFrameBetMethodPattern(BetMethodPattern& method, QWidget* parent)
    : TFrameCommonBet(parent), method_(method) {
  setObjectName(QStringLiteral("TFrameBetMethodPattern"));
  const TableFilePanelNames names{
      "DBNavigatorBet", "DataSourceBetMethod", "DBGridBet", "BtnReadBet", "讀入投注法", "BtnSaveBet", "儲存投注法",
      "BtnSaveBetToServer", "儲存本投注法到伺服器", "LabelBetInfo", "投注法說明", "MemoBetInfo",
      {QStringLiteral("第一個形態"), QStringLiteral("上一個形態"), QStringLiteral("下一個形態"),
       QStringLiteral("最後一個形態"), QStringLiteral("插入形態"), QStringLiteral("刪除形態"),
       QStringLiteral("修改形態"), QStringLiteral("確認修改"), QStringLiteral("取消修改")},
      QStringLiteral("刪除這個形態?"), "百家樂投注法(*.MED)|*.MED", "MED"};
  files_ = std::make_unique<QtTableFilePanel>(
      this, names,
      TableFileComponent{method_.Table(), method_.Info, method_.LastFileName,
                         [this](const std::string& path) { method_.ReadBet(path); },
                         [this](const std::string& path) { method_.SaveBet(path); }},
      nullptr, [this] { LoadSettings(); });
  DBNavigatorBet = files_->Navigator;
  DataSourceBetMethod = files_->Model;
  DBGridBet = files_->Grid;
  BtnReadBet = files_->ReadButton;
  BtnSaveBet = files_->SaveButton;
  BtnSaveBetToServer = files_->ServerButton;
  MemoBetInfo = files_->Memo;
  DBGridBet->setColumnWidth(0, 110);
  DBGridBet->setColumnWidth(1, 50);
  LoadSettings();
}

TFrameBetMethodPattern::~TFrameBetMethodPattern() { files_->Detach(); }

void TFrameBetMethodPattern::LoadSettings() { files_->ShowInfo(); }
void TFrameBetMethodPattern::BtnReadBetClick() { files_->ReadClick(); }
void TFrameBetMethodPattern::BtnSaveBetClick() { files_->SaveClick(); }

}  // namespace zavuv
