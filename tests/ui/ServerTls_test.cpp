// The client over TLS against zavuv-server on loopback, with a self-signed certificate
// made here by openssl for this run: refused with a message until the user accepts it,
// then login, chat and room lines; accepted once, not asked again; a changed
// fingerprint for a known server refused outright.
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QSslCertificate>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

#include "../net/NetTestKit.h"
#include "app/QtServerClient.h"
#include "net/TFormChangeInfo.h"
#include "net/TFormLogin.h"
#include "net/TFormSignUp.h"
#include "widgets/QtMessages.h"

using namespace zavuv;

class ServerTlsTest : public QObject {
  Q_OBJECT

 private slots:
  void refusedUntilAcceptedOnceThenLoginChatAndRooms() {
#ifndef ZAVUV_SERVER
    QSKIP("zavuv-server is not built here");
#else
    if (!QSslSocket::supportsSsl()) QSKIP("no TLS backend for Qt here");
    QTemporaryDir dir;
    const QString cert = dir.filePath(QStringLiteral("cert.pem")), key = dir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "1",
                   "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", key,
                   "-out", cert});
    QVERIFY(openssl.waitForFinished(30000));
    QCOMPARE(openssl.exitCode(), 0);

    const QString db = dir.filePath(QStringLiteral("test.db"));
    QProcess add;
    add.start(QStringLiteral(ZAVUV_SERVER), {"user-add", "tls@example.test", "--db", db, "--nickname", "Ty"});
    QVERIFY(add.waitForFinished(30000));
    QCOMPARE(add.exitCode(), 0);
    const QJsonObject user = QJsonDocument::fromJson(add.readAllStandardOutput()).object();

    QProcess server;
    server.setStandardErrorFile(dir.filePath(QStringLiteral("server.log")));
    server.start(QStringLiteral(ZAVUV_SERVER), {"--port", "0", "--host", "127.0.0.1", "--db", db, "--pace", "fast",
                                                 "--outbox", dir.filePath(QStringLiteral("outbox")), "--tls-port", "0",
                                                 "--tls-cert", cert, "--tls-key", key});
    QVERIFY(server.waitForStarted(10000));
    // The plain port on the first line of its output, the TLS port on the second.
    QList<int> ports;
    QElapsedTimer started;
    started.start();
    while (ports.size() < 2 && started.elapsed() < 10000) {
      if (server.canReadLine()) ports << server.readLine().trimmed().toInt();
      else server.waitForReadyRead(100);
    }
    QCOMPARE(ports.size(), 2);
    const int tlsPort = ports[1];

    QStringList messages, questions;
    bool accept = false;
    SetMessageHook([&](MessageKind kind, const QString& text) {
      (kind == MessageKind::Question ? questions : messages) << text;
      return accept;
    });
    TFormLogin login;
    TFormSignUp signUp;
    TFormChangeInfo changeInfo;
    net::testkit::RecordingSink sink;
    const QString knownHosts = dir.filePath(QStringLiteral("BAWindow.ini"));
    const QString peer = QStringLiteral("127.0.0.1:%1").arg(tlsPort);
    QFile pem(cert);
    QVERIFY(pem.open(QIODevice::ReadOnly));
    const QString fingerprint =
        QString::fromLatin1(QSslCertificate(pem.readAll()).digest(QCryptographicHash::Sha256).toHex(':').toUpper());
    {
      QtServerClient client(nullptr, sink, "zavuv");
      client.SetDialogs(&login, &signUp, &changeInfo);
      client.SetPort(ports[0]);   // not used: TLS goes to the TLS port of the settings
      client.SetKnownHostsFile([&] { return knownHosts; });
      client.SetSettingsSource([&] {
        Settings s;
        s.server = ServerChoice::Other;
        s.otherServer = "127.0.0.1";
        s.useTls = true;
        s.tlsPort = tlsPort;
        s.autoLogin = true;
        s.userId = user[QStringLiteral("account")].toString().toStdString();
        s.userPassword = user[QStringLiteral("password")].toString().toStdString();
        return s;
      });

      // A certificate that does not verify: the user is asked, with its fingerprint;
      // "No" refuses the connection with a message, and nothing is kept.
      QVERIFY(!client.Login());
      QCOMPARE(questions.size(), 1);
      QVERIFY2(questions[0].contains(fingerprint) && questions[0].contains(peer), qPrintable(questions[0]));
      QCOMPARE(messages, QStringList{QStringLiteral("伺服器 %1 的加密憑證未能驗證, 已拒絕連線").arg(peer)});
      QVERIFY(!QSettings(knownHosts, QSettings::IniFormat).contains(QStringLiteral("KnownHosts/") + peer));

      // "Yes": kept, and the login, chat and room lines go over TLS.
      questions.clear();
      messages.clear();
      accept = true;
      QVERIFY2(client.Login(), qPrintable(messages.join('|')));
      QVERIFY(client.Channel().Encrypted());
      QCOMPARE(QSettings(knownHosts, QSettings::IniFormat).value(QStringLiteral("KnownHosts/") + peer).toString(),
               fingerprint);
      QTRY_COMPARE(sink.caption, std::string("zavuv - Ty"));
      client.SendChat(QStringLiteral("加密你好"));
      QTRY_VERIFY(std::any_of(sink.pane.begin(), sink.pane.end(),
                              [](auto& line) { return line.first.find("加密你好") != std::string::npos; }));
      QTRY_VERIFY_WITH_TIMEOUT(std::any_of(sink.hooks.begin(), sink.hooks.end(),
                                           [](auto& h) { return h == "room BATTLE GAMESTATUS:GAMESTARTED"; }),
                               15000);
      client.Logout();
      QTRY_COMPARE(messages, QStringList{"已離線"});

      // Accepted once: the next login asks nothing.
      messages.clear();
      questions.clear();
      QVERIFY2(client.Login(), qPrintable(messages.join('|')));
      QVERIFY(questions.isEmpty());
      client.Logout();
      QTRY_COMPARE(messages, QStringList{"已離線"});

      // Another certificate behind the same server and port: refused outright, loudly.
      messages.clear();
      {
        QSettings ini(knownHosts, QSettings::IniFormat);
        ini.setValue(QStringLiteral("KnownHosts/") + peer, QString(fingerprint).replace(0, 2, "00"));
      }
      QVERIFY(!client.Login());
      QVERIFY(questions.isEmpty());
      QCOMPARE(messages.size(), 1);
      QVERIFY2(messages[0].contains(QStringLiteral("憑證已改變")) && messages[0].contains(fingerprint),
               qPrintable(messages[0]));
    }
    SetMessageHook(nullptr);
    server.terminate();
    QVERIFY(server.waitForFinished(10000));
    QFile log(dir.filePath(QStringLiteral("server.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    QVERIFY(text.contains(QStringLiteral("event=tls id=")));
    QVERIFY(text.contains(QStringLiteral("event=login")));
#endif
  }
};

QTEST_MAIN(ServerTlsTest)
#include "ServerTls_test.moc"
