// The screen command S: scrolls the picture, erases and chooses the screen
// page, sets the background index and the colour map, waits, hands hard
// copies to the host, switches the graphics cursor and sets the screen
// addressing.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

class CScreenCmd : public CParseObj {
 public:
  // Start and OptionLetter have the values CloseOptionList moves to.
  enum class State : int32_t {
    Start = 1,             // a pixel-vector digit, "(" or "[" after S
    ScrollCoordinate = 2,  // the coordinate to scroll to is being read
    OptionLetter = 3,      // an option letter is expected
    AfterOption,           // a separator, ")" or a stray coordinate
    AfterAddress,          // the closing "]" the A option hands back
    AfterWrite,            // the closing ")" the W option hands back
    AfterDelay,            // what follows a T option, unless its wait was cut short
    PageDigit,             // the digit after P
    HardCopyEnd,           // the character the H option hands back, with its flag
    StrayCoordinate,       // a coordinate after an A or H group, read and discarded
  };

  // Which option group with arguments ended last; a coordinate may follow
  // only those.
  enum class Group : int32_t { None, Address, HardCopy };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  int Start(char ch, CInterpreter& interp);
  int OptionLetter(char ch, CInterpreter& interp);
  int AfterOption(char ch, CInterpreter& interp);
  int HardCopyEnd(char ch, CInterpreter& interp);
  // Pushes a sub-parser for the next characters and moves to state next;
  // a parser that cannot be made records code 1.
  int PushChild(CParseObj* child, char ch, State next, CInterpreter& interp);
  int ReadStrayCoordinate(char ch, CInterpreter& interp);

  State state_ = State::Start;
  Group lastGroup_ = Group::None;
  int32_t nesting_ = 0;
  int32_t digit_ = 0;
  int32_t multiplier_ = 1;
  int32_t pageDigit_ = 0;
  // Set by the T option's parser when its wait was cut short: the command
  // ends with it.
  bool delayCutShort_ = false;
  // Changed when the interpreter has no drawing state, so that parsing goes
  // on the same way.
  int32_t detachedBackground_ = 0;
};
