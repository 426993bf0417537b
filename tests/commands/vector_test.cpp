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

TEST(VectorCommand, DrawsFromTheCurrentPositionUpToButNotIncludingTheEnd) {
  CTestHost host;
  host.Feed("P[100,100]V[200,200]");
  const int fg = DefaultForeground(host);
  for (int i = 100; i < 200; ++i) EXPECT_EQ(IndexAt(host, i, i), fg) << i;
  EXPECT_EQ(IndexAt(host, 200, 200), 0);
  EXPECT_EQ(DrawnPixels(host), 100);
  EXPECT_EQ(Position(host).x, 200);
  EXPECT_EQ(Position(host).y, 200);
}

TEST(VectorCommand, TheScreenDiagonalEndsAtTheFarCorner) {
  CTestHost host;
  host.Feed("P[0,0]V[799,479]");
  EXPECT_EQ(IndexAt(host, 0, 0), DefaultForeground(host));
  EXPECT_EQ(IndexAt(host, 799, 479), 0);
  EXPECT_EQ(Position(host).x, 799);
  EXPECT_EQ(Position(host).y, 479);
}

TEST(VectorCommand, PixelVectorsDrawOneUnitEach) {
  CTestHost host;
  host.Feed("P[100,100]V4444");
  const int fg = DefaultForeground(host);
  for (int x = 97; x <= 100; ++x) EXPECT_EQ(IndexAt(host, x, 100), fg) << x;
  EXPECT_EQ(DrawnPixels(host), 4);
  EXPECT_EQ(Position(host).x, 96);
}

TEST(VectorCommand, NineIsAnErrorAndDrawsNothingWhereItStands) {
  CTestHost host;
  host.Feed("P[100,100]V9");
  EXPECT_EQ(LastError(host), 1);
  EXPECT_EQ(LastErrorChar(host), 9);
  EXPECT_EQ(DrawnPixels(host), 0);
  EXPECT_EQ(Position(host).x, 100);
  EXPECT_EQ(Position(host).y, 100);
}

TEST(VectorCommand, AnUnboundedBlockDrawsNothingAtItsEnd) {
  CTestHost host;
  host.Feed("V(S)[10,10]V(E)");
  EXPECT_EQ(DrawnPixels(host), 10);
  EXPECT_EQ(Position(host).x, 10);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 0);
}

TEST(VectorCommand, APositionEntryIsPoppedWithoutDrawing) {
  CTestHost host;
  host.Feed("P[50,50]P(B)P[60,60]V(E)");
  EXPECT_EQ(DrawnPixels(host), 0);
  EXPECT_EQ(Position(host).x, 60);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 0);
}

TEST(VectorCommand, ABoundedBlockClosesWithALineBack) {
  CTestHost host;
  host.Feed("P[100,100]V(B)[200,100][200,200]V(E)");
  EXPECT_EQ(IndexAt(host, 150, 150), DefaultForeground(host));
  EXPECT_EQ(Position(host).x, 100);
  EXPECT_EQ(Position(host).y, 100);
}

TEST(VectorCommand, EveryEndOfOneListStartsWhereTheListOpened) {
  CTestHost host;
  host.Feed("P[10,100]V(B)[50,50]V(B)[100,100]V(E,E)");
  const int fg = DefaultForeground(host);
  // The second line runs from (100, 100), not from the end of the first.
  EXPECT_EQ(IndexAt(host, 60, 100), fg);
  EXPECT_EQ(Position(host).x, 10);
  EXPECT_EQ(Position(host).y, 100);
}

TEST(VectorCommand, AnEmptyListIsAnErrorAndWaitsForAnOption) {
  CTestHost host;
  host.Feed("V()");
  EXPECT_EQ(LastError(host), 1);
  EXPECT_EQ(LastErrorChar(host), ')');
  host.Feed("B)");
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 1);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

TEST(VectorCommand, ATemporaryColourLastsForTheContinuedCommand) {
  CTestHost host;
  host.Feed("P[0,0]V(W(I2))[100,0][100,100]");
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

TEST(VectorCommand, ContinuesInALaterString) {
  CTestHost host;
  host.Feed("P[10,10]V[20,10]");
  host.Feed("[20,20]");
  EXPECT_EQ(IndexAt(host, 20, 15), DefaultForeground(host));
  EXPECT_EQ(Position(host).y, 20);
}

TEST(VectorCommand, HugeCoordinatesDrawWithoutHanging) {
  CTestHost host;
  EXPECT_EQ(host.Feed("P[99999999999,-99999999999]V[2147483647,2147483647]"), 0);
  EXPECT_EQ(Position(host).x, INT32_MAX);
  EXPECT_EQ(Position(host).y, INT32_MAX);
  host.Feed("P[0,0]V[" + std::string(300, '9') + ",0]");
  EXPECT_EQ(Position(host).x, INT32_MAX);
  EXPECT_EQ(LastError(host), 0);
}

TEST(VectorCommand, AHundredThousandDigitsDrawAsManyLines) {
  CTestHost host;
  host.Feed("P[0,200]V");
  const std::string chunk(4000, '0');
  for (int i = 0; i < 25; ++i) host.Feed(chunk);
  EXPECT_EQ(Position(host).x, 100000);
  EXPECT_EQ(Position(host).y, 200);
  EXPECT_EQ(DrawnPixels(host), 800);
}

}  // namespace
