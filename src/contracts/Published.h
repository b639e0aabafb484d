// Published operations: operations that a class exposes under a name, so that any
// object of the class (or of a class derived from it) can be asked for one by name
// and called with itself and a few arguments. Bet components, additional setups and
// strategies publish their operations this way; the selectors and the plug-ins drive
// them through it.
//
// Each class keeps its own name-to-operation table (a PublishedClass) and a link to
// the table of its base class. A lookup ignores the letter case of ASCII letters and
// walks from the object's own class towards the root, so the most derived class that
// publishes a name wins.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace zavuv {

class Published;
class TRoad;

// The values that travel through a published call. Text arrives as a std::string,
// a view or a null-terminated pointer (the plug-in side); objects as Published*; a
// road model as const TRoad* (a bet method handing its own history to the strategy).
using PubValue = std::variant<std::monostate, bool, char, std::int32_t, double, std::string,
                              std::string_view, const char*, Published*, const TRoad*>;
using PubArgs = std::span<const PubValue>;
using PubOperation = std::function<PubValue(Published& self, PubArgs args)>;
// A plain function that does exactly what a published operation does, for callers
// that know its signature and call it millions of times (a bet method's GetBet in a
// long back-test): no boxing of the arguments and the answer. Stored as a generic
// function pointer; the one who registers it and the one who calls it agree on the
// real type (PublishDirect's caller documents it).
using PubDirect = void (*)();

// A call that names no published operation, or passes an argument of the wrong kind.
class PublishedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PublishedClass {
 public:
  PublishedClass(std::string name, const PublishedClass* parent,
                 std::initializer_list<std::pair<std::string_view, PubOperation>> operations = {});
  PublishedClass(const PublishedClass&) = delete;
  PublishedClass& operator=(const PublishedClass&) = delete;

  const std::string& Name() const { return name_; }
  const PublishedClass* Parent() const { return parent_; }

  // Adds (or replaces) an operation of this class.
  void Publish(std::string_view name, PubOperation operation);
  // The operation this class itself publishes under the name (case ignored).
  const PubOperation* FindOwn(std::string_view name) const;
  // The operation of the most derived class, from this one up, that publishes it.
  const PubOperation* Find(std::string_view name) const;
  // Registers the plain function of this class's own operation of that name (which
  // must exist). Publishing the name again drops it.
  void PublishDirect(std::string_view name, PubDirect direct);
  // The plain function of the operation Find gives, or null.
  PubDirect FindDirect(std::string_view name) const;
  // Names this class itself publishes, in publishing order.
  std::vector<std::string> OwnNames() const;
  // True when this class is the other one or derives from it.
  bool InheritsFrom(const PublishedClass& other) const;

 private:
  struct Entry {
    std::string name;
    PubOperation operation;
    PubDirect direct = nullptr;
  };
  const Entry* FindEntry(std::string_view name) const;
  std::string name_;
  const PublishedClass* parent_;
  std::vector<Entry> operations_;
};

// The root of every class that publishes operations.
class Published {
 public:
  virtual ~Published() = default;
  static const PublishedClass& StaticClass();
  virtual const PublishedClass& ClassInfo() const { return StaticClass(); }
};

// The operation that the object answers to under the name, or null.
const PubOperation* FindPublished(const Published& object, std::string_view name);
// Calls the named operation on the object; an unknown name is a PublishedError.
PubValue CallPublished(Published& object, std::string_view name, std::initializer_list<PubValue> args = {});

// A call site for one operation name. It remembers what the name resolved to for the
// class it last saw, so a call repeated on objects of one class costs no lookup; the
// answer is the same as a fresh lookup, since a class's table does not change while
// objects of it are in use.
class PublishedCall {
 public:
  explicit PublishedCall(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }
  // The operation for this object, or null when it publishes none under the name.
  const PubOperation* Resolve(const Published& object);
  // The same for an object of that class (a caller that knows it saves the virtual
  // ClassInfo call).
  const PubOperation* Resolve(const PublishedClass& info) {
    if (&info != class_) Rebind(info);
    return operation_;
  }
  // The plain function of the operation last resolved, or null.
  PubDirect Direct() const { return direct_; }
  // Calls it; an unknown name is a PublishedError.
  PubValue operator()(Published& object, std::initializer_list<PubValue> args = {});

 private:
  void Rebind(const PublishedClass& info);
  std::string name_;
  const PublishedClass* class_ = nullptr;
  const PubOperation* operation_ = nullptr;
  PubDirect direct_ = nullptr;
};

// Reading arguments. A missing argument or one of another kind is a PublishedError
// that names the position.
char ArgChar(PubArgs args, std::size_t i);
std::int32_t ArgInt(PubArgs args, std::size_t i);
double ArgReal(PubArgs args, std::size_t i);
bool ArgBool(PubArgs args, std::size_t i);
std::string_view ArgText(PubArgs args, std::size_t i);   // string, view or char pointer
Published* ArgObject(PubArgs args, std::size_t i);
// The object argument as T (a class with a StaticClass()), checked against T's table.
template <class T>
T& ArgAs(PubArgs args, std::size_t i) {
  Published* object = ArgObject(args, i);
  if (!object || !object->ClassInfo().InheritsFrom(T::StaticClass()))
    throw PublishedError("第 " + std::to_string(i + 1) + " 個參數不是 " + T::StaticClass().Name());
  return static_cast<T&>(*object);
}

// Reading results: a result of no value (or another kind) reads as the default.
char ResultChar(const PubValue& v, char fallback = ' ');
std::int32_t ResultInt(const PubValue& v);
double ResultReal(const PubValue& v);
bool ResultBool(const PubValue& v);
std::string_view ResultText(const PubValue& v);

}  // namespace zavuv
