#include "net/CommaText.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "net/Protocol.h"
#include "table/ClientDataSet.h"

namespace zavuv::net {

namespace {

bool NeedsQuotes(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
  return false;
}

bool IsBlank(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

}  // namespace

std::string EncodeCommaText(const StringList& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) out += ',';
    const std::string& s = items[i];
    if (!NeedsQuotes(s)) {
      out += s;
      continue;
    }
    out += '"';
    for (char c : s) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

StringList DecodeCommaText(std::string_view text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  StringList items;
  std::size_t p = 0, n = text.size();
  while (p < n && IsBlank(text[p])) ++p;
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      std::size_t s = p;
      while (p < n && static_cast<unsigned char>(text[p]) > 32 && text[p] != ',') ++p;
      item.assign(text.substr(s, p - s));
    }
    items.push_back(std::move(item));
    while (p < n && IsBlank(text[p])) ++p;
    if (p < n && text[p] == ',') {
      if (p + 1 == n) items.emplace_back();
      ++p;
      while (p < n && IsBlank(text[p])) ++p;
    }
  }
  return items;
}

std::string EncodeLines(std::string_view text) {
  StringList lines;
  std::string line;
  bool open = false;   // a line has begun since the last break
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    std::size_t breakLen = 0;
    if (c == '\r') breakLen = (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    else if (c == '\n') breakLen = 1;
    else if (c == '\xE2' && text.substr(i, 3) == "\xE2\x80\xA8") breakLen = 3;
    if (breakLen) {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
      i += breakLen - 1;
      continue;
    }
    line += c;
    open = true;
  }
  if (open) lines.push_back(std::move(line));
  return EncodeCommaText(lines);
}

std::string DecodeLines(std::string_view commaText) {
  std::string out;
  for (const std::string& item : DecodeCommaText(commaText)) {
    out += item;
    out += "\r\n";
  }
  return out;
}

std::string EncodeRecord(const RecordFields& fields) {
  StringList items;
  items.reserve(fields.size());
  for (const auto& [name, value] : fields) items.push_back(name + "=" + EncodeLines(value));
  return EncodeCommaText(items);
}

std::string RecordValue(const StringList& items, std::string_view name) {
  for (const std::string& item : items) {
    std::size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    if (EqualNoCase(std::string_view(item).substr(0, eq), name)) return item.substr(eq + 1);
  }
  return {};
}

std::string RecordText(const StringList& items, std::string_view name) {
  std::string text = DecodeLines(RecordValue(items, name));
  if (text.size() >= 2) text.resize(text.size() - 2);
  return text;
}

namespace {

// Days since 1899-12-30 of a proleptic Gregorian date.
double DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long days1970 = static_cast<long>(era) * 146097 + doe - 719468;
  return static_cast<double>(days1970 + 25569);
}

// "YYYY/MM/DD" or "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS".
bool ParseDate(std::string_view s, double& out) {
  int v[6] = {0, 0, 0, 0, 0, 0};
  std::size_t p = 0;
  auto number = [&](int& into, std::size_t minDigits, std::size_t maxDigits) {
    std::size_t b = p;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9' && p - b < maxDigits) ++p;
    if (p - b < minDigits) return false;
    into = 0;
    for (std::size_t i = b; i < p; ++i) into = into * 10 + (s[i] - '0');
    return true;
  };
  if (!number(v[0], 4, 4)) return false;
  char sep = p < s.size() ? s[p] : 0;
  if (sep != '/' && sep != '-') return false;
  ++p;
  if (!number(v[1], 1, 2) || p >= s.size() || s[p] != sep) return false;
  ++p;
  if (!number(v[2], 1, 2)) return false;
  if (p < s.size()) {
    if (s[p] != ' ' && s[p] != 'T') return false;
    ++p;
    if (!number(v[3], 1, 2) || p >= s.size() || s[p] != ':') return false;
    ++p;
    if (!number(v[4], 2, 2)) return false;
    if (p < s.size()) {
      if (s[p] != ':') return false;
      ++p;
      if (!number(v[5], 2, 2)) return false;
    }
    if (p != s.size()) return false;
  }
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > kDays[v[1] - 1]) return false;
  bool leap = (v[0] % 4 == 0 && v[0] % 100 != 0) || v[0] % 400 == 0;
  if (v[1] == 2 && v[2] == 29 && !leap) return false;
  if (v[3] > 23 || v[4] > 59 || v[5] > 59) return false;
  out = DaysFromCivil(v[0], v[1], v[2]) + (v[3] * 3600 + v[4] * 60 + v[5]) / 86400.0;
  return true;
}

// Converts decoded text to a field's value; null when the type cannot take it.
// Blanks and line breaks around a number, date or boolean are tolerated.
Value Convert(const FieldDef& field, std::string text) {
  switch (field.type) {
    case FieldType::String:
    case FieldType::Memo:
      if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
      return text;
    default:
      break;
  }
  std::string_view s = TrimBlanks(text);
  if (s.empty()) return {};
  switch (field.type) {
    case FieldType::Integer: {
      std::string_view digits = s.front() == '+' ? s.substr(1) : s;
      std::int32_t v = 0;
      auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
      if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) return {};
      return v;
    }
    case FieldType::Float: {
      std::string copy(s);
      char* end = nullptr;
      errno = 0;
      double v = std::strtod(copy.c_str(), &end);
      if (end != copy.c_str() + copy.size() || errno == ERANGE || !std::isfinite(v)) return {};
      // strtod takes hexadecimal and "inf"/"nan"; plain decimal notation only.
      if (copy.find_first_of("xXnNiI") != std::string::npos) return {};
      return v;
    }
    case FieldType::DateTime: {
      double d;
      if (!ParseDate(s, d)) return {};
      return d;
    }
    case FieldType::Boolean: {
      std::string u = UpperAscii(s);
      if (u == "TRUE" || u == "1") return true;
      if (u == "FALSE" || u == "0") return false;
      return {};
    }
    default:
      return {};
  }
}

}  // namespace

void AppendRecord(ClientDataSet& table, const StringList& items) {
  table.Append();
  try {
    for (int f = 0; f < table.FieldCount(); ++f) {
      const FieldDef& field = table.Fields()[f];
      if (!field.visible || field.computed) continue;
      table.SetFieldValue(f, Convert(field, DecodeLines(RecordValue(items, field.name))));
    }
    table.Post();
  } catch (...) {
    if (table.State() != DataSetState::Browse) table.Cancel();
    throw;
  }
}

}  // namespace zavuv::net
