#include "commands/macro.h"

#include "interp/interpreter.h"

namespace {

bool IsLetter(char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

char Upper(char ch) {
  return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
}

// Control characters are not fed outside strings, as on input.
const char* SkipControls(const char* p) {
  while (*p && static_cast<unsigned char>(*p) < 32) ++p;
  return p;
}

// The rest of the text being read waits under the text of the name, which
// runs first. A full stack drops the name's text, which is what stops a
// macrograph that keeps naming itself.
void Nest(CInterpreter& interp, const char* rest, char letter) {
  interp.macroStack.Push(rest);
  if (const char* text = interp.MacroText(letter - 'A')) interp.macroStack.Push(text);
}

// Feeds the text at the cursor until it ends or names another macrograph.
// False when the interpreter went away.
bool ReadText(CInterpreter& interp, const CLifeWatch& watch) {
  for (;;) {
    const bool literal = (interp.flags & kFlagLiteral) != 0;
    const char* p = literal ? interp.macroCursor : SkipControls(interp.macroCursor);
    interp.macroCursor = p;
    if (*p == 0 || interp.macroReserve <= 0) {
      interp.PerformPendingPop();
      return true;
    }
    --interp.macroReserve;
    if (!literal && *p == '@') {
      const char* name = SkipControls(p + 1);
      if (IsLetter(*name)) {
        if (!interp.OfferMacroAt()) return false;
        Nest(interp, name + 1, Upper(*name));
        return true;
      }
    }
    interp.FeedMacroChar(*p);
    if (watch.Gone()) return false;
    interp.macroCursor = p + 1;
    if (interp.macroRequest) {
      const char letter = interp.macroRequest;
      interp.macroRequest = 0;
      Nest(interp, p + 1, letter);
      return true;
    }
  }
}

}  // namespace

CMacroCmd::~CMacroCmd() {
  if (!block_) return;
  GlobalUnlock(block_);
  GlobalFree(block_);
}

int CMacroCmd::InvokeMacro(char letter, CInterpreter& interp) {
  const char* text = interp.MacroText(letter - 'A');
  if (!text) return 1;
  if (interp.macroRunning) {
    interp.macroRequest = letter;
    return 1;
  }
  CLifeWatch watch(interp);
  interp.macroRunning = true;
  interp.macroRequest = 0;
  interp.macroStack.Push(text);
  while (const char* next = interp.macroStack.Pop()) {
    interp.macroCursor = next;
    if (!ReadText(interp, watch)) return 0;
    if (interp.macroReserve <= 0) {
      while (interp.macroStack.Pop()) {
      }
      interp.PerformPendingPop();
    }
  }
  interp.macroCursor = nullptr;
  interp.macroRequest = 0;
  interp.macroRunning = false;
  interp.ReleaseRetiredMacros();
  return 1;
}

int CMacroCmd::Invoke(char letter, CInterpreter& interp) {
  if (!interp.MacroText(letter - 'A')) return PARSE_DONE;
  if (interp.macroRunning) {
    InvokeMacro(letter, interp);
    return PARSE_DONE;
  }
  // The text goes to the parsers under this object, which waits off the stack.
  interp.parseStack.Pop();
  if (!InvokeMacro(letter, interp)) {
    // The interpreter, and the stack this object would go back to, are gone.
    delete this;
    return PARSE_ABORT;
  }
  interp.parseStack.Push(this);
  return PARSE_DONE;
}

int CMacroCmd::StartDefinition(char ch, CInterpreter& interp) {
  if (ch < 'A' || ch > 'Z') {
    interp.SetError(1, ch);
    return PARSE_CONTINUE;
  }
  index_ = ch - 'A';
  block_ = GlobalAlloc(GMEM_FIXED, kMacroBlockBytes);
  buffer_ = block_ ? static_cast<char*>(GlobalLock(block_)) : nullptr;
  if (!buffer_) {
    if (block_) GlobalFree(block_);
    block_ = nullptr;
    return PARSE_CONTINUE;
  }
  length_ = 0;
  state_ = State::MacroBody;
  interp.flags |= kFlagSemicolonData | kFlagLiteral;
  return PARSE_CONTINUE;
}

void CMacroCmd::Append(char ch) {
  // A pair after '@' may not fit: what does not is dropped.
  if (length_ < kMacroMaxLength) buffer_[length_++] = ch;
}

void CMacroCmd::EndDefinition(CInterpreter& interp) {
  HGLOBAL block = block_;
  block_ = nullptr;
  if (length_ == 0) {
    interp.StoreMacro(index_, nullptr);
    GlobalUnlock(block);
    GlobalFree(block);
  } else {
    buffer_[length_] = 0;
    HGLOBAL shrunk = GlobalReAlloc(block, static_cast<SIZE_T>(length_) + 1, 0);
    interp.StoreMacro(index_, shrunk ? shrunk : block);
  }
  buffer_ = nullptr;
  interp.flags &= ~(kFlagSemicolonData | kFlagLiteral);
}

int CMacroCmd::Parse(char ch, CInterpreter& interp) {
  if (Defining() && length_ >= kMacroMaxLength) {
    EndDefinition(interp);
    return PARSE_DONE;
  }

  switch (state_) {
    case State::MacroStart:
      if (ch == '.' || ch == ':') {
        if (invokeOnly_) return PARSE_RETURN;
        if (ch == '.')
          interp.ClearMacros();
        else
          state_ = State::MacroName;
        return PARSE_CONTINUE;
      }
      if (ch >= 'A' && ch <= 'Z') return Invoke(ch, interp);
      return PARSE_RETURN;

    case State::MacroName:
      return StartDefinition(ch, interp);

    case State::MacroBody:
      if (ch == '@')
        state_ = State::MacroAt;
      else
        Append(ch);
      return PARSE_CONTINUE;

    case State::MacroAt:
      if (ch == ';') {
        EndDefinition(interp);
        return PARSE_DONE;
      }
      Append('@');
      Append(ch);
      state_ = State::MacroBody;
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
