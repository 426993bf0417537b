// The colour-map option of S: S(M n(colour) n(colour) ...), each colour a
// letter, a grey level L n or an HLS colour, shown at once through the
// palette.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

class CColorMapParser : public CParseObj {
 public:
  int Parse(char ch, CInterpreter& interp) override;

 private:
  enum class State {
    Start,       // digits of the entry number, or "("
    Group,       // after "(": a colour letter, A, L or H
    Grey,        // after L: grey level digits
    Hue,         // after H: hue digits, then L
    Lightness,   // after L: lightness digits, then S
    Saturation,  // after S: saturation digits, then ")"
    WaitClose,   // skipping up to ")"
  };

  // The entry is set in the working map and shown through the palette.
  void SetEntry(CInterpreter& interp, int32_t red, int32_t green, int32_t blue);
  void CloseGroup();

  State state_ = State::Start;
  int32_t entry_ = 0;
  int32_t grey_ = 0;
  int32_t hue_ = 0, lightness_ = 0, saturation_ = 0;
};
