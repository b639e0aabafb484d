#include "table/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

namespace zavuv {

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

// ---- the counted system calls ----

struct FaultState {
  std::array<int, static_cast<std::size_t>(FileCall::kCount)> counts{};
  bool armed = false;
  bool fired = false;
  FileFault fault;
};
thread_local FaultState faults;

// Counts a call; true when the armed fault is due now (errno is then set).
bool Due(FileCall call) {
  int n = ++faults.counts[static_cast<std::size_t>(call)];
  if (!faults.armed || faults.fault.call != call || faults.fault.nth != n) return false;
  faults.fired = true;
  if (faults.fault.shortWrite) return true;
  errno = faults.fault.error;
  return true;
}

int Open(const char* path, int flags, mode_t mode) {
  if (Due(FileCall::Open)) return -1;
  return ::open(path, flags, mode);
}
int Chmod(int fd, mode_t mode) {
  if (Due(FileCall::Chmod)) return -1;
  return ::fchmod(fd, mode);
}
ssize_t Write(int fd, const char* p, std::size_t n) {
  if (Due(FileCall::Write)) {
    if (!faults.fault.shortWrite) return -1;
    return ::write(fd, p, n > 1 ? n / 2 : n);
  }
  return ::write(fd, p, n);
}
int Fsync(int fd) {
  if (Due(FileCall::Fsync)) return -1;
  return ::fsync(fd);
}
int Close(int fd) {
  if (Due(FileCall::Close)) {
    int err = errno;
    ::close(fd);  // the descriptor goes either way, as with a real failing close
    errno = err;
    return -1;
  }
  return ::close(fd);
}
int Rename(const char* from, const char* to) {
  if (Due(FileCall::Rename)) return -1;
  return ::rename(from, to);
}

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save replaces: the path itself, or where its symbolic links lead (a
// link to a file not there yet leads to where that file will be made).
std::string FollowLinks(const std::string& path) {
  std::string p = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::string target(PATH_MAX, '\0');
    ssize_t n = ::readlink(p.c_str(), target.data(), target.size());
    if (n < 0) throw TableError("無法寫入檔案 " + path + ": " + ErrnoText(errno));
    target.resize(static_cast<std::size_t>(n));
    p = target.starts_with('/') ? target : FolderOf(p) + "/" + target;
  }
  throw TableError("無法寫入檔案 " + path + ": " + ErrnoText(ELOOP));
}

// Flushes the folder so that the rename itself survives a power cut. A folder that
// cannot be flushed changes nothing: the new file is in place either way.
void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

const char* FileCallName(FileCall call) {
  switch (call) {
    case FileCall::Open: return "open";
    case FileCall::Chmod: return "fchmod";
    case FileCall::Write: return "write";
    case FileCall::Fsync: return "fsync";
    case FileCall::Close: return "close";
    case FileCall::Rename: return "rename";
    case FileCall::kCount: break;
  }
  return "?";
}

void InjectFileFault(const FileFault& fault) {
  faults = FaultState{};
  faults.armed = true;
  faults.fault = fault;
}

void ResetFileFaults() { faults = FaultState{}; }

int FileCallCount(FileCall call) { return faults.counts[static_cast<std::size_t>(call)]; }

bool FileFaultFired() { return faults.fired; }

namespace {

void Replace(const std::string& path, std::string_view bytes, unsigned newFileMode, bool keepMode) {
  auto failed = [&](int err) { return TableError("無法寫入檔案 " + path + ": " + ErrnoText(err)); };
  const std::string target = FollowLinks(path);

  // An existing file hands its permissions and owner on to its replacement; only
  // a regular file is replaced (never a device, a pipe or a folder).
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode))
    throw TableError("無法寫入檔案 " + path + ": " + (S_ISDIR(old.st_mode) ? "這是資料夾" : "不是一般檔案"));

  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    // Private until its permissions are set, when a file is replaced.
    fd = Open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : static_cast<mode_t>(newFileMode & 07777));
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw failed(errno);

  auto fail = [&](int err) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    throw failed(err);
  };
  if (exists) {
    // The owner only changes where the system allows it (root, or a group of ours).
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      int kept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
      (void)kept;
    }
    if (Chmod(fd, keepMode ? old.st_mode & 07777 : newFileMode & 07777) != 0) fail(errno);
  }
  // In pieces, so that a short or failed write can happen at any point of the file.
  constexpr std::size_t kPiece = std::size_t{1} << 16;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = Write(fd, p, std::min(left, kPiece));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    if (n == 0) fail(ENOSPC);
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (Fsync(fd) != 0 && errno != EINVAL) fail(errno);
  int closed = Close(fd);
  fd = -1;
  if (closed != 0) fail(errno);
  if (Rename(temp.c_str(), target.c_str()) != 0) fail(errno);
  SyncFolder(FolderOf(target));
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::string_view bytes, unsigned newFileMode) {
  Replace(path, bytes, newFileMode, true);
}

void WritePrivateFileReplacing(const std::string& path, std::string_view bytes) { Replace(path, bytes, 0600, false); }

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw TableError("無法開啟檔案 " + path + ": " + ErrnoText(errno));
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw TableError("無法讀取檔案 " + path + ": " + ErrnoText(errno));
  if (S_ISDIR(st.st_mode)) throw TableError("無法讀取檔案 " + path + ": 這是資料夾");
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
    throw TableError("檔案 " + path + " 太大 (" + std::to_string(st.st_size) + " 位元組)");
  std::string out;
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw TableError("無法讀取檔案 " + path + ": " + ErrnoText(errno));
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
    if (out.size() > maxBytes) throw TableError("檔案 " + path + " 太大");
  }
  return out;
}

}  // namespace zavuv
