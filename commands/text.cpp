#include "commands/text.h"

#include <algorithm>
#include <new>

#include "commands/command_access.h"
#include "commands/write.h"
#include "interp/char_class.h"
#include "interp/coord_parser.h"
#include "surface/wrap_arith.h"

const CStandardSize kStandardSizeTable[kStandardSizes] = {
    {9, 10, 8, 10, 9, 0},         {9, 20, 8, 20, 9, 0},         {18, 30, 16, 30, 18, 0},
    {27, 45, 24, 45, 27, 0},      {36, 60, 32, 60, 36, 0},      {45, 75, 40, 75, 45, 0},
    {54, 90, 48, 90, 54, 0},      {63, 105, 56, 105, 63, 0},    {72, 120, 64, 120, 72, 0},
    {81, 135, 72, 135, 81, 0},    {90, 150, 80, 150, 90, 0},    {99, 165, 88, 165, 99, 0},
    {108, 180, 96, 180, 108, 0},  {117, 195, 104, 195, 117, 0}, {126, 210, 112, 210, 126, 0},
    {135, 225, 120, 225, 135, 0}, {144, 240, 128, 240, 144, 0},
};

namespace {

bool IsQuote(char ch) {
  return ch == '"' || ch == '\'';
}

CTextCtx* TextCtxOf(CInterpreter& interp) {
  return interp.context ? interp.context->text : nullptr;
}

// The G1 codes the right-hand designations record.
constexpr int32_t kG1Supplemental = 4;
constexpr int32_t kG1Latin1 = 5;

}  // namespace

int32_t G0CodeOfFinal(char final) {
  static const struct {
    char final;
    int32_t code;
  } kFinals[] = {{'B', 0}, {'0', 1},  {'>', 2},  {'A', 3},  {'4', 6},  {'5', 7},  {'R', 8},
                 {'9', 9}, {'K', 10}, {'Y', 11}, {'`', 12}, {'Z', 14}, {'7', 15}, {'=', 16}};
  for (const auto& row : kFinals)
    if (row.final == final) return row.code;
  return -1;
}

int32_t ClampDirection(int32_t value) {
  if (value < 0) return 0;
  if (value > 360) return 360;
  return value - value % 45;
}

int32_t QuantiseItalic(int32_t value) {
  if (value <= -31) return -45;
  if (value < 0) return -22;
  if (value == 0) return 0;
  if (value <= 30) return 22;
  return 45;
}

CTextCmd::CTextCmd() : working_(std::make_unique<CTextState>()) {}

int CTextCmd::Error(char ch, CInterpreter& interp) {
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}

int CTextCmd::PushCoordinate(char ch, State next, CInterpreter& interp) {
  if (CParseObj* coordinate = new (std::nothrow) CCoordParser) {
    interp.parseStack.Push(coordinate);
    state_ = next;
    return PARSE_CONTINUE;
  }
  return Error(ch, interp);
}

bool CTextCmd::TakePoint(CInterpreter& interp, CPoint32& point) {
  return TakeDevicePoint(interp, point);
}

int CTextCmd::ApplyTextOptions(char ch, bool continuing, CInterpreter& interp) {
  if (!IsSeparator(ch)) {
    if (direction_ != -1) working_->characterDirection = direction_;
    if (pair_) {
      *pair_->current = *working_;
      if (!(interp.flags & kFlagTextBlock)) *pair_->saved = *pair_->current;
    }
  }
  if (!continuing) return PARSE_DONE;
  if (ch == ')') {
    state_ = State::Start;
    return PARSE_CONTINUE;
  }
  if (IsSeparator(ch)) {
    state_ = State::Options;
    return PARSE_CONTINUE;
  }
  state_ = State::Start;
  return Error(ch, interp);
}

