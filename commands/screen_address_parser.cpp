#include "commands/screen_address_parser.h"

#include <cmath>
#include <new>

#include "interp/coord_parser.h"
#include "interp/interpreter.h"

CScreenAddressParser::~CScreenAddressParser() {
  EndRawDelivery();
}

void CScreenAddressParser::EndRawDelivery() {
  if (rawOwner_) rawOwner_->flags &= ~kFlagRawCoordinates;
  rawOwner_ = nullptr;
}

int CScreenAddressParser::PushCorner(char ch, State next, CInterpreter& interp) {
  if (ch != '[') {
    interp.SetError(1, ch);
    return PARSE_CONTINUE;
  }
  if (!interp.PushParser(new (std::nothrow) CCoordParser, ch)) return PARSE_CONTINUE;
  // The corners are user units: they define the transform rather than go
  // through it.
  interp.flags |= kFlagRawCoordinates;
  rawOwner_ = &interp;
  state_ = next;
  return PARSE_CONTINUE;
}

void CScreenAddressParser::Apply(CInterpreter& interp) const {
  const CDeviceRect device{interp.addrX1, interp.addrY1, interp.addrX2, interp.addrY2};
  const CScreenTransform t = FitScreenAddress(first_, second_, device, TransformOf(interp));
  interp.sx = t.sx;
  interp.ox = t.ox;
  interp.sy = t.sy;
  interp.oy = t.oy;
  // The corners the device rectangle already has reset the transform and
  // leave the recorded extents alone.
  const bool changed = std::trunc(first_.x) != interp.addrX1 || std::trunc(first_.y) != interp.addrY1 ||
                       std::trunc(second_.x) != interp.addrX2 || std::trunc(second_.y) != interp.addrY2;
  if (changed) {
    interp.userWidth = std::fabs(second_.x - first_.x);
    interp.userHeight = std::fabs(second_.y - first_.y);
  }
}

int CScreenAddressParser::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::FirstOpen:
      return PushCorner(ch, State::FirstCorner, interp);

    case State::FirstCorner:
      if (!TakeRawPoint(interp, first_)) first_ = CUserPoint{};
      state_ = State::SecondOpen;
      return PARSE_CONTINUE;

    case State::SecondOpen:
      return PushCorner(ch, State::SecondCorner, interp);

    case State::SecondCorner:
      if (!TakeRawPoint(interp, second_)) second_ = CUserPoint{};
      EndRawDelivery();
      // A rectangle without width or height divides nothing: the transform
      // keeps its previous scale magnitudes and the first corner still
      // lands on the device origin, so S(A[0,0][0,0]) keeps the scales and
      // zeroes the offsets.
      Apply(interp);
      return PARSE_RETURN;
  }
  return PARSE_CONTINUE;
}
