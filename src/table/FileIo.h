// Whole-file reading and writing for every file the program keeps: table files,
// JSON lists, strategy sets, CSV and text exports.
//
// A save writes a temporary file in the target's folder, flushes it to disk and
// renames it over the target, so that the target is at every moment either the old
// file or the new one. The temporary file takes the target's permissions (and owner,
// where allowed); a target that is a symbolic link is followed, so the link stays and
// the file it points to is replaced. Any failure removes the temporary file, leaves
// the target as it was and throws a TableError naming the file and the reason.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "table/Table.h"

namespace zavuv {

// A file that does not exist yet is created with newFileMode (less the umask); the
// settings file, which holds a scrambled password, passes 0600.
void WriteFileReplacing(const std::string& path, std::string_view bytes, unsigned newFileMode = 0666);
// The same for a file that holds secrets: the new file is readable and writable by its
// owner only (mode 0600), even when the file it replaces was open to others.
void WritePrivateFileReplacing(const std::string& path, std::string_view bytes);
// Reads a whole file; a file that cannot be opened or is larger than maxBytes is a
// TableError naming it.
std::string ReadWholeFile(const std::string& path, std::size_t maxBytes);

// Fault injection for the tests: every system call a save makes is counted by
// kind, and an armed fault makes the nth call of its kind (counted from when it was
// armed, 1-based) fail with the given errno, as a full or failing disk would. A
// write may instead be cut short (it writes half of what it was given and succeeds).
// Counters and faults are per thread.
enum class FileCall { Open, Chmod, Write, Fsync, Close, Rename, kCount };
const char* FileCallName(FileCall call);
struct FileFault {
  FileCall call = FileCall::Write;
  int nth = 1;
  int error = 0;          // 0 with shortWrite: a short write
  bool shortWrite = false;
};
// Arms a fault (replacing any other) and sets every counter to zero.
void InjectFileFault(const FileFault& fault);
// Disarms the fault and sets every counter to zero.
void ResetFileFaults();
// Calls of that kind since the last InjectFileFault or ResetFileFaults.
int FileCallCount(FileCall call);
// Whether the armed fault has been triggered.
bool FileFaultFired();

}  // namespace zavuv
