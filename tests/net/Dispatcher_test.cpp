#include "net/Dispatcher.h"

#include <gtest/gtest.h>

#include "NetTestKit.h"

using namespace zavuv::net;
using namespace zavuv::net::testkit;

namespace {

// 中 in Big5 and UTF-8; 小明 in Big5 and UTF-8.
const std::string kZhBig5 = "\xA4\xA4", kZhUtf8 = "\xE4\xB8\xAD";
const std::string kMingBig5 = "\xA4\x70\xA9\xFA", kMingUtf8 = "\xE5\xB0\x8F\xE6\x98\x8E";

struct DispatchTest : ::testing::Test {
  RecordingSink sink;
  Dispatcher d{sink};
};

}  // namespace

TEST_F(DispatchTest, NicknameSetsCaptionAndReplaces) {
  d.HandleLine("NICKNAME:" + kMingBig5);
  EXPECT_EQ(sink.nick, kMingUtf8);
  EXPECT_EQ(sink.caption, "zavuv - " + kMingUtf8);
  EXPECT_EQ(d.NickName(), kMingUtf8);
  d.HandleLine("UTF8NICKNAME:" + kZhUtf8);
  EXPECT_EQ(sink.caption, "zavuv - " + kZhUtf8);  // replaced, not appended
  EXPECT_EQ(d.NickName(), kZhUtf8);
  // Malformed UTF-8 reaches the caption replaced, not raw.
  d.HandleLine("UTF8NICKNAME:a\xFF");
  EXPECT_EQ(sink.nick, "a\xEF\xBF\xBD");
}

TEST_F(DispatchTest, MessagesInTheirColoursWithArgumentsAsSent) {
  d.HandleLine("systemmsg:hello");  // the command is upper-cased when split
  d.HandleLine("SYSTEMMSG:a:b");
  d.HandleLine("UTF8SYSTEMMSG:" + kZhUtf8);
  d.HandleLine("PUBLICMSG:" + kZhBig5 + " says hi");
  d.HandleLine("UTF8PUBLICMSG:" + kZhUtf8 + " says hi");  // both forms shown, not merged
  d.HandleLine("PUBLICMSG:");
  ASSERT_EQ(sink.pane.size(), 6u);
  EXPECT_EQ(sink.pane[0], std::make_pair(std::string("hello"), MessageColour::System));
  EXPECT_EQ(sink.pane[1], std::make_pair(std::string("a:b"), MessageColour::System));
  EXPECT_EQ(sink.pane[2], std::make_pair(kZhUtf8, MessageColour::System));
  EXPECT_EQ(sink.pane[3], std::make_pair(kZhUtf8 + " says hi", MessageColour::WindowText));
  EXPECT_EQ(sink.pane[4], sink.pane[3]);
  EXPECT_EQ(sink.pane[5], std::make_pair(std::string(), MessageColour::WindowText));
}

TEST_F(DispatchTest, OnlineListAppendsBlueLinesInOrder) {
  d.HandleLine("GETONLINELISTOK:" + kMingBig5 + ",\"a b\",c");
  d.HandleLine("UTF8GETONLINELISTOK:" + kZhUtf8);
  d.HandleLine("GETONLINELISTOK:");  // nobody: no line
  ASSERT_EQ(sink.pane.size(), 4u);
  EXPECT_EQ(sink.pane[0].first, kMingUtf8);
  EXPECT_EQ(sink.pane[1].first, "a b");
  EXPECT_EQ(sink.pane[2].first, "c");
  EXPECT_EQ(sink.pane[3].first, kZhUtf8);
  for (auto& [text, colour] : sink.pane) EXPECT_EQ(colour, MessageColour::OnlineList);
}

