#include "commands/skip.h"

#include "interp/interpreter.h"
#include "surface/wrap_arith.h"

namespace {

bool IsQuote(char ch) {
  return ch == '"' || ch == '\'';
}

}  // namespace

int CSkipCmd::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::Start:
      if (ch == '(') {
        depth_ = AddWrap(depth_, 1);
        state_ = State::InParens;
        return PARSE_CONTINUE;
      }
      if (ch == '[') {
        state_ = State::InBrackets;
        return PARSE_CONTINUE;
      }
      return PARSE_DONE;

    case State::InParens:
      if (IsQuote(ch)) {
        // A quoted part may hold ';' as text.
        interp.flags |= kFlagSemicolonData;
        state_ = State::InQuote;
        return PARSE_CONTINUE;
      }
      if (ch == ')') {
        depth_ = SubWrap(depth_, 1);
        return depth_ == 0 ? PARSE_DONE : PARSE_CONTINUE;
      }
      return PARSE_CONTINUE;

    case State::InQuote:
      if (IsQuote(ch)) {
        interp.flags &= ~kFlagSemicolonData;
        state_ = State::InParens;
      }
      return PARSE_CONTINUE;

    case State::InBrackets:
      return ch == ']' ? PARSE_DONE : PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