int CTextCmd::HalfCellMove(char digit, CInterpreter& interp) {
  const CPoint32 at = CurrentPositionOf(interp);
  const int32_t halfW = DivWrap(working_->displayCellWidth, 2);
  const int32_t halfH = DivWrap(working_->displayCellHeight, 2);
  CPoint32 to = at;
  switch (digit) {
    case '1':
      to = {AddWrap(at.x, halfW), SubWrap(at.y, halfH)};
      break;
    case '2':
      to.y = SubWrap(at.y, halfH);
      break;
    case '4':
      to.x = SubWrap(at.x, halfW);
      break;
    case '6':
      to.y = AddWrap(at.y, halfH);
      break;
    case '7':
      to = {AddWrap(at.x, halfW), AddWrap(at.y, halfH)};
      break;
    default:
      interp.SetError(1, digit);
      return PARSE_DONE;
  }
  MoveCurrentPosition(interp, to);
  return PARSE_DONE;
}

int CTextCmd::EndSizeValue(char ch, CInterpreter& interp) {
  if (size_ >= 0 && size_ < kStandardSizes) {
    const CStandardSize& row = kStandardSizeTable[size_];
    working_->displayCellWidth = row.displayWidth;
    working_->displayCellHeight = row.displayHeight;
    working_->unitCellWidth = row.unitWidth;
    working_->unitCellHeight = row.unitHeight;
    working_->spacingX = row.spacingX;
    working_->spacingY = row.spacingY;
  } else {
    interp.SetError(9, 0);
  }
  size_ = 0;
  // A direction given before the size turns the advance as well.
  if (direction_ != -1) {
    working_->stringDirection = working_->characterDirection = direction_;
    direction_ = -1;
  }
  if (ch == ')') return ApplyTextOptions(ch, true, interp);
  if (ch == ',') state_ = State::Options;
  return PARSE_CONTINUE;
}

int CTextCmd::Options(char ch, CInterpreter& interp) {
  switch (ch) {
    case ' ':
    case ')':
    case ',':
      return ApplyTextOptions(ch, true, interp);
    case 'A':
      state_ = State::Alphabet;
      return PARSE_CONTINUE;
    case 'B':
      interp.flags |= kFlagTextBlock;
      returnState_ = State::Options;
      state_ = State::ExpectCloseOrComma;
      return PARSE_CONTINUE;
    case 'D':
      direction_ = 0;
      state_ = State::Direction;
      return PARSE_CONTINUE;
    case 'E':
      interp.flags &= ~kFlagTextBlock;
      if (pair_) {
        *pair_->current = *pair_->saved;
        *working_ = *pair_->current;
      }
      returnState_ = State::Options;
      state_ = State::ExpectCloseOrComma;
      return PARSE_CONTINUE;
    case 'H':
      heightItalic_ = 0;
      state_ = State::Height;
      return PARSE_CONTINUE;
    case 'I':
      heightItalic_ = 0;
      state_ = State::Italic;
      return PARSE_CONTINUE;
    case 'M':
      returnState_ = State::Options;
      state_ = State::MultOpen;
      return PARSE_CONTINUE;
    case 'S':
      size_ = 0;
      returnState_ = State::Options;
      state_ = State::SizeValue;
      return PARSE_CONTINUE;
    case 'U':
      returnState_ = State::Options;
      state_ = State::UnitOpen;
      return PARSE_CONTINUE;
    case 'W':
      if (CParseObj* write = new (std::nothrow) CWriteCmd) {
        interp.parseStack.Push(write);
        state_ = State::WriteOpt;
        return PARSE_CONTINUE;
      }
      return Error(ch, interp);
    default:
      return Error(ch, interp);
  }
}

