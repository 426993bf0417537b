#include "surface/color_map_parser.h"

#include "interp/interpreter.h"
#include "surface/color_spec_parser.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

}  // namespace

void CColorMapParser::SetEntry(CInterpreter& interp, int32_t red, int32_t green, int32_t blue) {
  WorkingColourMap()[entry_] = CColour{red, green, blue};
  CGrDrv* surface = interp.context ? interp.context->surface : nullptr;
  if (surface) surface->SetMapEntry(entry_);
}

void CColorMapParser::CloseGroup() {
  entry_ = 0;
  state_ = State::Start;
}

int CColorMapParser::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::Start:
      if (IsDigit(ch)) {
        entry_ = AppendDigit(entry_, ch);
        return PARSE_CONTINUE;
      }
      if (ch == ' ') return PARSE_CONTINUE;
      if (ch == '(') {
        state_ = State::Group;
        return PARSE_CONTINUE;
      }
      return PARSE_RETURN;

    case State::Group: {
      if (entry_ < 0 || entry_ >= kColourMapSize) {
        state_ = State::WaitClose;
        return PARSE_CONTINUE;
      }
      const int letter = ColourLetterIndex(ch);
      if (letter >= 0) {
        const CColour& c = kStandardColours[letter];
        SetEntry(interp, c.red, c.green, c.blue);
        state_ = State::WaitClose;
      } else if (ch == 'A') {
        // Accepted for compatibility; it names no colour.
      } else if (ch == 'L') {
        grey_ = 0;
        state_ = State::Grey;
      } else if (ch == 'H') {
        hue_ = lightness_ = saturation_ = 0;
        state_ = State::Hue;
      } else {
        interp.SetError(1, ch);
        state_ = State::WaitClose;
      }
      return PARSE_CONTINUE;
    }

    case State::Grey:
      if (IsDigit(ch)) {
        grey_ = AppendDigit(grey_, ch);
        return PARSE_CONTINUE;
      }
      if (grey_ >= 0 && grey_ <= 100) SetEntry(interp, grey_, grey_, grey_);
      if (ch == ')') {
        CloseGroup();
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::Hue:
      if (ReachesNextHlsField(ch, hue_, 'L', interp)) state_ = State::Lightness;
      return PARSE_CONTINUE;

    case State::Lightness:
      if (ReachesNextHlsField(ch, lightness_, 'S', interp)) state_ = State::Saturation;
      return PARSE_CONTINUE;

    case State::Saturation:
      if (IsDigit(ch)) {
        saturation_ = AppendDigit(saturation_, ch);
      } else if (ch == ')') {
        const CColour c = HlsToRgb(hue_, lightness_, saturation_);
        SetEntry(interp, c.red, c.green, c.blue);
        CloseGroup();
      }
      // Anything else after S is passed over without a report.
      return PARSE_CONTINUE;

    case State::WaitClose:
      if (ch == ')') {
        CloseGroup();
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
