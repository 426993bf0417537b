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

TEST(PositionCommand, MovesAndRecords) {
  const commands_test::COutcome rows[] = {
      {"ACoordinateSetsThePosition", "P[400,240]", 400, 240, 0, 0, 0},
      {"FurtherCoordinatesContinueTheCommand", "P[100,100][+50,+20]", 150, 120, 0, 0, 0},
      {"EveryDigitMovesOnce", "P[10,10]0123", 11, 7, 0, 0, 0},
      {"TheMultiplierLengthensAStep", "W(M10)P[10,10]6", 10, 20, 0, 0, 0},
      {"EightIsAnErrorWithItsValue", "P[10,10]8", 10, 10, 1, 8, 0},
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
      {"TheStackSurvivesASemicolon", "P[20,30]P(B);P[200,200]P(E)", 20, 30, 0, 0, 0},
  };
  for (const auto& c : rows) commands_test::ExpectOutcome(c);
}

TEST(PositionStack, TheSeventeenthBlockIsRefusedWithError7AndTheSixteenthPopsNext) {
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
  host.Feed("P(S,S)");
  EXPECT_EQ(LastError(host), 7) << "an unbounded block is refused too";
  EXPECT_EQ(LastErrorChar(host), 'S');
}

TEST(PositionCommand, ThePageOptionSelectsTheOutputPage) {
  const struct {
    const char* name;
    const char* text;
    int outputPage;
    int error, errorChar;
  } rows[] = {
      {"OneSelectsTheSecondPage", "P(P1)", 1, 0, 0},
      {"ZeroSelectsTheFirstPageAgain", "P(P1)P(P0)", 0, 0, 0},
      {"APageBeyondTheCountChangesNothing", "P(P5)", 0, 0, 0},
      {"ALetterIsAnErrorAndThePageStaysOpen", "P(PX", 0, 1, 'X'},
      {"ASecondDigitIsIgnored", "P(P10)", 1, 0, 0},
  };
  for (const auto& c : rows) {
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(host.State()->outputPage, c.outputPage) << c.name;
    EXPECT_EQ(LastError(host), c.error) << c.name;
    EXPECT_EQ(LastErrorChar(host), c.errorChar) << c.name;
  }
  CTestHost host;
  host.Feed("P(P1)P[10,10]V[20,10]");
  EXPECT_EQ(commands_test::DrawnPixels(host, 1), 0);
  EXPECT_EQ(commands_test::DrawnPixels(host, 2), 10) << "lines go to the second page";
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
