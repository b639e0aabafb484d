#include "app/TFrameAccount.h"

#include <QFontDialog>
#include <QGridLayout>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/QtServerClient.h"
#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

TFrameAccount::TFrameAccount(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelConnectServer"));
  setFixedWidth(169);
  auto* lvlCaption = Label(this, "LabelLvlCaption", "等級:");
  LabelLvl = Label(this, "LabelLvl", "");
  LabelLvl->setTextFormat(Qt::PlainText);  // the server's text, shown as sent
  BtnLevelboard = Button(this, "BtnLevelboard", "英雄榜");
  auto* expCaption = Label(this, "LabelExpCaption", "經驗:");
  ImageExp = Label(this, "ImageExp", "");
  ImageExp->setFixedSize(121, 20);
  LabelExp = Label(ImageExp, "LabelExp", "");
  LabelExp->setTextFormat(Qt::PlainText);
  LabelExp->setGeometry(8, 0, 105, 20);
  LabelExp->setAlignment(Qt::AlignCenter);
  BtnConnect = Button(this, "BtnConnect", "登入");
  BtnConnect->setCheckable(true);
  BtnChangeInfo = Button(this, "BtnChangeInfo", "更改帳戶資料");
  BtnGetOnlineList = Button(this, "BtnGetOnlineList", "在線名單");
  BtnSignUp = Button(this, "BtnSignUp", "開新帳戶");
  auto* infoCaption = Label(this, "LabelMessage", "資訊");
  MemoMessage = Named(new QTextEdit(this), "MemoMessage");
  MemoMessage->setReadOnly(true);
  MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* chatCaption = Label(this, "LabelChat", "交談");
  BtnChatFont = Button(this, "BtnChatFont", "對話字型");
  BtnClearMsg = Button(this, "BtnClearMsg", "清除");
  EditMessage = Named(new QLineEdit(this), "EditMessage");
  EditMessage->setMaxLength(100);

  auto* layout = new QVBoxLayout(this);
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

  // Logged out ("英雄榜" stays enabled and does nothing until connected).
  BtnChangeInfo->setEnabled(false);
  BtnGetOnlineList->setEnabled(false);
  ShowLevel({});

  client_ = std::make_unique<QtServerClient>(this, *this, "zavuv");
  connect(client_.get(), &QtServerClient::disconnected, this, [this] { IdTCPClient1Disconnected(); });
  connect(client_.get(), &QtServerClient::loggedIn, this, [this] { ShowLoggedIn(); });
  connect(BtnConnect, &QPushButton::clicked, this, [this](bool down) { BtnConnectClick(down); });
  connect(BtnSignUp, &QPushButton::clicked, this, [this] { BtnSignUpClick(); });
  connect(BtnLevelboard, &QPushButton::clicked, this, [this] { BtnLevelboardClick(); });
  connect(BtnChangeInfo, &QPushButton::clicked, this, [this] { BtnChangeInfoClick(); });
  connect(BtnGetOnlineList, &QPushButton::clicked, this, [this] { BtnGetOnlineListClick(); });
  connect(BtnChatFont, &QPushButton::clicked, this, [this] { BtnChatFontClick(); });
  connect(BtnClearMsg, &QPushButton::clicked, this, [this] { BtnClearMsgClick(); });
  EditMessage->installEventFilter(this);
}

TFrameAccount::~TFrameAccount() = default;

void TFrameAccount::AppendMessage(std::string_view text, net::MessageColour colour) {
  static const QColor kColours[] = {QColor(), QColor(), Qt::red, Qt::blue, QColor(255, 0, 255), QColor(0, 128, 0)};
  QColor c = colour == net::MessageColour::WindowText ? MemoMessage->palette().color(QPalette::WindowText)
                                                       : kColours[static_cast<int>(colour)];
  AppendColoured(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), c);
}

void TFrameAccount::AppendColoured(const QString& text, const QColor& colour) {
  QTextCursor end = MemoMessage->textCursor();
  end.movePosition(QTextCursor::End);
  MemoMessage->setTextCursor(end);
  if (colour.isValid()) MemoMessage->setTextColor(colour);  // invalid: the colour stays
  // The text goes in as it was sent, never read as markup: a chat line that looks like
  // a tag shows its characters, loads nothing and keeps the line's colour and size.
  // Line breaks inside it (CR LF, LF or CR) start new lines of the pane.
  const QTextCharFormat format = MemoMessage->currentCharFormat();
  if (!MemoMessage->document()->isEmpty()) end.insertBlock(end.blockFormat(), format);
  end.insertText(text, format);
  MemoMessage->setTextCursor(end);
  MemoMessage->repaint();
}

