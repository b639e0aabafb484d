#include "net/Protocol.h"

#include <algorithm>

#include "table/Big5.h"

namespace zavuv::net {

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

CommandLine SplitLine(std::string_view line) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {std::string(), std::string(line)};
  return {UpperAscii(TrimBlanks(line.substr(0, colon))), std::string(line.substr(colon + 1))};
}

bool IsUtf8Command(std::string_view command) {
  command = TrimBlanks(command);
  return command.size() >= 4 && UpperAscii(command.substr(0, 4)) == "UTF8";
}

std::string ArgumentsToUtf8(std::string_view command, std::string_view arguments) {
  return IsUtf8Command(command) ? SanitizeUtf8(arguments) : Big5ToUtf8(arguments);
}

std::string MakeLine(std::string_view command, std::string_view utf8Arguments) {
  std::string line(command);
  line += ':';
  line += IsUtf8Command(command) ? SanitizeUtf8(utf8Arguments) : Utf8ToBig5(utf8Arguments);
  return line;
}

std::string FrameLine(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) out += (c == '\r' || c == '\n') ? ' ' : c;
  out += "\r\n";
  return out;
}

namespace {

// Length of the well-formed UTF-8 sequence at the start of text, 0 when malformed.
std::size_t Utf8Sequence(std::string_view text) {
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char c = b(0);
  if (c < 0x80) return 1;
  std::size_t n;
  char32_t cp;
  if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; }
  else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; }
  else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; }
  else return 0;
  if (text.size() < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    std::size_t n = Utf8Sequence(text);
    if (n == 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

std::string SanitizeUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  while (!text.empty()) {
    std::size_t n = Utf8Sequence(text);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      n = 1;
    } else {
      out.append(text.substr(0, n));
    }
    text.remove_prefix(n);
  }
  return out;
}

void LineFramer::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t lf = bytes.find('\n');
    std::string_view piece = bytes.substr(0, lf);
    if (!skipping_) {
      // One byte of slack for the CR that may stand before the LF.
      if (partial_.size() + piece.size() > max_ + 1) {
        partial_.clear();
        partial_.shrink_to_fit();
        skipping_ = true;
        ++discarded_;
      } else {
        partial_.append(piece);
      }
    }
    if (lf == std::string_view::npos) return;
    bytes.remove_prefix(lf + 1);
    if (skipping_) {
      skipping_ = false;
      continue;
    }
    if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
    if (partial_.size() > max_) {
      ++discarded_;
    } else {
      lines_.push_back(std::move(partial_));
    }
    partial_.clear();
  }
}

bool LineFramer::Next(std::string& line) {
  if (lines_.empty()) return false;
  line = std::move(lines_.front());
  lines_.pop_front();
  return true;
}

void LineFramer::Clear() {
  lines_.clear();
  partial_.clear();
  skipping_ = false;
}

}  // namespace zavuv::net
