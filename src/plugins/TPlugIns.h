// The record of one registered plug-in module: the module, its kind (Big5, as the
// module answers it), its caption (converted to UTF-8) and its factory. Records are
// copied freely into strategies and selectors; the copies share the module, which
// stays loaded until the process ends.
#pragma once

#include <string>
#include <string_view>

#include "plugins/PlugInHost.h"

namespace zavuv {

// The optional settings-panel export, kept untyped here: only the views call it, with
// its real signature (a widget made under a parent widget; see sdk/zavuv_plugin.h).
using ZavuvMakePanelFn = void* (*)(void* self, void* parent);

struct TPlugIns {
  // The three kinds offered in the strategies' lists (Big5).
  static constexpr std::string_view kBetMethod = ZAVUV_KIND_BET_METHOD;   // 投注法
  static constexpr std::string_view kBetAmount = ZAVUV_KIND_BET_AMOUNT;   // 注碼法
  static constexpr std::string_view kSetup = ZAVUV_KIND_SETUP;            // 附加設定

  void* Module = nullptr;           // the loaded module, never released
  std::string PlugInType;           // Big5, as returned by the module
  std::string Description;          // UTF-8, the item's caption
  ZavuvMakeItFn MakeIt = nullptr;
  ZavuvMakePanelFn MakePanel = nullptr;   // null when the module has no panel
  std::string FileName;             // the module's file name, without the folder
  // The module exports PlugInSerialOnly answering nonzero: its components share state,
  // so strategies that use them stay on one thread.
  bool SerialOnly = false;

  bool IsBetMethod() const { return PlugInType == kBetMethod; }
  bool IsBetAmount() const { return PlugInType == kBetAmount; }
  bool IsSetup() const { return PlugInType == kSetup; }
};

}  // namespace zavuv
