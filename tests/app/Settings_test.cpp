#include "app/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

using namespace zavuv;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zavuv-settings-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / "BA.ini";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Put(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Get() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_, path_;
};

}  // namespace

TEST(PasswordScramble, TenBlanksAndRoundTrips) {
  // An empty password is scrambled as ten blanks and comes back as ten blanks.
  std::string stored = EncodePassword("abc1234567", "");
  EXPECT_EQ(stored.size(), 20u);
  EXPECT_EQ(stored, EncodePassword("abc1234567", "          "));
  EXPECT_EQ(DecodePassword("abc1234567", stored), "          ");
  for (char c : stored) EXPECT_TRUE(c >= 'A' && c <= 'P') << stored;

  // Key "A" (65) plus nine blanks: 65 + 9*32 = 353, 353 mod 256 = 97. "x" is 120:
  // (120 xor 97) + 1 = 26 -> "BK"; then a blank: (32 xor 26) + 1 = 59 -> "DL".
  EXPECT_EQ(EncodePassword("A", "x").substr(0, 4), "BKDL");

  // Passwords are cut at 10 bytes; a restored one is padded with blanks.
  EXPECT_EQ(DecodePassword("abc12", EncodePassword("abc12", "secret")), "secret    ");
  EXPECT_EQ(DecodePassword("abc12", EncodePassword("abc12", "0123456789XYZ")), "0123456789");
  // Every byte value survives (a Big5 password included).
  std::string bytes = "\xA4\xA4\xFF\x01~";
  EXPECT_EQ(DecodePassword("\xB1\x62", EncodePassword("\xB1\x62", bytes)), bytes + "     ");
}

TEST(PasswordScramble, KeyDependsOnAccountNumber) {
  std::string a = EncodePassword("AAAA000001", "pass1234");
  std::string b = EncodePassword("AAAA000002", "pass1234");
  EXPECT_NE(a, b);
  EXPECT_EQ(DecodePassword("AAAA000001", a), "pass1234  ");
  // Decoded under the wrong account, it is some other text.
  EXPECT_NE(DecodePassword("AAAA000002", a), "pass1234  ");
  // Only the first 10 bytes of the account number count.
  EXPECT_EQ(EncodePassword("AAAA000001", "x"), EncodePassword("AAAA000001zzz", "x"));
}

TEST(PasswordScramble, ShortOrForeignTextDecodesWithoutFailing) {
  std::string full = EncodePassword("u", "pw12");
  // A text cut short reads as if padded with "A": the first bytes survive.
  std::string cut = DecodePassword("u", full.substr(0, 8));
  EXPECT_EQ(cut.size(), 10u);
  EXPECT_EQ(cut.substr(0, 4), "pw12");
  EXPECT_EQ(DecodePassword("u", ""), DecodePassword("u", std::string(20, 'A')));
  // Lower-case letters, digits and Big5 bytes give 10 bytes, never an error.
  for (std::string foreign : {"zzzzzzzzzzzzzzzzzzzzzz", "0123456789", "\xA4\xA4\xA4\xA4", "A"})
    EXPECT_EQ(DecodePassword("u", foreign).size(), 10u) << foreign;
}

TEST(IniFileText, KeepsSectionsWithBlanksCommentsAndOrder) {
  IniFile ini;
  ASSERT_TRUE(ini.Parse("; made by hand\r\n[Auto Login]\r\nEnable = 1\r\n\r\n[Other]\r\nx=\" a b \"\r\n"));
  EXPECT_EQ(ini.Read("auto login", "ENABLE"), "1");
  EXPECT_EQ(ini.Read("Other", "x"), " a b ");
  EXPECT_EQ(ini.Read("Other", "y"), std::nullopt);
  EXPECT_EQ(ini.Read("Proxy", "x"), std::nullopt);
  ini.Write("Auto Login", "UserID", "u1");
  ini.Write("Proxy", "Server", "  padded");
  ini.Write("Other", "x", "line1\nline2");
  EXPECT_EQ(ini.Text(),
            "; made by hand\n[Auto Login]\nEnable = 1\nUserID=u1\n\n[Other]\nx=line1 line2\n"
            "[Proxy]\nServer=\"  padded\"\n");
  EXPECT_EQ(ini.Read("Proxy", "Server"), "  padded");
  ini.DeleteKey("AUTO LOGIN", "userid");
  EXPECT_EQ(ini.Read("Auto Login", "UserID"), std::nullopt);
  EXPECT_EQ(ini.Read("Auto Login", "Enable"), "1");
  // A value that is itself in quotes reads back unchanged.
  ini.Write("Other", "q", "\"quoted\"");
  EXPECT_EQ(ini.Read("Other", "q"), "\"quoted\"");
  // Lines ending in CR CR LF: the text written back reads back to itself.
  ASSERT_TRUE(ini.Parse("[Auto Login]\r\r\nEnable=1\r\r\n"));
  EXPECT_EQ(ini.Text(), "[Auto Login]\nEnable=1\n");
  EXPECT_EQ(ini.Read("Auto Login", "Enable"), "1");
}

