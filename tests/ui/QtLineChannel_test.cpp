// The window's connection over loopback: lines in order and time limits, the login
// exchange against a scripted server, handing lines over only while receiving, lines
// waiting behind a box (bounded, all handled, the close after them), an overlong line,
// the disconnect and loss events, and a SOCKS 4 proxy.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "../net/NetTestKit.h"
#include "ScriptedPeer.h"
#include "net/QtLineChannel.h"
#include "net/Socks4.h"

using namespace zavuv;
using namespace zavuv::net;
using zavuv::testkit::ScriptedPeer;
using zavuv::testkit::Socks4Proxy;

class LineChannelTest : public QObject {
  Q_OBJECT

  static ConnectionTarget Direct(quint16 port) { return {"127.0.0.1", port}; }

 private slots:
  void linesInOrderAndTimeLimits() {
    ScriptedPeer peer;
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") peer.Send("VERSIONOK\nsecond\r\nthi");
    };
    QtLineChannel ch;
    QVERIFY(!ch.Connected());
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    QVERIFY(ch.Connected());
    ch.SendLine("VERSION:1.11");
    QCOMPARE(ch.ReadLine(2000).value_or("?"), std::string("VERSIONOK"));
    QCOMPARE(ch.ReadLine(2000).value_or("?"), std::string("second"));
    // "thi" has no LF yet: the limit runs out with an empty line.
    QElapsedTimer t;
    t.start();
    QCOMPARE(ch.ReadLine(200).value_or("?"), std::string());
    QVERIFY(t.elapsed() >= 190);
    peer.Send("rd\n");
    QCOMPARE(ch.ReadLine(2000).value_or("?"), std::string("third"));
    // A line sent with a line break inside stays one line.
    ch.SendLine("PUBLICMSG:a\r\nb");
    QTRY_COMPARE(peer.received.back(), std::string("PUBLICMSG:a  b"));
  }

  void loginExchangeAgainstScriptedServer() {
    ScriptedPeer peer;
    peer.onLine = [&](const std::string& line) {
      if (line == "VERSION:1.11") peer.Say("VERSIONOK");
      else if (line.rfind("LOGIN:", 0) == 0) peer.Say("NONICKNAME");
      else if (line.rfind("SETNICKNAME:Bo ", 0) == 0) peer.Say("NICKNAMETAKEN");
      else if (line.rfind("SETNICKNAME:Al ", 0) == 0) {
        peer.Say("SETNICKNAMEOK");
        peer.Say("NICKNAME:Al");
        peer.Say("SYSTEMMSG:welcome");  // arrives before receiving is on: held back
      }
    };
    QtLineChannel ch;
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    net::testkit::RecordingSink sink;
    Dispatcher dispatcher(sink);
    net::testkit::RecordingPrompts prompts;
    prompts.nickNames = {std::string("Bo"), std::string("Al")};
    QCOMPARE(AccountExchange(ch, dispatcher, prompts).Login("abc12", "pw12"), LoginResult::LoggedIn);
    QCOMPARE(peer.received[1], std::string("LOGIN:abc12     pw12"));
    QCOMPARE(prompts.messages, std::vector<std::string>{"NICKNAMETAKEN"});
    QCOMPARE(sink.caption, std::string("zavuv - Al"));
    QVERIFY(sink.pane.empty());
    QTest::qWait(50);
    QVERIFY(sink.pane.empty());
    ch.SetLineHandler([&](const std::string& line) { dispatcher.HandleLine(line); });
    ch.SetReceiving(true);
    QCOMPARE(sink.pane.size(), std::size_t(1));
    QCOMPARE(sink.pane[0].first, std::string("welcome"));
    // Chat goes out and its echo comes back through the handler.
    peer.onLine = [&](const std::string& line) {
      if (line.rfind("UTF8PUBLICMSG:", 0) == 0) peer.Say("UTF8PUBLICMSG:Al: " + line.substr(14));
    };
    SendChat(ch, "hi");
    QTRY_COMPARE(sink.pane.size(), std::size_t(2));
    QCOMPARE(sink.pane[1].first, std::string("Al: hi"));
    QCOMPARE(peer.received.back(), std::string("UTF8PUBLICMSG:hi"));
  }

  void versionSilenceTakesTheFullLimit() {
    ScriptedPeer peer;  // answers nothing
    QtLineChannel ch;
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    net::testkit::RecordingSink sink;
    Dispatcher dispatcher(sink);
    net::testkit::RecordingPrompts prompts;
    QElapsedTimer t;
    t.start();
    QCOMPARE(AccountExchange(ch, dispatcher, prompts).Login("abcde12345", "pw12"), LoginResult::VersionUnknown);
    QVERIFY2(t.elapsed() >= 4900 && t.elapsed() < 8000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(prompts.messages, std::vector<std::string>{"閣下所用版本可能太舊"});
    QVERIFY(!ch.Connected());
  }

  void linesWaitForTheHandlerAndForReceiving() {
    ScriptedPeer peer;
    QtLineChannel ch;
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    std::vector<std::string> log;
    ch.SetLineHandler([&](const std::string& line) {
      log.push_back("in " + line);
      if (line == "slow") {
        peer.Say("during");
        QTest::qWait(150);  // a nested event loop, as a message box would run
      }
      log.push_back("out " + line);
    });
    peer.Say("A");
    peer.Say("B");
    QTest::qWait(100);
    QVERIFY(log.empty());  // not receiving yet
    ch.SetReceiving(true);
    QCOMPARE(log, (std::vector<std::string>{"in A", "out A", "in B", "out B"}));
    log.clear();
    peer.Say("slow");
    QTRY_COMPARE(log.size(), std::size_t(4));
    QCOMPARE(log, (std::vector<std::string>{"in slow", "out slow", "in during", "out during"}));
    // An error in the handler does not stop the next line.
    log.clear();
    ch.SetLineHandler([&](const std::string& line) {
      if (line == "bad") throw std::runtime_error("malformed");
      log.push_back(line);
    });
    peer.Say("bad");
    peer.Say("good");
    QTRY_COMPARE(log, std::vector<std::string>{"good"});
  }

  void linesBehindABoxAreAllHandledThenTheClose() {
    // A handler that opens a box (its own event loop) while the server goes on: the
    // lines wait, all of them are handled afterwards in order, and the server's close
    // comes last.
    ScriptedPeer peer;
    QtLineChannel ch;
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    std::vector<std::string> log;
    QObject::connect(&ch, &QtLineChannel::connectionLost, [&] { log.push_back("lost"); });
    ch.SetLineHandler([&](const std::string& line) {
      log.push_back(line);
      if (line == "box") {
        peer.Say("a");
        peer.Say("b");
        peer.Drop();
        QTest::qWait(300);
        log.push_back("box closed");
      }
    });
    ch.SetReceiving(true);
    peer.Say("box");
    QTRY_COMPARE(log.size(), std::size_t(5));
    QCOMPARE(log, (std::vector<std::string>{"box", "box closed", "a", "b", "lost"}));

    // A flood behind the box: far more than may wait. The client takes no more than
    // its bound, the server is held back, and nothing is lost.
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    const int flood = 60000;
    const std::string pad(490, '.');
    std::size_t mostWaiting = 0;
    qint64 heldBack = 0;
    int next = 0;
    bool inOrder = true;
    log.clear();
    ch.SetLineHandler([&](const std::string& line) {
      if (line == "box") {
        QByteArray burst;
        for (int i = 0; i < flood; ++i) burst += QByteArray::fromStdString("L" + std::to_string(i) + pad + "\n");
        peer.Send(burst);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1500) {
          QTest::qWait(50);
          mostWaiting = std::max(mostWaiting, ch.Waiting());
        }
        heldBack = peer.Unsent();
        return;
      }
      inOrder = inOrder && line == "L" + std::to_string(next) + pad;
      ++next;
      if (next == flood) peer.Drop();
    });
    ch.SetReceiving(true);
    peer.Say("box");
    QTRY_VERIFY_WITH_TIMEOUT(log.size() == 1, 20000);  // "lost", after the last line
    QCOMPARE(next, flood);
    QVERIFY(inOrder);
    QVERIFY2(mostWaiting <= QtLineChannel::kMaxWaitingLines, qPrintable(QString::number(mostWaiting)));
    QVERIFY2(heldBack > 0, "the client read everything while the box was open");
  }

  void overlongLineIsDroppedAndReadingGoesOn() {
    ScriptedPeer peer;
    QtLineChannel ch;
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    std::vector<std::string> got;
    ch.SetLineHandler([&](const std::string& line) { got.push_back(line); });
    ch.SetReceiving(true);
    peer.Send(QByteArray(16384, 'x') + "\r\n");  // exactly at the limit: kept
    peer.Send(QByteArray(16385, 'y') + "\n");
    // A megabyte without a line break, in pieces, then the end of that line.
    for (int i = 0; i < 16; ++i) peer.Send(QByteArray(65536, 'z'));
    peer.Send("tail\nSYSTEMMSG:ok\n");
    QTRY_COMPARE(got.size(), std::size_t(2));
    QCOMPARE(got[0].size(), std::size_t(16384));
    QCOMPARE(got[1], std::string("SYSTEMMSG:ok"));
    QCOMPARE(ch.Discarded(), std::size_t(2));
  }

  void disconnectEventsAndLossOnce() {
    ScriptedPeer peer;
    QtLineChannel ch;
    QSignalSpy down(&ch, &QtLineChannel::disconnected);
    QSignalSpy lost(&ch, &QtLineChannel::connectionLost);
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    std::vector<std::string> got;
    ch.SetLineHandler([&](const std::string& line) { got.push_back(line); });
    ch.SetReceiving(true);
    peer.Say("last words");
    peer.Drop();
    QTRY_COMPARE(lost.count(), 1);
    QCOMPARE(down.count(), 1);
    QCOMPARE(got, std::vector<std::string>{"last words"});  // handled before the loss
    QVERIFY(!ch.Receiving());
    QVERIFY(!ch.Connected());
    ch.Disconnect();
    QTest::qWait(50);
    QCOMPARE(down.count(), 1);
    QCOMPARE(lost.count(), 1);
    try {
      ch.SendLine("PUBLICMSG:x");
      QFAIL("sent while down");
    } catch (const NetError& e) {
      QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("未連線"));
    }
    QCOMPARE(ch.ReadLine(100), std::optional<std::string>());

    // The user's own logout while receiving: one disconnect, one loss.
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    ch.SetReceiving(true);
    ch.Disconnect();
    QTest::qWait(50);
    QCOMPARE(down.count(), 2);
    QCOMPARE(lost.count(), 2);
    // Closing during an exchange: the disconnect event but no loss.
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    ch.Disconnect();
    QTest::qWait(50);
    QCOMPARE(down.count(), 3);
    QCOMPARE(lost.count(), 2);
  }

  void connectFailures() {
    quint16 closed;
    {
      QTcpServer s;
      s.listen(QHostAddress::LocalHost, 0);
      closed = s.serverPort();
    }
    QtLineChannel ch;
    QSignalSpy down(&ch, &QtLineChannel::disconnected);
    QVERIFY(!ch.Open(Direct(closed), 2000));
    QVERIFY(!ch.ErrorText().empty());
    QVERIFY(!ch.Connected());
    QVERIFY(!ch.Open({"127.0.0.1", 0}, 2000));
    QCOMPARE(down.count(), 0);
  }

  void waitingKeepsTheLoopButNotTheInput() {
    ScriptedPeer peer;
    QtLineChannel ch;
    QVERIFY(ch.Open(Direct(peer.Port()), 2000));
    QLineEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      ++ticks;
      QTest::keyClick(&edit, Qt::Key_A);
    });
    timer.start(30);
    QCOMPARE(ch.ReadLine(300).value_or("?"), std::string());
    timer.stop();
    QVERIFY(ticks >= 3);          // timers (and painting) go on
    QCOMPARE(edit.text(), QString());  // typing is held back
    QTest::keyClick(&edit, Qt::Key_B);
    QCOMPARE(edit.text(), QStringLiteral("b"));
  }

  void socks4ProxyWithAndWithoutUserId() {
    ScriptedPeer peer;
    peer.onLine = [&](const std::string& line) { peer.Say("echo " + line); };
    Socks4Proxy proxy;
    for (std::string user : {std::string("bob"), std::string()}) {
      QtLineChannel ch;
      ConnectionTarget t{"127.0.0.1", peer.Port(), true, "127.0.0.1", proxy.Port(), user};
      QVERIFY2(ch.Open(t, 3000), ch.ErrorText().c_str());
      std::string want = Socks4ConnectRequest({127, 0, 0, 1}, peer.Port(), user);
      QCOMPARE(proxy.lastRequest.toStdString(), want);
      ch.SendLine("VERSION:1.11");
      QCOMPARE(ch.ReadLine(2000).value_or("?"), std::string("echo VERSION:1.11"));
    }
    // The server's name is resolved by the client: the proxy sees an IPv4 address.
    {
      QtLineChannel ch;
      QVERIFY2(ch.Open({"localhost", peer.Port(), true, "127.0.0.1", proxy.Port(), ""}, 3000), ch.ErrorText().c_str());
      QCOMPARE(proxy.lastRequest.mid(4, 4), QByteArray("\x7F\x00\x00\x01", 4));
    }
    proxy.grant = false;
    QtLineChannel refused;
    QVERIFY(!refused.Open({"127.0.0.1", peer.Port(), true, "127.0.0.1", proxy.Port(), "bob"}, 3000));
    QVERIFY(refused.ErrorText().find("rejected") != std::string::npos);
    QVERIFY(!refused.Connected());
    QVERIFY(!refused.Open({"127.0.0.1", peer.Port(), true, "127.0.0.1", 70000, ""}, 3000));
  }
};

QTEST_MAIN(LineChannelTest)
#include "QtLineChannel_test.moc"
