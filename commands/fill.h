// The fill command F: the position, vector and curve commands inside its
// parentheses outline a polygon, which is filled at the closing parenthesis
// with the writing controls in force.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "surface/text_state.h"
#include "surface/write_controls.h"

struct CDrawContext;

class CFillCmd : public CParseObj {
 public:
  enum class State : int32_t {
    Start,       // '(' opens the body
    Body,        // inner commands
    AfterWrite,  // a W command inside the body has handed back a character
  };

  // A fill deleted before its ')' ends the collection, so that later
  // commands draw again.
  ~CFillCmd() override;

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  // A digit or '[' that continues the inner command; true when dealt with.
  bool ContinueInner(char ch, CInterpreter& interp, int* status);
  int Open(CInterpreter& interp);
  int Body(char ch, CInterpreter& interp);
  int Close(CInterpreter& interp);
  // Pushes an inner command's parser; it starts with the next character.
  int StartInner(CParseObj* parser, int32_t code, char ch, CInterpreter& interp);
  // The writing controls as they were at '('.
  void RestoreControls();

  State state_ = State::Start;
  int32_t inner_ = 0;  // command code of the last inner command letter
  int32_t saved_ = 0;
  CWriteControls* permanent_ = nullptr;
  CWriteControls* active_ = nullptr;
  CWriteControls savedPermanent_;
  CWriteControls savedActive_;
  CPoint32 savedPosition_;
  CDrawContext* collecting_ = nullptr;  // set from '(' to ')'
};
