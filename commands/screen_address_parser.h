// The A option of the screen command: two corners in user units that the
// screen-address transform fits onto the device rectangle.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "interp/screen_transform.h"

class CScreenAddressParser : public CParseObj {
 public:
  ~CScreenAddressParser() override;

  enum class State : int32_t {
    FirstOpen = 1,  // the "[" of the first corner
    FirstCorner,    // the first corner is being read
    SecondOpen,     // the "[" of the second corner
    SecondCorner,   // the second corner is being read
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  int PushCorner(char ch, State next, CInterpreter& interp);
  // Sets the interpreter's transform from the two corners.
  void Apply(CInterpreter& interp) const;
  void EndRawDelivery();

  State state_ = State::FirstOpen;
  CUserPoint first_, second_;
  // The interpreter whose coordinates are delivered raw while the corners
  // are read; the flag is cleared again even when the option is discarded.
  CInterpreter* rawOwner_ = nullptr;
};