TEST(IniFileText, StrayLinesAreSkippedAndWrittenBackInPlace) {
  IniFile ini;
  const std::string text = "[Server]\nServer=MAIN\nthis is not a key\n[Proxy\n=value\nPort=1\n";
  ASSERT_TRUE(ini.Parse(text));
  EXPECT_EQ(ini.Read("Server", "Server"), "MAIN");
  EXPECT_EQ(ini.Read("Server", "Port"), "1");  // "[Proxy" is no section header
  ini.Write("Server", "Server", "LOCALHOST");
  EXPECT_EQ(ini.Text(), "[Server]\nServer=LOCALHOST\nthis is not a key\n[Proxy\n=value\nPort=1\n");
  EXPECT_FALSE(ini.Parse(std::string("[Server]\nServer=a\0b\n", 20)));  // a NUL: no text file
  EXPECT_TRUE(ini.Parse(""));
  EXPECT_TRUE(ini.Parse("\xEF\xBB\xBF[S]\nk=v"));  // a byte order mark, no final line break
  EXPECT_EQ(ini.Read("S", "k"), "v");
}

TEST_F(SettingsFile, MissingUnreadableOrDamagedGiveDefaults) {
  IniFile::LoadStatus st;
  EXPECT_EQ(ReadSettings(path_, &st), Settings{});
  EXPECT_EQ(st, IniFile::LoadStatus::Missing);

  fs::remove(path_);
  fs::create_directory(path_);  // a folder where the file should be
  EXPECT_EQ(ReadSettings(path_, &st), Settings{});
  EXPECT_EQ(st, IniFile::LoadStatus::Unreadable);
  // Writing over it fails quietly and leaves it as it was.
  EXPECT_FALSE(WriteSettings(path_, Settings{}));
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  fs::remove(path_);
  Put(std::string(IniFile::kMaxFileBytes + 10, ';'));
  ReadSettings(path_, &st);
  EXPECT_EQ(st, IniFile::LoadStatus::Damaged);
}

TEST_F(SettingsFile, ValuesAsTabled) {
  Put("[Auto Login]\nEnable=7\nUserID=abc12\nUserPassword=\n[Server]\nServer=localhost\n"
      "[Proxy]\nEnable=x\nServer=proxy.test\nPort=-1080\nUserID=me\nUserPassword=pw\n");
  IniFile::LoadStatus st;
  Settings s = ReadSettings(path_, &st);
  EXPECT_EQ(st, IniFile::LoadStatus::Loaded);
  EXPECT_TRUE(s.autoLogin);  // any whole number but 0 is on
  EXPECT_EQ(s.userId, "abc12");
  EXPECT_EQ(s.userPassword, "");  // an empty stored password empties the field
  EXPECT_EQ(s.server, ServerChoice::LocalHost);
  EXPECT_FALSE(s.useProxy);  // not a number: the default
  EXPECT_EQ(s.proxyHost, "proxy.test");
  EXPECT_EQ(s.proxyPort, -1080);
  EXPECT_EQ(s.proxyUserId, "me");
  EXPECT_EQ(s.proxyPassword, "pw");

  Put("[Server]\nServer=myhost\n[Proxy]\nPort=99999999999\n[Auto Login]\nEnable=0\nUserID=keep\nUserPassword=ABABABABABABABABABAB\n");
  s = ReadSettings(path_);
  EXPECT_EQ(s.server, ServerChoice::Other);
  EXPECT_EQ(s.otherServer, "MYHOST");
  EXPECT_EQ(s.proxyPort, 0);  // out of range: the default
  EXPECT_FALSE(s.autoLogin);
  EXPECT_EQ(s.userId, "keep");      // read whether automatic login is on or not
  EXPECT_EQ(s.userPassword, "");    // the password only with automatic login on

  Put("[Server]\nServer=Main\n");
  EXPECT_EQ(ReadSettings(path_).server, ServerChoice::Main);
}

