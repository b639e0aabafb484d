// The account actions over loopback against a scripted server: version refused, login
// refused, nickname taken then accepted, sign-up replies, chat echo, the online list, a
// lost connection and a logout showing "已離線" once, a SOCKS 4 proxy with and without
// a user ID, an overlong line followed by a good one.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "../net/NetTestKit.h"
#include "ScriptedPeer.h"
#include "app/QtServerClient.h"
#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

using namespace zavuv;
using zavuv::testkit::ScriptedPeer;
using zavuv::testkit::Socks4Proxy;

namespace {

// Answers the next modal dialog that opens.
void WhenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start(10);
}

// A server that accepts the version and the login of abcde12345 / pw12.
void AcceptingServer(ScriptedPeer& peer) {
  peer.onLine = [&peer](const std::string& line) {
    if (line == "VERSION:1.11") peer.Say("VERSIONOK");
    else if (line == "LOGIN:abcde12345pw12") {
      peer.Say("LOGINOK");
      peer.Say("NICKNAME:Bo");
    } else if (line.rfind("UTF8PUBLICMSG:", 0) == 0) {
      peer.Say("UTF8PUBLICMSG:Bo: " + line.substr(14));
    } else if (line == "GETONLINELIST:") {
      peer.Say("GETONLINELISTOK:Bo,Al,Cy");
    }
  };
}

}  // namespace

class ServerClientTest : public QObject {
  Q_OBJECT

  QStringList messages;
  std::unique_ptr<TFormLogin> login;
  std::unique_ptr<TFormSignUp> signUp;
  std::unique_ptr<TFormChangeInfo> changeInfo;
  std::unique_ptr<net::testkit::RecordingSink> sink;
  std::unique_ptr<QtServerClient> client;
  Settings settings;

  void Start(quint16 port) {
    client->SetPort(port);
  }

 private slots:
  void init() {
    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    login = std::make_unique<TFormLogin>();
    signUp = std::make_unique<TFormSignUp>();
    changeInfo = std::make_unique<TFormChangeInfo>();
    sink = std::make_unique<net::testkit::RecordingSink>();
    client = std::make_unique<QtServerClient>(nullptr, *sink, "zavuv");
    client->SetDialogs(login.get(), signUp.get(), changeInfo.get());
    settings = Settings{};
    settings.server = ServerChoice::Other;
    settings.otherServer = "127.0.0.1";
    settings.autoLogin = true;
    settings.userId = "abcde12345";
    settings.userPassword = "pw12";
    client->SetSettingsSource([this] { return settings; });
  }
  void cleanup() {
    client.reset();
    SetMessageHook(nullptr);
  }

  void versionRefusedAndLoginRefused() {
    ScriptedPeer peer;
    client->SetPort(peer.Port());
    QSignalSpy down(client.get(), &QtServerClient::disconnected);
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") peer.Say("VERSIONTOOOLD:" + Utf8ToBig5("請下載新版本"));
    };
    QVERIFY(!client->Login());
    QCOMPARE(messages, QStringList{"請下載新版本"});
    QCOMPARE(down.count(), 1);
    QVERIFY(!client->Connected());

