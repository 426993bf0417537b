// Whole ReGIS strings as a host hands them over: several commands at once,
// checked by the pixels they leave, the position, the last error and the
// writing controls.
#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::Active;
using commands_test::DefaultForeground;
using commands_test::DrawnPixels;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Permanent;
using commands_test::Position;

TEST(RegisStrings, ABoxInATemporaryColourClosedFromAPositionBlock) {
  CTestHost host;
  host.Feed("P[100,100](B)V(W(I3))[+100,+0][,+100][-100,][](E)");
  // The last coordinate [] draws nothing; the closing E is a 'P' entry, so
  // the left side is never drawn.
  EXPECT_EQ(IndexAt(host, 150, 100), 3);
  EXPECT_EQ(IndexAt(host, 200, 150), 3);
  EXPECT_EQ(IndexAt(host, 150, 200), 3);
  EXPECT_EQ(IndexAt(host, 100, 150), 0);
  EXPECT_EQ(Position(host).x, 100);
  EXPECT_EQ(Position(host).y, 100);
  EXPECT_EQ(LastError(host), 0);
  EXPECT_EQ(Permanent(host).foreground, DefaultForeground(host));
}

TEST(RegisStrings, PixelVectorsFollowTheMultiplierOfTheirCommand) {
  CTestHost host;
  host.Feed("W(M10)P[100,100]V0P(W(M3))6V2");
  // V0 draws 10 right; P(W(M3))6 moves 3 down; the V letter reloads M10.
  EXPECT_EQ(Position(host).x, 110);
  EXPECT_EQ(Position(host).y, 93);
  EXPECT_EQ(IndexAt(host, 105, 100), DefaultForeground(host));
  EXPECT_EQ(IndexAt(host, 110, 98), DefaultForeground(host));
}

TEST(RegisStrings, ErrorsKeepTheLastOneAndParsingGoesOn) {
  CTestHost host;
  host.Feed("P[1,2,3]");
  EXPECT_EQ(LastError(host), 3);
  EXPECT_EQ(LastErrorChar(host), 0);
  host.Feed(" V[1Q,50]");
  EXPECT_EQ(LastError(host), 1);
  EXPECT_EQ(LastErrorChar(host), 'Q');
  EXPECT_EQ(Position(host).x, 1);
  EXPECT_EQ(Position(host).y, 50);
  EXPECT_EQ(IndexAt(host, 1, 20), DefaultForeground(host));
}

TEST(RegisStrings, ASemicolonDropsATemporaryWriteButNotAPermanentOne) {
  CTestHost host;
  host.Feed("W(I4)V(W(I2);P[0,0]V[10,0]");
  EXPECT_EQ(IndexAt(host, 5, 0), 4);
  EXPECT_EQ(Active(host).foreground, 4);
}

TEST(RegisStrings, ArgumentsSplitAcrossStringsStillCount) {
  CTestHost host;
  for (char ch : std::string("P[100,100]V(B)[200,100][200,200](E)")) host.Feed(std::string(1, ch));
  EXPECT_EQ(IndexAt(host, 150, 150), DefaultForeground(host));
  EXPECT_EQ(Position(host).x, 100);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), 0);
}

TEST(RegisStrings, AMillionPixelVectorDigitsTakeLinearTime) {
  CTestHost host;
  host.Feed("P[400,240]V");
  // Right and left in turn: every digit is a line drawn on the page.
  std::string chunk;
  for (int i = 0; i < 2048; ++i) chunk += "04";
  int fed = 0;
  while (fed < 1000000) {
    host.Feed(chunk);
    fed += static_cast<int>(chunk.size());
  }
  EXPECT_EQ(Position(host).x, 400);
  EXPECT_EQ(Position(host).y, 240);
  EXPECT_EQ(DrawnPixels(host), 2);
  EXPECT_EQ(LastError(host), 0);
}

TEST(RegisStrings, HugeNumbersNeverBreakTheStream) {
  CTestHost host;
  host.Feed("P[99999999999,-99999999999]V[2147483647,2147483647]");
  host.Feed("P[1E400,-1E400]V[" + std::string(300, '7') + "," + std::string(300, '8') + "]");
  host.Feed("W(M99999999999)P[0,0]6");
  host.Feed("P[10,10]V[20,10]");
  EXPECT_EQ(Position(host).x, 20);
  EXPECT_EQ(Position(host).y, 10);
  EXPECT_EQ(IndexAt(host, 15, 10), DefaultForeground(host));
}

}  // namespace
