// zavuv plug-in interface: C++ helpers over zavuv_plugin.h (header only).
//
// Derive a class from zavuv_sdk::BetComponent (a bet method or a bet amount method)
// or from zavuv_sdk::AdditionalSetup, override what it needs, and export the module
// with one line:
//
//   ZAVUV_PLUGIN(MyMethod, ZAVUV_KIND_BET_METHOD, "\xb8\xf2...")   // Big5 caption
//
// and, in the desktop build, its settings panel with another:
//
//   ZAVUV_PLUGIN_PANEL(MyMethod, MakeMyPanel)   // QWidget* MakeMyPanel(MyMethod&, QWidget*)
//
// The helpers turn the class into the C tables the program expects, keep C++
// exceptions inside the module (an exception that leaves an operation becomes an
// error that ends the run, with its message) and read the strategy's variables.
#ifndef ZAVUV_PLUGIN_HPP
#define ZAVUV_PLUGIN_HPP

#include <charconv>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>

#include "zavuv_plugin.h"

namespace zavuv_sdk {

// The strategy that calls a component, valid during that call only. Every call goes
// to the program's published operation of the same name.
class Strategy {
 public:
  Strategy(const ZavuvHost* host, ZavuvStrategy* strategy) : host_(host), strategy_(strategy) {}

  void Suspend() const { host_->Suspend(strategy_); }
  void Resume() const { host_->Resume(strategy_); }
  std::string_view GetAnalysisRoad(const char* results) const {
    const char* road = host_->GetAnalysisRoad(strategy_, results);
    return road ? std::string_view(road) : std::string_view();
  }
  char GetPredict(char side) const { return host_->GetPredict(strategy_, side); }

  char GetCharVar(const char* name) const { return host_->GetCharVar(strategy_, name); }
  void SetCharVar(const char* name, char value) const { host_->SetCharVar(strategy_, name, value); }
  std::string_view GetPCharVar(const char* name) const {
    const char* text = host_->GetPCharVar(strategy_, name);
    return text ? std::string_view(text) : std::string_view();
  }
  void SetPCharVar(const char* name, const char* value) const { host_->SetPCharVar(strategy_, name, value); }
  std::int32_t GetIntVar(const char* name) const { return host_->GetIntVar(strategy_, name); }
  void SetIntVar(const char* name, std::int32_t value) const { host_->SetIntVar(strategy_, name, value); }
  double GetRealVar(const char* name) const { return host_->GetRealVar(strategy_, name); }
  void SetRealVar(const char* name, double value) const { host_->SetRealVar(strategy_, name, value); }

  // The pending error of the last failed call, or null; ClearError goes on after it.
  const char* PendingError() const { return host_->PendingError(); }
  void ClearError() const { host_->ClearError(); }

  const ZavuvHost* Host() const { return host_; }
  ZavuvStrategy* Handle() const { return strategy_; }

 private:
  const ZavuvHost* host_;
  ZavuvStrategy* strategy_;
};

// What both kinds of component share: the host and the settings.
class Component {
 public:
  virtual ~Component() = default;

  // One setting by name (text as in a strategy file); false refuses it.
  virtual bool SetSetting(std::string_view /*name*/, std::string_view /*value*/) { return false; }
  // Every setting as "name=value" lines, each ended by "\n".
  virtual std::string GetSettings() const { return {}; }

  const ZavuvHost* Host() const { return host_; }

  // Reads a whole number within limits; false when the text is not one.
  static bool ParseInt(std::string_view text, long long min, long long max, std::int32_t& out) {
    long long v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || v < min || v > max) return false;
    out = static_cast<std::int32_t>(v);
    return true;
  }

 private:
  template <class T>
  friend int Make(const ZavuvHost* host, ZavuvComponent* component);
  friend struct Access;
  const ZavuvHost* host_ = nullptr;
  std::string settingsText_;
};

// A bet method (answers GetBet) or a bet amount method (answers GetBetAmount).
class BetComponent : public Component {
 public:
  virtual void Prepare() {}
  virtual void Restart() {}
  virtual void Finish() {}
  virtual char GetBet(Strategy& /*strategy*/) { return ' '; }
  virtual std::int32_t GetBetAmount(Strategy& /*strategy*/) { return 0; }
  virtual void AddGameResult(char /*result*/) {}
};

// An additional setup: the seven hooks.
class AdditionalSetup : public Component {
 public:
  virtual void Prepare() {}
  virtual void NewShoe(Strategy& /*strategy*/) {}
  virtual void BeforeAnalysisGame(Strategy& /*strategy*/) {}
  virtual void AfterGetBet(Strategy& /*strategy*/) {}
  virtual void AfterGetBetAmount(Strategy& /*strategy*/) {}
  virtual void AfterCalProfit(Strategy& /*strategy*/) {}
  virtual void AfterMakeRecord(Strategy& /*strategy*/) {}
};

// The component behind a `self` pointer that MakeIt handed out.
template <class T>
T* ComponentOf(void* self) {
  return static_cast<T*>(static_cast<Component*>(self));
}

struct Access {
  static const ZavuvHost* Host(void* self) { return static_cast<Component*>(self)->host_; }
  static std::string& SettingsText(void* self) { return static_cast<Component*>(self)->settingsText_; }

  // Runs one operation; an exception that leaves it becomes the host's pending error.
  template <class R, class F>
  static R Guard(void* self, R fallback, F&& f) {
    const ZavuvHost* host = Host(self);
    try {
      return f();
    } catch (const std::exception& e) {
      host->RaiseError(e.what());
    } catch (...) {
      host->RaiseError("plug-in error");
    }
    return fallback;
  }
};

