/*
 * zavuv plug-in interface, version 1.
 *
 * A plug-in module is a shared library named BA*.so in the program's working
 * directory. It adds one bet method, one bet amount method or one additional setup
 * to every strategy page. The program (the "host") loads it at start-up and looks up
 * these exports, all with C linkage:
 *
 *   uint32_t    PlugInAbiVersion(void);   ZAVUV_PLUGIN_ABI_VERSION it was built with
 *   const char* PlugInType(void);         the kind, Big5: ZAVUV_KIND_BET_METHOD,
 *                                         ZAVUV_KIND_BET_AMOUNT or ZAVUV_KIND_SETUP
 *   const char* Description(void);        the caption in the choice lists, Big5
 *   int         MakeIt(const ZavuvHost* host, ZavuvComponent* component);
 *
 * and, optionally, for the desktop program only (a C++/Qt export):
 *
 *   QWidget*    MakePanel(void* self, QWidget* parent);
 *
 * and, optionally:
 *
 *   int         PlugInSerialOnly(void);   nonzero: keep every component of this
 *                                         module on one thread (see below)
 *
 * MakeIt makes one component: it fills in `component` (its own object in `self`,
 * the operations it offers, `Free`) and answers 1, or answers 0 to make nothing.
 * The component needs no display: the command-line tool drives it exactly as the
 * window does. MakePanel makes the component's settings panel; only the window
 * calls it, and the window deletes the panel before it frees the component.
 *
 * Threads. A component is only ever called by one thread at a time, and only
 * during a host call. A range run may run different strategies on different threads
 * at the same time, so two components of one module may be called at once (from
 * two strategies). A module whose components share state (static or global
 * variables, a single-threaded library) exports PlugInSerialOnly answering nonzero:
 * every strategy that uses one of its components then runs on the thread that
 * started the run, one call after another, as everything did before. Text is 8-bit Big5 (code page 950) unless noted.
 * No C++ exception may leave an export or an operation; report failures through
 * host->RaiseError instead (the C++ helpers in zavuv_plugin.hpp do this for you).
 *
 * See docs/plugins.md for the guide, the calling order and a complete example.
 */
#ifndef ZAVUV_PLUGIN_H
#define ZAVUV_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Raised when the layout of ZavuvHost or ZavuvComponent changes. The host refuses a
 * module built against another version ("Plugins與主程式版本不配合"). */
#define ZAVUV_PLUGIN_ABI_VERSION 1u

/* The three kinds, as Big5 text. */
#define ZAVUV_KIND_BET_METHOD "\xa7\xeb\xaa\x60\xaa\x6b"         /* 投注法 */
#define ZAVUV_KIND_BET_AMOUNT "\xaa\x60\xbd\x58\xaa\x6b"         /* 注碼法 */
#define ZAVUV_KIND_SETUP "\xaa\xfe\xa5\x5b\xb3\x5d\xa9\x77"      /* 附加設定 */

#if defined(_WIN32)
#define ZAVUV_EXPORT_ATTR __declspec(dllexport)
#else
#define ZAVUV_EXPORT_ATTR __attribute__((visibility("default")))
#endif
#ifdef __cplusplus
#define ZAVUV_EXPORT extern "C" ZAVUV_EXPORT_ATTR
#else
#define ZAVUV_EXPORT ZAVUV_EXPORT_ATTR
#endif

/* The strategy that calls the component. Valid only during the call that passes it;
 * keep no copy of it. */
typedef struct ZavuvStrategy ZavuvStrategy;

/* What the host offers a component: the strategy's published operations. A failing
 * call (a variable name the host does not know, and every GetBoolVar and SetBoolVar)
 * answers 0, a blank or NULL and leaves a pending error with the message
 * "Plugins與主程式版本不配合" (UTF-8). If the operation that made the call returns
 * with an error still pending, the host raises it and the run ends there, with the
 * message shown to the user. To go on instead, look at PendingError and call
 * ClearError. */
