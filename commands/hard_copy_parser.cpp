#include "commands/hard_copy_parser.h"

#include <new>

#include "commands/command_access.h"
#include "interp/coord_parser.h"

namespace {

bool EndsOption(char ch) {
  return ch == ' ' || ch == ')' || ch == ',';
}

}  // namespace

CHardCopyParser::CHardCopyParser() : flag_(new (std::nothrow) CHardCopyFlag) {}

CHardCopyParser::~CHardCopyParser() = default;

int CHardCopyParser::Finish(CInterpreter& interp) {
  interp.handoff = std::move(flag_);
  return PARSE_RETURN;
}

void CHardCopyParser::Copy(CInterpreter& interp, CPoint32 first, CPoint32 second) {
  if (CDrawContext* draw = DrawContextOf(interp)) draw->HardCopy(first.x, first.y, second.x, second.y);
}

int CHardCopyParser::PushCoordinate(char ch, State next, CInterpreter& interp) {
  if (interp.PushParser(new (std::nothrow) CCoordParser, ch)) state_ = next;
  return PARSE_CONTINUE;
}

int CHardCopyParser::Parse(char ch, CInterpreter& interp) {
  if (!started_) {
    started_ = true;
    defaultCorner_ = CurrentPositionOf(interp);
  }

  switch (state_) {
    case State::Start:
      if (EndsOption(ch)) {
        // The graphics state's screen rectangle, which counts as the whole
        // screen.
        const CGraphicsState* graphics = GraphicsStateOf(interp);
        const CPoint32 topLeft =
            graphics ? CPoint32{graphics->screenLeft, graphics->screenTop} : CPoint32{0, 0};
        const CPoint32 bottomRight =
            graphics ? CPoint32{graphics->screenRight, graphics->screenBottom} : CPoint32{799, 479};
        Copy(interp, topLeft, bottomRight);
        return Finish(interp);
      }
      if (ch == '(') {
        state_ = State::GroupLetter;
        return PARSE_CONTINUE;
      }
      if (ch == '[') return PushCoordinate(ch, State::FirstCorner, interp);
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::GroupLetter:
      if (ch == 'P') {
        if (flag_) flag_->offsetGroup = 1;
        state_ = State::GroupBracket;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::GroupBracket:
      if (ch == '[') return PushCoordinate(ch, State::Offset, interp);
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::Offset: {
      CPoint32 offset;
      if (TakeDevicePoint(interp, offset)) {
        if (CDrawContext* draw = DrawContextOf(interp)) draw->hardCopyOffset = offset;
      }
      state_ = State::AfterOffset;
      return PARSE_CONTINUE;
    }

    case State::AfterOffset:
      if (ch == ')') return Finish(interp);
      if (ch == '[') return PushCoordinate(ch, State::FirstCorner, interp);
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::FirstCorner:
      if (!TakeDevicePoint(interp, first_)) first_ = CPoint32{};
      state_ = State::AfterFirst;
      return PARSE_CONTINUE;

    case State::AfterFirst:
      if (EndsOption(ch)) {
        Copy(interp, first_, defaultCorner_);
        return Finish(interp);
      }
      if (ch == '[') return PushCoordinate(ch, State::SecondCorner, interp);
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::SecondCorner: {
      CPoint32 second;
      if (!TakeDevicePoint(interp, second)) second = CPoint32{};
      Copy(interp, first_, second);
      state_ = State::HandBack;
      return PARSE_CONTINUE;
    }

    case State::HandBack:
      return Finish(interp);
  }
  return PARSE_CONTINUE;
}
