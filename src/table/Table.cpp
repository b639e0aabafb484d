#include "table/Table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zavuv {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::int32_t AsInteger(const Value& v) {
  if (auto i = std::get_if<std::int32_t>(&v)) return *i;
  if (auto d = std::get_if<double>(&v)) {
    if (!std::isfinite(*d)) return 0;
    double r = std::nearbyint(*d);
    if (r > 2147483647.0) return INT32_MAX;
    if (r < -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(r);
  }
  if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto s = std::get_if<std::string>(&v)) {
    std::string_view t = Trim(*s);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    std::int32_t out = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
    if (ec != std::errc() || p != t.data() + t.size()) return 0;
    return out;
  }
  return 0;
}

double AsFloat(const Value& v) {
  if (auto d = std::get_if<double>(&v)) return *d;
  if (auto i = std::get_if<std::int32_t>(&v)) return *i;
  if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto s = std::get_if<std::string>(&v)) {
    std::string t(Trim(*s));
    if (t.empty()) return 0;
    char* end = nullptr;
    double d = std::strtod(t.c_str(), &end);
    return (end && *end == '\0') ? d : 0;
  }
  return 0;
}

std::string AsString(const Value& v) {
  if (auto s = std::get_if<std::string>(&v)) return *s;
  if (auto i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
  if (auto d = std::get_if<double>(&v)) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", *d);
    return buf;
  }
  if (auto b = std::get_if<bool>(&v)) return *b ? "True" : "False";
  return {};
}

bool AsBoolean(const Value& v) {
  if (auto b = std::get_if<bool>(&v)) return *b;
  if (auto i = std::get_if<std::int32_t>(&v)) return *i != 0;
  if (auto d = std::get_if<double>(&v)) return *d != 0;
  if (auto s = std::get_if<std::string>(&v)) return EqualNoCase(Trim(*s), "true") || Trim(*s) == "1";
  return false;
}

std::string CutBig5(std::string_view text, std::size_t max) {
  if (text.size() <= max) return std::string(text);
  // Walk the characters: a byte from 0x81 to 0xFE starts a double-byte character.
  std::size_t i = 0;
  while (i < max) {
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t width = (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
    if (i + width > max) break;
    i += width;
  }
  return std::string(text.substr(0, i));
}

Table::Table(std::vector<FieldDef> fields) : fields_(std::move(fields)) {}

Table::~Table() = default;

int Table::FindField(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (EqualNoCase(fields_[i].name, name)) return static_cast<int>(i);
  return -1;
}

int Table::FieldIndex(std::string_view name) const {
  int i = FindField(name);
  if (i < 0) throw TableError("找不到欄位: " + std::string(name));
  return i;
}

void Table::First() {
  BeforeMove();
  row_ = 0;
  eof_ = bof_ = false;
  NotifyCursor();
  DoAfterScroll();
}

void Table::Last() {
  BeforeMove();
  row_ = std::max(0, RecordCount() - 1);
  eof_ = bof_ = false;
  NotifyCursor();
  DoAfterScroll();
}

void Table::Next() { MoveBy(1); }
void Table::Prior() { MoveBy(-1); }

int Table::MoveBy(int distance) {
  BeforeMove();
  int count = RecordCount();
  if (count == 0) return 0;
  int target = row_ + distance;
  eof_ = bof_ = false;
  if (target >= count) { target = count - 1; eof_ = true; }
  if (target < 0) { target = 0; bof_ = true; }
  int moved = target - row_;
  row_ = target;
  if (moved != 0) {
    NotifyCursor();
    DoAfterScroll();
  }
  return moved;
}

void Table::GotoRow(int row) {
  BeforeMove();
  int count = RecordCount();
  row_ = std::clamp(row, 0, std::max(0, count - 1));
  eof_ = bof_ = false;
  NotifyCursor();
  DoAfterScroll();
}

Value Table::FieldValue(std::string_view name) const { return FieldValue(FieldIndex(name)); }

Value Table::FieldValue(int field) const {
  if (IsEmpty()) return Value{};
  return GetValue(row_, field);
}

void Table::DoAfterScroll() {
  if (AfterScroll) AfterScroll();
}

void Table::AddObserver(TableObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void Table::RemoveObserver(TableObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Table::DisableControls() { ++disabled_; }

void Table::EnableControls() {
  if (disabled_ > 0 && --disabled_ == 0) NotifyReset();
}

// Observers may detach themselves while being told, so walk a copy.
#define ZAVUV_NOTIFY(call)                                   \
  if (disabled_ > 0) return;                                 \
  auto observers = observers_;                               \
  for (TableObserver* o : observers) o->call;

void Table::NotifyReset() { ZAVUV_NOTIFY(TableReset()) }
void Table::NotifyInserted(int first, int count) { ZAVUV_NOTIFY(RowsInserted(first, count)) }
void Table::NotifyRemoved(int first, int count) { ZAVUV_NOTIFY(RowsRemoved(first, count)) }
void Table::NotifyChanged(int row) { ZAVUV_NOTIFY(RowChanged(row)) }
void Table::NotifyCursor() { ZAVUV_NOTIFY(CursorMoved(CurrentRow())) }
void Table::NotifyState() { ZAVUV_NOTIFY(StateChanged()) }

#undef ZAVUV_NOTIFY

}  // namespace zavuv
