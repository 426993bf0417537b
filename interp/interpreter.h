// The per-window ReGIS interpreter: it filters and journals every received
// character and offers it to the stack of parser objects.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

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

// Macrograph expansion is paid for by received input: a reserve of
// characters that invocations may feed, topped up by every received
// character, so that a few bytes cannot expand without end. It starts
// empty, here and at every redraw, so that the expansion stays in
// proportion to the input and a redraw expands what the live run did.
constexpr int64_t kMacroReserveCap = int64_t{16} << 20;
constexpr int64_t kMacroReservePerChar = 256;

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
  // Puts a sub-parser on top of the stack; when it could not be made (null),
  // records error 1 with the character that asked for it. True when pushed.
  bool PushParser(CParseObj* parser, char ch);

  // Pops and deletes the object a finished parser left on top, keeping a
  // dispatcher at the bottom. Asked before every offer of a character, so
  // the test is inline.
  void PerformPendingPop() {
    if (flags & kFlagPopPending) PopFinished();
  }

  // A character of a macrograph text, offered as received characters are
  // but neither journalled nor able to reset the parsers with ';'. 0 when
  // the interpreter went away meanwhile.
  int FeedMacroChar(char ch);
  // The '@' of an invocation nested in a text: offered while parsers take
  // it and start something new with it, so that it ends what is open
  // without waiting for a name. False when the interpreter went away.
  bool OfferMacroAt();

  // The definition of macrograph index (0..25), nullptr when empty.
  const char* MacroText(int index) const;
  // Stores a zero-terminated block as a definition (nullptr deletes it),
  // freeing the one it replaces.
  void StoreMacro(int index, HGLOBAL block);
  void ClearMacros();

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

  // The macrograph invocation that runs. Only one runs at a time: a name
  // that reaches a macrograph command during it joins it as a nested
  // invocation (macroRequest) instead of starting another.
  bool macroRunning = false;
  const char* macroCursor = nullptr;  // the next character of the text being read
  char macroRequest = 0;
  int64_t macroReserve = 0;
  // Definitions replaced while a running invocation still reads them; freed
  // when nothing points into them any more.
  void ReleaseRetiredMacros();

 private:
  friend class CLifeWatch;
  enum class Source { Received, Macrograph };
  // watch: one the caller already keeps on this interpreter.
  int Dispatch(char ch, Source source, const CLifeWatch& watch);
  int HandleChar(char ch, const CLifeWatch& watch);
  // After a received character, with no parser finished and no character
  // being offered: the digits at next, when the parser on top takes them as
  // a run; returns how many were taken and journalled.
  size_t TakeDigitRun(const char* next);
  void PopFinished();
  // Frees a definition block, or keeps it while the running invocation reads it.
  void FreeMacroBlock(HGLOBAL block);
  bool MacroBlockInUse(HGLOBAL block) const;
  // Ends a replay on any way out once it has started.
  int FinishReplay(int result);
  void PushDispatcher();

  // Calls in progress that must learn when messages they dispatched
  // deleted this interpreter.
  CLifeWatch* watches_ = nullptr;
  std::vector<HGLOBAL> retiredMacros_;
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
