// The sharing page "分享下載" (TabSheetShare): the private lists "個人" and the shared
// articles "文章分享". The main window keeps its tab hidden; the page still answers
// the server's replies and can be reached from tests.
#pragma once

#include <QWidget>
#include <functional>

#include "net/Sharing.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace zavuv {

class QtNavigator;
class QtTableModel;

class TFrameShare : public QWidget {
  Q_OBJECT

 public:
  // The page shows the sharing state; send is the connection's SendCommand.
  TFrameShare(net::Sharing& sharing, net::SendCommandFunction send, QWidget* parent = nullptr);

  // Takes the state into the controls after a reply (the grids follow their tables).
  void ShowSharing();

  QTabWidget* PageControlShare = nullptr;
  QtNavigator* DBNavigatorPrivate = nullptr;
  QPushButton* BtnGetPrivateDataList = nullptr;
  QPushButton* BtnGetPrivateBetList = nullptr;
  QPushButton* BtnGetPrivateBetAmountList = nullptr;
  QPushButton* BtnUsePrivateData = nullptr;
  QTableView* DBGridPrivateData = nullptr;
  QtNavigator* DBNavigator2 = nullptr;
  QPushButton* BtnGetArticleList = nullptr;
  QPushButton* BtnDownloadArticle = nullptr;
  QTableView* DBGridArticle = nullptr;
  QLineEdit* EditArticleTitle = nullptr;
  QPlainTextEdit* MemoArticle = nullptr;
  QPushButton* BtnShareArticleToServer = nullptr;

 public slots:
  void BtnGetPrivateDataListClick();
  void BtnUsePrivateDataClick();
  void BtnDownloadArticleClick();
  void BtnShareArticleToServerClick();

 private:
  net::Sharing& sharing_;
  net::SendCommandFunction send_;
  QtTableModel* privateModel_ = nullptr;
  QtTableModel* articleModel_ = nullptr;
  bool showing_ = false;
};

}  // namespace zavuv