void TFrameAccount::NickNameChanged(std::string_view nickName, std::string_view caption) {
  if (OnNickName)
    OnNickName(QString::fromUtf8(nickName.data(), static_cast<qsizetype>(nickName.size())),
               QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void TFrameAccount::ShowLevel(const net::LevelDisplay& level) {
  LabelLvl->setText(QString::fromStdString(level.level));
  LabelExp->setText(QString::fromStdString(level.experience));
  // The outline in white, the inside black, which is the bar's transparent colour so
  // that the panel shows through; then the experience in white.
  const int w = ImageExp->width(), h = ImageExp->height();
  QImage bar(w, h, QImage::Format_ARGB32);
  bar.fill(Qt::transparent);
  QPainter p(&bar);
  p.setPen(Qt::white);
  p.drawRect(0, 0, w - 1, h - 1);
  if (level.valid && level.fill > 0) p.fillRect(QRect(QPoint(1, 1), QPoint(level.fill, h - 2)), Qt::white);
  p.end();
  ImageExp->setPixmap(QPixmap::fromImage(bar));
}

void TFrameAccount::RoomMessage(std::string_view room, std::string_view arguments) {
  if (OnRoomMessage) OnRoomMessage(room, arguments);
}

void TFrameAccount::BoardReceived(net::BoardKind board, bool utf8, std::string_view arguments) {
  if (OnBoard) OnBoard(board, utf8, arguments);
}

void TFrameAccount::PrivateListReceived(std::string_view command, std::string_view arguments) {
  if (OnSharingReply) OnSharingReply(command, arguments);
}

void TFrameAccount::ArticleListReceived(std::string_view arguments) {
  if (OnSharingReply) OnSharingReply("GETARTICLELISTOK", arguments);
}

void TFrameAccount::PrivateDataReceived(std::string_view arguments) {
  if (OnSharingReply) OnSharingReply("GETPRIVATEDATAOK", arguments);
}

void TFrameAccount::ArticleReceived(std::string_view arguments) {
  if (OnSharingReply) OnSharingReply("GETARTICLEOK", arguments);
}

void TFrameAccount::BtnLevelboardClick() {
  if (client_->Connected()) Guarded(this, [&] { client_->Channel().SendLine("LEVELBOARD:"); });
}

void TFrameAccount::BtnConnectClick(bool down) {
  if (!down) {
    client_->Logout();
    return;
  }
  bool in = false;
  Guarded(this, [&] { in = client_->Login(); });
  if (!in) {
    QSignalBlocker quiet(BtnConnect);
    BtnConnect->setChecked(false);
  }
}

void TFrameAccount::BtnSignUpClick() {
  Guarded(this, [&] { client_->SignUp(); });
}

void TFrameAccount::BtnChangeInfoClick() {
  Guarded(this, [&] { client_->ChangeInfo(); });
}

void TFrameAccount::BtnGetOnlineListClick() {
  Guarded(this, [&] { client_->GetOnlineList(); });
}

void TFrameAccount::BtnChatFontClick() {
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, MemoMessage->font(), this);
  if (ok) MemoMessage->setFont(font);
}

void TFrameAccount::BtnClearMsgClick() { MemoMessage->clear(); }

void TFrameAccount::EditMessageEnter() {
  if (Guarded(this, [&] { client_->SendChat(EditMessage->text()); })) EditMessage->clear();
}

bool TFrameAccount::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditMessage && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      EditMessageEnter();
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

void TFrameAccount::IdTCPClient1Disconnected() {
  EditMessage->setEnabled(false);
  {
    QSignalBlocker quiet(BtnConnect);
    BtnConnect->setChecked(false);
  }
  BtnSignUp->setEnabled(true);
  BtnChangeInfo->setEnabled(false);
  BtnGetOnlineList->setEnabled(false);
}

void TFrameAccount::ShowLoggedIn() {
  BtnSignUp->setEnabled(false);
  BtnChangeInfo->setEnabled(true);
  BtnGetOnlineList->setEnabled(true);
  EditMessage->setEnabled(true);
}

}  // namespace zavuv
