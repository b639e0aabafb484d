// The settings file: any bytes parsed as an INI text, the settings read from it,
// written back and read again; and keys written with any value read back as written.
#include <cstdint>

#include "FuzzKit.h"
#include "app/IniFile.h"
#include "app/Settings.h"

using namespace zavuv;
using namespace std::string_view_literals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::string_view section = in.Field();
  const std::string_view key = in.Field();
  const std::string_view value = in.Field();
  IniFile ini;
  if (ini.Parse(in.Rest())) {
    // What a document writes, it reads back the same.
    const std::string text = ini.Text();
    IniFile again;
    if (!again.Parse(text)) fuzz::Broken("a document's own text does not parse");
    if (again.Text() != text) fuzz::Broken("text changed by a second reading");
    // Settings written and read back are stable from the first writing on (a line
    // break inside a value read from the file is written as a blank).
    SettingsToIni(SettingsFromIni(ini), ini);
    IniFile written;
    if (!written.Parse(ini.Text())) fuzz::Broken("settings written into a document that no longer parses");
    const Settings read = SettingsFromIni(written);
    SettingsToIni(read, written);
    IniFile again2;
    if (!again2.Parse(written.Text()) || !(SettingsFromIni(again2) == read))
      fuzz::Broken("settings not read back as written");
  } else if (!ini.Text().empty()) {
    fuzz::Broken("a refused text left a document behind");
  }
  // A key with any name and value (names without line breaks, '=', ']' or NUL).
  auto plain = [](std::string_view s) {
    return !s.empty() && s.find_first_of("\r\n=[];#\0"sv) == std::string_view::npos &&
           s.front() != ' ' && s.front() != '\t' && s.back() != ' ' && s.back() != '\t';
  };
  if (plain(section) && plain(key) && value.find('\0') == std::string_view::npos) {
    try {
      ini.Write(section, key, value);
    } catch (const IniFileError&) {
      return 0;
    }
    IniFile back;
    if (!back.Parse(ini.Text())) fuzz::Broken("a written key made the text unreadable");
    std::string expected(value);
    for (char& c : expected)
      if (c == '\r' || c == '\n') c = ' ';
    auto got = back.Read(section, key);
    if (!got) fuzz::Broken("a written key is missing");
    if (*got != expected) fuzz::Broken("a written value read back changed");
  }
  return 0;
}
