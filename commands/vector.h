// The vector command V: draws straight lines from the current position and
// moves it to the end of each line.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "surface/text_state.h"

class CVectorCmd : public CParseObj {
 public:
  // Start and OptionLetter have the values CloseOptionList moves to.
  enum class State : int32_t {
    Start = 1,
    AfterCoordinate = 2,
    OptionLetter = 3,
    AfterWrite = 4,
    OptionEnd = 5,
    BeginBounded = 7,
    BeginUnbounded = 8,
    EndBlock = 9,
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }
  int32_t depth() const { return depth_; }

 private:
  void Begin(CInterpreter& interp, bool bounded);
  // E: a line back to the block a vector command opened.
  void End(CInterpreter& interp);

  State state_ = State::Start;
  int32_t depth_ = 0;
  // Where the next line starts; all options of one list use the position at
  // which the list opened.
  CPoint32 lineStart_;
};
