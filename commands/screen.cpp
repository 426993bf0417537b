#include "commands/screen.h"

#include <new>

#include "commands/command_access.h"
#include "commands/hard_copy_parser.h"
#include "commands/screen_address_parser.h"
#include "commands/screen_cursor_parser.h"
#include "commands/time_delay_parser.h"
#include "commands/write.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"
#include "surface/color_map_parser.h"
#include "surface/color_spec_parser.h"

int CScreenCmd::PushChild(CParseObj* child, char ch, State next, CInterpreter& interp) {
  if (interp.PushParser(child, ch)) state_ = next;
  return PARSE_CONTINUE;
}

int CScreenCmd::ReadStrayCoordinate(char ch, CInterpreter& interp) {
  return PushChild(new (std::nothrow) CCoordParser, ch, State::StrayCoordinate, interp);
}

int CScreenCmd::Start(char ch, CInterpreter& interp) {
  if (IsDigit(ch) && nesting_ == 0) {
    digit_ = ch - '0';
    multiplier_ = ActiveMultiplierOf(interp);
    const CPoint32 here = CurrentPositionOf(interp);
    const CPoint32 target = PixelVectorStep(digit_, multiplier_, here.x, here.y, interp);
    if (CDrawContext* draw = DrawContextOf(interp)) draw->ScrollToPosition(target.x, target.y);
    return PARSE_DONE;
  }
  if (ch == '(') {
    if (nesting_ == 0) {
      nesting_ = 1;
      state_ = State::OptionLetter;
    } else {
      interp.SetError(1, ch);
    }
    return PARSE_CONTINUE;
  }
  if (ch == '[') return PushChild(new (std::nothrow) CCoordParser, ch, State::ScrollCoordinate, interp);
  return PARSE_RETURN;
}

int CScreenCmd::OptionLetter(char ch, CInterpreter& interp) {
  switch (ch) {
    case 'A':
      return PushChild(new (std::nothrow) CScreenAddressParser, ch, State::AfterAddress, interp);
    case 'C':
      return PushChild(new (std::nothrow) CScreenCursorParser, ch, State::AfterOption, interp);
    case 'E':
      if (CDrawContext* draw = DrawContextOf(interp)) draw->EraseScreen();
      // A redraw from the journal starts with this erase; a replay going
      // through it leaves the journal alone.
      if (interp.live == 1) interp.journal.TruncateAtErase();
      state_ = State::AfterOption;
      return PARSE_CONTINUE;
    case 'H':
      return PushChild(new (std::nothrow) CHardCopyParser, ch, State::HardCopyEnd, interp);
    case 'I': {
      // Only the index is stored: nothing on the page changes until the
      // next erase.
      CGraphicsState* graphics = GraphicsStateOf(interp);
      int32_t* target = graphics ? &graphics->background : &detachedBackground_;
      return PushChild(new (std::nothrow) CColorSpecParser(target), ch, State::AfterOption, interp);
    }
    case 'M':
      return PushChild(new (std::nothrow) CColorMapParser, ch, State::AfterOption, interp);
    case 'P':
      state_ = State::PageDigit;
      return PARSE_CONTINUE;
    case 'T':
      delayCutShort_ = false;
      return PushChild(new (std::nothrow) CTimeDelayParser(&delayCutShort_), ch, State::AfterDelay, interp);
    case 'W':
      return PushChild(new (std::nothrow) CWriteCmd, ch, State::AfterWrite, interp);
    case ')':
      return CloseOptionList(ch, nesting_, state_, 0, interp);
    default:
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
  }
}

int CScreenCmd::AfterOption(char ch, CInterpreter& interp) {
  if (IsSeparator(ch)) {
    state_ = State::OptionLetter;
    return PARSE_CONTINUE;
  }
  if (ch == ')') return CloseOptionList(ch, nesting_, state_, 0, interp);
  if (ch == '[' && lastGroup_ != Group::None) return ReadStrayCoordinate(ch, interp);
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}

int CScreenCmd::HardCopyEnd(char ch, CInterpreter& interp) {
  auto* flag = dynamic_cast<CHardCopyFlag*>(interp.handoff.get());
  const bool offsetGroup = flag && flag->offsetGroup;
  const bool known = offsetGroup || IsSeparator(ch) || ch == ')' || ch == '[';
  // An unexpected character keeps the flag for the next one.
  if (known && flag) interp.handoff.reset();

  if (offsetGroup) {
    // The character is the ")" that closed the P group.
    state_ = State::AfterOption;
    return PARSE_CONTINUE;
  }
  if (IsSeparator(ch)) {
    state_ = State::OptionLetter;
    return PARSE_CONTINUE;
  }
  if (ch == ')') {
    --nesting_;
    return PARSE_DONE;
  }
  if (ch == '[') return ReadStrayCoordinate(ch, interp);
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}

int CScreenCmd::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::Start:
      return Start(ch, interp);

    case State::ScrollCoordinate: {
      CPoint32 target;
      if (TakeDevicePoint(interp, target)) {
        if (CDrawContext* draw = DrawContextOf(interp)) draw->ScrollToPosition(target.x, target.y);
      }
      return PARSE_DONE;
    }

    case State::OptionLetter:
      return OptionLetter(ch, interp);

    case State::AfterOption:
      return AfterOption(ch, interp);

    case State::AfterAddress:
      lastGroup_ = Group::Address;
      state_ = State::AfterOption;
      return PARSE_CONTINUE;

    case State::AfterWrite:
      // The handed-back ')' is taken here; the no-option-list flag is the
      // dispatcher's to read and clear.
      state_ = State::AfterOption;
      return PARSE_CONTINUE;

    case State::AfterDelay:
      // The rest of the string that carried a cut-short wait was dropped;
      // the command ends and the next string starts afresh.
      if (delayCutShort_) return PARSE_RETURN;
      return AfterOption(ch, interp);

    case State::PageDigit:
      if (IsDigit(ch)) {
        pageDigit_ = ch - '0';
        if (CGraphicsState* graphics = GraphicsStateOf(interp)) {
          if (pageDigit_ != graphics->screenPage && pageDigit_ < graphics->pages)
            graphics->screenPage = pageDigit_;
        }
        state_ = State::AfterOption;
        return PARSE_CONTINUE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::HardCopyEnd:
      lastGroup_ = Group::HardCopy;
      return HardCopyEnd(ch, interp);

    case State::StrayCoordinate:
      // A coordinate may follow an A or H group but means nothing there.
      interp.handoff.reset();
      interp.SetError(2, 0);
      state_ = State::AfterOption;
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
