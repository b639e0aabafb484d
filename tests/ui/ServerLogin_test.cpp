// The client against zavuv-server on loopback: an account made with `user-add`, the
// login with automatic-login settings, chat echoed back, the online list, a logout.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "../net/NetTestKit.h"
#include "app/QtServerClient.h"
#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

class ServerLoginTest : public QObject {
  Q_OBJECT

 private slots:
  void loginChatAndOnlineList() {
#ifndef ZAVUV_SERVER
    QSKIP("zavuv-server is not built here");
#else
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("test.db"));
    QProcess add;
    add.start(QStringLiteral(ZAVUV_SERVER), {"user-add", "bo@example.test", "--db", db, "--nickname", "Bo",
                                              "--outbox", dir.filePath(QStringLiteral("outbox"))});
    QVERIFY(add.waitForFinished(30000));
    QCOMPARE(add.exitCode(), 0);
    const QJsonObject user = QJsonDocument::fromJson(add.readAllStandardOutput()).object();
    const QString account = user[QStringLiteral("account")].toString();
    const QString password = user[QStringLiteral("password")].toString();
    QCOMPARE(account.size(), 10);

    QProcess server;
    server.start(QStringLiteral(ZAVUV_SERVER), {"--port", "0", "--host", "127.0.0.1", "--db", db, "--outbox",
                                                 dir.filePath(QStringLiteral("outbox"))});
    QVERIFY(server.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
    const int port = server.readLine().trimmed().toInt();
    QVERIFY(port > 0);

    QStringList messages;
    SetMessageHook([&](MessageKind, const QString& text) {
      messages << text;
      return true;
    });
    TFormLogin login;
    TFormSignUp signUp;
    TFormChangeInfo changeInfo;
    net::testkit::RecordingSink sink;
    {
      QtServerClient client(nullptr, sink, "zavuv");
      client.SetDialogs(&login, &signUp, &changeInfo);
      client.SetPort(port);
      client.SetSettingsSource([&] {
        Settings s;
        s.server = ServerChoice::Other;
        s.otherServer = "127.0.0.1";
        s.autoLogin = true;
        s.userId = account.toStdString();
        s.userPassword = password.toStdString();
        return s;
      });
      QVERIFY2(client.Login(), qPrintable(messages.join('|')));
      QTRY_COMPARE(sink.caption, std::string("zavuv - Bo"));
      client.SendChat(QStringLiteral("大家好"));
      QTRY_VERIFY(std::any_of(sink.pane.begin(), sink.pane.end(),
                              [](auto& line) { return line.first.find("大家好") != std::string::npos; }));
      client.GetOnlineList();
      QTRY_VERIFY(std::any_of(sink.pane.begin(), sink.pane.end(), [](auto& line) {
        return line.first == "Bo" && line.second == net::MessageColour::OnlineList;
      }));
      client.Logout();
      QTRY_COMPARE(messages, QStringList{"已離線"});
    }
    SetMessageHook(nullptr);
    server.terminate();
    QVERIFY(server.waitForFinished(10000));
#endif
  }
};

QTEST_MAIN(ServerLoginTest)
#include "ServerLogin_test.moc"
