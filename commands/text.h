// The text command T: writes quoted strings at the current position and sets
// the text attributes later strings are drawn with (cells, spacing,
// directions, italics, alphabet, character-set designations, temporary
// blocks).
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "surface/text_state.h"

// One row of the standard text sizes of the S option.
struct CStandardSize {
  int32_t displayWidth, displayHeight;
  int32_t unitWidth, unitHeight;
  int32_t spacingX, spacingY;
};
constexpr int kStandardSizes = 17;
extern const CStandardSize kStandardSizeTable[kStandardSizes];

// The G0 code of an ISO 2022 final character in L"(x"; -1 when none.
int32_t G0CodeOfFinal(char final);

// A direction value clamped to 0..360 and truncated to a multiple of 45
// (360 stays 360).
int32_t ClampDirection(int32_t value);
// An italic value quantised to -45, -22, 0, 22 or 45.
int32_t QuantiseItalic(int32_t value);

class CTextCmd : public CParseObj {
 public:
  enum class State : int32_t {
    Start,
    InString,
    AfterQuote,
    Options,
    WriteOpt,
    AfterNested,
    ExpectCloseOrComma,
    Alphabet,
    AlphabetZero,
    DesignSide,
    DesignOpenQuote,
    DesignBody,
    G0Final,
    G1Percent,
    G1Five,
    G1A,
    DesignCloseQuote,
    SpacingBracket,
    SizeValue,
    SizeBracket,
    UnitOpen,
    UnitBracket,
    Height,
    MultOpen,
    MultBracket,
    Direction,
    Italic,
  };

  CTextCmd();
  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }
  const CTextState& working() const { return *working_; }

 private:
  // The end of an option: publishes the working copy (unless a separator
  // ended it) and decides where parsing goes on.
  int ApplyTextOptions(char ch, bool continuing, CInterpreter& interp);
  int HalfCellMove(char digit, CInterpreter& interp);
  int EndSizeValue(char ch, CInterpreter& interp);
  int Options(char ch, CInterpreter& interp);
  int Design(char ch, CInterpreter& interp);
  int Error(char ch, CInterpreter& interp);
  int PushCoordinate(char ch, State next, CInterpreter& interp);
  // The point a coordinate handed back; false when it left none.
  bool TakePoint(CInterpreter& interp, CPoint32& point);

  State state_ = State::Start;
  State returnState_ = State::Start;
  int32_t depth_ = 0;
  int32_t side_ = 0;  // designation side: 0 left (G0), 1 right (G1)
  int32_t size_ = 0;
  int32_t heightItalic_ = 0;
  int32_t direction_ = -1;  // -1: no direction pending
  bool negativeItalic_ = false;
  char quote_ = 0;
  bool mayEnd_ = true;
  CTextStatePair* pair_ = nullptr;
  // The attribute record is large (loaded alphabets), so it lives on the heap.
  std::unique_ptr<CTextState> working_;
};
