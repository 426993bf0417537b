// The write controls: a top-level W makes its options permanent, a W option
// inside another command lasts until the next command letter, and every
// option edits the field it names.
#include "commands/write.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"
#include "surface/colour_map.h"

namespace {

using commands_test::Active;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Permanent;

enum class Field {
  Foreground,
  Multiplier,
  Pattern,
  PatternMultiplier,
  Mode,
  PlaneMask,
  Negative,
  ShadingFlags,
  ShadingReference,
  ShadingCharacter,
};

int32_t Read(const CWriteControls& w, Field field) {
  switch (field) {
    case Field::Foreground:
      return w.foreground;
    case Field::Multiplier:
      return w.pixelMultiplier;
    case Field::Pattern:
      return w.pattern;
    case Field::PatternMultiplier:
      return w.patternMultiplier;
    case Field::Mode:
      return w.mode;
    case Field::PlaneMask:
      return w.planeMask;
    case Field::Negative:
      return w.Negative() ? 1 : 0;
    case Field::ShadingFlags:
      return static_cast<int32_t>(w.shading.flags);
    case Field::ShadingReference:
      return w.shading.reference;
    case Field::ShadingCharacter:
      return w.shading.character;
  }
  return -1;
}

constexpr int32_t kOn = static_cast<int32_t>(kShadingOn);
constexpr int32_t kHorizontal = static_cast<int32_t>(kShadingHorizontal);

TEST(WriteOption, SetsThePermanentField) {
  const struct {
    const char* name;
    const char* text;  // fed after P[300,200], so the current position is (300, 200)
    Field field;
    int32_t expected;
    int error, errorChar;
  } rows[] = {
      {"ROverlaysNoMoreButReplaces", "W(R)", Field::Mode, kReplace, 0, 0},
      {"CComplements", "W(C)", Field::Mode, kComplement, 0, 0},
      {"EErases", "W(E)", Field::Mode, kErase, 0, 0},
      {"VOverlaysAgain", "W(R)W(V)", Field::Mode, kOverlay, 0, 0},
      {"TheLastModeOfAListWins", "W(R,C E)", Field::Mode, kErase, 0, 0},
      {"IndexThree", "W(I3)", Field::Foreground, 3, 0, 0},
      {"AnIndexAbove15IsIgnored", "W(I16)", Field::Foreground, 7, 0, 0},
      {"PatternOne", "W(P1)", Field::Pattern, 1, 0, 0},
      {"ALaterPatternWins", "W(P0,P1)", Field::Pattern, 1, 0, 0},
      {"PAloneSelectsPatternZero", "W(P)", Field::Pattern, 0, 0, 0},
      {"PatternNine", "W(P9)", Field::Pattern, 9, 0, 0},
      {"BinaryDigitsSelectTheUserPattern", "W(P101)", Field::Pattern, 10, 0, 0},
      {"TenIsABinaryPatternNotIndexTen", "W(P10)", Field::Pattern, 10, 0, 0},
      {"PatternNumbersAboveTenAreIgnored", "W(P23)", Field::Pattern, 1, 0, 0},
      {"PatternMultiplier", "W(P2(M5))", Field::PatternMultiplier, 5, 0, 0},
      {"APatternMultiplierMayBeZero", "W(P2(M0))", Field::PatternMultiplier, 0, 0, 0},
      {"APatternMultiplierNeedsM", "W(P2(XM5))", Field::PatternMultiplier, 5, 1, 'X'},
      {"MultiplierZeroChangesNothing", "W(M0)", Field::Multiplier, 1, 0, 0},
      {"MultiplierThree", "W(M3)", Field::Multiplier, 3, 0, 0},
      {"PlaneMaskFive", "W(F5)", Field::PlaneMask, 5, 0, 0},
      {"PlaneMaskAbove15IsIgnored", "W(F16)", Field::PlaneMask, 15, 0, 0},
      {"APlaneMaskIsAppliedBeforeABadCharacter", "W(F5X)", Field::PlaneMask, 5, 1, 'X'},
      {"NegativeOn", "W(N1)", Field::Negative, 1, 0, 0},
      {"NegativeOff", "W(N1,N0)", Field::Negative, 0, 0, 0},
      {"NegativeTwoIsAnErrorUntilADigitComes", "W(N20)", Field::Negative, 0, 1, '2'},
      {"NegativeWaitsForItsDigit", "W(N21)", Field::Negative, 1, 1, '2'},
      {"ShadingOnReferencesTheCurrentY", "W(S1)", Field::ShadingFlags, kOn | kHorizontal, 0, 0},
      {"ShadingOnReference", "W(S1)", Field::ShadingReference, 200, 0, 0},
      {"ShadingOff", "W(S1)W(S0)", Field::ShadingFlags, kHorizontal, 0, 0},
      {"AQuotedShadingCharacter", "W(S'X')", Field::ShadingCharacter, 'X', 0, 0},
      {"AQuotedCharacterTurnsShadingOn", "W(S\"X\")", Field::ShadingFlags, kOn | kHorizontal, 0, 0},
      {"EitherQuoteClosesTheCharacter", "W(S'X\")", Field::ShadingCharacter, 'X', 0, 0},
      {"AVerticalReferenceLine", "W(S(X)[300])", Field::ShadingFlags, kOn, 0, 0},
      {"AVerticalReferenceAtX", "W(S(X)[350])", Field::ShadingReference, 350, 0, 0},
      {"AVerticalReferenceIsRelativeToo", "W(S(X)[+20])", Field::ShadingReference, 320, 0, 0},
      {"AHorizontalReferenceAtY", "W(S[,250])", Field::ShadingReference, 250, 0, 0},
      {"ACoordinateAloneLeavesShadingOff", "W(S[,250])", Field::ShadingFlags, kHorizontal, 0, 0},
      {"ASeparatorAfterAQuotedCharacterAllowsMore", "W(S'X',I2)", Field::Foreground, 2, 0, 0},
      {"ASeparatorAfterAPlainSIsAnError", "W(S,)", Field::ShadingFlags, kHorizontal, 1, ','},
      {"AnUnknownOptionIsAnError", "W(Q)", Field::Mode, kOverlay, 1, 'Q'},
      {"OnlyASeparatorMayFollowAMode", "W(RXC)", Field::Mode, kReplace, 1, 'C'},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    host.Feed("P[300,200]");
    Permanent(host).foreground = 7;
    host.Feed(c.text);
    EXPECT_EQ(Read(Permanent(host), c.field), c.expected);
    EXPECT_EQ(Read(Active(host), c.field), c.expected);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1) << "the W command ended";
  }
}

