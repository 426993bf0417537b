#include "commands/fill.h"

#include <memory>
#include <new>

#include "commands/command_access.h"
#include "commands/curve.h"
#include "commands/macro.h"
#include "commands/option_tail.h"
#include "commands/position.h"
#include "commands/vector.h"
#include "commands/write.h"
#include "interp/char_class.h"
#include "interp/cmd_dispatch.h"

namespace {

CParseObj* NewInner(int32_t code) {
  switch (code) {
    case kCommandPosition:
      return new (std::nothrow) CPositionCmd;
    case kCommandVector:
      return new (std::nothrow) CVectorCmd;
    case kCommandCurve:
      return new (std::nothrow) CCurveCmd;
    default:
      return nullptr;
  }
}

}  // namespace

CFillCmd::~CFillCmd() {
  if (collecting_) collecting_->DiscardFill();
}

void CFillCmd::RestoreControls() {
  if (!saved_) return;
  if (active_) *active_ = savedActive_;
  if (permanent_) *permanent_ = savedPermanent_;
}

bool CFillCmd::ContinueInner(char ch, CInterpreter& interp, int* status) {
  const bool digit = IsDigit(ch);
  if (!digit && ch != '[' && !(ch == '(' && inner_ == kCommandCurve)) return false;
  // Digits continue P and V only; '[' continues P, V and C; '(' only C.
  const bool takes = digit
                         ? inner_ == kCommandPosition || inner_ == kCommandVector
                         : inner_ == kCommandPosition || inner_ == kCommandVector || inner_ == kCommandCurve;
  if (takes) {
    if (CParseObj* parser = NewInner(inner_)) {
      interp.parseStack.Push(parser);
      *status = PARSE_PASS;
      return true;
    }
  }
  if (ch == '(') return false;
  RestoreControls();
  interp.SetError(1, ch);
  *status = PARSE_CONTINUE;
  return true;
}

int CFillCmd::Open(CInterpreter& interp) {
  state_ = State::Body;
  if (CDrawContext* draw = DrawContextOf(interp)) {
    draw->BeginFill();
    collecting_ = draw;
  }
  if (CGraphicsState* state = GraphicsStateOf(interp)) {
    permanent_ = state->permanent;
    active_ = state->active;
    if (permanent_) savedPermanent_ = *permanent_;
    if (active_) savedActive_ = *active_;
    saved_ = 1;
  }
  savedPosition_ = CurrentPositionOf(interp);
  return PARSE_CONTINUE;
}

int CFillCmd::Close(CInterpreter& interp) {
  if (collecting_) collecting_->EndFill();
  collecting_ = nullptr;
  RestoreControls();
  MoveCurrentPosition(interp, savedPosition_);
  return PARSE_DONE;
}

int CFillCmd::StartInner(CParseObj* parser, int32_t code, char ch, CInterpreter& interp) {
  if (!parser) {
    interp.SetError(1, ch);
    return PARSE_CONTINUE;
  }
  interp.parseStack.Push(parser);
  inner_ = code;
  return PARSE_CONTINUE;
}

int CFillCmd::Body(char ch, CInterpreter& interp) {
  // Temporary W options of inner commands end with them: the fill and every
  // inner command start from the permanent record.
  if (CGraphicsState* state = GraphicsStateOf(interp)) state->LoadActiveAttributes();
  switch (ch) {
    case '(': {
      std::unique_ptr<CHandoff> handoff(new (std::nothrow) CCommandHandoff(inner_));
      CParseObj* tail = handoff ? new (std::nothrow) COptionTail : nullptr;
      if (!tail) {
        interp.SetError(1, ch);
        return PARSE_CONTINUE;
      }
      interp.parseStack.Push(tail);
      interp.handoff = std::move(handoff);
      return PARSE_CONTINUE;
    }
    case ')':
      return Close(interp);
    case '@':
      return StartInner(new (std::nothrow) CMacroCmd(true), kCommandMacro, ch, interp);
    case 'C':
      return StartInner(NewInner(kCommandCurve), kCommandCurve, ch, interp);
    case 'P':
      return StartInner(NewInner(kCommandPosition), kCommandPosition, ch, interp);
    case 'V':
      return StartInner(NewInner(kCommandVector), kCommandVector, ch, interp);
    case 'W':
      if (interp.PushParser(new (std::nothrow) CWriteCmd, ch)) {
        state_ = State::AfterWrite;
        inner_ = kCommandNone;
      }
      return PARSE_CONTINUE;
    default:
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
  }
}

int CFillCmd::Parse(char ch, CInterpreter& interp) {
  int status = PARSE_CONTINUE;
  if (ContinueInner(ch, interp, &status)) return status;

  switch (state_) {
    case State::Start:
      if (ch == '(') return Open(interp);
      return PARSE_RETURN;

    case State::Body:
      return Body(ch, interp);

    case State::AfterWrite:
      // The character the write parser hands back, normally its ')', ends
      // the W: its settings last for the rest of the body.
      state_ = State::Body;
      if (CGraphicsState* state = GraphicsStateOf(interp)) state->StoreActiveAttributes();
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
