#include "commands/time_delay_parser.h"

#include <memory>
#include <new>

#include "commands/command_access.h"
#include "interp/cmd_dispatch.h"

namespace {

bool EndsDelay(char ch) {
  return ch == ' ' || ch == ')' || ch == ',';
}

// Interpreter flags that describe where parsing stands; input that arrives
// while we wait must not leave them changed.
constexpr uint32_t kParsePositionFlags = kFlagLiteral | kFlagSemicolonData | kFlagPopPending |
                                         kFlagRedispatch | kFlagRelativeFromCurrent | kFlagWriteNoOptions |
                                         kFlagRawCoordinates;

}  // namespace

uint32_t AppendTickDigit(uint32_t ticks, char digit) {
  return ticks * 10u + static_cast<uint32_t>(digit - '0');
}

CTimeDelayParser::~CTimeDelayParser() {
  if (deleted_) *deleted_ = true;
}

int CTimeDelayParser::Wait(CInterpreter& interp, bool& deleted) {
  CDrawContext* draw = DrawContextOf(interp);
  if (!draw) return 1;

  // The host may hand us more input, or ask for a redraw from the journal,
  // from a message dispatched while we wait. That input follows this
  // option in the journal, so it is interpreted as if the option had ended:
  // by a dispatcher of its own above this object, which is dropped with
  // whatever the input left open once the wait is over.
  deleted_ = &deleted;
  const uint32_t savedFlags = interp.flags & kParsePositionFlags;
  std::unique_ptr<CHandoff> savedHandoff = std::move(interp.handoff);
  if (CParseObj* guest = new (std::nothrow) CCmdDispatch) interp.parseStack.Push(guest);

  const int result = draw->TimedDelay(ticks_);
  if (deleted) return result;
  deleted_ = nullptr;

  for (CParseObj* top = interp.parseStack.Top(); top && top != this; top = interp.parseStack.Top())
    delete interp.parseStack.Pop();
  interp.flags = (interp.flags & ~kParsePositionFlags) | savedFlags;
  interp.handoff = std::move(savedHandoff);
  return result;
}

int CTimeDelayParser::Parse(char ch, CInterpreter& interp) {
  if (ch >= '0' && ch <= '9') {
    ticks_ = AppendTickDigit(ticks_, ch);
    return PARSE_CONTINUE;
  }
  if (EndsDelay(ch)) {
    bool deleted = false;
    const int elapsed = Wait(interp, deleted);
    // Deleted meanwhile: whatever is on top now is not ours to finish, so
    // the character is only taken.
    if (deleted) return elapsed ? PARSE_CONTINUE : PARSE_ABORT;
    if (elapsed) return PARSE_RETURN;
    if (cutShort_) *cutShort_ = true;
    return PARSE_ABORT;
  }
  if (ticks_ != 0) {
    interp.SetError(1, ch);
    return PARSE_CONTINUE;
  }
  return PARSE_RETURN;
}