TEST_F(DispatchTest, RoomBoardAndSharingLinesReachTheirHooks) {
  for (std::string room : {"PRACTICE", "BATTLE", "BATTLE2", "BATTLE3", "BATTLE4", "BATTLE5"})
    EXPECT_TRUE(d.DispatchLine(room, "GAMESTATUS:GAMESTARTED"));
  d.HandleLine("BILLBOARD:x");
  d.HandleLine("UTF8BILLBOARD:x");
  d.HandleLine("VICTOR:y");
  d.HandleLine("UTF8VICTOR:y");
  d.HandleLine("LEVELBOARD:z");
  d.HandleLine("UTF8LEVELBOARD:z");
  d.HandleLine("GETPRIVATEDATALISTOK:l1");
  d.HandleLine("GETPRIVATEBETLISTOK:l2");
  d.HandleLine("GETPRIVATEBETAMOUNTLISTOK:l3");
  d.HandleLine("GETARTICLELISTOK:al");
  d.HandleLine("GETPRIVATEDATAOK:r");
  EXPECT_TRUE(d.DispatchLine("GETPRIVATEBETOK", "ignored"));
  EXPECT_TRUE(d.DispatchLine("GETPRIVATEBETAMOUNTOK", "ignored"));
  d.HandleLine("GETARTICLEOK:text:with:colons");
  std::vector<std::string> want = {
      "room PRACTICE GAMESTATUS:GAMESTARTED", "room BATTLE GAMESTATUS:GAMESTARTED",
      "room BATTLE2 GAMESTATUS:GAMESTARTED",  "room BATTLE3 GAMESTATUS:GAMESTARTED",
      "room BATTLE4 GAMESTATUS:GAMESTARTED",  "room BATTLE5 GAMESTATUS:GAMESTARTED",
      "board 0 big5 x", "board 0 utf8 x", "board 1 big5 y", "board 1 utf8 y", "board 2 big5 z", "board 2 utf8 z",
      "private list GETPRIVATEDATALISTOK l1", "private list GETPRIVATEBETLISTOK l2",
      "private list GETPRIVATEBETAMOUNTLISTOK l3", "article list al", "private data r",
      "article text:with:colons"};
  EXPECT_EQ(sink.hooks, want);
  EXPECT_TRUE(sink.pane.empty());

  // Until the rooms fill them, the default hooks ignore the lines.
  struct Bare : DispatchSink {
    void AppendMessage(std::string_view, MessageColour) override { ++calls; }
    void NickNameChanged(std::string_view, std::string_view) override { ++calls; }
    void ShowLevel(const LevelDisplay&) override { ++calls; }
    int calls = 0;
  } bare;
  Dispatcher plain(bare);
  for (std::string line : {"BATTLE3:CARDS:1,2", "VICTOR:a", "GETARTICLEOK:x", "GETPRIVATEDATAOK:y"})
    EXPECT_TRUE(plain.HandleLine(line));
  EXPECT_EQ(bare.calls, 0);
}

TEST_F(DispatchTest, EmptyUnknownAndColonlessLinesDoNothing) {
  EXPECT_FALSE(d.DispatchLine("", "anything"));
  EXPECT_FALSE(d.DispatchLine("NEWERSERVERTHING", "x"));
  EXPECT_FALSE(d.DispatchLine("BATTLE6", "x"));
  EXPECT_FALSE(d.DispatchLine("battle", "x"));  // commands arrive upper-cased; matching is exact
  EXPECT_TRUE(d.HandleLine(""));
  EXPECT_TRUE(d.HandleLine("no colon here"));
  EXPECT_TRUE(d.HandleLine("UNKNOWN:1"));
  EXPECT_TRUE(sink.pane.empty());
  EXPECT_TRUE(sink.hooks.empty());
  EXPECT_TRUE(sink.levels.empty());
}

TEST_F(DispatchTest, AFailingHandlerIsDroppedAndTheNextLineGoesOn) {
  struct Throwing : RecordingSink {
    void RoomMessage(std::string_view, std::string_view) override { throw std::runtime_error("bad room line"); }
  } throwing;
  Dispatcher t(throwing);
  EXPECT_FALSE(t.HandleLine("BATTLE:CARDS:x"));
  EXPECT_TRUE(t.HandleLine("SYSTEMMSG:next"));
  ASSERT_EQ(throwing.pane.size(), 1u);
  EXPECT_EQ(throwing.pane[0].first, "next");
}

