// The account column at the right of the main window ("PanelConnectServer"): level
// and experience, the ranking button, login, account and online-list buttons, the
// message pane and the chat input. Until the server connection is built the controls
// stand disabled. The class declares no signals of its own (the widget dump shows it
// as the frame it is); the networking adds its handlers here.
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace zavuv {

class TFrameAccount : public QFrame {
 public:
  explicit TFrameAccount(QWidget* parent = nullptr);

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
};

}  // namespace zavuv
