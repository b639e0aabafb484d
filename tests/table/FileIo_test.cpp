// Saving over what is already there: permissions, owner, symbolic links and things
// that are not files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "table/FileIo.h"

using namespace zavuv;
namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zavuv-fileio-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "real");
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Error(const std::string& path) {
    try {
      WriteFileReplacing(path, "new");
    } catch (const TableError& e) {
      return e.what();
    }
    return "(written)";
  }
  fs::path dir_;
};

}  // namespace

TEST_F(FileIo, ReplacingKeepsPermissionsAndOwner) {
  for (mode_t mode : {0600, 0640, 0664, 0444}) {
    WriteFileReplacing(P("a.DAT"), "old");
    ASSERT_EQ(::chmod(P("a.DAT").c_str(), mode), 0);
    WriteFileReplacing(P("a.DAT"), "new");
    struct stat st {};
    ASSERT_EQ(::stat(P("a.DAT").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(Read(P("a.DAT")), "new");
    ::chmod(P("a.DAT").c_str(), 0644);
  }
  if (::geteuid() == 0) {  // only root can hand a file to someone else
    ASSERT_EQ(::chown(P("a.DAT").c_str(), 4321, 4322), 0);
    WriteFileReplacing(P("a.DAT"), "owned");
    struct stat st {};
    ASSERT_EQ(::stat(P("a.DAT").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
  }
}

TEST_F(FileIo, SymbolicLinksAreFollowedAndKept) {
  WriteFileReplacing(P("real/target.DAT"), "old");
  ::chmod(P("real/target.DAT").c_str(), 0600);
  fs::create_symlink("real/target.DAT", dir_ / "link.DAT");     // relative
  fs::create_symlink(dir_ / "link.DAT", dir_ / "link2.DAT");    // absolute, to a link
  WriteFileReplacing(P("link2.DAT"), "through two links");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.DAT"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link2.DAT"));
  EXPECT_EQ(Read(P("real/target.DAT")), "through two links");
  EXPECT_EQ(fs::status(P("real/target.DAT")).permissions() & fs::perms::mask, fs::perms(0600));
  // The temporary file was made beside the target, not beside the link.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), fs::directory_iterator()), 1);

  // A link to a file not there yet makes the file where it points.
  fs::create_symlink("real/later.DAT", dir_ / "dangling.DAT");
  WriteFileReplacing(P("dangling.DAT"), "made");
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.DAT"));
  EXPECT_EQ(Read(P("real/later.DAT")), "made");

  // A loop of links is refused and nothing is made.
  fs::create_symlink("loop2", dir_ / "loop1");
  fs::create_symlink("loop1", dir_ / "loop2");
  EXPECT_NE(Error(P("loop1")).find(std::strerror(ELOOP)), std::string::npos);
}

TEST_F(FileIo, OnlyRegularFilesAreReplaced) {
  fs::create_directories(dir_ / "folder.DAT");
  EXPECT_NE(Error(P("folder.DAT")).find("這是資料夾"), std::string::npos);
  ASSERT_EQ(::mkfifo(P("pipe.DAT").c_str(), 0600), 0);
  EXPECT_NE(Error(P("pipe.DAT")).find("不是一般檔案"), std::string::npos);
  EXPECT_TRUE(fs::is_fifo(dir_ / "pipe.DAT"));
  fs::create_symlink("/dev/null", dir_ / "null.DAT");
  EXPECT_NE(Error(P("null.DAT")).find("不是一般檔案"), std::string::npos);
  EXPECT_TRUE(fs::is_symlink(dir_ / "null.DAT"));
  EXPECT_NE(Error(P("no/such/folder.DAT")).find(std::strerror(ENOENT)), std::string::npos);
  // Nothing was left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4);
}