TEST(ShowLevel, LabelsAndFill) {
  LevelDisplay a = ComputeLevel("5:50:200");
  EXPECT_EQ(a.level, "5");
  EXPECT_EQ(a.experience, "50/200");
  EXPECT_TRUE(a.valid);
  EXPECT_EQ(a.fill, 29);  // 50 * 119 / 200
  LevelDisplay empty = ComputeLevel("5:0:200");
  EXPECT_TRUE(empty.valid);
  EXPECT_EQ(empty.fill, 0);
  EXPECT_EQ(ComputeLevel("3:120:200").fill, 71);
  EXPECT_EQ(ComputeLevel("3:199:200").fill, 118);  // integer division rounds down
  EXPECT_EQ(ComputeLevel("3:200:200").fill, 119);
  // The level is trimmed and upper-cased; so is the experience (split the same way).
  LevelDisplay b = ComputeLevel(" vip :  7 :10");
  EXPECT_EQ(b.level, "VIP");
  EXPECT_EQ(b.experience, "7/10");
  EXPECT_EQ(b.fill, 83);
  // Larger than the bar, or negative: kept inside the outline.
  EXPECT_EQ(ComputeLevel("9:500:200").fill, 119);
  EXPECT_EQ(ComputeLevel("9:-5:200").fill, 0);
  // A huge experience does not overflow the product.
  EXPECT_EQ(ComputeLevel("9:2000000000:2000000000").fill, 119);
  EXPECT_EQ(ComputeLevel("1:10:20", 21).fill, 9);  // another bar width
}

TEST(ShowLevel, BadNumbersLeaveTheBarEmptyButSetTheLabels) {
  for (std::string args : {"5:x:200", "5:50:", "5:50:0", "5:50:200:7", "5:50", "5", "", "5:1.5:10",
                           "5:99999999999:10"}) {
    LevelDisplay d = ComputeLevel(args);
    EXPECT_FALSE(d.valid) << args;
    EXPECT_EQ(d.fill, 0) << args;
  }
  LevelDisplay d = ComputeLevel("5:x:200");
  EXPECT_EQ(d.level, "5");
  EXPECT_EQ(d.experience, "X/200");
  // Without a second colon the experience is empty and the rest is the needed value.
  EXPECT_EQ(ComputeLevel("5:50").experience, "/50");

  RecordingSink sink;
  Dispatcher disp(sink);
  EXPECT_TRUE(disp.HandleLine("LEVEL:5:50:0"));
  EXPECT_TRUE(disp.HandleLine("LEVEL:6:60:120"));
  ASSERT_EQ(sink.levels.size(), 2u);
  EXPECT_FALSE(sink.levels[0].valid);
  EXPECT_EQ(sink.levels[0].experience, "50/0");
  EXPECT_EQ(sink.levels[1].fill, 59);
}

TEST(Chat, TwoLinesOrRefusedWhenDown) {
  ScriptedChannel ch;
  SendChat(ch, kZhUtf8 + "!");
  SendChat(ch, "");
  RequestOnlineList(ch);
  std::vector<std::string> want = {"PUBLICMSG:" + kZhBig5 + "!", "UTF8PUBLICMSG:" + kZhUtf8 + "!", "PUBLICMSG:",
                                   "UTF8PUBLICMSG:", "GETONLINELIST:"};
  EXPECT_EQ(ch.sent, want);
  ch.up = false;
  try {
    SendChat(ch, "x");
    FAIL() << "sent while down";
  } catch (const NetError& e) {
    EXPECT_STREQ(e.what(), "未連線");
  }
  EXPECT_THROW(RequestOnlineList(ch), NetError);
  EXPECT_THROW(SendCommand(ch, "GETPRIVATEDATALIST", ""), NetError);
  EXPECT_EQ(ch.sent.size(), 5u);
}
