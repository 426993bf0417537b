// The position command: coordinates and pixel vectors move the current
// position, its option list saves and restores positions and picks the
// output page, and a W option lasts while the command continues.
#include "commands/position.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Position;

struct PositionCase {
  const char* name;
  const char* text;
  int x, y;
  int error, errorChar;
  int stacked;  // entries left on the position stack
};

const PositionCase kPositionCases[] = {
    {"ACoordinateSetsThePosition", "P[400,240]", 400, 240, 0, 0, 0},
    {"FurtherCoordinatesContinueTheCommand", "P[100,100][+50,+20]", 150, 120, 0, 0, 0},
    {"SixMovesOneUnitDown", "P[10,10]6", 10, 11, 0, 0, 0},
    {"EveryDigitMovesOnce", "P[10,10]0123", 11, 7, 0, 0, 0},
    {"FiveMovesDownAndLeft", "P[10,10]5", 9, 11, 0, 0, 0},
    {"TheMultiplierLengthensAStep", "W(M10)P[10,10]6", 10, 20, 0, 0, 0},
    {"EightIsAnErrorWithItsValue", "P[10,10]8", 10, 10, 1, 8, 0},
    {"LeftOfZeroRoundsBackToZero", "P[0,0]4", 0, 0, 0, 0, 0},
    {"LeftOfZeroByTenGivesMinusNine", "W(M10)P[0,0]4", -9, 0, 0, 0, 0},
    {"BoundedBlockReturnsToWhereItOpened", "P[30,40]P(B)[100,100]P(E)", 30, 40, 0, 0, 0},
    {"UnboundedBlockStaysWhereItIs", "P[30,40]P(S)[100,100]P(E)", 100, 100, 0, 0, 0},
    {"EndOnAnEmptyStackIsError8", "P[5,5]P(E)", 5, 5, 8, 'E', 0},
    {"AnEmptyListEndsQuietly", "P[5,5]P()", 5, 5, 0, 0, 0},
    {"ACommaBeforeAnOptionIsAnErrorButBStillWorks", "P[5,5]P(,B)", 5, 5, 1, ',', 1},
    {"BlocksNestInOneList", "P[5,5]P(B,B)", 5, 5, 0, 0, 2},
    {"AVectorEntryIsOnlyRemoved", "P[5,5]V(B)[100,100]P(E)", 100, 100, 0, 0, 0},
    {"AnUnknownOptionIsAnError", "P(Q)", 0, 0, 1, 'Q', 0},
    {"AnErrorAfterBLeavesBOpen", "P(BQ)", 0, 0, 1, 'Q', 1},
    {"TheNextLetterAfterAClosedListReachesTheDispatcher", "P(B)Q", 0, 0, 1, 'Q', 1},
    {"ASemicolonEndsTheCommand", "P[1,1];[", 1, 1, 1, '[', 0},
    {"AWOptionLastsWhileTheCommandContinues", "P(W(M10))[10,10]6", 10, 20, 0, 0, 0},
    {"ACommandLetterRestoresThePermanentMultiplier", "P(W(M10))[10,10]P6", 10, 11, 0, 0, 0},
    {"HugeCoordinatesClamp", "P[99999999999,-99999999999]", INT32_MAX, INT32_MIN, 0, 0, 0},
};

class PositionCommand : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionCommand, MovesAndRecords) {
  const PositionCase& c = GetParam();
  CTestHost host;
  host.Feed(c.text);
  EXPECT_EQ(Position(host).x, c.x);
  EXPECT_EQ(Position(host).y, c.y);
  EXPECT_EQ(LastError(host), c.error);
  EXPECT_EQ(LastErrorChar(host), c.errorChar);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), c.stacked);
}

INSTANTIATE_TEST_SUITE_P(Strings, PositionCommand, ::testing::ValuesIn(kPositionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PositionStack, TheSeventeenthBlockIsRefusedAndTheSixteenthPopsNext) {
  CTestHost host;
  for (int i = 0; i < 16; ++i) host.Feed("P[" + std::to_string(i) + ",0]P(B)");
  EXPECT_EQ(LastError(host), 0);
  host.Feed("P[99,0]P(B)");
  EXPECT_EQ(LastError(host), 7);
  EXPECT_EQ(LastErrorChar(host), 'B');
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 16);
  host.Feed("P(E)");
  EXPECT_EQ(Position(host).x, 15);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 15);
}

TEST(PositionStack, AFullStackRefusesAnUnboundedBlockWithS) {
  CTestHost host;
  for (int i = 0; i < 16; ++i) host.Feed("P(S)");
  host.Feed("P(S)");
  EXPECT_EQ(LastError(host), 7);
  EXPECT_EQ(LastErrorChar(host), 'S');
}

TEST(PositionStack, SurvivesASemicolon) {
  CTestHost host;
  host.Feed("P[20,30]P(B);P[200,200]P(E)");
  EXPECT_EQ(Position(host).x, 20);
  EXPECT_EQ(Position(host).y, 30);
}

struct PageCase {
  const char* name;
  const char* text;
  int outputPage;
  int error, errorChar;
};

const PageCase kPageCases[] = {
    {"OneSelectsTheSecondPage", "P(P1)", 1, 0, 0},
    {"ZeroSelectsTheFirstPageAgain", "P(P1)P(P0)", 0, 0, 0},
    {"APageBeyondTheCountChangesNothing", "P(P5)", 0, 0, 0},
    {"ALetterIsAnErrorAndThePageStaysOpen", "P(PX", 0, 1, 'X'},
    {"ASecondDigitIsIgnored", "P(P10)", 1, 0, 0},
};

class PositionPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(PositionPage, SelectsTheOutputPage) {
  const PageCase& c = GetParam();
  CTestHost host;
  host.Feed(c.text);
  EXPECT_EQ(host.State()->outputPage, c.outputPage);
  EXPECT_EQ(LastError(host), c.error);
  EXPECT_EQ(LastErrorChar(host), c.errorChar);
}

INSTANTIATE_TEST_SUITE_P(Options, PositionPage, ::testing::ValuesIn(kPageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PositionCommand, ThePageOptionSendsLinesToTheSecondPage) {
  CTestHost host;
  host.Feed("P(P1)P[10,10]V[20,10]");
  EXPECT_EQ(commands_test::DrawnPixels(host, 1), 0);
  EXPECT_EQ(commands_test::DrawnPixels(host, 2), 10);
}

TEST(PositionCommand, TheGraphicsCursorFollowsWhenShown) {
  CTestHost host;
  host.State()->flags |= kOutputCursorOn;
  host.Feed("P[400,240]");
  const soft::inspect::CaretState caret = soft::inspect::Caret();
  EXPECT_TRUE(caret.shown);
  // The caret's box is two cells wide and one high, centred on the point.
  EXPECT_EQ(caret.x, 400 - 10);
  EXPECT_EQ(caret.y, 240 - 10);
}

TEST(PositionCommand, StaysOpenAcrossStrings) {
  CTestHost host;
  host.Feed("P(B");
  host.Feed(")[7,8]");
  EXPECT_EQ(Position(host).x, 7);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 1);
  EXPECT_EQ(LastError(host), 0);
}

}  // namespace
