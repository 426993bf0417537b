#include "commands/vector.h"

#include <new>

#include "commands/command_access.h"
#include "commands/position.h"
#include "commands/write.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"
#include "surface/wrap_arith.h"

void CVectorCmd::Begin(CInterpreter& interp, bool bounded) {
  if (bounded)
    PushBlock(interp, lineStart_, 'V', 'B');
  else
    PushBlock(interp, CPoint32{kUnboundedMarker, kUnboundedMarker}, 'V', 'S');
}

void CVectorCmd::End(CInterpreter& interp) {
  const std::unique_ptr<CSavedPosition> entry = PopBlock(interp);
  if (!entry || IsUnboundedMarker(*entry) || entry->tag != 'V') return;
  const CPoint32 target{entry->x, entry->y};
  DrawLine(interp, lineStart_, target);
  MoveCurrentPosition(interp, target);
}

int CVectorCmd::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::Start:
      lineStart_ = CurrentPositionOf(interp);
      if (IsDigit(ch) && depth_ == 0) {
        const CPoint32 target =
            PixelVectorStep(ch - '0', ActiveMultiplierOf(interp), lineStart_.x, lineStart_.y, interp);
        DrawLine(interp, lineStart_, target);
        MoveCurrentPosition(interp, target);
        return PARSE_DONE;
      }
      if (ch == '(') {
        depth_ = AddWrap(depth_, 1);
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      if (ch == '[') {
        if (interp.PushParser(new (std::nothrow) CCoordParser, ch)) state_ = State::AfterCoordinate;
        return PARSE_CONTINUE;
      }
      return PARSE_RETURN;

    case State::AfterCoordinate: {
      CPoint32 point;
      if (TakeDevicePoint(interp, point)) {
        DrawLine(interp, lineStart_, point);
        MoveCurrentPosition(interp, point);
      }
      return PARSE_DONE;
    }

    case State::OptionLetter:
      switch (ch) {
        case 'B':
          state_ = State::BeginBounded;
          return PARSE_CONTINUE;
        case 'S':
          state_ = State::BeginUnbounded;
          return PARSE_CONTINUE;
        case 'E':
          state_ = State::EndBlock;
          return PARSE_CONTINUE;
        case 'W':
          if (CParseObj* write = new (std::nothrow) CWriteCmd) {
            interp.parseStack.Push(write);
            state_ = State::AfterWrite;
          } else {
            interp.SetError(1, ch);
          }
          return PARSE_CONTINUE;
        default:
          interp.SetError(1, ch);
          return PARSE_CONTINUE;
      }

    case State::AfterWrite:
      state_ = State::OptionEnd;
      return PARSE_CONTINUE;

    case State::OptionEnd:
      return CloseOptionList(ch, depth_, state_, 0, interp);

    case State::BeginBounded:
    case State::BeginUnbounded:
      if (IsSeparator(ch) || ch == ')') {
        Begin(interp, state_ == State::BeginBounded);
        if (ch == ')') return PARSE_DONE;
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::EndBlock:
      if (IsSeparator(ch) || ch == ')') {
        End(interp);
        if (ch == ')') return PARSE_DONE;
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
