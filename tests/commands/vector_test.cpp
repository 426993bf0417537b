// The vector command: each coordinate or pixel-vector digit draws one line
// from the current position and moves there; its option list keeps blocks
// on the position stack and closes figures back to them.
#include "commands/vector.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::DefaultForeground;
using commands_test::DrawnPixels;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Position;

TEST(VectorCommand, MovesDrawsAndKeepsTheStack) {
  const struct {
    const char* behaviour;
    const char* text;
    int x, y;
    int drawn;  // pixels in a colour other than the background
    int error, errorChar;
    int stacked;  // position-stack entries left
  } rows[] = {
      {"a coordinate draws up to but not including the end", "P[100,100]V[200,200]", 200, 200, 100, 0, 0, 0},
      {"pixel vectors draw one unit each", "P[100,100]V4444", 96, 100, 4, 0, 0, 0},
      {"nine is an error and draws nothing where it stands", "P[100,100]V9", 100, 100, 0, 1, 9, 0},
      {"an unbounded block draws nothing at its end", "V(S)[10,10]V(E)", 10, 10, 10, 0, 0, 0},
      {"a position entry is popped without drawing", "P[50,50]P(B)P[60,60]V(E)", 60, 60, 0, 0, 0, 0},
      {"a bounded block closes back to where it opened", "P[100,100]V(B)[200,100][200,200]V(E)", 100, 100, -1,
       0, 0, 0},
      {"an empty list is an error and waits for an option", "V()B)", 0, 0, 0, 1, ')', 1},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
    if (c.drawn >= 0) {
      EXPECT_EQ(DrawnPixels(host), c.drawn);
    }
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->positionStack.Count(), c.stacked);
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  }
}

TEST(VectorCommand, DrawsInTheForegroundAndClosesFiguresFromWhereEachListOpened) {
  CTestHost host;
  const int fg = DefaultForeground(host);
  host.Feed("P[100,100]V[200,200]");
  for (int i : {100, 150, 199}) EXPECT_EQ(IndexAt(host, i, i), fg) << i;
  EXPECT_EQ(IndexAt(host, 200, 200), 0);
  host.Feed("P[100,300]V(B)[200,300][200,400]V(E)");
  EXPECT_EQ(IndexAt(host, 150, 350), fg) << "the closing line";
  // The second closing line runs from (600, 100), not from the end of the first.
  host.Feed("P[510,100]V(B)[550,50]V(B)[600,100]V(E,E)");
  EXPECT_EQ(IndexAt(host, 560, 100), fg);
  EXPECT_EQ(Position(host).x, 510);
}

TEST(VectorCommand, ATemporaryColourLastsForTheContinuedCommandEvenInALaterString) {
  CTestHost host;
  host.Feed("P[0,0]V(W(I2))[100,0]");
  host.Feed("[100,100]");
  EXPECT_EQ(IndexAt(host, 50, 0), 2);
  EXPECT_EQ(IndexAt(host, 100, 50), 2);
  host.Feed("V[0,100]");
  EXPECT_EQ(IndexAt(host, 50, 100), DefaultForeground(host));
}

TEST(VectorCommand, ABadCharacterAfterAnOptionLetsADigitEndTheList) {
  CTestHost host;
  host.Feed("P[100,100]V(W(I2)X5");
  EXPECT_EQ(LastError(host), 1);
  EXPECT_EQ(LastErrorChar(host), 'X');
  // The 5 starts a new vector command that keeps the temporary colour.
  EXPECT_EQ(Position(host).x, 99);
  EXPECT_EQ(Position(host).y, 101);
  EXPECT_EQ(IndexAt(host, 100, 100), 2);
}

TEST(VectorCommand, AHundredThousandDigitsDrawAsManyLinesClippedToThePage) {
  CTestHost host;
  host.Feed("P[0,200]V");
  const std::string chunk(4000, '0');
  for (int i = 0; i < 25; ++i) host.Feed(chunk);
  EXPECT_EQ(Position(host).x, 100000);
  EXPECT_EQ(Position(host).y, 200);
  EXPECT_EQ(DrawnPixels(host), 800);
}

}  // namespace
