#include "commands/curve.h"

#include <new>

#include "commands/command_access.h"
#include "commands/write.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"
#include "surface/wrap_arith.h"

void CCurveCmd::DrawAt(CInterpreter& interp, CPoint32 p) {
  const CPoint32 start = centre_ ? snapshot_ : p;
  const CPoint32 centre = centre_ ? p : snapshot_;
  CDrawContext* draw = DrawContextOf(interp);
  if (!arc_) {
    if (draw) draw->Circle(start.x, start.y, centre.x, centre.y);
    return;
  }
  // An arc about the given point starts at the position and moves it.
  if (centre_) move_ = true;
  if (draw) draw->Arc(start.x, start.y, centre.x, centre.y, arcAngle_, negative_, move_);
  // Later points of the command draw nothing until a new angle comes.
  arcAngle_ = 0;
  negative_ = false;
  move_ = false;
}

void CCurveCmd::AddCurvePoint(CInterpreter& interp, CPoint32 p) {
  MoveCurrentPosition(interp, p);
  if (curve_) curve_->Append(p.x, p.y);
}

bool CCurveCmd::PushCoordinate(CInterpreter& interp, char ch) {
  return interp.PushParser(new (std::nothrow) CCoordParser, ch);
}

bool CCurveCmd::PushWrite(CInterpreter& interp, char ch) {
  return interp.PushParser(new (std::nothrow) CWriteCmd, ch);
}

int CCurveCmd::Parse(char ch, CInterpreter& interp) {
  multiplier_ = ActiveMultiplierOf(interp);
  snapshot_ = CurrentPositionOf(interp);

  switch (state_) {
    case State::Start:
      if (IsDigit(ch) && depth_ == 0) {
        DrawAt(interp, PixelVectorStep(ch - '0', multiplier_, snapshot_.x, snapshot_.y, interp));
        return PARSE_CONTINUE;
      }
      if (ch == '(') {
        depth_ = AddWrap(depth_, 1);
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      if (ch == '[') {
        if (PushCoordinate(interp, ch)) state_ = State::AfterCoordinate;
        return PARSE_CONTINUE;
      }
      return PARSE_RETURN;

    case State::AfterCoordinate: {
      CPoint32 point;
      if (TakeDevicePoint(interp, point)) DrawAt(interp, point);
      state_ = State::Start;
      return PARSE_CONTINUE;
    }

    case State::OptionLetter:
      switch (ch) {
        case 'A':
          arc_ = true;
          lastOptionWasW_ = false;
          state_ = State::ArcAngle;
          return PARSE_CONTINUE;
        case 'B':
        case 'S':
          // A second definition in the same command replaces the first.
          curve_.reset(new (std::nothrow) CCurvePointList(snapshot_.x, snapshot_.y));
          if (ch == 'B') closed_ = true;
          lastOptionWasW_ = false;
          state_ = State::CurveOpen;
          return PARSE_CONTINUE;
        case 'C':
          centre_ = true;
          lastOptionWasW_ = false;
          state_ = State::CentreOption;
          return PARSE_CONTINUE;
        case 'W':
          if (PushWrite(interp, ch)) {
            lastOptionWasW_ = true;
            state_ = State::AfterWrite;
          }
          return PARSE_CONTINUE;
        case '(':
          // Another writing-control list right after W(...); the ')' it
          // hands back closes this list.
          if (lastOptionWasW_ && PushWrite(interp, ch)) return PARSE_PASS;
          if (!lastOptionWasW_) interp.SetError(1, ch);
          return PARSE_CONTINUE;
        case ')':
          return CloseOptionList(ch, depth_, state_, 1, interp);
        default:
          interp.SetError(1, ch);
          return PARSE_CONTINUE;
      }

    case State::AfterWrite:
      state_ = State::OptionEnd;
      return PARSE_CONTINUE;

    case State::OptionEnd:
      return CloseOptionList(ch, depth_, state_, 0, interp);

    case State::CentreOption:
      if (IsSeparator(ch)) {
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      if (ch == ')') {
        depth_ = SubWrap(depth_, 1);
        state_ = State::AfterOptions;
        return PARSE_CONTINUE;
      }
      break;

    case State::ArcAngle:
      if (IsDigit(ch)) {
        arcAngle_ = AppendDigit(arcAngle_, ch);
        return PARSE_CONTINUE;
      }
      switch (ch) {
        case '+':
          negative_ = false;
          return PARSE_CONTINUE;
        case '-':
          negative_ = true;
          return PARSE_CONTINUE;
        case 'C':
          centre_ = true;
          state_ = State::CentreOption;
          return PARSE_CONTINUE;
        case ')':
          depth_ = SubWrap(depth_, 1);
          state_ = State::AfterOptions;
          return PARSE_CONTINUE;
        default:
          break;
      }
      break;

    case State::AfterOptions:
      if (IsDigit(ch)) {
        DrawAt(interp, PixelVectorStep(ch - '0', multiplier_, snapshot_.x, snapshot_.y, interp));
        state_ = State::Start;
        return PARSE_CONTINUE;
      }
      if (ch == '[') {
        if (PushCoordinate(interp, ch)) state_ = State::AfterCoordinate;
        return PARSE_CONTINUE;
      }
      return PARSE_RETURN;

    case State::CurveOpen:
      if (ch == ')') {
        depth_ = SubWrap(depth_, 1);
        state_ = State::CurvePoints;
        return PARSE_CONTINUE;
      }
      break;

    case State::CurvePoints:
      if (IsDigit(ch)) {
        AddCurvePoint(interp, PixelVectorStep(ch - '0', multiplier_, snapshot_.x, snapshot_.y, interp));
        return PARSE_CONTINUE;
      }
      if (ch == '[') {
        if (PushCoordinate(interp, ch)) state_ = State::CurveCoordinate;
        return PARSE_CONTINUE;
      }
      if (ch == '(') {
        depth_ = AddWrap(depth_, 1);
        state_ = State::CurveEnd;
        return PARSE_CONTINUE;
      }
      break;

    case State::CurveCoordinate: {
      CPoint32 point;
      if (TakeDevicePoint(interp, point)) AddCurvePoint(interp, point);
      state_ = State::CurvePoints;
      return PARSE_CONTINUE;
    }

    case State::CurveEnd:
      if (ch == 'E') {
        if (CDrawContext* draw = DrawContextOf(interp)) draw->Curve(curve_.get(), closed_ ? 1 : 0);
        state_ = State::OptionEnd;
        return PARSE_CONTINUE;
      }
      break;
  }
  // The rows every state shares: anything else is an error and the state
  // stays.
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}
