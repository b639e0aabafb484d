#include "net/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zavuv::net;

namespace {

std::vector<std::string> Drain(LineFramer& f) {
  std::vector<std::string> out;
  std::string line;
  while (f.Next(line)) out.push_back(line);
  return out;
}

}  // namespace

TEST(SplitLine, CommandIsTrimmedAndUpperCasedArgumentsUntouched) {
  auto a = SplitLine("LEVEL:3:120:200");
  EXPECT_EQ(a.command, "LEVEL");
  EXPECT_EQ(a.arguments, "3:120:200");
  auto b = SplitLine(" level :x");
  EXPECT_EQ(b.command, "LEVEL");
  EXPECT_EQ(b.arguments, "x");
  auto c = SplitLine("\tsystemmsg\x01:  a:b ");
  EXPECT_EQ(c.command, "SYSTEMMSG");
  EXPECT_EQ(c.arguments, "  a:b ");
  // Only a to z change case; Big5 bytes in a command stay as they are.
  EXPECT_EQ(SplitLine("utf8\xA4\xA4x:1").command, "UTF8\xA4\xA4X");
}

TEST(SplitLine, NoColonOrEmptyLineGivesEmptyCommand) {
  auto a = SplitLine("hello world");
  EXPECT_EQ(a.command, "");
  EXPECT_EQ(a.arguments, "hello world");
  auto b = SplitLine("");
  EXPECT_EQ(b.command, "");
  EXPECT_EQ(b.arguments, "");
  auto c = SplitLine(":x");
  EXPECT_EQ(c.command, "");
  EXPECT_EQ(c.arguments, "x");
}

TEST(Encoding, ChosenByCommandName) {
  EXPECT_TRUE(IsUtf8Command("UTF8PUBLICMSG"));
  EXPECT_TRUE(IsUtf8Command("utf8score"));
  EXPECT_FALSE(IsUtf8Command("PUBLICMSG"));
  EXPECT_FALSE(IsUtf8Command("UTF"));
  // 中 is A4 A4 in Big5 and E4 B8 AD in UTF-8.
  EXPECT_EQ(ArgumentsToUtf8("PUBLICMSG", "\xA4\xA4:1"), "\xE4\xB8\xAD:1");
  EXPECT_EQ(ArgumentsToUtf8("UTF8PUBLICMSG", "\xE4\xB8\xAD"), "\xE4\xB8\xAD");
  EXPECT_EQ(MakeLine("PUBLICMSG", "\xE4\xB8\xAD"), "PUBLICMSG:\xA4\xA4");
  EXPECT_EQ(MakeLine("UTF8PUBLICMSG", "\xE4\xB8\xAD"), "UTF8PUBLICMSG:\xE4\xB8\xAD");
  EXPECT_EQ(MakeLine("GETONLINELIST", ""), "GETONLINELIST:");
}

TEST(Encoding, MalformedUtf8IsReplacedNotPassedOn) {
  EXPECT_TRUE(IsValidUtf8("a\xE4\xB8\xAD\xF0\x9F\x98\x80"));
  for (std::string bad : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8", "\x80", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad.size();
    std::string s = SanitizeUtf8("x" + bad + "y");
    EXPECT_TRUE(IsValidUtf8(s));
    EXPECT_EQ(s.front(), 'x');
    EXPECT_EQ(s.back(), 'y');
    EXPECT_NE(s.find("\xEF\xBF\xBD"), std::string::npos);
  }
  EXPECT_TRUE(IsValidUtf8(ArgumentsToUtf8("UTF8X", "\xFF\xFE")));
}

TEST(FrameLine, EndsWithCrLfAndCannotCarryASecondLine) {
  EXPECT_EQ(FrameLine("VERSION:1.11"), "VERSION:1.11\r\n");
  EXPECT_EQ(FrameLine("PUBLICMSG:a\r\nLOGIN:x"), "PUBLICMSG:a  LOGIN:x\r\n");
  EXPECT_EQ(FrameLine(""), "\r\n");
}

TEST(LineFramer, SplitsAtLfDropsOneCrAndKeepsOrderAcrossPieces) {
  LineFramer f;
  f.Feed("A:1\r\nB:2\nC:");
  EXPECT_EQ(Drain(f), (std::vector<std::string>{"A:1", "B:2"}));
  EXPECT_EQ(f.Pending(), 2u);
  f.Feed("3\r");
  EXPECT_TRUE(Drain(f).empty());
  f.Feed("\n\n\r\r\n");
  // An empty line is still a line; only the CR right before LF goes.
  EXPECT_EQ(Drain(f), (std::vector<std::string>{"C:3", "", "\r"}));
}

TEST(LineFramer, ByteByByteGivesTheSameLines) {
  std::string stream = "X:a\r\nY:b\nZ:\xA4\xA4\r\n";
  LineFramer whole, bytes;
  whole.Feed(stream);
  for (char c : stream) bytes.Feed(std::string_view(&c, 1));
  EXPECT_EQ(Drain(whole), Drain(bytes));
}

TEST(LineFramer, OverlongLineIsDroppedAndTheNextLineStillArrives) {
  LineFramer f;
  std::string limit(kMaxLineBytes, 'x');
  // Exactly the limit, with CR LF, is a line.
  f.Feed(limit + "\r\n");
  auto lines = Drain(f);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), kMaxLineBytes);
  // One byte more is dropped, whether it comes in one piece or many, with CR or not.
  f.Feed(limit + "y\nGOOD:1\n");
  EXPECT_EQ(Drain(f), (std::vector<std::string>{"GOOD:1"}));
  for (std::size_t i = 0; i < kMaxLineBytes + 1; i += 1000)
    f.Feed(std::string(std::min<std::size_t>(1000, kMaxLineBytes + 1 - i), 'z'));
  f.Feed("\r\nGOOD:2\r\n");
  EXPECT_EQ(Drain(f), (std::vector<std::string>{"GOOD:2"}));
  EXPECT_EQ(f.Discarded(), 2u);
}

TEST(LineFramer, EndlessLineHoldsBoundedMemory) {
  LineFramer f(64);
  std::string chunk(50, 'q');
  for (int i = 0; i < 10000; ++i) {
    f.Feed(chunk);
    ASSERT_LE(f.Pending(), 65u);
  }
  EXPECT_TRUE(f.Skipping());
  f.Feed("tail\nOK:1\n");
  EXPECT_EQ(Drain(f), (std::vector<std::string>{"OK:1"}));
  EXPECT_EQ(f.Discarded(), 1u);
  EXPECT_FALSE(f.Skipping());
}
