// The text of the line protocol spoken between the program and the community server,
// shared by the desktop client, the server and the load tool. Nothing here touches a
// socket: these are the rules for cutting a byte stream into lines, splitting a line
// into its command and arguments, and choosing the text encoding by command name.
//
// A line is 8-bit text. Sent lines end with CR LF; a received line ends at LF, a CR
// just before the LF is dropped, and a line holds at most kMaxLineBytes bytes. The
// arguments are Big5 (code page 950) unless the command's name begins with "UTF8".
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace zavuv::net {

inline constexpr std::size_t kMaxLineBytes = 16384;
inline constexpr std::uint16_t kDefaultPort = 24;
// The version line the client opens every exchange with.
inline constexpr std::string_view kVersionLine = "VERSION:1.11";

struct CommandLine {
  std::string command;     // trimmed of blanks and control characters, a-z upper-cased
  std::string arguments;   // everything after the first colon, unchanged
};

// Cuts a line at its first colon. A line without a colon gives an empty command and
// the whole line as its arguments; an empty line gives an empty command.
CommandLine SplitLine(std::string_view line);

// Removes leading and trailing bytes with codes 0 to 32 (blanks, control characters).
std::string_view TrimBlanks(std::string_view text);
// The letters a to z as A to Z; every other byte unchanged (Big5 bytes included).
std::string UpperAscii(std::string_view text);

// Whether the command's arguments are UTF-8: its name begins with "UTF8" (letter case
// ignored). Room lines are split twice, and the rule applies to the room command too.
bool IsUtf8Command(std::string_view command);

// The arguments of a received line as UTF-8: Big5 converted, or UTF-8 with malformed
// bytes replaced, according to the command.
std::string ArgumentsToUtf8(std::string_view command, std::string_view arguments);

// The text of a line (without its terminator) for a command and UTF-8 arguments,
// converted to Big5 unless the command is a UTF-8 one. Characters that Big5 cannot
// hold are lost in the conversion.
std::string MakeLine(std::string_view command, std::string_view utf8Arguments);

// The bytes to send for one line: the text, with any CR or LF inside it turned into a
// blank so that no text can smuggle a second line onto the connection, then CR LF.
std::string FrameLine(std::string_view text);

// UTF-8 with every malformed sequence (bad lead, missing or stray continuation,
// overlong form, surrogate, above U+10FFFF) replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);
bool IsValidUtf8(std::string_view text);

// Receives bytes in whatever pieces the connection delivers and hands out whole
// lines, in order. A line longer than the limit is dropped up to its LF and counted:
// reading goes on with the following line, and the partial line held never exceeds
// the limit, however long the sender goes on without an LF.
class LineFramer {
 public:
  explicit LineFramer(std::size_t maxLine = kMaxLineBytes) : max_(maxLine) {}

  void Feed(std::string_view bytes);
  // Takes the next complete line, its LF and a CR before it removed. False when no
  // complete line is waiting.
  bool Next(std::string& line);
  bool HasLine() const { return !lines_.empty(); }

  // Lines dropped because they were longer than the limit.
  std::size_t Discarded() const { return discarded_; }
  // Bytes of the incomplete line held.
  std::size_t Pending() const { return partial_.size(); }
  // Whether an overlong line is being skipped up to its LF.
  bool Skipping() const { return skipping_; }
  void Clear();

 private:
  std::size_t max_;
  std::deque<std::string> lines_;
  std::string partial_;
  bool skipping_ = false;
  std::size_t discarded_ = 0;
};

}  // namespace zavuv::net
