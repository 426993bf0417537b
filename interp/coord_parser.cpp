#include "interp/coord_parser.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <typeinfo>

#include "interp/char_class.h"
#include "interp/interpreter.h"
#include "surface/graphics_context.h"
#include "surface/wrap_arith.h"

namespace {

// The characters a number's text may hold; a sign inside the text ends the
// conversion there, so [10-5,0] reads x as 10.
bool IsNumberChar(char ch) {
  return IsDigit(ch) || ch == '.' || ch == 'E' || ch == '+' || ch == '-';
}

CPoint32 CurrentPosition(const CInterpreter& interp) {
  if (!interp.context || !interp.context->state) return CPoint32{};
  return CPoint32{interp.context->state->x, interp.context->state->y};
}

// The handoff as one of the two final point classes, or nullptr: an exact
// type test, cheaper than a cast that searches the class hierarchy.
template <class Point>
Point* PointIn(CHandoff* slot) {
  return slot && typeid(*slot) == typeid(Point) ? static_cast<Point*>(slot) : nullptr;
}

}  // namespace

bool TakeDevicePoint(CInterpreter& interp, CPoint32& point) {
  std::unique_ptr<CHandoff> slot = std::move(interp.handoff);
  if (auto* device = PointIn<CPointHandoff>(slot.get())) {
    point = CPoint32{device->x, device->y};
    return true;
  }
  if (auto* raw = PointIn<CRawPointHandoff>(slot.get())) {
    const CUserPoint d = UserToDevice(TransformOf(interp), CUserPoint{raw->x, raw->y});
    point = CPoint32{RoundToDevice(d.x), RoundToDevice(d.y)};
    return true;
  }
  return false;
}

bool TakeRawPoint(CInterpreter& interp, CUserPoint& point) {
  std::unique_ptr<CHandoff> slot = std::move(interp.handoff);
  if (auto* raw = PointIn<CRawPointHandoff>(slot.get())) {
    point = CUserPoint{raw->x, raw->y};
    return true;
  }
  return false;
}

void CCoordParser::Begin(CInterpreter& interp) {
  start_ = (interp.flags & kFlagRelativeFromCurrent) ? CurrentPosition(interp) : CPoint32{};
  base_ = DeviceToUser(TransformOf(interp), CUserPoint{double(start_.x), double(start_.y)});
}

void CCoordParser::Append(char ch) {
  // A number longer than the buffer keeps its first characters; the rest of
  // it cannot change a value that already fills the 32-bit range.
  if (length_ < kMaxText) text_[length_++] = ch;
}

namespace {

// Up to 18 decimal digits fit a 64-bit integer exactly, and converting that
// integer to double rounds to nearest just as strtod does for the same
// digits, so plain integers need not go through strtod.
bool IsPlainInteger(const char* text, int length, int64_t* value) {
  if (length == 0 || length > 18) return false;
  int64_t v = 0;
  for (int i = 0; i < length; ++i) {
    if (!IsDigit(text[i])) return false;
    v = v * 10 + (text[i] - '0');
  }
  *value = v;
  return true;
}

}  // namespace

double CCoordParser::TakeNumber() {
  int64_t integer = 0;
  double number = 0.0;
  if (IsPlainInteger(text_, length_, &integer)) {
    number = static_cast<double>(integer);
  } else if (length_) {
    text_[length_] = '\0';
    number = std::strtod(text_, nullptr);
  }
  length_ = 0;
  return number;
}

double CCoordParser::ApplySign(double base, double number, Sign plus, Sign minus) const {
  if (sign_ == plus) return base + number;
  if (sign_ == minus) return base - number;
  return number;
}

int CCoordParser::Deliver(CInterpreter& interp) {
  if (interp.flags & kFlagRawCoordinates) {
    auto* raw = new (std::nothrow) CRawPointHandoff;
    if (raw) {
      raw->x = value_.x;
      raw->y = value_.y;
    }
    interp.handoff.reset(raw);
    return PARSE_RETURN;
  }
  const CUserPoint device = UserToDevice(TransformOf(interp), value_);
  auto* result = new (std::nothrow) CPointHandoff;
  if (result) {
    result->x = RoundToDevice(device.x);
    result->y = RoundToDevice(device.y);
  }
  interp.handoff.reset(result);
  return PARSE_RETURN;
}

size_t CCoordParser::TakeDigits(const char* text) {
  if (skipping_ || (state_ != State::ReadX25 && state_ != State::ReadY32)) return 0;
  size_t taken = 0;
  while (IsDigit(text[taken])) Append(text[taken++]);
  if (taken && state_ == State::ReadY32 && sign_ == Sign::DefaultY29) sign_ = Sign::Absolute0;
  return taken;
}

int CCoordParser::Refuse(char ch, CInterpreter& interp) {
  interp.SetError(1, ch);
  skipping_ = 1;
  return PARSE_CONTINUE;
}

