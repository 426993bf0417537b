#include "commands/write.h"

#include <new>

#include "commands/command_access.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"
#include "surface/color_spec_parser.h"
#include "surface/wrap_arith.h"

namespace {

bool IsQuote(char ch) {
  return ch == '"' || ch == '\'';
}

// The pattern number of the user's binary pattern.
constexpr int32_t kUserPattern = 10;

}  // namespace

int CWriteCmd::Close(CInterpreter& interp) {
  int unused = kOptionStateStart;
  return CloseOptionList(')', nesting_, unused, 1, interp);
}

int CWriteCmd::AfterValue(char ch, CInterpreter& interp) {
  if (IsSeparator(ch)) {
    state_ = State::OptionLetter;
    return PARSE_CONTINUE;
  }
  if (ch == ')') return Close(interp);
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}

int CWriteCmd::PushCoordinate(char ch, State next, CInterpreter& interp) {
  if (interp.PushParser(new (std::nothrow) CCoordParser, ch)) state_ = next;
  return PARSE_CONTINUE;
}

void CWriteCmd::ApplyPattern(CWriteControls& active) {
  if (patternNumber_ == 0 && binaryCount_ >= 2) {
    // A short pattern repeats from its first digit until it fills 8 pixels.
    uint8_t byte = 0;
    for (repeatIndex_ = 0; repeatIndex_ < 8; ++repeatIndex_) {
      if (binaryDigits_[repeatIndex_ % binaryCount_]) byte |= static_cast<uint8_t>(0x80u >> repeatIndex_);
    }
    patternByte_ = byte;
    patternNumber_ = kUserPattern;
  } else if (patternNumber_ == 0 && binaryCount_ == 1) {
    patternNumber_ = binaryDigits_[0];
  }
  if (patternNumber_ >= 0 && patternNumber_ <= kUserPattern) {
    active.pattern = patternNumber_;
    patternNumber_ = 0;
  }
}

int CWriteCmd::OptionLetter(char ch, CInterpreter& interp, CWriteControls& active) {
  switch (ch) {
    case 'V':
    case 'R':
    case 'C':
    case 'E':
      active.mode = ch == 'V' ? kOverlay : ch == 'R' ? kReplace : ch == 'C' ? kComplement : kErase;
      state_ = State::AfterOption;
      return PARSE_CONTINUE;
    case 'I':
      // The colour parser hands back the character that ends it, or ends on
      // its own ")", and we go on as after any other option.
      if (interp.PushParser(new (std::nothrow) CColorSpecParser(&active.foreground), ch))
        state_ = State::AfterOption;
      return PARSE_CONTINUE;
    case 'F':
      value_ = 0;
      state_ = State::PlaneMask;
      return PARSE_CONTINUE;
    case 'M':
      value_ = 0;
      state_ = State::Multiplier;
      return PARSE_CONTINUE;
    case 'N':
      state_ = State::Negative;
      return PARSE_CONTINUE;
    case 'P':
      binaryCount_ = 0;
      patternNumber_ = 0;
      state_ = State::Pattern;
      return PARSE_CONTINUE;
    case 'S':
      state_ = State::Shading;
      return PARSE_CONTINUE;
    case ')':
      return Close(interp);
    default:
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
  }
}

