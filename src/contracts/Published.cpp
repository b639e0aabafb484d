#include "contracts/Published.h"

#include "table/Table.h"

namespace zavuv {

namespace {

const PubValue& Arg(PubArgs args, std::size_t i) {
  if (i >= args.size())
    throw PublishedError("缺少第 " + std::to_string(i + 1) + " 個參數");
  return args[i];
}

[[noreturn]] void WrongKind(std::size_t i, const char* want) {
  throw PublishedError("第 " + std::to_string(i + 1) + " 個參數不是" + want);
}

}  // namespace

PublishedClass::PublishedClass(std::string name, const PublishedClass* parent,
                               std::initializer_list<std::pair<std::string_view, PubOperation>> operations)
    : name_(std::move(name)), parent_(parent) {
  for (const auto& [opName, op] : operations) Publish(opName, op);
}

void PublishedClass::Publish(std::string_view name, PubOperation operation) {
  for (Entry& entry : operations_)
    if (EqualNoCase(entry.name, name)) {
      entry.operation = std::move(operation);
      entry.direct = nullptr;   // it did what the replaced operation did
      return;
    }
  operations_.push_back(Entry{std::string(name), std::move(operation)});
}

void PublishedClass::PublishDirect(std::string_view name, PubDirect direct) {
  for (Entry& entry : operations_)
    if (EqualNoCase(entry.name, name)) {
      entry.direct = direct;
      return;
    }
  throw PublishedError(name_ + " 沒有公開的操作 " + std::string(name));
}

const PubOperation* PublishedClass::FindOwn(std::string_view name) const {
  for (const Entry& entry : operations_)
    if (EqualNoCase(entry.name, name)) return &entry.operation;
  return nullptr;
}

const PublishedClass::Entry* PublishedClass::FindEntry(std::string_view name) const {
  for (const PublishedClass* c = this; c; c = c->parent_)
    for (const Entry& entry : c->operations_)
      if (EqualNoCase(entry.name, name)) return &entry;
  return nullptr;
}

const PubOperation* PublishedClass::Find(std::string_view name) const {
  const Entry* entry = FindEntry(name);
  return entry ? &entry->operation : nullptr;
}

PubDirect PublishedClass::FindDirect(std::string_view name) const {
  const Entry* entry = FindEntry(name);
  return entry ? entry->direct : nullptr;
}

std::vector<std::string> PublishedClass::OwnNames() const {
  std::vector<std::string> names;
  for (const Entry& entry : operations_) names.push_back(entry.name);
  return names;
}

bool PublishedClass::InheritsFrom(const PublishedClass& other) const {
  for (const PublishedClass* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

const PublishedClass& Published::StaticClass() {
  static const PublishedClass info("Published", nullptr);
  return info;
}

const PubOperation* FindPublished(const Published& object, std::string_view name) {
  return object.ClassInfo().Find(name);
}

PubValue CallPublished(Published& object, std::string_view name, std::initializer_list<PubValue> args) {
  const PubOperation* op = FindPublished(object, name);
  if (!op) throw PublishedError(object.ClassInfo().Name() + " 沒有公開的操作 " + std::string(name));
  return (*op)(object, PubArgs(args.begin(), args.size()));
}

const PubOperation* PublishedCall::Resolve(const Published& object) { return Resolve(object.ClassInfo()); }

void PublishedCall::Rebind(const PublishedClass& info) {
  class_ = &info;
  operation_ = info.Find(name_);
  direct_ = info.FindDirect(name_);
}

PubValue PublishedCall::operator()(Published& object, std::initializer_list<PubValue> args) {
  const PubOperation* op = Resolve(object);
  if (!op) throw PublishedError(object.ClassInfo().Name() + " 沒有公開的操作 " + name_);
  return (*op)(object, PubArgs(args.begin(), args.size()));
}

char ArgChar(PubArgs args, std::size_t i) {
  const PubValue& v = Arg(args, i);
  if (auto c = std::get_if<char>(&v)) return *c;
  // A one-character text is taken as the character.
  std::string_view text;
  if (auto s = std::get_if<std::string>(&v)) text = *s;
  else if (auto s = std::get_if<std::string_view>(&v)) text = *s;
  if (text.size() == 1) return text[0];
  WrongKind(i, "字元");
}

std::int32_t ArgInt(PubArgs args, std::size_t i) {
  const PubValue& v = Arg(args, i);
  if (auto n = std::get_if<std::int32_t>(&v)) return *n;
  WrongKind(i, "整數");
}

double ArgReal(PubArgs args, std::size_t i) {
  const PubValue& v = Arg(args, i);
  if (auto d = std::get_if<double>(&v)) return *d;
  if (auto n = std::get_if<std::int32_t>(&v)) return *n;
  WrongKind(i, "數字");
}

bool ArgBool(PubArgs args, std::size_t i) {
  const PubValue& v = Arg(args, i);
  if (auto b = std::get_if<bool>(&v)) return *b;
  WrongKind(i, "真假值");
}

std::string_view ArgText(PubArgs args, std::size_t i) {
  const PubValue& v = Arg(args, i);
  if (auto s = std::get_if<std::string>(&v)) return *s;
  if (auto s = std::get_if<std::string_view>(&v)) return *s;
  if (auto s = std::get_if<const char*>(&v)) return *s ? std::string_view(*s) : std::string_view();
  WrongKind(i, "文字");
}

Published* ArgObject(PubArgs args, std::size_t i) {
  const PubValue& v = Arg(args, i);
  if (auto o = std::get_if<Published*>(&v)) return *o;
  WrongKind(i, "物件");
}

char ResultChar(const PubValue& v, char fallback) {
  if (auto c = std::get_if<char>(&v)) return *c;
  return fallback;
}

std::int32_t ResultInt(const PubValue& v) {
  if (auto n = std::get_if<std::int32_t>(&v)) return *n;
  return 0;
}

double ResultReal(const PubValue& v) {
  if (auto d = std::get_if<double>(&v)) return *d;
  if (auto n = std::get_if<std::int32_t>(&v)) return *n;
  return 0;
}

bool ResultBool(const PubValue& v) {
  if (auto b = std::get_if<bool>(&v)) return *b;
  return false;
}

std::string_view ResultText(const PubValue& v) {
  if (auto s = std::get_if<std::string>(&v)) return *s;
  if (auto s = std::get_if<std::string_view>(&v)) return *s;
  if (auto s = std::get_if<const char*>(&v)) return *s ? std::string_view(*s) : std::string_view();
  return {};
}

}  // namespace zavuv
