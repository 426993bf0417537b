#include "interp/interpreter.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "interp/char_class.h"
#include "interp/cmd_dispatch.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "surface/host_link.h"

namespace {

// A parser that keeps passing a character without ever taking it would hold
// the thread forever; past this many offers the character is dropped.
constexpr int kMaxOffersPerChar = 4096;

// Characters replayed between two yields to the message loop.
constexpr int kReplayYield = 0x1000;

}  // namespace

CInterpreter::CInterpreter(CGraphicsContext* graphicsContext) : context(graphicsContext) {
  journal.Attach(graphicsContext);
  journal.Snapshot();
  PushDispatcher();
}

CInterpreter::~CInterpreter() {
  for (CLifeWatch* watch = watches_; watch; watch = watch->next_) watch->interp_ = nullptr;
  while (CParseObj* object = parseStack.Pop()) delete object;
  macroRunning = false;
  ClearMacros();
  ReleaseRetiredMacros();
}

void CInterpreter::PushDispatcher() {
  if (CParseObj* dispatcher = new (std::nothrow) CCmdDispatch) parseStack.Push(dispatcher);
}

void CInterpreter::SetError(int code, char ch) {
  lastError = code;
  lastErrorChar = static_cast<uint8_t>(ch);
}

bool CInterpreter::PushParser(CParseObj* parser, char ch) {
  if (!parser) {
    SetError(1, ch);
    return false;
  }
  parseStack.Push(parser);
  return true;
}

void CInterpreter::ResetParser() {
  flags &= ~kFlagLiteral;
  while (CParseObj* object = parseStack.Pop()) delete object;
  PushDispatcher();
}

void CInterpreter::PopFinished() {
  delete parseStack.Pop();
  flags &= ~kFlagPopPending;
  if (parseStack.IsEmpty()) PushDispatcher();
}

