#include "commands/position.h"

#include <new>

#include "commands/command_access.h"
#include "commands/write.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"

void PushBlock(CInterpreter& interp, CPoint32 position, char tag, char option) {
  std::unique_ptr<CSavedPosition> entry(new (std::nothrow) CSavedPosition);
  if (entry) {
    entry->x = position.x;
    entry->y = position.y;
    entry->tag = tag;
  }
  if (!interp.positionStack.Push(std::move(entry))) interp.SetError(7, option);
}

std::unique_ptr<CSavedPosition> PopBlock(CInterpreter& interp) {
  std::unique_ptr<CSavedPosition> entry = interp.positionStack.Pop();
  if (!entry) interp.SetError(8, 'E');
  return entry;
}

void CPositionCmd::Begin(CInterpreter& interp, bool bounded) {
  if (bounded)
    PushBlock(interp, snapshot_, 'P', 'B');
  else
    PushBlock(interp, CPoint32{kUnboundedMarker, kUnboundedMarker}, 'P', 'S');
}

void CPositionCmd::End(CInterpreter& interp) {
  const std::unique_ptr<CSavedPosition> entry = PopBlock(interp);
  if (entry && !IsUnboundedMarker(*entry) && entry->tag == 'P')
    MoveCurrentPosition(interp, CPoint32{entry->x, entry->y});
}

int CPositionCmd::Parse(char ch, CInterpreter& interp) {
  snapshot_ = CurrentPositionOf(interp);
  multiplier_ = ActiveMultiplierOf(interp);

  switch (state_) {
    case State::Start:
      if (IsDigit(ch) && depth_ == 0) {
        MoveCurrentPosition(interp, PixelVectorStep(ch - '0', multiplier_, snapshot_.x, snapshot_.y, interp));
        return PARSE_DONE;
      }
      if (ch == '(') {
        depth_ = 1;
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
      if (TakeDevicePoint(interp, point)) MoveCurrentPosition(interp, point);
      return PARSE_DONE;
    }

    case State::OptionLetter:
      switch (ch) {
        case ')':
          return CloseOptionList(ch, depth_, state_, 0, interp);
        case 'B':
          state_ = State::BeginBounded;
          return PARSE_CONTINUE;
        case 'S':
          state_ = State::BeginUnbounded;
          return PARSE_CONTINUE;
        case 'E':
          state_ = State::EndBlock;
          return PARSE_CONTINUE;
        case 'P':
          state_ = State::PageDigit;
          return PARSE_CONTINUE;
        case 'W':
          if (interp.PushParser(new (std::nothrow) CWriteCmd, ch)) state_ = State::AfterWrite;
          return PARSE_CONTINUE;
        default:
          interp.SetError(1, ch);
          return PARSE_CONTINUE;
      }

    case State::AfterWrite:
      state_ = State::OptionEnd;
      return PARSE_CONTINUE;

    case State::OptionEnd:
      if (IsSeparator(ch)) {
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      if (ch == ')') return CloseOptionList(ch, depth_, state_, 0, interp);
      return PARSE_CONTINUE;

    case State::PageDigit:
      if (IsDigit(ch)) {
        if (CGraphicsState* state = GraphicsStateOf(interp)) {
          const int page = ch - '0';
          if (page != state->outputPage && page < state->pages) state->outputPage = page;
        }
        state_ = State::OptionEnd;
        return PARSE_CONTINUE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

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