int CCoordParser::Parse(char ch, CInterpreter& interp) {
  if (skipping_) {
    if (ch != ',' && ch != ']') {
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
    }
    skipping_ = 0;
  }

  switch (state_) {
    case State::Start1:
      Begin(interp);
      if (IsDigit(ch) || ch == '.') {
        Append(ch);
        state_ = State::ReadX25;
        return PARSE_CONTINUE;
      }
      switch (ch) {
        case ' ':
          return PARSE_CONTINUE;
        case '+':
          sign_ = Sign::PlusX27;
          state_ = State::ReadX25;
          return PARSE_CONTINUE;
        case '-':
          sign_ = Sign::MinusX28;
          state_ = State::ReadX25;
          return PARSE_CONTINUE;
        case ',':
          value_.x = base_.x;
          sign_ = Sign::DefaultY29;
          state_ = State::AfterComma26;
          return PARSE_CONTINUE;
        case ']':
          value_.x = base_.x;
          value_.y = std::trunc(base_.y);
          return Deliver(interp);
        default:
          return Refuse(ch, interp);
      }

    case State::ReadX25:
      if (IsNumberChar(ch)) {
        Append(ch);
        return PARSE_CONTINUE;
      }
      switch (ch) {
        case ' ':
          return PARSE_CONTINUE;
        case ',':
          value_.x = ApplySign(base_.x, TakeNumber(), Sign::PlusX27, Sign::MinusX28);
          sign_ = Sign::DefaultY29;
          state_ = State::AfterComma26;
          return PARSE_CONTINUE;
        case ']':
          value_.x = ApplySign(base_.x, TakeNumber(), Sign::PlusX27, Sign::MinusX28);
          value_.y = base_.y;
          return Deliver(interp);
        default:
          return Refuse(ch, interp);
      }

    case State::AfterComma26:
      if (IsDigit(ch)) {
        sign_ = Sign::Absolute0;
        Append(ch);
        state_ = State::ReadY32;
        return PARSE_CONTINUE;
      }
      switch (ch) {
        case '.':  // the sign stays "y not started", which reads as absolute
          Append(ch);
          state_ = State::ReadY32;
          return PARSE_CONTINUE;
        case '+':
          sign_ = Sign::PlusY30;
          state_ = State::ReadY32;
          return PARSE_CONTINUE;
        case '-':
          sign_ = Sign::MinusY31;
          state_ = State::ReadY32;
          return PARSE_CONTINUE;
        case ' ':
          return PARSE_CONTINUE;
        case ']':
          value_.y = base_.y;
          return Deliver(interp);
        case ',':
          value_.y = base_.y;
          interp.SetError(3, 0);
          state_ = State::AfterThird33;
          return PARSE_CONTINUE;
        default:
          return Refuse(ch, interp);
      }

    case State::ReadY32:
      if (IsNumberChar(ch)) {
        if (IsDigit(ch) && sign_ == Sign::DefaultY29) sign_ = Sign::Absolute0;
        Append(ch);
        return PARSE_CONTINUE;
      }
      switch (ch) {
        case ' ':
          return PARSE_CONTINUE;
        case ']':
          value_.y = ApplySign(base_.y, TakeNumber(), Sign::PlusY30, Sign::MinusY31);
          return Deliver(interp);
        case ',':
          value_.y = ApplySign(base_.y, TakeNumber(), Sign::PlusY30, Sign::MinusY31);
          interp.SetError(3, 0);
          state_ = State::AfterThird33;
          return PARSE_CONTINUE;
        default:
          return Refuse(ch, interp);
      }

    case State::AfterThird33:
      if (ch == ']') return Deliver(interp);
      if (IsDigit(ch)) return PARSE_CONTINUE;
      return Refuse(ch, interp);
  }
  return PARSE_CONTINUE;
}

int CloseOptionList(char ch, int32_t& depth, int& state, int returnOnClose, CInterpreter& interp) {
  state = kOptionStateStart;
  if (ch == ' ' || ch == ',') {
    state = kOptionStateLetter;
    return PARSE_CONTINUE;
  }
  if (ch == ')') {
    depth = SubWrap(depth, 1);
    if (depth == 0) return returnOnClose ? PARSE_RETURN : PARSE_DONE;
    interp.SetError(1, ')');
    return PARSE_CONTINUE;
  }
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}

CPoint32 PixelVectorStep(int digit, int multiplier, int x, int y, CInterpreter& interp) {
  // Unit steps of the digits 0..7, y growing downwards.
  static constexpr int kStep[8][2] = {{1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}};
  double tx = x, ty = y;
  if (digit >= 0 && digit <= 7) {
    const double m = multiplier;
    // Only the axes that move take a step, so that an unusable scale on the
    // other axis leaves it alone.
    if (kStep[digit][0]) tx += kStep[digit][0] * (m * std::fabs(interp.sx));
    if (kStep[digit][1]) ty += kStep[digit][1] * (m * std::fabs(interp.sy));
  } else {
    interp.SetError(1, static_cast<char>(digit));
  }
  return CPoint32{RoundToDevice(tx), RoundToDevice(ty)};
}
