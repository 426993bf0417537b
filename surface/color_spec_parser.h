// The colour specifier of the I option of W and S: an index, a colour
// letter or an HLS colour in parentheses, giving a colour index.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

class CInterpreter;

// One digit of an HLS field (hue or lightness) added to value, or the letter
// that opens the next field; anything else records error 1. True on that
// letter.
bool ReachesNextHlsField(char ch, int32_t& value, char nextLetter, CInterpreter& interp);

class CColorSpecParser : public CParseObj {
 public:
  // target: the active foreground index (W) or the background index (S).
  explicit CColorSpecParser(int32_t* target) : target_(target) {}
  int Parse(char ch, CInterpreter& interp) override;

 private:
  enum class State {
    Index,       // digits of a plain index
    Group,       // after "(": a colour letter or H
    Hue,         // after H: hue digits, then L
    Lightness,   // after L: lightness digits, then S
    Saturation,  // after S: saturation digits, then ")"
    WaitClose,   // skipping up to ")"
  };

  int32_t* target_;
  State state_ = State::Index;
  int32_t index_ = 0;
  int32_t hue_ = 0, lightness_ = 0, saturation_ = 0;
};
