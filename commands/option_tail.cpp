#include "commands/option_tail.h"

#include "commands/command_access.h"
#include "commands/position.h"
#include "interp/cmd_dispatch.h"
#include "interp/coord_parser.h"

void COptionTail::TakeCommand(CInterpreter& interp) {
  commandTaken_ = true;
  if (auto* handoff = dynamic_cast<CCommandHandoff*>(interp.handoff.get())) {
    command_ = handoff->command;
    interp.handoff.reset();
  }
}

void COptionTail::Begin(CInterpreter& interp, CPoint32 position, char option) {
  if (command_ == kCommandPosition)
    PushBlock(interp, position, 'P', option);
  else if (command_ == kCommandVector)
    PushBlock(interp, position, 'V', option);
  else
    interp.SetError(1, option);
}

void COptionTail::End(CInterpreter& interp) {
  const std::unique_ptr<CSavedPosition> entry = PopBlock(interp);
  if (!entry || IsUnboundedMarker(*entry)) return;
  const CPoint32 target{entry->x, entry->y};
  if (entry->tag == 'V') {
    DrawLine(interp, snapshot_, target);
    MoveCurrentPosition(interp, target);
  } else if (entry->tag == 'P') {
    MoveCurrentPosition(interp, target);
  }
}

int COptionTail::Parse(char ch, CInterpreter& interp) {
  if (!commandTaken_) TakeCommand(interp);

  switch (state_) {
    case State::OptionLetter:
      snapshot_ = CurrentPositionOf(interp);
      switch (ch) {
        case 'B':
          Begin(interp, snapshot_, 'B');
          state_ = State::OptionEnd;
          return PARSE_CONTINUE;
        case 'S':
          Begin(interp, CPoint32{kUnboundedMarker, kUnboundedMarker}, 'S');
          state_ = State::OptionEnd;
          return PARSE_CONTINUE;
        case 'E':
          state_ = State::OptionEnd;
          End(interp);
          return PARSE_CONTINUE;
        default:
          return PARSE_RETURN;
      }

    case State::OptionEnd: {
      // Both states CloseOptionList can leave (start, option letter) mean
      // another option letter here.
      int next = kOptionStateLetter;
      const int status = CloseOptionList(ch, depth_, next, 0, interp);
      state_ = State::OptionLetter;
      return status;
    }
  }
  return PARSE_CONTINUE;
}
