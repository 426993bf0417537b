// The per-window ReGIS interpreter: it filters and journals every received
// character and offers it to the stack of parser objects.
#pragma once

#include <cstdint>
#include <memory>

#include "interp/journal.h"
#include "interp/parse_obj.h"
#include "interp/parse_stack.h"
#include "interp/ptr_stack.h"
#include "platform/win32.h"

class CGraphicsContext;
class CLifeWatch;

// Bits of CInterpreter::flags.
constexpr uint32_t kFlagLiteral = 0x001;        // control characters reach the parsers, no case folding
constexpr uint32_t kFlagSemicolonData = 0x002;  // ';' is data, not a reset
constexpr uint32_t kFlagPopPending = 0x004;
constexpr uint32_t kFlagRedispatch = 0x008;  // offer the current character again
constexpr uint32_t kFlagRelativeFromCurrent = 0x010;
constexpr uint32_t kFlagWriteNoOptions = 0x020;  // the W command had no option list
constexpr uint32_t kFlagReplaying = 0x040;
constexpr uint32_t kFlagReplayAgain = 0x080;
constexpr uint32_t kFlagTextBlock = 0x100;
constexpr uint32_t kFlagRawCoordinates = 0x800;  // coordinates are delivered unconverted

constexpr int kMacroCount = 26;

class CInterpreter {
 public:
  explicit CInterpreter(CGraphicsContext* context);
  ~CInterpreter();
  CInterpreter(const CInterpreter&) = delete;
  CInterpreter& operator=(const CInterpreter&) = delete;

  void HandleString(const char* string);
  // Nonzero: go on with the next character; 0: drop the rest of the string.
  int HandleChar(char ch);
  // 1 when the whole journal was fed through again, 0 otherwise.
  int Replay();
  void ResetParser();
  void SetError(int code, char ch);

  // Pops and deletes the object a finished parser left on top, keeping a
  // dispatcher at the bottom.
  void PerformPendingPop();

  CPositionStack positionStack;
  CGraphicsContext* context;
  CParseStack parseStack;
  // What a finished parser leaves for the one that resumes; the receiver
  // takes it (reset or release).
  std::unique_ptr<CHandoff> handoff;
  int32_t lastError = 0;
  uint8_t lastErrorChar = 0;
  // Macrograph bodies A..Z: locked global blocks holding zero-terminated text.
  HGLOBAL macros[kMacroCount] = {};
  CMacroStack macroStack;
  uint32_t flags = kFlagRelativeFromCurrent;
  CJournal journal;
  int live = 1;
  int32_t addrX1 = 0, addrY1 = 0, addrX2 = 799, addrY2 = 479;
  int32_t addrHeight = 479, addrWidth = 799;
  double sx = 1.0, ox = 0.0, sy = 1.0, oy = 0.0;
  double userWidth = 0.0, userHeight = 0.0;

 private:
  friend class CLifeWatch;
  int Dispatch(char ch);
  // Ends a replay on any way out once it has started.
  int FinishReplay(int result);
  void PushDispatcher();

  // Calls in progress that must learn when messages they dispatched
  // deleted this interpreter.
  CLifeWatch* watches_ = nullptr;
};

// Lives on the stack of a call that may dispatch messages; tells it whether
// the interpreter it runs on was deleted meanwhile.
class CLifeWatch {
 public:
  explicit CLifeWatch(CInterpreter& interp) : interp_(&interp), next_(interp.watches_) {
    interp.watches_ = this;
  }
  ~CLifeWatch() {
    if (interp_) interp_->watches_ = next_;
  }
  CLifeWatch(const CLifeWatch&) = delete;
  CLifeWatch& operator=(const CLifeWatch&) = delete;

  bool Gone() const { return interp_ == nullptr; }

 private:
  friend class CInterpreter;
  CInterpreter* interp_;
  CLifeWatch* next_;
};