namespace detail {

template <class T>
T& Self(void* self) {
  return *ComponentOf<T>(self);
}

inline Strategy Wrap(void* self, ZavuvStrategy* s) { return Strategy(Access::Host(self), s); }

template <class T>
void FillCommon(ZavuvComponent* c) {
  c->Free = [](void* self) { delete ComponentOf<T>(self); };
  c->SetSetting = [](void* self, const char* name, const char* value) -> int {
    return Access::Guard(self, 0, [&] {
      return Self<T>(self).SetSetting(name ? name : "", value ? value : "") ? 1 : 0;
    });
  };
  c->GetSettings = [](void* self) -> const char* {
    return Access::Guard(self, static_cast<const char*>(""), [&] {
      std::string& text = Access::SettingsText(self);
      text = Self<T>(self).GetSettings();
      return text.c_str();
    });
  };
}

template <class T>
void FillBet(ZavuvComponent* c) {
  c->Prepare = [](void* self) { Access::Guard(self, 0, [&] { return Self<T>(self).Prepare(), 0; }); };
  c->Restart = [](void* self) { Access::Guard(self, 0, [&] { return Self<T>(self).Restart(), 0; }); };
  c->Finish = [](void* self) { Access::Guard(self, 0, [&] { return Self<T>(self).Finish(), 0; }); };
  c->GetBet = [](void* self, ZavuvStrategy* s) -> char {
    return Access::Guard(self, ' ', [&] {
      Strategy strategy = Wrap(self, s);
      return Self<T>(self).GetBet(strategy);
    });
  };
  c->GetBetAmount = [](void* self, ZavuvStrategy* s) -> std::int32_t {
    return Access::Guard(self, std::int32_t{0}, [&] {
      Strategy strategy = Wrap(self, s);
      return Self<T>(self).GetBetAmount(strategy);
    });
  };
  c->AddGameResult = [](void* self, char result) {
    Access::Guard(self, 0, [&] { return Self<T>(self).AddGameResult(result), 0; });
  };
}

#define ZAVUV_SDK_HOOK(Name)                                             \
  c->Name = [](void* self, ZavuvStrategy* s) {                           \
    Access::Guard(self, 0, [&] {                                         \
      Strategy strategy = Wrap(self, s);                                 \
      return Self<T>(self).Name(strategy), 0;                            \
    });                                                                  \
  };

template <class T>
void FillSetup(ZavuvComponent* c) {
  c->Prepare = [](void* self) { Access::Guard(self, 0, [&] { return Self<T>(self).Prepare(), 0; }); };
  ZAVUV_SDK_HOOK(NewShoe)
  ZAVUV_SDK_HOOK(BeforeAnalysisGame)
  ZAVUV_SDK_HOOK(AfterGetBet)
  ZAVUV_SDK_HOOK(AfterGetBetAmount)
  ZAVUV_SDK_HOOK(AfterCalProfit)
  ZAVUV_SDK_HOOK(AfterMakeRecord)
}

#undef ZAVUV_SDK_HOOK

}  // namespace detail

// The body of MakeIt: a new T, default-constructed, in `component`.
template <class T>
int Make(const ZavuvHost* host, ZavuvComponent* component) {
  static_assert(std::is_base_of_v<BetComponent, T> || std::is_base_of_v<AdditionalSetup, T>,
                "a component derives from zavuv_sdk::BetComponent or zavuv_sdk::AdditionalSetup");
  if (!host || !component || host->abi_version != ZAVUV_PLUGIN_ABI_VERSION ||
      component->size < sizeof(ZavuvComponent))
    return 0;
  T* made = new (std::nothrow) T();
  if (!made) return 0;
  static_cast<Component*>(made)->host_ = host;
  component->self = static_cast<Component*>(made);
  detail::FillCommon<T>(component);
  if constexpr (std::is_base_of_v<BetComponent, T>)
    detail::FillBet<T>(component);
  else
    detail::FillSetup<T>(component);
  return 1;
}

}  // namespace zavuv_sdk

// The four exports of a module that makes components of class Class. KIND is one of
// ZAVUV_KIND_BET_METHOD, ZAVUV_KIND_BET_AMOUNT, ZAVUV_KIND_SETUP; DESCRIPTION is the
// Big5 caption.
#define ZAVUV_PLUGIN(Class, KIND, DESCRIPTION)                                                     \
  ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }               \
  ZAVUV_EXPORT const char* PlugInType(void) { return KIND; }                                       \
  ZAVUV_EXPORT const char* Description(void) { return DESCRIPTION; }                               \
  ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) {                      \
    try {                                                                                          \
      return ::zavuv_sdk::Make<Class>(host, component);                                            \
    } catch (...) {                                                                                \
      return 0;                                                                                    \
    }                                                                                              \
  }

// The optional export of a module whose components share state and so must all run
// on one thread (see "Threads" in zavuv_plugin.h).
#define ZAVUV_PLUGIN_SERIAL_ONLY() \
  ZAVUV_EXPORT int PlugInSerialOnly(void) { return 1; }

// The settings panel export (desktop build only; include <QWidget> first). FUNCTION is
// QWidget* FUNCTION(Class& component, QWidget* parent); the panel may keep a
// reference to the component: the program deletes the panel first.
#define ZAVUV_PLUGIN_PANEL(Class, FUNCTION)                                                        \
  ZAVUV_EXPORT QWidget* MakePanel(void* self, QWidget* parent) {                                   \
    try {                                                                                          \
      return self ? FUNCTION(*::zavuv_sdk::ComponentOf<Class>(self), parent) : nullptr;            \
    } catch (...) {                                                                                \
      return nullptr;                                                                              \
    }                                                                                              \
  }

#endif  // ZAVUV_PLUGIN_HPP
