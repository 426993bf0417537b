// The C option of the screen command: switches the graphics output cursor
// on and off and stores the cursor style the remote side asks for.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "surface/text_state.h"

// Cursor styles kept in the graphics state.
constexpr int32_t kCursorStyleUser = 4;  // two characters at an offset

class CScreenCursorParser : public CParseObj {
 public:
  enum class State : int32_t {
    Switch = 1,      // 0 or 1 switch the cursor, "(" opens the group
    Group,           // H or I
    AfterH,          // the H value or what ends it
    AfterI,          // the I value, a user cursor or what ends it
    AfterValue,      // a separator or ")"
    UserOffset,      // the user cursor's offset coordinate is being read
    UserOpenQuote,   // the quote before the two characters
    UserFirst,       // the first character
    UserSecond,      // the second character
    UserCloseQuote,  // the quote after them
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  void SetStyle(CInterpreter& interp, int32_t style);
  void SwitchCursor(CInterpreter& interp, bool on);
  // Space or comma: back to the group; ")": back to the switch; else false.
  bool EndValue(char ch);

  State state_ = State::Switch;
  CPoint32 offset_;
  char characters_[2] = {};
};
