/* Small plug-in modules for the loader tests, written in plain C against the public
 * header. Each variant is built as its own BA*.so (tests/plugins/CMakeLists.txt
 * picks it with one definition). */
#include <stddef.h>

#include "zavuv_plugin.h"

static inline int MakeNothing(const ZavuvHost* host, ZavuvComponent* component) {
  (void)host;
  (void)component;
  return 0;
}

#if defined(NO_TYPE)
/* Everything but PlugInType. */
ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* Description(void) { return "no type"; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) { return MakeNothing(host, component); }

#elif defined(NO_MAKEIT)
ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* PlugInType(void) { return ZAVUV_KIND_BET_METHOD; }
ZAVUV_EXPORT const char* Description(void) { return "no MakeIt"; }

#elif defined(EMPTY_DESCRIPTION)
ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* PlugInType(void) { return ZAVUV_KIND_BET_METHOD; }
ZAVUV_EXPORT const char* Description(void) { return ""; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) { return MakeNothing(host, component); }

#elif defined(OTHER_VERSION)
/* Built against an interface the program does not speak. */
ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return 999u; }
ZAVUV_EXPORT const char* PlugInType(void) { return ZAVUV_KIND_BET_METHOD; }
ZAVUV_EXPORT const char* Description(void) { return "other version"; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) { return MakeNothing(host, component); }

#elif defined(FOREIGN)
/* A shared library that is no plug-in at all. */
ZAVUV_EXPORT int ForeignAnswer(void) { return 42; }

#elif defined(OTHER_KIND)
/* A kind no list offers: registered, never offered. "其他" in Big5. */
ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* PlugInType(void) { return "\xa8\xe4\xa5\x4c"; }
ZAVUV_EXPORT const char* Description(void) { return "other kind"; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) { return MakeNothing(host, component); }

#elif defined(NOTHING)
/* A bet amount method whose MakeIt makes nothing. */
ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* PlugInType(void) { return ZAVUV_KIND_BET_AMOUNT; }
ZAVUV_EXPORT const char* Description(void) { return "makes nothing"; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) { return MakeNothing(host, component); }

#elif defined(C_METHOD)
/* A bet method that offers GetBet and nothing else (no Free either: it keeps no
 * state). It bets "B" in odd games and "P" in even ones, by the strategy's GameNo,
 * and stakes through the contract's defaults when asked for an amount. */
static char GetBet(void* self, ZavuvStrategy* strategy);
static const ZavuvHost* g_host;

ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* PlugInType(void) { return ZAVUV_KIND_BET_METHOD; }
ZAVUV_EXPORT const char* Description(void) { return "C method"; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) {
  g_host = host;
  component->self = NULL;
  component->GetBet = GetBet;
  component->GetBetAmount = NULL;
  return 1;
}

static char GetBet(void* self, ZavuvStrategy* strategy) {
  (void)self;
  return g_host->GetIntVar(strategy, "gameno") % 2 ? 'B' : 'P';
}

#elif defined(SHARED_TURN)
/* A bet method whose components share the module's one counter: every GetBet, by
 * any strategy, takes the next turn and bets "B" on odd turns and "P" on even ones.
 * Its answers depend on the order in which strategies call it, so it asks to be
 * kept on one thread. */
static int g_turn;

static void Prepare(void* self) {
  (void)self;
  g_turn = 0;
}
static char GetBet(void* self, ZavuvStrategy* strategy) {
  (void)self;
  (void)strategy;
  return ++g_turn % 2 ? 'B' : 'P';
}

ZAVUV_EXPORT uint32_t PlugInAbiVersion(void) { return ZAVUV_PLUGIN_ABI_VERSION; }
ZAVUV_EXPORT const char* PlugInType(void) { return ZAVUV_KIND_BET_METHOD; }
ZAVUV_EXPORT const char* Description(void) { return "shared turn"; }
ZAVUV_EXPORT int PlugInSerialOnly(void) { return 1; }
ZAVUV_EXPORT int MakeIt(const ZavuvHost* host, ZavuvComponent* component) {
  (void)host;
  component->self = NULL;
  component->Prepare = Prepare;
  component->GetBet = GetBet;
  return 1;
}

#else
#error "pick a module"
#endif
