// An option list that arrives after a position or vector command has
// already ended, as in V[100,100](B)[200,100](E): its position-stack options
// act for the command that was given last.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "surface/text_state.h"

class COptionTail : public CParseObj {
 public:
  enum class State : int32_t {
    OptionLetter = 3,
    OptionEnd = 5,
  };

  int Parse(char ch, CInterpreter& interp) override;

 private:
  // The creator leaves the last command code in the handoff slot right after
  // pushing this object; it is taken with the first character.
  void TakeCommand(CInterpreter& interp);
  void Begin(CInterpreter& interp, CPoint32 position, char option);
  void End(CInterpreter& interp);

  State state_ = State::OptionLetter;
  int32_t depth_ = 1;  // for the '(' the creator consumed
  int32_t command_ = 0;
  bool commandTaken_ = false;
  CPoint32 snapshot_;
};
