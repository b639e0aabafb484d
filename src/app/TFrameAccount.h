// The account column at the right of the main window ("PanelConnectServer"): level
// and experience, the ranking button, login, account and online-list buttons, the
// message pane and the chat input. It is the sink of the server's lines (through its
// QtServerClient) and turns its buttons into the client's actions. The class declares
// no signals of its own (the widget dump shows it as the frame it is); the window and
// the rooms fill its hooks.
#pragma once

#include <QFrame>
#include <functional>
#include <memory>

#include "net/Dispatcher.h"

class QColor;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace zavuv {

class QtServerClient;

class TFrameAccount : public QFrame, public net::DispatchSink {
 public:
  explicit TFrameAccount(QWidget* parent = nullptr);
  ~TFrameAccount() override;

  QtServerClient& Client() { return *client_; }

  // Hooks the window and the rooms fill; until then their lines are ignored.
  // The nickname the server sent (the window keeps it and shows the caption).
  std::function<void(const QString& nickName, const QString& caption)> OnNickName;
  std::function<void(std::string_view room, std::string_view arguments)> OnRoomMessage;
  std::function<void(net::BoardKind board, bool utf8, std::string_view arguments)> OnBoard;
  // The sharing page's replies: the list replies, the article list, a downloaded shoe
  // and an article, each with the command it came under.
  std::function<void(std::string_view command, std::string_view arguments)> OnSharingReply;

  // DispatchSink: what the server's lines show here.
  void AppendMessage(std::string_view text, net::MessageColour colour) override;
  void NickNameChanged(std::string_view nickName, std::string_view caption) override;
  void ShowLevel(const net::LevelDisplay& level) override;
  void RoomMessage(std::string_view room, std::string_view arguments) override;
  void BoardReceived(net::BoardKind board, bool utf8, std::string_view arguments) override;
  void PrivateListReceived(std::string_view command, std::string_view arguments) override;
  void ArticleListReceived(std::string_view arguments) override;
  void PrivateDataReceived(std::string_view arguments) override;
  void ArticleReceived(std::string_view arguments) override;
  // A line at the end of the message pane in any colour (the rooms' messages).
  void AppendColoured(const QString& text, const QColor& colour);

  // The handlers.
  // "英雄榜": asks for the level board while connected; otherwise does nothing.
  void BtnLevelboardClick();
  void BtnConnectClick(bool down);
  void BtnSignUpClick();
  void BtnChangeInfoClick();
  void BtnGetOnlineListClick();
  void BtnChatFontClick();
  void BtnClearMsgClick();
  // Enter in the chat input: the text is sent and the input emptied; "未連線" is shown
  // in the error box and the text stays.
  void EditMessageEnter();
  // The disconnect event and the logged-in state of the panel.
  void IdTCPClient1Disconnected();
  void ShowLoggedIn();

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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<QtServerClient> client_;
};

}  // namespace zavuv
