// Untrusted input and slow peers: overlong lines, random bytes, a reader that falls
// behind, idle connections and the connection limit.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ServerHarness.h"

using namespace zavuv::testing;

namespace {

TEST(ServerHardening, AnOverlongLineIsDiscardedAndTheNextLineServed) {
  TempDir dir;
  ServerProcess server(dir.Path());
  Client c(server.Port());
  c.SendRaw(std::string(40000, 'A') + "\r\nVERSION:1.11\r\n");
  EXPECT_EQ(c.Read().value_or(""), "VERSIONOK:");
  c.SendRaw("VERSION:" + std::string(16380, '1') + "\nVERSION:1.11\n");
  EXPECT_EQ(c.WaitForPrefix("VERSIONOK").value_or(""), "VERSIONOK:");
  EXPECT_NE(server.Log().find("line over 16384 bytes discarded"), std::string::npos);
}

TEST(ServerHardening, RandomBytesAndMalformedCommandsNeitherCrashNorStopService) {
  TempDir dir;
  ServerProcess server(dir.Path());
  std::mt19937 random(7);
  {
    Client c(server.Port());
    std::string noise(200000, '\0');
    for (char& ch : noise) ch = static_cast<char>(random());
    c.SendRaw(noise);
  }
  Credentials cr = SignUp(server.Port(), dir.Path() / "outbox", "f@example.org");
  Client c(server.Port());
  ASSERT_EQ(Login(c, cr, "亂'; DROP TABLE x;--"), "SETNICKNAMEOK");
  const char* commands[] = {"PUBLICMSG", "UTF8PUBLICMSG", "BATTLE", "PRACTICE", "BATTLE5", "GETPRIVATEDATA",
                            "GETARTICLE", "SHAREARTICLE", "BILLBOARD", "CHANGEINFO", "SETNICKNAME", "LOGIN"};
  const char* roomCommands[] = {"BET", "GUESS", "PEEK", "ANNOUNCESCORE", "X"};
  for (int i = 0; i < 600; ++i) {
    std::string line = commands[random() % std::size(commands)];
    line += ':';
    if ((line[0] == 'B' && line[1] == 'A') || (line[0] == 'P' && line[1] == 'R')) line += std::string(roomCommands[random() % 5]) + ":";
    int n = random() % 60;
    for (int k = 0; k < n; ++k) {
      char ch = static_cast<char>(random());
      if (ch != '\n' && ch != '\r') line += ch;
    }
    c.Send(line);
  }
  // Still served (chat itself is now held back by the rate limit).
  c.Send("VERSION:1.11");
  EXPECT_TRUE(c.WaitForPrefix("VERSIONOK", 10000).has_value());
  Client other(server.Port());
  other.Send("VERSION:1.11");
  EXPECT_EQ(other.Read().value_or(""), "VERSIONOK:");
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerHardening, AReaderThatFallsBehindIsDisconnectedWithoutHoldingUpTheOthers) {
  TempDir dir;
  std::ofstream(dir.Path() / "server.conf") << "chat_per_second = 100000\nchat_burst = 100000\n"
                                            << "socket_send_buffer = 16384\n";
  ServerProcess server(dir.Path(), {"--config", (dir.Path() / "server.conf").string()});
  auto pt = NewUser(server, dir.Path(), "a@example.org", "說");
  auto pl = NewUser(server, dir.Path(), "b@example.org", "聽");
  auto ps = NewUser(server, dir.Path(), "s@example.org", "慢", 4096);
  ASSERT_TRUE(pt && pl && ps);
  Client &talker = *pt, &listener = *pl, &slow = *ps;

  // The slow client reads nothing from here on; about a megabyte of chat follows.
  // The talker keeps at most 200 messages (some 66 KB) ahead of the listener, and
  // reads what comes to it while it waits, so that neither, slowed down (a sanitizer
  // build, a busy machine), becomes a reader that falls behind; the slow client's
  // queue passes the limit all the same.
  const int kMessages = 3000;
  std::string text(300, 'x');
  std::atomic<int> heard{0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  std::thread listen([&] {
    while (heard < kMessages && std::chrono::steady_clock::now() < deadline)
      if (auto l = listener.Read(1000); l && l->rfind("UTF8PUBLICMSG:", 0) == 0) ++heard;
  });
  for (int i = 0; i < kMessages; ++i) {
    while (heard < i - 200 && std::chrono::steady_clock::now() < deadline) talker.Drain(2);
    talker.Send("UTF8PUBLICMSG:" + std::to_string(i) + text);
    if (i % 50 == 49) talker.Drain(5);
  }
  listen.join();
  EXPECT_EQ(heard.load(), kMessages);
  for (int i = 0; i < 100 && server.Log().find("output queue over limit") == std::string::npos; ++i) usleep(50000);
  EXPECT_NE(server.Log().find("reason=\"output queue over limit\""), std::string::npos);
  EXPECT_TRUE(slow.ClosedWithin(10000));
}

TEST(ServerHardening, IdleConnectionsAreClosedBeforeLoginAndConnectionsPerAddressLimited) {
  TempDir dir;
  std::ofstream(dir.Path() / "server.conf") << "login_timeout = 1s\nmax_connections_per_address = 3\n";
  ServerProcess server(dir.Path(), {"--config", (dir.Path() / "server.conf").string()});
  Client a(server.Port()), b(server.Port()), c(server.Port());
  Client fourth(server.Port());
  EXPECT_TRUE(fourth.ClosedWithin(2000));
  EXPECT_TRUE(a.ClosedWithin(4000));
  EXPECT_TRUE(b.ClosedWithin(1000));
}

TEST(ServerHardening, PortBelow1024SaysThatItNeedsRoot) {
  if (geteuid() == 0) GTEST_SKIP() << "root may bind any port";
  TempDir dir;
  EXPECT_THROW(ServerProcess(dir.Path(), {"--port", "24"}), std::runtime_error);
}

}  // namespace