int CTextCmd::Design(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::DesignSide:
      if (ch != 'L' && ch != 'R') return Error(ch, interp);
      side_ = ch == 'L' ? 0 : 1;
      returnState_ = State::DesignSide;
      state_ = State::DesignOpenQuote;
      return PARSE_CONTINUE;
    case State::DesignOpenQuote:
      if (ch != '"') return Error(ch, interp);
      state_ = State::DesignBody;
      return PARSE_CONTINUE;
    case State::DesignBody:
      if (ch == '(' && side_ == 0) {
        state_ = State::G0Final;
      } else if (ch == ')' && side_ == 1) {
        state_ = State::G1Percent;
      } else if (ch == '-' && side_ == 1) {
        state_ = State::G1A;
      } else {
        return Error(ch, interp);
      }
      return PARSE_CONTINUE;
    case State::G0Final: {
      // An unknown final is an error, but the designation still runs to its
      // closing quote.
      const int32_t code = G0CodeOfFinal(ch);
      if (code >= 0)
        working_->g0Set = code;
      else
        interp.SetError(1, ch);
      state_ = State::DesignCloseQuote;
      return PARSE_CONTINUE;
    }
    case State::G1Percent:
      if (ch != '%') return Error(ch, interp);
      state_ = State::G1Five;
      return PARSE_CONTINUE;
    case State::G1Five:
      if (ch != '5') return Error(ch, interp);
      working_->g1Set = kG1Supplemental;
      state_ = State::DesignCloseQuote;
      return PARSE_CONTINUE;
    case State::G1A:
      if (ch != 'A') return Error(ch, interp);
      working_->g1Set = kG1Latin1;
      state_ = State::DesignCloseQuote;
      return PARSE_CONTINUE;
    case State::DesignCloseQuote:
      if (ch != '"') return Error(ch, interp);
      state_ = State::ExpectCloseOrComma;
      return PARSE_CONTINUE;
    default:
      return PARSE_CONTINUE;
  }
}