typedef struct ZavuvHost {
  uint32_t abi_version; /* ZAVUV_PLUGIN_ABI_VERSION of the host */
  uint32_t size;        /* sizeof(ZavuvHost) of the host */

  /* Adds 1 to the suspend count; while it is above 0 every bet is blank. */
  void (*Suspend)(ZavuvStrategy* strategy);
  /* Takes 1 from the suspend count when it is above 0. */
  void (*Resume)(ZavuvStrategy* strategy);
  /* The road of the strategy's road choice ("選擇路做分析") over the results given
   * ("B", "P", "T"): the big road without ties, a derived road as "B" (red) and "P"
   * (blue) entries, or the row of a bead road. Valid until the next call. */
  const char* (*GetAnalysisRoad)(ZavuvStrategy* strategy, const char* results);
  /* The side to bet for a side predicted on the road last given by GetAnalysisRoad:
   * on a derived road the result that makes its next entry that colour (a blank
   * when it cannot continue yet), on any other road the side itself. */
  char (*GetPredict)(ZavuvStrategy* strategy, char side);

  /* The variables of the strategy, by name (ASCII letter case ignored):
   *   char:   "Bet" ("B", "P" or ' '), "GameResult" ("B", "P", "T"), "LastWin" ("W", "L", "T")
   *   text:   "ShoesName" (the label of the result rows)
   *   int:    "NoOfBet", "TotalBetAmount", "WinGame", "LoseGame", "GameNo", "BetAmount"
   *   double: "MaxProfit", "MaxLoss", "AccProfit", "BankerWinRatio", "GameProfit"
   *   bool:   none
   * A setter takes effect at once on the running analysis. GetPCharVar answers the
   * strategy's own text, valid until that text next changes. */
  char (*GetCharVar)(ZavuvStrategy* strategy, const char* name);
  void (*SetCharVar)(ZavuvStrategy* strategy, const char* name, char value);
  const char* (*GetPCharVar)(ZavuvStrategy* strategy, const char* name);
  void (*SetPCharVar)(ZavuvStrategy* strategy, const char* name, const char* value);
  int32_t (*GetIntVar)(ZavuvStrategy* strategy, const char* name);
  void (*SetIntVar)(ZavuvStrategy* strategy, const char* name, int32_t value);
  double (*GetRealVar)(ZavuvStrategy* strategy, const char* name);
  void (*SetRealVar)(ZavuvStrategy* strategy, const char* name, double value);
  int (*GetBoolVar)(ZavuvStrategy* strategy, const char* name);
  void (*SetBoolVar)(ZavuvStrategy* strategy, const char* name, int value);

  /* The message (UTF-8) of the pending error, or NULL. */
  const char* (*PendingError)(void);
  /* Forgets the pending error: the component has dealt with it. */
  void (*ClearError)(void);
  /* Leaves an error of the component's own (UTF-8 message): when the operation
   * returns, the host raises it and the run ends. The first pending error stays. */
  void (*RaiseError)(const char* message);
} ZavuvHost;

/* One component, filled in by MakeIt. The host zeroes it and sets `size` first. Any
 * operation may be left NULL: the host then does what the contract does by default
 * (nothing; GetBet a blank, no bet; GetBetAmount 0; SetSetting refuses; GetSettings
 * has none). */
typedef struct ZavuvComponent {
  uint32_t size; /* set by the host: sizeof(ZavuvComponent) */
  void* self;    /* the plug-in's own object, handed to every operation */
  /* Frees `self`; called once, when the selector lets the component go. */
  void (*Free)(void* self);

  /* Bet methods and bet amount methods. Prepare: start of every run. Restart: a new
   * shoe (when the per-shoe restart box is on) or an additional setup's wish.
   * Finish: end of every run. GetBet: once per game, before it ("B", "P" or ' ').
   * GetBetAmount: the stake, only in games with a bet. AddGameResult: every game,
   * with or without a bet, before the settlement. */
  void (*Prepare)(void* self);
  void (*Restart)(void* self);
  void (*Finish)(void* self);
  char (*GetBet)(void* self, ZavuvStrategy* strategy);
  int32_t (*GetBetAmount)(void* self, ZavuvStrategy* strategy);
  void (*AddGameResult)(void* self, char result);

  /* Additional setups: Prepare (above) at the start of every run, then these hooks
   * at their points of the strategy's loop (docs/plugins.md has the order). */
  void (*NewShoe)(void* self, ZavuvStrategy* strategy);
  void (*BeforeAnalysisGame)(void* self, ZavuvStrategy* strategy);
  void (*AfterGetBet)(void* self, ZavuvStrategy* strategy);
  void (*AfterGetBetAmount)(void* self, ZavuvStrategy* strategy);
  void (*AfterCalProfit)(void* self, ZavuvStrategy* strategy);
  void (*AfterMakeRecord)(void* self, ZavuvStrategy* strategy);

  /* Settings, for strategy files and the command-line tool. SetSetting answers 1
   * when it took the value, 0 for an unknown name or a bad value. GetSettings
   * answers every setting as "name=value" lines, each ended by "\n", valid until
   * the next call on the component. Names are ASCII; values Big5. */
  int (*SetSetting)(void* self, const char* name, const char* value);
  const char* (*GetSettings)(void* self);
} ZavuvComponent;

/* The types of the exports, for the host's look-up. */
typedef uint32_t (*ZavuvPlugInAbiVersionFn)(void);
typedef const char* (*ZavuvPlugInTypeFn)(void);
typedef const char* (*ZavuvDescriptionFn)(void);
typedef int (*ZavuvMakeItFn)(const ZavuvHost* host, ZavuvComponent* component);
typedef int (*ZavuvPlugInSerialOnlyFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* ZAVUV_PLUGIN_H */