    messages.clear();
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") peer.Say("VERSIONOK");
      else peer.Say("帳號或密碼錯誤");
    };
    QVERIFY(!client->Login());
    QCOMPARE(messages, QStringList{"登入失敗"});
    QCOMPARE(sink->pane.size(), std::size_t(1));
    QCOMPARE(sink->pane[0].first, std::string("帳號或密碼錯誤"));
    QCOMPARE(down.count(), 2);
    QCOMPARE(peer.received.back(), std::string("LOGIN:abcde12345pw12"));
  }

  void connectFailureAndCancelledDialog() {
    quint16 closed;
    {
      QTcpServer s;
      s.listen(QHostAddress::LocalHost, 0);
      closed = s.serverPort();
    }
    client->SetPort(closed);
    QVERIFY(!client->Login());
    QCOMPARE(messages, QStringList{"與伺服器連線失敗"});
    // Without automatic login the dialog asks; cancelling it connects to nothing.
    messages.clear();
    settings.autoLogin = false;
    WhenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    QVERIFY(!client->Login());
    QVERIFY(messages.isEmpty());
  }

  void nicknameTakenThenAccepted() {
    ScriptedPeer peer;
    client->SetPort(peer.Port());
    settings.autoLogin = false;
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") peer.Say("VERSIONOK");
      else if (line.rfind("LOGIN:", 0) == 0) peer.Say("NONICKNAME");
      else if (line.rfind("SETNICKNAME:Bo ", 0) == 0) peer.Say(Utf8ToBig5("此網名已有人使用"));
      else if (line.rfind("SETNICKNAME:", 0) == 0) {
        peer.Say("SETNICKNAMEOK");
        peer.Say("UTF8NICKNAME:" + line.substr(32));
      }
    };
    int asked = 0;
    std::function<void(QWidget*)> answerNickName = [&](QWidget* w) {
      auto* dialog = qobject_cast<TFormChangeInfo*>(w);
      QVERIFY(dialog && dialog->NickNameMode());
      QCOMPARE(dialog->EditUserID->text(), QStringLiteral("abcde12345"));
      dialog->EditNickName->setText(++asked == 1 ? QStringLiteral("Bo") : QStringLiteral("小明"));
      dialog->BtnLogin->click();
      if (asked == 1) WhenModal(answerNickName);  // the refusal shows, then the dialog again
    };
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<TFormLogin*>(w);
      QVERIFY(dialog);
      dialog->EditUserID->setText(QStringLiteral("abcde12345"));
      dialog->EditUserPassword->setText(QStringLiteral("pw12"));
      dialog->BtnLogin->click();
      WhenModal(answerNickName);
    });
    QVERIFY(client->Login());
    QCOMPARE(asked, 2);
    QCOMPARE(messages, QStringList{"此網名已有人使用"});
    QCOMPARE(sink->caption, std::string("zavuv - 小明"));
    QVERIFY(!changeInfo->NickNameMode());  // back in account-change mode
    QVERIFY(client->LoggedIn());
    QCOMPARE(client->Dispatcher().NickName(), std::string("小明"));
  }

  void chatOnlineListLossOnce() {
    ScriptedPeer peer;
    AcceptingServer(peer);
    client->SetPort(peer.Port());
    QSignalSpy up(client.get(), &QtServerClient::loggedIn);
    QSignalSpy down(client.get(), &QtServerClient::disconnected);
    QVERIFY(client->Login());
    QCOMPARE(up.count(), 1);
    QCOMPARE(sink->caption, std::string("zavuv - Bo"));
    client->SendChat(QStringLiteral("你好"));
    QTRY_COMPARE(sink->pane.size(), std::size_t(1));
    QCOMPARE(sink->pane[0].first, std::string("Bo: 你好"));
    QCOMPARE(peer.received[peer.received.size() - 2], "PUBLICMSG:" + Utf8ToBig5("你好"));
    client->GetOnlineList();
    QTRY_COMPARE(sink->pane.size(), std::size_t(4));
    QCOMPARE(sink->pane[3], std::make_pair(std::string("Cy"), net::MessageColour::OnlineList));
    // An overlong line, then a good one.
    peer.Send(QByteArray(20000, 'x') + "\n");
    peer.Say("SYSTEMMSG:still here");
    QTRY_COMPARE(sink->pane.size(), std::size_t(5));
    QCOMPARE(sink->pane[4].first, std::string("still here"));

    peer.Drop();
    QTRY_COMPARE(messages, QStringList{"已離線"});
    QTest::qWait(100);
    QCOMPARE(messages, QStringList{"已離線"});
    QCOMPARE(down.count(), 1);
    QVERIFY(!client->LoggedIn());
    try {
      client->SendChat(QStringLiteral("x"));
      QFAIL("chat sent while down");
    } catch (const net::NetError& e) {
      QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("未連線"));
    }
    QVERIFY_THROWS_EXCEPTION(net::NetError, client->GetOnlineList());

    // The user's own logout: "已離線" once more, once.
    messages.clear();
    QVERIFY(client->Login());
    client->Logout();
    QTest::qWait(100);
    QCOMPARE(messages, QStringList{"已離線"});
    QCOMPARE(down.count(), 2);
  }

  // A hostile or broken server: a 1 MB line, random bytes, a line trickled a byte at a
  // time and a death in the middle of a line. The loop keeps running, the good lines
  // after each still arrive, the half line is never handled, "已離線" shows once.
  void hostilePeerNeitherHangsNorCrashes() {
    ScriptedPeer peer;
    AcceptingServer(peer);
    client->SetPort(peer.Port());
    QVERIFY(client->Login());
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);

    peer.Send(QByteArray(1 << 20, 'A') + "\r\n");
    peer.Say("SYSTEMMSG:after the long line");
    QTRY_VERIFY(!sink->pane.empty() && sink->pane.back().first == "after the long line");

    QByteArray noise;
    std::uint32_t x = 12345;
    for (int i = 0; i < 65536; ++i) {
      x = x * 1103515245u + 12345u;
      noise += static_cast<char>(x >> 24);
    }
    peer.Send(noise + "\n");
    peer.Say("SYSTEMMSG:after the noise");
    QTRY_VERIFY(!sink->pane.empty() && sink->pane.back().first == "after the noise");

    const QByteArray slow = "SYSTEMMSG:one byte at a time\r\n";
    const int before = ticks;
    for (char c : slow) {
      peer.Send(QByteArray(1, c));
      QTest::qWait(15);
    }
    QTRY_VERIFY(!sink->pane.empty() && sink->pane.back().first == "one byte at a time");
    QVERIFY(ticks - before > 20);  // the loop ran all along

    peer.Send("SYSTEMMSG:half a li");
    QTest::qWait(50);
    peer.Drop();
    QTRY_COMPARE(messages, QStringList{"已離線"});
    QTest::qWait(100);
    QCOMPARE(messages, QStringList{"已離線"});
    for (const auto& line : sink->pane) QVERIFY(line.first.find("half") == std::string::npos);
    QVERIFY(!client->LoggedIn());
  }

  void signUpReplies() {
    ScriptedPeer peer;
    client->SetPort(peer.Port());
    QSignalSpy down(client.get(), &QtServerClient::disconnected);
    std::vector<std::string> replies = {"SIGNUPOK", "OLDACCOUNT", Utf8ToBig5("郵件伺服器忙碌")};
    std::size_t next = 0;
    peer.onLine = [&](const std::string& line) {
      if (line == "SIGNUP:me@example.test") peer.Say(replies[next++]);
    };
    QStringList want = {"開新帳戶成功\r\n帳號及密碼已寄電郵到閣下電郵地址",
                        "電郵地址已存在\r\n帳號及密碼已寄電郵到閣下電郵地址", "郵件伺服器忙碌"};
    for (int i = 0; i < 3; ++i) {
      WhenModal([](QWidget* w) {
        auto* dialog = qobject_cast<TFormSignUp*>(w);
        QVERIFY(dialog);
        dialog->EditEMail->setText(QStringLiteral("me@example.test"));
        dialog->BtnSignUp->click();
      });
      client->SignUp();
      QCOMPARE(messages.value(i), want[i]);
      QCOMPARE(QString::fromStdString(sink->pane.at(i).first), want[i]);
      QVERIFY(!client->Connected());
    }
    QCOMPARE(down.count(), 3);
    QCOMPARE(peer.connections, 3);
    // While logged in, "開新帳戶" does nothing.
    AcceptingServer(peer);
    QVERIFY(client->Login());
    client->SignUp();
    QCOMPARE(peer.connections, 4);
  }

  void changeInfoSendsItsLine() {
    ScriptedPeer peer;
    AcceptingServer(peer);
    client->SetPort(peer.Port());
    QVERIFY(client->Login());
    WhenModal([](QWidget* w) {
      auto* dialog = qobject_cast<TFormChangeInfo*>(w);
      QVERIFY(dialog && !dialog->NickNameMode());
      QCOMPARE(dialog->EditUserID->text(), QStringLiteral("abcde12345"));
      QCOMPARE(dialog->EditNickName->text(), QStringLiteral("Bo"));
      dialog->EditUserPassword->setText(QStringLiteral("pw12"));
      dialog->EditNewPassword->setText(QStringLiteral("newpw"));
      dialog->EditConfirmPassword->setText(QStringLiteral("newpw"));
      dialog->EditEmail->setText(QStringLiteral("me@x"));
      dialog->BtnLogin->click();
    });
    client->ChangeInfo();
    QTRY_COMPARE(peer.received.back(), std::string("CHANGEINFO:pw12      newpw     newpw     me@x"));
  }

  void throughSocks4Proxy() {
    ScriptedPeer peer;
    AcceptingServer(peer);
    Socks4Proxy proxy;
    client->SetPort(peer.Port());
    settings.useProxy = true;
    settings.proxyHost = "127.0.0.1";
    settings.proxyPort = proxy.Port();
    for (std::string user : {std::string("bob"), std::string()}) {
      settings.proxyUserId = user;
      QVERIFY(client->Login());
      QCOMPARE(proxy.lastRequest.mid(8).toStdString(), user + std::string(1, '\0'));
      client->Logout();
      QTest::qWait(50);
    }
    proxy.grant = false;
    messages.clear();
    QVERIFY(!client->Login());
    QCOMPARE(messages, QStringList{"與伺服器連線失敗"});
  }
};

QTEST_MAIN(ServerClientTest)
#include "QtServerClient_test.moc"
