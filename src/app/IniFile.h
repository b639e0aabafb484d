// A small INI file of our own: "[Section]" headers and "Key=Value" lines, kept in the
// order they were read or added, with comments and blank lines left where they were.
// Section and key names are compared with the letters a to z taken as A to Z and may
// hold inner blanks ("Auto Login"); the file's own spelling is kept. Text is handled
// as bytes: the caller chooses the encoding.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zavuv {

class IniFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IniFile {
 public:
  enum class LoadStatus {
    Loaded,      // read and parsed
    Missing,     // no file: an empty document
    Unreadable,  // the file exists but could not be read: an empty document
    Damaged,     // not an INI text (a NUL byte, too large)
  };

  // Files larger than this are taken as damaged rather than read into memory.
  static constexpr std::size_t kMaxFileBytes = 1 << 20;

  // Reads the file. Whatever the status other than Loaded, the document is empty.
  LoadStatus Load(const std::filesystem::path& path);
  // Parses text line by line; false (and an empty document) when it is not an INI text.
  // A line that is neither a section header, a key nor a comment is skipped when
  // reading and written back where it stood.
  bool Parse(std::string_view text);

  // The value of a key, surrounding blanks removed and one pair of enclosing double
  // quotes taken off; nullopt when the section or the key is missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Sets a key, adding the section at the end and the key at the end of its section
  // when they are missing. A line break inside the value becomes a blank; a value with
  // blanks at either end is written in double quotes so that it reads back unchanged.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  // Removes a key; the section stays, even when it is left empty.
  void DeleteKey(std::string_view section, std::string_view key);

  std::string Text() const;
  // Writes the text to a temporary file beside the target and renames it over the
  // target; the target is either the old file or the whole new one. The file is
  // readable and writable by its owner only (mode 0600), even when the old one was
  // open to others; a symbolic link is followed. Throws IniFileError when any step fails.
  void Save(const std::filesystem::path& path) const;

 private:
  struct Line {
    std::string raw;    // the line as read, or as last written
    std::string key;    // empty for comments and blank lines
    std::string value;  // as written in the file (quotes included)
  };
  struct Section {
    std::string header;  // the line as read, or "[name]" for an added section
    std::string name;
    std::vector<Line> lines;
  };
  Section* Find(std::string_view section);
  const Section* Find(std::string_view section) const;

  std::vector<Line> preamble_;  // lines before the first section
  std::vector<Section> sections_;
};

}  // namespace zavuv
