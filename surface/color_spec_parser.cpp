#include "surface/color_spec_parser.h"

#include "interp/interpreter.h"
#include "surface/colour_map.h"
#include "surface/wrap_arith.h"

namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

}  // namespace

bool ReachesNextHlsField(char ch, int32_t& value, char nextLetter, CInterpreter& interp) {
  if (IsDigit(ch)) {
    value = AppendDigit(value, ch);
    return false;
  }
  if (ch == nextLetter) return true;
  interp.SetError(1, ch);
  return false;
}

int CColorSpecParser::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::Index:
      if (IsDigit(ch)) {
        index_ = AppendDigit(index_, ch);
        return PARSE_CONTINUE;
      }
      if (ch == ' ' || ch == ',' || ch == ')') {
        if (index_ >= 0 && index_ <= 15 && target_) *target_ = index_;
        return PARSE_RETURN;
      }
      if (ch == '(') {
        state_ = State::Group;
        return PARSE_CONTINUE;
      }
      return PARSE_RETURN;

    case State::Group: {
      const int letter = ColourLetterIndex(ch);
      if (letter >= 0) {
        const CColour& c = kStandardColours[letter];
        if (target_) *target_ = NearestMapIndex(c.red, c.green, c.blue);
        state_ = State::WaitClose;
      } else if (ch == 'H') {
        hue_ = lightness_ = saturation_ = 0;
        state_ = State::Hue;
      } else {
        interp.SetError(1, ch);
        state_ = State::WaitClose;
      }
      return PARSE_CONTINUE;
    }

    case State::Hue:
      if (ReachesNextHlsField(ch, hue_, 'L', interp)) state_ = State::Lightness;
      return PARSE_CONTINUE;

    case State::Lightness:
      if (ReachesNextHlsField(ch, lightness_, 'S', interp)) state_ = State::Saturation;
      return PARSE_CONTINUE;

    case State::Saturation:
      if (IsDigit(ch)) {
        saturation_ = AppendDigit(saturation_, ch);
        return PARSE_CONTINUE;
      }
      if (ch == ')') {
        const CColour c = HlsToRgb(hue_, lightness_, saturation_);
        if (target_) *target_ = NearestMapIndex(c.red, c.green, c.blue);
        return PARSE_DONE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::WaitClose:
      if (ch == ')') return PARSE_DONE;
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