int CWriteCmd::Shading(char ch, CInterpreter& interp, CWriteControls& active) {
  switch (ch) {
    case '0':
      active.shading.flags = (active.shading.flags & ~kShadingOn) | kShadingHorizontal;
      active.shading.reference = CurrentPositionOf(interp).y;
      state_ = State::OptionLetter;
      return PARSE_CONTINUE;
    case '1':
      active.shading.flags |= kShadingOn | kShadingHorizontal;
      active.shading.reference = CurrentPositionOf(interp).y;
      active.shading.character = 0;
      state_ = State::OptionLetter;
      return PARSE_CONTINUE;
    case '"':
    case '\'':
      state_ = State::ShadingCharacter;
      return PARSE_CONTINUE;
    case '(':
      state_ = State::ShadingVerticalX;
      return PARSE_CONTINUE;
    case '[':
      active.shading.flags |= kShadingHorizontal;
      return PushCoordinate(ch, State::ShadingReferenceY, interp);
    case ' ':
    case ',':
      // A separator ends S only once a quoted character was given.
      if (quoteMark_) {
        state_ = State::OptionLetter;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;
    case ')':
      return Close(interp);
    default:
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
  }
}

int CWriteCmd::Parse(char ch, CInterpreter& interp) {
  CWriteControls* activeRecord = ActiveControlsOf(interp);
  CWriteControls& active = activeRecord ? *activeRecord : detached_;

  switch (state_) {
    case State::Start:
      if (ch == '(') {
        nesting_ = 1;
        state_ = State::OptionLetter;
        return PARSE_CONTINUE;
      }
      interp.flags |= kFlagWriteNoOptions;
      return PARSE_RETURN;

    case State::OptionLetter:
      return OptionLetter(ch, interp, active);

    case State::AfterOption:
      return AfterValue(ch, interp);

    case State::PlaneMask:
      if (IsDigit(ch)) {
        value_ = AppendDigit(value_, ch);
        return PARSE_CONTINUE;
      }
      if (value_ >= 0 && value_ <= 15) active.planeMask = static_cast<uint8_t>(value_);
      return AfterValue(ch, interp);

    case State::Multiplier:
      if (IsDigit(ch)) {
        value_ = AppendDigit(value_, ch);
        return PARSE_CONTINUE;
      }
      if (value_ != 0) active.pixelMultiplier = value_;
      value_ = 0;
      return AfterValue(ch, interp);

    case State::Negative:
      if (ch == '0' || ch == '1') {
        active.flags = ch == '1' ? (active.flags | 1u) : (active.flags & ~1u);
        state_ = State::AfterOption;
        return PARSE_CONTINUE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::Pattern:
      if (ch == '0' || ch == '1') {
        if (binaryCount_ < 8) binaryDigits_[binaryCount_++] = static_cast<uint8_t>(ch - '0');
        return PARSE_CONTINUE;
      }
      if (IsDigit(ch)) {
        patternNumber_ = AppendDigit(patternNumber_, ch);
        return PARSE_CONTINUE;
      }
      ApplyPattern(active);
      if (ch == '(') {
        state_ = State::PatternMultiplierLetter;
        return PARSE_CONTINUE;
      }
      return AfterValue(ch, interp);

    case State::PatternMultiplierLetter:
      if (ch == 'M') {
        value_ = 0;
        state_ = State::PatternMultiplierDigits;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::PatternMultiplierDigits:
      if (IsDigit(ch)) {
        value_ = AppendDigit(value_, ch);
      } else if (ch == ')') {
        active.patternMultiplier = value_;
        state_ = State::AfterOption;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::Shading:
      return Shading(ch, interp, active);

    case State::ShadingCharacter:
      active.shading.character = static_cast<uint8_t>(ch);
      active.shading.flags |= kShadingOn | kShadingHorizontal;
      active.shading.reference = CurrentPositionOf(interp).y;
      quoteMark_ = true;
      state_ = State::ShadingCloseQuote;
      return PARSE_CONTINUE;

    case State::ShadingCloseQuote:
      if (IsQuote(ch)) {
        state_ = State::Shading;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::ShadingVerticalX:
      if (ch == 'X') {
        active.shading.flags = (active.shading.flags | kShadingOn) & ~kShadingHorizontal;
        active.shading.character = 0;
        state_ = State::ShadingVerticalClose;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::ShadingVerticalClose:
      if (ch == ')') {
        state_ = State::ShadingSkipToBracket;
      } else {
        interp.SetError(1, ch);
      }
      return PARSE_CONTINUE;

    case State::ShadingSkipToBracket:
      if (ch == '[') return PushCoordinate(ch, State::ShadingReferenceX, interp);
      return PARSE_CONTINUE;

    case State::ShadingReferenceX:
    case State::ShadingReferenceY: {
      CPoint32 point;
      if (TakeDevicePoint(interp, point))
        active.shading.reference = state_ == State::ShadingReferenceX ? point.x : point.y;
      state_ = State::AfterOption;
      return PARSE_CONTINUE;
    }
  }
  return PARSE_CONTINUE;
}
