#include "net/Socks4.h"

#include <gtest/gtest.h>

#include <string>

using namespace zavuv::net;
using namespace std::string_literals;

TEST(Socks4, ConnectRequestCarriesAddressPortAndUserId) {
  // 127.0.0.1 port 24, user ID "bob": 04 01 | 00 18 | 7F 00 00 01 | b o b | 00
  EXPECT_EQ(Socks4ConnectRequest({127, 0, 0, 1}, 24, "bob"), "\x04\x01\x00\x18\x7F\x00\x00\x01"s + "bob" + '\0');
  // The port is sent high byte first; an empty user ID leaves only the NUL.
  std::string r = Socks4ConnectRequest({10, 1, 2, 250}, 0xABCD, "");
  EXPECT_EQ(r, "\x04\x01\xAB\xCD\x0A\x01\x02\xFA\x00"s);
  EXPECT_EQ(r.size(), 9u);
  // A NUL inside a user ID cannot end the request early.
  EXPECT_EQ(Socks4ConnectRequest({1, 2, 3, 4}, 1, "ab\0cd"s), "\x04\x01\x00\x01\x01\x02\x03\x04"s + "ab" + '\0');
}

TEST(Socks4, OnlyAnEightByteGrantSucceeds) {
  EXPECT_TRUE(Socks4Granted("\x00\x5A\x00\x18\x7F\x00\x00\x01"s));
  EXPECT_TRUE(Socks4Granted("\x04\x5A\x00\x00\x00\x00\x00\x00"s));  // version byte not checked
  for (int code : {91, 92, 93, 0, 89, 255}) {
    std::string reply = "\x00\x00\x00\x00\x00\x00\x00\x00"s;
    reply[1] = static_cast<char>(code);
    EXPECT_FALSE(Socks4Granted(reply)) << code;
  }
  EXPECT_FALSE(Socks4Granted("\x00\x5A\x00\x00"s));          // cut short
  EXPECT_FALSE(Socks4Granted("\x00\x5A\x00\x00\x00\x00\x00\x00\x00"s));  // too long
  EXPECT_FALSE(Socks4Granted(""));
  EXPECT_NE(Socks4ReplyText("\x00\x5B\x00\x00\x00\x00\x00\x00"s).find("rejected"), std::string::npos);
}
