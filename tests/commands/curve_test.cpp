// The curve command: circles and arcs about the position or about the given
// point, arcs that move the position, interpolated curves defined between
// B or S and (E), and how the dispatcher continues the command.
#include "commands/curve.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::DrawnPixels;
using commands_test::IndexAt;

TEST(CurveCommand, MovesAndRecords) {
  const commands_test::COutcome rows[] = {
      // The radius is ISqrt(100 * 100) = 101, so arcs end one unit further.
      {"ACircleLeavesThePosition", "P[400,240]C[500,240]", 400, 240, 0, 0, 0},
      {"ACircleAboutThePointLeavesThePosition", "P[400,240]C(C)[500,240]", 400, 240, 0, 0, 0},
      {"AnArcAboutThePositionLeavesIt", "P[400,240]C(A90)[500,240]", 400, 240, 0, 0, 0},
      {"AnArcAboutThePointMovesToItsEnd", "P[400,240]C(A90C)[500,240]", 500, 341, 0, 0, 0},
      {"AMinusTurnsClockwise", "P[400,240]C(A-90C)[500,240]", 500, 139, 0, 0, 0},
      {"APlusBetweenDigitsKeepsAccumulating", "P[400,240]C(A12+3C)[500,240]", 555, 324, 0, 0, 0},
      {"ACurveMovesThroughItsPoints", "P[100,100]C(S)[200,50][300,100][400,50](E)", 400, 50, 0, 0, 0},
      {"ACurveTakesPixelVectors", "P[100,100]C(B)0246(E)", 100, 100, 0, 0, 0},
      {"ACommandLetterInACurveIsAnErrorAndItsPointStillCounts", "C(B)[10,10]V[20,20](E)", 20, 20, 1, 'V', 0},
      {"EightIsAnError", "P[400,240]C8", 400, 240, 1, 8, 0},
      {"AnEmptyListHandsItsParenthesisToTheDispatcher", "C()", 0, 0, 1, ')', 0},
      {"DigitsAfterAFinishedCurveCommandAreRefused", "C(W(I2))5", 0, 0, 1, '5', 0},
      {"AnUnknownOptionIsAnError", "C(Q", 0, 0, 1, 'Q', 0},
      {"AnArcAngleTakesNoSeparator", "C(A90 C)", 0, 0, 1, ' ', 0},
  };
  for (const auto& c : rows) commands_test::ExpectOutcome(c);
}

// The picture one string draws equals the picture another draws.
TEST(CurveCommand, DrawsTheSamePictureAs) {
  const struct {
    const char* behaviour;
    const char* text;
    const char* same;
  } rows[] = {
      {"every coordinate draws a circle about the same centre", "P[400,240]C[300,240][200,240]",
       "P[400,240]C[300,240]C[200,240]"},
      {"every digit draws the same circle again", "W(C)P[400,240]C444", "W(C)P[400,240]C4"},
      {"a second point after an arc draws nothing", "P[400,240]C(A90)[500,240][600,240]",
       "P[400,240]C(A90)[500,240]"},
      {"a list after the arc options starts a new curve command", "P[400,240]C(A90)(C)[600,240]",
       "P[400,240]C(A90)C(C)[600,240]"},
      {"an open curve through three points draws nothing", "P[100,100]C(S)[200,50][300,100](E)", ""},
      {"a command letter in a definition is skipped", "C(B)[100,10]V[200,200](E)",
       "C(B)[100,10][200,200](E)"},
      {"an unfinished definition draws nothing", "P[100,100]C(B)[200,50][300,100][400,50]", ""},
      {"complement twice restores the page", "W(C)P[400,240]C[500,240]C[500,240]", ""},
      {"complement twice restores a curve",
       "W(C)P[100,100]C(B)[200,50][300,100][100,100](E)P[100,100]C(B)[200,50][300,100][100,100](E)", ""},
      {"an angle of zero draws nothing", "P[400,240]C(A0)[500,240]", ""},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost drawn, expected;
    drawn.Feed(c.text);
    expected.Feed(c.same);
    EXPECT_EQ(drawn.PageImage().pixels, expected.PageImage().pixels);
  }
}

// Whether a pixel next to (x, y) is drawn: outlines of the platform's
// ellipse and arc may sit one pixel off the exact point.
bool DrawnNear(CTestHost& host, int x, int y) {
  const soft::inspect::Image page = host.PageImage();
  const uint32_t background = commands_test::StoredIndex(host, 0);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (page.At(x + dx, y + dy) != background) return true;
  return false;
}

TEST(CurveCommand, DrawsWhereThePositionAndThePointSay) {
  const struct {
    const char* behaviour;
    const char* text;
    POINT drawn[2];
    POINT empty[2];
  } rows[] = {
      {"a circle about the position",
       "P[400,240]C[500,240]",
       {{300, 240}, {400, 140}},
       {{400, 240}, {600, 240}}},
      {"a circle about the point",
       "P[400,240]C(C)[500,240]",
       {{600, 240}, {500, 140}},
       {{300, 240}, {500, 240}}},
      {"an arc about the point starts at the position",
       "P[400,240]C(A90C)[500,240]",
       {{430, 310}, {500, 339}},
       {{570, 170}, {430, 170}}},
      {"an open curve runs from its second point to its last but one",
       "P[100,100]C(S)[200,50][300,100][400,50](E)",
       {{200, 50}, {250, 90}},
       {{100, 100}, {400, 50}}},
      {"a closed curve runs through every point and back",
       "P[100,100]C(B)[200,50][300,100](E)",
       {{100, 100}, {300, 100}},
       {{200, 100}, {200, 20}}},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    for (POINT p : c.drawn) EXPECT_TRUE(DrawnNear(host, p.x, p.y)) << p.x << "," << p.y;
    for (POINT p : c.empty) EXPECT_FALSE(DrawnNear(host, p.x, p.y)) << p.x << "," << p.y;
  }
}

TEST(CurveCommand, ATemporaryColourLastsForTheCommandOnly) {
  CTestHost host;
  host.Feed("P[400,240]C(W(I2))[500,240]C[420,240]");
  // Radii 101 and 21: ISqrt overestimates 100 and 20.
  EXPECT_EQ(IndexAt(host, 299, 240), 2);
  EXPECT_EQ(IndexAt(host, 379, 240), commands_test::DefaultForeground(host));
}

TEST(CurveCommand, HostileSizesFinishAndDrawOnlyWhatIsVisible) {
  CTestHost host;
  host.Feed("P[400,240]C[2147483647,0]C(A999999999)[400,240]C(A-2147483648)[500,240]C[9000000,240]");
  host.Feed("W(S1)C(A999999999)[900000,-900000]C(A-2147483648)[400,2000000000]");
  host.Feed("C(B)[-2000000,0][2000000,479][-2000000,0][0,2000000](E)");
  std::string points = "P[400,240]C(B)";
  for (int i = 0; i < 100000; ++i) points += static_cast<char>('0' + i % 8);
  host.Feed(points + "(E)C(S)[10,10]");
  EXPECT_GT(DrawnPixels(host), 0);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 2) << "the unfinished definition waits for (E)";
}

}  // namespace
