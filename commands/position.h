// The position command P: moves the current position without drawing, and
// keeps the position stack that P, V and trailing option lists share.
#pragma once

#include <cstdint>
#include <memory>

#include "interp/parse_obj.h"
#include "interp/ptr_stack.h"
#include "surface/text_state.h"

// The position a bounded block (option B) saves; an unbounded block (option
// S) saves this marker instead.
constexpr int32_t kUnboundedMarker = -1;

inline bool IsUnboundedMarker(const CSavedPosition& entry) {
  return entry.x == kUnboundedMarker && entry.y == kUnboundedMarker;
}

// Opens a block tagged by the command that opened it; a full stack records
// error 7 with the option letter and keeps nothing.
void PushBlock(CInterpreter& interp, CPoint32 position, char tag, char option);
// Closes the innermost block; an empty stack records error 8 with 'E' and
// gives nullptr.
std::unique_ptr<CSavedPosition> PopBlock(CInterpreter& interp);

class CPositionCmd : public CParseObj {
 public:
  // Start and OptionLetter have the values CloseOptionList moves to.
  enum class State : int32_t {
    Start = 1,
    AfterCoordinate = 2,
    OptionLetter = 3,
    AfterWrite = 4,
    OptionEnd = 5,
    PageDigit = 6,
    BeginBounded = 7,
    BeginUnbounded = 8,
    EndBlock = 9,
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  // Opens a block at the snapshot (B) or an unbounded one (S).
  void Begin(CInterpreter& interp, bool bounded);
  // E: back to a block this command kind opened.
  void End(CInterpreter& interp);

  State state_ = State::Start;
  int32_t depth_ = 0;
  int32_t multiplier_ = 1;
  CPoint32 snapshot_;
};