// The user pattern lives only in the parser, so it is read from one.
uint8_t UserPatternOf(const std::string& afterW) {
  CTestHost host;
  CWriteCmd write;
  for (char ch : afterW) write.Parse(ch, *host.Interpreter());
  return write.userPattern();
}

TEST(WritePattern, AShortPatternRepeatsFromItsFirstDigitAndOnlyEightDigitsCount) {
  EXPECT_EQ(UserPatternOf("(P101)"), 0xB6);  // 1011 0110
  EXPECT_EQ(UserPatternOf("(P10)"), 0xAA);   // 1010 1010
  EXPECT_EQ(UserPatternOf("(P110)"), 0xDB);  // 1101 1011
  EXPECT_EQ(UserPatternOf("(P1100110011)"), 0xCC);
}

TEST(WriteColour, ALetterPicksTheNearestMapEntry) {
  CTestHost host;
  host.Feed("W(I(G))");
  const CColour& green = kStandardColours[ColourLetterIndex('G')];
  EXPECT_EQ(Permanent(host).foreground, NearestMapIndex(green.red, green.green, green.blue));
  EXPECT_EQ(LastError(host), 0);
}

TEST(WriteCommand, WithoutAnOptionListChangesNothingAndAFurtherListContinuesIt) {
  CTestHost host;
  host.Feed("W(R)WP[10,20]");
  EXPECT_EQ(Permanent(host).mode, kReplace);
  EXPECT_EQ(host.State()->x, 10);
  EXPECT_EQ(host.State()->y, 20);
  EXPECT_EQ(host.Interpreter()->flags & kFlagWriteNoOptions, 0u);
  host.Feed("W(I1)(I2)");
  EXPECT_EQ(Permanent(host).foreground, 2);
  EXPECT_EQ(LastError(host), 0);
}

TEST(WriteCommand, ATemporaryOptionLastsUntilTheNextCommandLetter) {
  CTestHost host;
  host.Feed("W(R)V(W(C,I2))[200,200]");
  EXPECT_EQ(Active(host).mode, kComplement);
  EXPECT_EQ(Active(host).foreground, 2);
  EXPECT_EQ(Permanent(host).mode, kReplace);
  host.Feed("P");
  EXPECT_EQ(Active(host).mode, kReplace);
  EXPECT_EQ(Active(host).foreground, Permanent(host).foreground);
}

TEST(WriteCommand, ATopLevelColourDrawsTheFollowingLines) {
  CTestHost host;
  host.Feed("W(I2)P[10,10]V[50,10]");
  EXPECT_EQ(IndexAt(host, 30, 10), 2);
}

TEST(WriteCommand, AShadingReferenceWaitsForItsBracket) {
  CTestHost host;
  host.Feed("P[300,200]W(S(X)junk[123])");
  EXPECT_EQ(Permanent(host).shading.reference, 123);
  EXPECT_EQ(LastError(host), 0);
}

}  // namespace