TEST_F(SettingsFile, WrittenAsTabledOwnerOnlyAndReadBack) {
  Settings s;
  s.autoLogin = true;
  s.userId = "abc12";
  s.userPassword = "";
  s.server = ServerChoice::Other;
  s.otherServer = "zavuv.test";
  s.useProxy = true;
  s.proxyHost = "127.0.0.1";
  s.proxyPort = 1080;
  s.proxyUserId = "\xE4\xB8\xAD";  // 中, stored as Big5
  s.proxyPassword = " p w ";
  ASSERT_TRUE(WriteSettings(path_, s));
  EXPECT_EQ(Get(), "[Auto Login]\nEnable=1\nUserID=abc12\nUserPassword=" + EncodePassword("abc12", "") +
                       "\n[Server]\nServer=zavuv.test\n[Proxy]\nEnable=1\nServer=127.0.0.1\nPort=1080\n"
                       "UserID=\xA4\xA4\nUserPassword=\" p w \"\n");
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  Settings back = ReadSettings(path_);
  EXPECT_EQ(back.userPassword, "          ");  // restored as ten blanks
  EXPECT_EQ(back.otherServer, "ZAVUV.TEST");
  back.userPassword = s.userPassword;
  back.otherServer = s.otherServer;
  EXPECT_EQ(back, s);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SettingsFile, TlsIsKeptUnderServerAndAnOlderFileReadsAsOff) {
  Put("[Server]\nServer=zavuv.test\n");
  Settings s = ReadSettings(path_);
  EXPECT_FALSE(s.useTls);
  EXPECT_EQ(s.tlsPort, kDefaultTlsPort);
  EXPECT_EQ(ConfigureConnection(s, 4024).port, 4024);
  EXPECT_FALSE(ConfigureConnection(s, 4024).tls);

  s.useTls = true;
  s.tlsPort = 6697;
  ASSERT_TRUE(WriteSettings(path_, s));
  EXPECT_NE(Get().find("[Server]\nServer=ZAVUV.TEST\nTLS=1\nTLSPort=6697\n"), std::string::npos) << Get();
  Settings back = ReadSettings(path_);
  EXPECT_TRUE(back.useTls);
  EXPECT_EQ(back.tlsPort, 6697);
  // With TLS on, the connection goes to the TLS port, through the proxy as well.
  back.useProxy = true;
  net::ConnectionTarget t = ConfigureConnection(back, 4024);
  EXPECT_TRUE(t.tls);
  EXPECT_EQ(t.port, 6697);
  EXPECT_EQ(t.host, "ZAVUV.TEST");

  back.useTls = false;
  ASSERT_TRUE(WriteSettings(path_, back));
  EXPECT_FALSE(ReadSettings(path_).useTls);
  EXPECT_EQ(ReadSettings(path_).tlsPort, 6697);
}

TEST_F(SettingsFile, ALinkedFileStaysLinkedAndBecomesTheOwnersAlone) {
  // Settings kept elsewhere (a dotfiles folder) and linked in: the link stays, the
  // file it points to is replaced, readable by its owner only.
  const fs::path real = dir_ / "kept" / "BA.ini";
  fs::create_directories(real.parent_path());
  { std::ofstream(real) << "[Server]\nServer=Main\n"; }
  ::chmod(real.c_str(), 0640);
  fs::remove(path_);
  fs::create_symlink(real, path_);
  Settings s = ReadSettings(path_);
  s.userId = "abc12";
  s.autoLogin = true;
  ASSERT_TRUE(WriteSettings(path_, s));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadSettings(real).userId, "abc12");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SettingsFile, AutoLoginOffDeletesAccountKeysAndKeepsForeignOnes) {
  Put("; mine\n[Auto Login]\nEnable=1\nUserID=abc12\nUserPassword=PPPPPPPPPPPPPPPPPPPP\n[Extra]\nk=v\n");
  Settings s = ReadSettings(path_);
  s.autoLogin = false;
  ASSERT_TRUE(WriteSettings(path_, s));
  std::string text = Get();
  EXPECT_EQ(text.find("UserID=abc12"), std::string::npos);
  EXPECT_EQ(text.find("UserPassword=PPPP"), std::string::npos);
  EXPECT_NE(text.find("; mine\n[Auto Login]\nEnable=0\n"), std::string::npos);
  EXPECT_NE(text.find("[Extra]\nk=v\n"), std::string::npos);
  // At the next start the account number is empty.
  EXPECT_EQ(ReadSettings(path_).userId, "");

  // A damaged file is replaced whole at close.
  Put(std::string("not an ini file\0\n", 17));
  ASSERT_TRUE(WriteSettings(path_, Settings{}));
  EXPECT_EQ(ReadSettings(path_), Settings{});
  EXPECT_EQ(Get().find("not an ini"), std::string::npos);
}

