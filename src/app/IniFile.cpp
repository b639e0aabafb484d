#include "app/IniFile.h"

#include <fstream>

#include "table/FileIo.h"
#include "table/Table.h"

namespace zavuv {

namespace {

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string Unquote(std::string_view value) {
  value = TrimSpaces(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string Quote(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  bool needs = !v.empty() && (IsSpace(v.front()) || IsSpace(v.back()) ||
                              (v.size() >= 2 && v.front() == '"' && v.back() == '"'));
  return needs ? "\"" + v + "\"" : v;
}

std::string Clean(std::string_view name) {
  std::string n(TrimSpaces(name));
  for (char& c : n)
    if (c == '\r' || c == '\n' || c == '=' || c == '[' || c == ']') c = ' ';
  return std::string(TrimSpaces(n));
}

}  // namespace

IniFile::LoadStatus IniFile::Load(const std::filesystem::path& path) {
  preamble_.clear();
  sections_.clear();
  std::error_code ec;
  auto state = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(state)) return LoadStatus::Missing;
  if (!std::filesystem::is_regular_file(state)) return LoadStatus::Unreadable;
  std::ifstream in(path, std::ios::binary);
  if (!in) return LoadStatus::Unreadable;
  std::string text;
  char buf[8192];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    text.append(buf, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) return LoadStatus::Damaged;
  }
  if (in.bad()) return LoadStatus::Unreadable;
  return Parse(text) ? LoadStatus::Loaded : LoadStatus::Damaged;
}

bool IniFile::Parse(std::string_view text) {
  preamble_.clear();
  sections_.clear();
  if (text.find('\0') != std::string_view::npos) return false;
  // A UTF-8 byte order mark is not part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    // Every CR before the line end goes (a file saved twice through CR LF conversions
    // may end its lines in CR CR LF), so that the text written back reads the same.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view t = TrimSpaces(line);
    auto& lines = sections_.empty() ? preamble_ : sections_.back().lines;
    if (t.empty() || t.front() == ';' || t.front() == '#') {
      lines.push_back({std::string(line), {}, {}});
    } else if (t.front() == '[' && t.find(']') != std::string_view::npos) {
      sections_.push_back({std::string(line), std::string(TrimSpaces(t.substr(1, t.find(']') - 1))), {}});
    } else if (std::size_t eq = t.find('='); eq != std::string_view::npos && !TrimSpaces(t.substr(0, eq)).empty()) {
      lines.push_back({std::string(line), std::string(TrimSpaces(t.substr(0, eq))), std::string(t.substr(eq + 1))});
    } else {
      // A stray line (neither a section, a key nor a comment) is no setting; it stays
      // where it is, as a comment would.
      lines.push_back({std::string(line), {}, {}});
    }
  }
  return true;
}

IniFile::Section* IniFile::Find(std::string_view section) {
  for (auto& s : sections_)
    if (EqualNoCase(s.name, section)) return &s;
  return nullptr;
}

const IniFile::Section* IniFile::Find(std::string_view section) const {
  return const_cast<IniFile*>(this)->Find(section);
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  for (const auto& l : s->lines)
    if (!l.key.empty() && EqualNoCase(l.key, key)) return Unquote(l.value);
  return std::nullopt;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  std::string name = Clean(section), k = Clean(key);
  if (k.empty()) throw IniFileError("INI 鍵名不能空白");
  Section* s = Find(name);
  if (!s) {
    sections_.push_back({"[" + name + "]", name, {}});
    s = &sections_.back();
  }
  for (auto& l : s->lines)
    if (!l.key.empty() && EqualNoCase(l.key, k)) {
      l.value = Quote(value);
      l.raw = l.key + "=" + l.value;
      return;
    }
  // A new key goes after the section's last key, ahead of the blank lines that
  // separate it from the next section.
  auto at = s->lines.end();
  while (at != s->lines.begin() && std::prev(at)->key.empty() && TrimSpaces(std::prev(at)->raw).empty()) --at;
  std::string v = Quote(value);
  s->lines.insert(at, {k + "=" + v, k, v});
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  Section* s = Find(section);
  if (!s) return;
  std::erase_if(s->lines, [&](const Line& l) { return !l.key.empty() && EqualNoCase(l.key, key); });
}

std::string IniFile::Text() const {
  std::string out;
  auto put = [&](const std::vector<Line>& lines) {
    for (const auto& l : lines) out += l.raw + "\n";
  };
  put(preamble_);
  for (const auto& s : sections_) {
    out += s.header + "\n";
    put(s.lines);
  }
  return out;
}

void IniFile::Save(const std::filesystem::path& path) const {
  // The save every other file takes (a temporary file renamed over the target, a
  // symbolic link followed), but the file is the owner's alone whatever it was before:
  // it holds a scrambled password and a proxy password in clear.
  try {
    WritePrivateFileReplacing(path.string(), Text());
  } catch (const TableError& e) {
    throw IniFileError(e.what());
  }
}

}  // namespace zavuv
