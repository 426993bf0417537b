// The write controls W: the top-level W command and the W option of other
// commands edit the active writing controls character by character.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "surface/write_controls.h"

class CWriteCmd : public CParseObj {
 public:
  enum class State : int32_t {
    Start = 1,                // "(" must open the option list
    OptionLetter,             // an option letter is expected
    AfterOption,              // a separator or ")" is expected
    PlaneMask,                // F: digits of the mask
    Multiplier,               // M: digits of the pixel-vector multiplier
    Negative,                 // N: 0 or 1
    Pattern,                  // P: binary digits or a pattern number
    PatternMultiplierLetter,  // P...(: "M" is expected
    PatternMultiplierDigits,  // P...(M: digits up to ")"
    Shading,                  // the character after S
    ShadingCharacter,         // S": the shading character itself
    ShadingCloseQuote,        // S"c: the closing quote
    ShadingVerticalX,         // S(: "X" is expected
    ShadingVerticalClose,     // S(X: ")" is expected
    ShadingSkipToBracket,     // S(X): skipping up to the reference coordinate
    ShadingReferenceX,        // the coordinate whose x becomes the reference
    ShadingReferenceY,        // the coordinate whose y becomes the reference
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }
  // The user's pattern as last defined by binary digits, first pixel in the
  // most significant bit.
  uint8_t userPattern() const { return patternByte_; }

 private:
  int OptionLetter(char ch, CInterpreter& interp, CWriteControls& active);
  // What may follow a value: a separator, ")" or an error.
  int AfterValue(char ch, CInterpreter& interp);
  int Close(CInterpreter& interp);
  void ApplyPattern(CWriteControls& active);
  int Shading(char ch, CInterpreter& interp, CWriteControls& active);
  int PushCoordinate(char ch, State next, CInterpreter& interp);

  State state_ = State::Start;
  int32_t nesting_ = 0;
  bool quoteMark_ = false;
  int32_t repeatIndex_ = 0;
  int32_t value_ = 0;
  uint8_t patternByte_ = 0;
  int32_t patternNumber_ = 0;
  uint8_t binaryDigits_[8] = {};
  int32_t binaryCount_ = 0;
  // Edited when the interpreter has no drawing state, so that parsing goes
  // on the same way.
  CWriteControls detached_;
};
