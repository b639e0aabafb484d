// The account column and the page "系統設定" in the main window: BA.ini read at show
// and written at close, the setup page's enable rules, automatic login at show against
// a scripted server on loopback (caption, level bar, chat with Enter, online list), the
// disconnect event resetting the panel with "已離線" shown once, and "登入" released
// after a failed login so that the next click logs in again.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include "ScriptedPeer.h"
#include "app/QtServerClient.h"
#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFrameAccount.h"
#include "app/TFrameSystemSetup.h"
#include "net/TFormLogin.h"
#include "table/Big5.h"
#include "widgets/QtMessages.h"

using namespace zavuv;
using zavuv::testkit::ScriptedPeer;

class AccountPanelTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  QString home;
  QStringList messages;
  std::unique_ptr<TFormDaruvedaZizeveva> window;

  void Open() {
    window = std::make_unique<TFormDaruvedaZizeveva>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  void Close() {
    window->close();
    window.reset();
  }
  static void Write(const QByteArray& text) {
    QFile f(QStringLiteral("BA.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  static QByteArray Read() {
    QFile f(QStringLiteral("BA.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

 private slots:
  void initTestCase() {
    home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));  // BA.ini lives in the working directory
  }
  void cleanupTestCase() { QDir::setCurrent(home); }
  void init() {
    QFile::remove(QStringLiteral("BA.ini"));
    messages.clear();
    SetMessageHook([this](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
  }
  void cleanup() {
    window.reset();
    SetMessageHook(nullptr);
    TFormDaruvedaZizeveva::ServerPort() = 24;
  }

  void setupPageRulesAndSettingsFile() {
    Open();
    TFrameSystemSetup& page = *window->FrameSystemSetup;
    QVERIFY(page.RBtnMainServer->isChecked());
    QVERIFY(!page.EditServer->isEnabled());
    QVERIFY(page.EditUserID->isEnabled());  // the page's design, until the box is clicked
    QVERIFY(!page.EditProxy->isEnabled());
    page.RBtnOthersServer->click();
    QVERIFY(page.EditServer->isEnabled());
    page.RBtnLocalHost->click();
    QVERIFY(!page.EditServer->isEnabled());
    page.CheckBoxUseAutoLogin->click();
    page.CheckBoxUseAutoLogin->click();
    QVERIFY(!page.EditUserID->isEnabled());
    QVERIFY(!page.EditUserPassword->isEnabled());
    page.CheckBoxUseProxy->click();
    for (QWidget* w : {static_cast<QWidget*>(page.EditProxy), static_cast<QWidget*>(page.SpinEditProxyPort),
                       static_cast<QWidget*>(page.EditProxyUserID), static_cast<QWidget*>(page.EditProxyPassword)})
      QVERIFY(w->isEnabled());
    page.EditProxy->setText(QStringLiteral("127.0.0.1"));
    page.SpinEditProxyPort->setValue(1080);
    page.EditProxyPassword->setText(QStringLiteral("secret"));
    Close();
    QCOMPARE(Read(), QByteArray("[Auto Login]\nEnable=0\n[Server]\nServer=LOCALHOST\n[Proxy]\nEnable=1\n"
                                "Server=127.0.0.1\nPort=1080\nUserID=\nUserPassword=secret\n"));
    QCOMPARE(QFile::permissions(QStringLiteral("BA.ini")) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    // Read back at the next start; automatic login stored with an unreachable server.
    Write("[Auto Login]\nEnable=0\nUserID=abc12\n[Server]\nServer=myhost\n[Proxy]\nEnable=1\nPort=99\n");
    Open();
    TFrameSystemSetup& again = *window->FrameSystemSetup;
    QVERIFY(again.RBtnOthersServer->isChecked());
    QCOMPARE(again.EditServer->text(), QStringLiteral("MYHOST"));
    QVERIFY(again.EditServer->isEnabled());
    QCOMPARE(again.EditUserID->text(), QStringLiteral("abc12"));
    QVERIFY(again.CheckBoxUseProxy->isChecked());
    QVERIFY(again.EditProxy->isEnabled());
    QCOMPARE(again.SpinEditProxyPort->value(), 99);
    QCOMPARE(window->SettingsStatus, IniFile::LoadStatus::Loaded);
    Close();
    QVERIFY(!Read().contains("UserID=abc12"));  // automatic login off: the key goes

    // A damaged file: defaults, left alone until the close replaces it.
    Write("garbage\n");
    Open();
    QCOMPARE(window->SettingsStatus, IniFile::LoadStatus::Damaged);
    QVERIFY(window->FrameSystemSetup->RBtnMainServer->isChecked());
    QCOMPARE(Read(), QByteArray("garbage\n"));
    Close();
    QVERIFY(Read().startsWith("[Auto Login]\nEnable=0\n[Server]\nServer=MAIN\n"));
  }

  void autoLoginChatLevelAndLoss() {
    ScriptedPeer peer;
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") peer.Say("VERSIONOK");
      else if (line == "LOGIN:abcde12345pw12      ") {  // the restored password: 10 bytes
        peer.Say("LOGINOK");
        peer.Say("NICKNAME:" + Utf8ToBig5("小明"));
        peer.Say("LEVEL:5:50:200");
        peer.Say("SYSTEMMSG:" + Utf8ToBig5("歡迎"));
      } else if (line.rfind("UTF8PUBLICMSG:", 0) == 0) {
        peer.Say("UTF8PUBLICMSG:小明: " + line.substr(14));
      } else if (line == "GETONLINELIST:") {
        peer.Say("GETONLINELISTOK:" + Utf8ToBig5("小明") + ",Al,Cy");
      }
    };
    TFormDaruvedaZizeveva::ServerPort() = peer.Port();
    Write("[Auto Login]\nEnable=1\nUserID=abcde12345\nUserPassword=" +
          QByteArray::fromStdString(EncodePassword("abcde12345", "pw12")) +
          "\n[Server]\nServer=127.0.0.1\n");
    Open();
    TFrameAccount& panel = *window->FrameAccount;
    QTRY_VERIFY(panel.BtnConnect->isChecked() && panel.BtnChangeInfo->isEnabled());
    QCOMPARE(window->windowTitle(), QStringLiteral("zavuv - 小明"));
    QCOMPARE(window->NickName, QStringLiteral("小明"));
    QVERIFY(!panel.BtnSignUp->isEnabled());
    QVERIFY(panel.BtnGetOnlineList->isEnabled());
    QTRY_COMPARE(panel.LabelExp->text(), QStringLiteral("50/200"));
    QCOMPARE(panel.LabelLvl->text(), QStringLiteral("5"));
    // The bar: a white outline, white up to x = 29, the panel showing through after it.
    QImage bar = panel.ImageExp->pixmap().toImage();
    QCOMPARE(bar.size(), QSize(121, 20));
    QCOMPARE(bar.pixelColor(0, 10), QColor(Qt::white));
    QCOMPARE(bar.pixelColor(29, 10), QColor(Qt::white));
    QCOMPARE(bar.pixelColor(30, 10).alpha(), 0);
    QCOMPARE(bar.pixelColor(120, 10), QColor(Qt::white));
    QTRY_VERIFY(panel.MemoMessage->toPlainText().contains(QStringLiteral("歡迎")));

    // Chat: Enter sends both lines and empties the input; the echo shows.
    panel.EditMessage->setText(QStringLiteral("大家好"));
    QTest::keyClick(panel.EditMessage, Qt::Key_Return);
    QCOMPARE(panel.EditMessage->text(), QString());
    QTRY_VERIFY(panel.MemoMessage->toPlainText().contains(QStringLiteral("小明: 大家好")));
    QCOMPARE(peer.received[peer.received.size() - 2], "PUBLICMSG:" + Utf8ToBig5("大家好"));
    panel.BtnGetOnlineList->click();
    QTRY_VERIFY(panel.MemoMessage->toPlainText().endsWith(QStringLiteral("小明\nAl\nCy")));

    peer.Drop();
    QTRY_COMPARE(messages, QStringList{"已離線"});
    QTest::qWait(100);
    QCOMPARE(messages, QStringList{"已離線"});
    QVERIFY(!panel.BtnConnect->isChecked());
    QVERIFY(panel.BtnSignUp->isEnabled());
    QVERIFY(!panel.BtnChangeInfo->isEnabled());
    QVERIFY(!panel.BtnGetOnlineList->isEnabled());
    QVERIFY(!panel.EditMessage->isEnabled());
    // Enter with the connection down: "未連線" in the error box, the text stays.
    panel.EditMessage->setEnabled(true);
    panel.EditMessage->setText(QStringLiteral("還在嗎"));
    QTest::keyClick(panel.EditMessage, Qt::Key_Return);
    QCOMPARE(messages.last(), QStringLiteral("未連線"));
    QCOMPARE(panel.EditMessage->text(), QStringLiteral("還在嗎"));
    Close();
    QVERIFY(Read().contains("Enable=1\nUserID=abcde12345\nUserPassword="));
  }

  // A login that fails leaves "登入" up, so that the next click logs in instead of
  // logging out: against a server that refuses the account and against a port where
  // nothing listens, clicked by hand (through the login dialog) and at start with
  // automatic login.
  void failedLoginReleasesTheButtonForTheNextClick() {
    ScriptedPeer peer;
    bool refuse = true;
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") {
        peer.Say("VERSIONOK");
      } else if (line.rfind("LOGIN:abcde12345pw12", 0) == 0) {
        if (refuse) {
          peer.Say("帳戶編號或密碼錯誤");
        } else {
          peer.Say("LOGINOK");
          peer.Say("NICKNAME:Al");
        }
      }
    };
    quint16 nobody = 0;
    {
      QTcpServer s;
      QVERIFY(s.listen(QHostAddress::LocalHost, 0));
      nobody = s.serverPort();
    }
    // The login dialog, answered with the account once it is up.
    auto answerDialog = [] {
      auto* timer = new QTimer;
      QObject::connect(timer, &QTimer::timeout, [timer] {
        if (auto* dialog = qobject_cast<TFormLogin*>(QApplication::activeModalWidget())) {
          timer->stop();
          timer->deleteLater();
          dialog->EditUserID->setText(QStringLiteral("abcde12345"));
          dialog->EditUserPassword->setText(QStringLiteral("pw12"));
          dialog->BtnLogin->click();
        }
      });
      timer->start(10);
    };
    for (bool atStart : {false, true}) {
      for (bool refused : {true, false}) {
        const QByteArray which = QByteArray(atStart ? "automatic login at start" : "clicked") +
                                 (refused ? ", refused" : ", nothing listening");
        messages.clear();
        refuse = true;
        TFormDaruvedaZizeveva::ServerPort() = refused ? peer.Port() : nobody;
        Write(QByteArray("[Auto Login]\nEnable=") + (atStart ? "1" : "0") + "\nUserID=abcde12345\nUserPassword=" +
              QByteArray::fromStdString(EncodePassword("abcde12345", "pw12")) + "\n[Server]\nServer=127.0.0.1\n");
        Open();
        TFrameAccount& panel = *window->FrameAccount;
        if (!atStart) {
          answerDialog();
          panel.BtnConnect->click();
        }
        QTRY_COMPARE(messages, QStringList{refused ? QStringLiteral("登入失敗") : QStringLiteral("與伺服器連線失敗")});
        QVERIFY2(!panel.BtnConnect->isChecked(), which.constData());
        QVERIFY2(!panel.Client().LoggedIn(), which.constData());

        // The server takes the account now; the next click logs in.
        refuse = false;
        panel.Client().SetPort(peer.Port());
        if (!atStart) answerDialog();
        panel.BtnConnect->click();
        QVERIFY2(panel.Client().LoggedIn(), which.constData());
        QVERIFY2(panel.BtnConnect->isChecked(), which.constData());
        QVERIFY(panel.BtnChangeInfo->isEnabled());
        Close();
      }
    }
  }

  void clearAndMessageColours() {
    Open();
    TFrameAccount& panel = *window->FrameAccount;
    panel.AppendMessage("red", net::MessageColour::System);
    panel.AppendMessage("blue", net::MessageColour::OnlineList);
    QTextCursor c(panel.MemoMessage->document()->findBlockByNumber(1));
    c.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(c.charFormat().foreground().color(), QColor(Qt::blue));
    panel.BtnClearMsg->click();
    QCOMPARE(panel.MemoMessage->toPlainText(), QString());
    Close();
  }
};

QTEST_MAIN(AccountPanelTest)
#include "TFrameAccount_test.moc"