int CTextCmd::Parse(char ch, CInterpreter& interp) {
  CTextCtx* text = TextCtxOf(interp);
  pair_ = text ? &text->pair : nullptr;

  switch (state_) {
    case State::Start:
      if (pair_) *working_ = *pair_->current;
      if (IsDigit(ch)) return HalfCellMove(ch, interp);
      if (IsQuote(ch)) {
        quote_ = ch;
        interp.flags |= kFlagLiteral;
        if (text) text->lineStart = CurrentPositionOf(interp);
        state_ = State::InString;
        return PARSE_CONTINUE;
      }
      if (ch == '(') {
        depth_ = AddWrap(depth_, 1);
        state_ = State::Options;
        return PARSE_CONTINUE;
      }
      if (ch == '[') {
        interp.flags &= ~kFlagRelativeFromCurrent;
        return PushCoordinate(ch, State::SpacingBracket, interp);
      }
      if (mayEnd_) return PARSE_RETURN;
      return Error(ch, interp);

    case State::InString:
      if (ch == quote_) {
        state_ = State::AfterQuote;
        if (CDrawContext* draw = DrawContextOf(interp)) draw->UpdateCursor();
      } else if (CDrawContext* draw = DrawContextOf(interp)) {
        draw->DrawChar(ch);
      }
      return PARSE_CONTINUE;

    case State::AfterQuote:
      if (ch == quote_) {
        // A doubled quote stands for one.
        if (CDrawContext* draw = DrawContextOf(interp)) draw->DrawChar(ch);
        state_ = State::InString;
        return PARSE_CONTINUE;
      }
      interp.flags &= ~kFlagLiteral;
      if (ch == ',') {
        mayEnd_ = false;
        state_ = State::Start;
        return PARSE_CONTINUE;
      }
      if (!IsQuote(ch) && static_cast<unsigned char>(ch) < 0x20) return PARSE_DONE;
      return PARSE_RETURN;

    case State::Options:
      return Options(ch, interp);

    case State::WriteOpt:
      state_ = State::AfterNested;
      return PARSE_CONTINUE;

    case State::AfterNested:
      return ApplyTextOptions(ch, true, interp);

    case State::ExpectCloseOrComma:
      if (ch == ')') {
        depth_ = SubWrap(depth_, 1);
        state_ = depth_ == 0 ? State::Start : State::AfterNested;
        return PARSE_CONTINUE;
      }
      if (ch == ',') {
        state_ = returnState_;
        return PARSE_CONTINUE;
      }
      return Error(ch, interp);

    case State::Alphabet:
      if (ch == '0') {
        working_->alphabet = 0;
        state_ = State::AlphabetZero;
        return PARSE_CONTINUE;
      }
      if (ch >= '1' && ch <= '3') {
        working_->alphabet = ch - '0';
        state_ = State::AfterNested;
        return PARSE_CONTINUE;
      }
      return Error(ch, interp);

    case State::AlphabetZero:
      if (ch == '(') {
        depth_ = AddWrap(depth_, 1);
        state_ = State::DesignSide;
        return PARSE_CONTINUE;
      }
      if (IsSeparator(ch)) {
        state_ = State::Options;
        return PARSE_CONTINUE;
      }
      if (ch == ')') return ApplyTextOptions(ch, true, interp);
      return Error(ch, interp);

    case State::DesignSide:
    case State::DesignOpenQuote:
    case State::DesignBody:
    case State::G0Final:
    case State::G1Percent:
    case State::G1Five:
    case State::G1A:
    case State::DesignCloseQuote:
      return Design(ch, interp);

    case State::SpacingBracket: {
      CPoint32 spacing;
      if (TakePoint(interp, spacing)) {
        working_->spacingX = spacing.x;
        working_->spacingY = spacing.y;
      }
      interp.flags |= kFlagRelativeFromCurrent;
      state_ = State::Start;
      return ApplyTextOptions(ch, false, interp);
    }

    case State::SizeValue:
      if (IsDigit(ch)) {
        size_ = AppendDigit(size_, ch);
        return PARSE_CONTINUE;
      }
      if (ch == ' ' || ch == ')' || ch == ',') return EndSizeValue(ch, interp);
      if (ch == '[') {
        if (direction_ != -1) {
          working_->stringDirection = working_->characterDirection = direction_;
          direction_ = -1;
        }
        return PushCoordinate(ch, State::SizeBracket, interp);
      }
      return Error(ch, interp);

    case State::SizeBracket: {
      CPoint32 cell;
      if (TakePoint(interp, cell)) {
        working_->displayCellWidth = cell.x;
        working_->displayCellHeight = cell.y;
      }
      state_ = returnState_;
      return PARSE_CONTINUE;
    }

    case State::UnitOpen:
      if (ch == '[') return PushCoordinate(ch, State::UnitBracket, interp);
      return Error(ch, interp);

    case State::UnitBracket: {
      CPoint32 cell;
      if (TakePoint(interp, cell)) {
        working_->unitCellWidth = cell.x;
        working_->unitCellHeight = cell.y;
      }
      state_ = State::AfterNested;
      return PARSE_CONTINUE;
    }

    case State::Height:
      if (IsDigit(ch)) {
        heightItalic_ = AppendDigit(heightItalic_, ch);
        return PARSE_CONTINUE;
      }
      if (heightItalic_ >= 1 && heightItalic_ <= 256) {
        working_->displayCellHeight = working_->unitCellHeight = 10 * heightItalic_;
        heightItalic_ = 0;
      }
      if (ch == ')') return ApplyTextOptions(ch, true, interp);
      state_ = State::Options;
      return PARSE_CONTINUE;

    case State::MultOpen:
      if (ch == '[') return PushCoordinate(ch, State::MultBracket, interp);
      return Error(ch, interp);

    case State::MultBracket: {
      CPoint32 factors;
      if (TakePoint(interp, factors)) {
        const int32_t m = std::clamp(factors.x, 1, 16);
        const int32_t n = std::clamp(factors.y, 1, 16);
        working_->unitCellWidth = 8 * m;
        working_->unitCellHeight = 20 * n;
      }
      state_ = State::Options;
      return PARSE_CONTINUE;
    }

    case State::Direction:
      if (IsDigit(ch)) {
        direction_ = AppendDigit(direction_, ch);
        return PARSE_CONTINUE;
      }
      direction_ = ClampDirection(direction_);
      state_ = State::Options;
      return PARSE_PASS;

    case State::Italic:
      if (IsDigit(ch)) {
        heightItalic_ = AppendDigit(heightItalic_, ch);
        return PARSE_CONTINUE;
      }
      if (ch == '-' || ch == '+') {
        negativeItalic_ = ch == '-';
        return PARSE_CONTINUE;
      }
      if (ch == ' ') return PARSE_CONTINUE;
      if (negativeItalic_) heightItalic_ = SubWrap(0, heightItalic_);
      negativeItalic_ = false;
      working_->italic = QuantiseItalic(heightItalic_);
      return ApplyTextOptions(ch, true, interp);
  }
  return PARSE_CONTINUE;
}
