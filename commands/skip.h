// The N command: accepts and ignores one following item, a character, a
// bracketed group or a parenthesised group.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

class CSkipCmd : public CParseObj {
 public:
  enum class State : int32_t { Start, InParens, InQuote, InBrackets };

  int Parse(char ch, CInterpreter& interp) override;

 private:
  State state_ = State::Start;
  int32_t depth_ = 0;
};