[[gnu::always_inline]] inline int CInterpreter::Dispatch(char ch, Source source, const CLifeWatch& watch) {
  int result = 1;
  for (int offers = 0; flags & kFlagRedispatch; ++offers) {
    if (ch == ';' && source == Source::Received && !(flags & kFlagSemicolonData)) {
      ResetParser();
      flags &= ~(kFlagPopPending | kFlagRedispatch);
      return 1;
    }
    if (!(flags & kFlagLiteral) && ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    PerformPendingPop();
    CParseObj* top = parseStack.Top();
    if (!top) return 0;
    if (offers == kMaxOffersPerChar) {
      SetError(1, ch);
      flags &= ~kFlagRedispatch;
      break;
    }
    const int status = top->Parse(ch, *this);
    if (watch.Gone()) return 0;
    switch (status) {
      case PARSE_CONTINUE:
        flags &= ~kFlagRedispatch;
        break;
      case PARSE_DONE:
        flags &= ~kFlagRedispatch;
        flags |= kFlagPopPending;
        break;
      case PARSE_RETURN:
        flags |= kFlagPopPending;
        break;
      case PARSE_ABORT:
        flags &= ~kFlagRedispatch;
        flags |= kFlagPopPending;
        // A macrograph text goes on; only the received string is cut.
        if (source == Source::Received) result = 0;
        break;
      default:  // PARSE_PASS and anything unknown: offered again to the new top
        break;
    }
  }
  return result;
}

// Every received character passes here: kept in the string loop's body.
[[gnu::always_inline]] inline int CInterpreter::HandleChar(char ch, const CLifeWatch& watch) {
  if (!(flags & kFlagLiteral) && static_cast<unsigned char>(ch) < 32) return 1;
  if (!(flags & kFlagReplaying)) journal.Append(ch);
  macroReserve = std::min(macroReserve + kMacroReservePerChar, kMacroReserveCap);
  flags |= kFlagRedispatch;
  return Dispatch(ch, Source::Received, watch);
}

[[gnu::always_inline]] inline size_t CInterpreter::TakeDigitRun(const char* next) {
  CParseObj* top = parseStack.Top();
  const size_t taken = top ? top->TakeDigits(next) : 0;
  for (size_t i = 0; i < taken; ++i) {
    journal.Append(next[i]);
    macroReserve = std::min(macroReserve + kMacroReservePerChar, kMacroReserveCap);
  }
  return taken;
}

void CInterpreter::HandleString(const char* string) {
  if (!string) return;
  CLifeWatch watch(*this);
  for (const char* p = string; *p; ++p) {
    if (!HandleChar(*p, watch)) break;
    // Digits are neither control characters nor letters, so only a parser
    // that finished or a character still being offered stands in the way.
    if (IsDigit(p[1]) && !(flags & (kFlagPopPending | kFlagRedispatch | kFlagReplaying)))
      p += TakeDigitRun(p + 1);
  }
  if (watch.Gone()) return;
  PerformPendingPop();
}

int CInterpreter::HandleChar(char ch) {
  const CLifeWatch watch(*this);
  return HandleChar(ch, watch);
}

int CInterpreter::FeedMacroChar(char ch) {
  const CLifeWatch watch(*this);
  flags |= kFlagRedispatch;
  return Dispatch(ch, Source::Macrograph, watch);
}

bool CInterpreter::OfferMacroAt() {
  CLifeWatch watch(*this);
  for (int offers = 0; offers < kMaxOffersPerChar; ++offers) {
    PerformPendingPop();
    CParseObj* top = parseStack.Top();
    if (!top) return true;
    const int status = top->Parse('@', *this);
    if (watch.Gone()) return false;
    switch (status) {
      case PARSE_CONTINUE:
        // Taken: offered again only to a parser it has just started.
        if (parseStack.Top() == top) return true;
        break;
      case PARSE_DONE:
      case PARSE_ABORT:
        flags |= kFlagPopPending;
        break;
      case PARSE_RETURN:
        flags |= kFlagPopPending;
        return true;
      default:  // left for a child: not taken
        return true;
    }
  }
  return true;
}

const char* CInterpreter::MacroText(int index) const {
  if (index < 0 || index >= kMacroCount || !macros[index]) return nullptr;
  return static_cast<const char*>(GlobalLock(macros[index]));
}

void CInterpreter::StoreMacro(int index, HGLOBAL block) {
  if (index < 0 || index >= kMacroCount) {
    FreeMacroBlock(block);
    return;
  }
  HGLOBAL old = macros[index];
  macros[index] = block;
  FreeMacroBlock(old);
}

void CInterpreter::ClearMacros() {
  for (int i = 0; i < kMacroCount; ++i) StoreMacro(i, nullptr);
}

bool CInterpreter::MacroBlockInUse(HGLOBAL block) const {
  if (!macroRunning) return false;
  const auto start = reinterpret_cast<uintptr_t>(GlobalLock(block));
  const uintptr_t end = start + GlobalSize(block);
  auto inside = [&](const char* p) {
    const auto at = reinterpret_cast<uintptr_t>(p);
    return p && at >= start && at <= end;
  };
  if (inside(macroCursor)) return true;
  for (int i = 0; i < macroStack.Count(); ++i)
    if (inside(macroStack.At(i))) return true;
  return false;
}

void CInterpreter::FreeMacroBlock(HGLOBAL block) {
  if (!block) return;
  ReleaseRetiredMacros();
  if (MacroBlockInUse(block)) {
    retiredMacros_.push_back(block);
    return;
  }
  GlobalUnlock(block);
  GlobalFree(block);
}

void CInterpreter::ReleaseRetiredMacros() {
  // Few blocks at most: one per pending text and the one being read.
  size_t kept = 0;
  for (HGLOBAL block : retiredMacros_) {
    if (MacroBlockInUse(block)) {
      retiredMacros_[kept++] = block;
      continue;
    }
    GlobalUnlock(block);
    GlobalFree(block);
  }
  retiredMacros_.resize(kept);
}

int CInterpreter::FinishReplay(int result) {
  flags &= ~kFlagReplaying;
  live = 1;
  return result;
}

int CInterpreter::Replay() {
  CGrDrv* surface = context ? context->surface : nullptr;
  const HWND window = surface ? surface->window : nullptr;
  if (!ScreenOfWindow(window)) return 0;
  if (flags & kFlagReplaying) {
    flags |= kFlagReplayAgain;
    return 0;
  }
  if (!journal.file) return 0;

  CLifeWatch watch(*this);
  for (;;) {
    const bool restarting = (flags & kFlagReplaying) != 0;
    if (TakeAbortRequest(SettingsFlagsOfWindow(window))) return restarting ? FinishReplay(0) : 0;
    flags &= ~kFlagReplayAgain;
    flags |= kFlagReplaying;
    journal.Restore();
    macroReserve = 0;
    live = 0;
    journal.Rewind();

    bool restart = false;
    for (int count = 0; !restart;) {
      // One look at the window's records serves both checks.
      KXREG_SCREEN* screen = ScreenOfWindow(window);
      if (!screen) return FinishReplay(0);
      if (TakeAbortRequest(screen->settings ? &screen->settings->flags : nullptr)) return FinishReplay(0);
      const char ch = journal.GetChar();
      if (ch == 0) {
        PerformPendingPop();
        return FinishReplay(1);
      }
      if (!HandleChar(ch, watch)) return watch.Gone() ? 0 : FinishReplay(0);
      if (++count < kReplayYield) continue;
      count = 0;
      const int painted = surface->RefreshWithMessages(context->state);
      if (watch.Gone()) return 0;
      if (!painted) return FinishReplay(0);
      restart = (flags & kFlagReplayAgain) != 0;
    }
  }
}
