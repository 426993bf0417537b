// The H option of the screen command: a hard copy of the whole screen or of
// a rectangle, and the P sub-option that sets the hard-copy offset.
#pragma once

#include <cstdint>
#include <memory>

#include "interp/parse_obj.h"
#include "surface/text_state.h"

// Handed back to the screen command with the character that ends the H
// option: set when a group with the P sub-option was given, whose closing
// parenthesis the screen command then takes.
struct CHardCopyFlag : CHandoff {
  int32_t offsetGroup = 0;
};

class CHardCopyParser : public CParseObj {
 public:
  CHardCopyParser();
  ~CHardCopyParser() override;

  enum class State : int32_t {
    Start = 1,     // the first character: a separator, ")", "(" or "["
    GroupLetter,   // after "(": P
    GroupBracket,  // after P: the "[" of the offset
    Offset,        // the offset coordinate is being read
    AfterOffset,   // ")" ends the group, "[" starts the first corner
    FirstCorner,   // the first corner is being read
    AfterFirst,    // a separator or ")" copies up to the current position, "[" reads the second corner
    SecondCorner,  // the second corner is being read
    HandBack,      // the character after the second corner goes back
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  // Leaves the flag for the screen command and hands the character back.
  int Finish(CInterpreter& interp);
  void Copy(CInterpreter& interp, CPoint32 first, CPoint32 second);
  int PushCoordinate(char ch, State next, CInterpreter& interp);

  State state_ = State::Start;
  bool started_ = false;
  CPoint32 defaultCorner_;  // the current position when the option began
  CPoint32 first_;
  std::unique_ptr<CHardCopyFlag> flag_;
};
