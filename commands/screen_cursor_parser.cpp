#include "commands/screen_cursor_parser.h"

#include <new>

#include "commands/command_access.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"

namespace {

bool IsQuote(char ch) {
  return ch == '"' || ch == '\'';
}

// Styles of the I values 0 to 4.
constexpr int32_t kIndicatorStyles[5] = {0, 1, 0, 2, 3};

}  // namespace

void CScreenCursorParser::SetStyle(CInterpreter& interp, int32_t style) {
  if (CGraphicsState* state = GraphicsStateOf(interp)) state->cursorStyle = style;
}

void CScreenCursorParser::SwitchCursor(CInterpreter& interp, bool on) {
  CGraphicsState* state = GraphicsStateOf(interp);
  if (!state) return;
  state->flags = on ? (state->flags | kOutputCursorOn) : (state->flags & ~kOutputCursorOn);
  if (CDrawContext* draw = DrawContextOf(interp)) draw->UpdateCursor();
}

bool CScreenCursorParser::EndValue(char ch) {
  if (IsSeparator(ch)) {
    state_ = State::Group;
    return true;
  }
  if (ch == ')') {
    state_ = State::Switch;
    return true;
  }
  return false;
}

int CScreenCursorParser::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::Switch:
      if (ch == '0' || ch == '1') {
        SwitchCursor(interp, ch == '1');
        return PARSE_CONTINUE;
      }
      if (ch == '(') {
        state_ = State::Group;
        return PARSE_CONTINUE;
      }
      return PARSE_RETURN;

    case State::Group:
      if (ch == 'H') {
        state_ = State::AfterH;
      } else if (ch == 'I') {
        state_ = State::AfterI;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::AfterH:
      if (IsSeparator(ch) || ch == ')') {
        SetStyle(interp, 1);
        EndValue(ch);
      } else if (ch == '0' || ch == '1' || ch == '2') {
        SetStyle(interp, ch == '2' ? 0 : 1);
        state_ = State::AfterValue;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::AfterI:
      if (IsSeparator(ch) || ch == ')') {
        SetStyle(interp, 0);
        EndValue(ch);
      } else if (ch >= '0' && ch <= '4') {
        SetStyle(interp, kIndicatorStyles[ch - '0']);
        state_ = State::AfterValue;
      } else if (ch == '[') {
        if (interp.PushParser(new (std::nothrow) CCoordParser, ch)) state_ = State::UserOffset;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::AfterValue:
      if (!EndValue(ch)) interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::UserOffset:
      if (!TakeDevicePoint(interp, offset_)) offset_ = CPoint32{};
      state_ = State::UserOpenQuote;
      return PARSE_CONTINUE;

    case State::UserOpenQuote:
      if (IsQuote(ch)) {
        state_ = State::UserFirst;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::UserFirst:
      characters_[0] = ch;
      state_ = State::UserSecond;
      return PARSE_CONTINUE;

    case State::UserSecond:
      characters_[1] = ch;
      state_ = State::UserCloseQuote;
      return PARSE_CONTINUE;

    case State::UserCloseQuote:
      if (!IsQuote(ch)) {
        interp.SetError(1, ch);
        return PARSE_CONTINUE;
      }
      if (CGraphicsState* state = GraphicsStateOf(interp)) {
        state->userCursor[0] = characters_[0];
        state->userCursor[1] = characters_[1];
        state->userCursorX = offset_.x;
        state->userCursorY = offset_.y;
        state->cursorStyle = kCursorStyleUser;
      }
      state_ = State::AfterValue;
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