TEST_F(SettingsFile, AStrayLineLosesNothingAndTheFileBecomesTheOwnersAlone) {
  // What a run does with the file: read at show, written at close.
  const std::string pw = EncodePassword("abcde12345", "pw12");
  Put("; kept by hand\n[Auto Login]\nEnable=1\nUserID=abcde12345\nUserPassword=" + pw +
      "\nthis line is no setting\n[Server]\nServer=myhost\n[Colours]\nPane=black\n");
  ::chmod(path_.c_str(), 0644);
  IniFile::LoadStatus st;
  Settings s = ReadSettings(path_, &st);
  EXPECT_EQ(st, IniFile::LoadStatus::Loaded);
  EXPECT_TRUE(s.autoLogin);
  EXPECT_EQ(s.userPassword, "pw12      ");
  EXPECT_EQ(s.server, ServerChoice::Other);
  ASSERT_TRUE(WriteSettings(path_, s));
  EXPECT_EQ(Get(), "; kept by hand\n[Auto Login]\nEnable=1\nUserID=abcde12345\nUserPassword=" + pw +
                       "\nthis line is no setting\n[Server]\nServer=MYHOST\n[Colours]\nPane=black\n"
                       "[Proxy]\nEnable=0\nServer=\nPort=0\nUserID=\nUserPassword=\n");
  struct stat info {};
  ASSERT_EQ(::stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(ConnectionSettings, ServerChoiceAndProxy) {
  Settings s;
  net::ConnectionTarget t = ConfigureConnection(s);
  EXPECT_EQ(t.host, kMainServerHost);
  EXPECT_EQ(t.port, 24);
  EXPECT_FALSE(t.useProxy);
  s.server = ServerChoice::LocalHost;
  EXPECT_EQ(ConfigureConnection(s, 4024).host, "LocalHost");
  EXPECT_EQ(ConfigureConnection(s, 4024).port, 4024);
  s.server = ServerChoice::Other;
  s.otherServer = "MYHOST";
  s.useProxy = true;
  s.proxyHost = "127.0.0.1";
  s.proxyPort = 1080;
  s.proxyUserId = "\xE4\xB8\xAD";
  t = ConfigureConnection(s);
  EXPECT_EQ(t.host, "MYHOST");
  EXPECT_TRUE(t.useProxy);
  EXPECT_EQ(t.proxyHost, "127.0.0.1");
  EXPECT_EQ(t.proxyPort, 1080);
  EXPECT_EQ(t.proxyUserId, "\xA4\xA4");
}

TEST_F(SettingsFile, OtherServerTakesHostAndPortAndKeepsWhatWasTyped) {
  Put("[Server]\nServer=zavuv.test:4100\n");
  Settings s = ReadSettings(path_);
  net::ConnectionTarget t = ConfigureConnection(s, 24);
  EXPECT_EQ(t.host, "ZAVUV.TEST");
  EXPECT_EQ(t.port, 4100);
  ASSERT_TRUE(WriteSettings(path_, s));
  EXPECT_NE(Get().find("Server=ZAVUV.TEST:4100\n"), std::string::npos) << Get();

  // A plain host keeps the protocol's port; an IPv6 address takes its port in brackets;
  // text that names no valid port is all host.
  const std::pair<const char*, std::pair<const char*, int>> cases[] = {
      {"zavuv.test", {"zavuv.test", 24}},   {"[::1]:4100", {"::1", 4100}}, {"::1", {"::1", 24}},
      {"zavuv.test:0", {"zavuv.test:0", 24}}, {"zavuv.test:70000", {"zavuv.test:70000", 24}},
      {"zavuv.test:", {"zavuv.test:", 24}},   {":4100", {":4100", 24}}};
  for (const auto& [typed, want] : cases) {
    s.otherServer = typed;
    t = ConfigureConnection(s, 24);
    EXPECT_EQ(t.host, want.first) << typed;
    EXPECT_EQ(t.port, want.second) << typed;
  }
  // With TLS on the TLS port is used, whatever the plain port typed.
  s.otherServer = "zavuv.test:4100";
  s.useTls = true;
  s.tlsPort = 6697;
  EXPECT_EQ(ConfigureConnection(s, 24).port, 6697);
  EXPECT_EQ(ConfigureConnection(s, 24).host, "zavuv.test");
}
