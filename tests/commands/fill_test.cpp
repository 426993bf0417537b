// The fill command: the points its inner commands collect outline a polygon
// filled by the alternate rule at the ')', after which the writing controls
// and the position are as they were at the '('.
#include "commands/fill.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::Active;
using commands_test::DefaultForeground;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Permanent;
using commands_test::Position;

constexpr int kFg = -1;  // the default foreground, whatever it is

TEST(FillCommand, FillsWhatItsInnerCommandsOutline) {
  // One pixel that must take the index, one that must stay background, the
  // position afterwards and the character of the last error (0: none).
  const struct {
    const char* behaviour;
    const char* text;
    int inX, inY, index, outX, outY;
    int x, y, errorChar;
  } rows[] = {
      {"a square, the position back where the fill began",
       "P[100,100]F(V[200,100][200,200][100,200][100,100])", 101, 101, kFg, 250, 150, 100, 100, 0},
      {"the starting position is no vertex: a triangle", "P[100,100]F(V[200,100][200,200][100,200])", 180,
       180, kFg, 120, 120, 100, 100, 0},
      {"a five-pointed star leaves its centre empty",
       "P[400,140]F(V[459,321][305,209][495,209][341,321][400,140])", 400, 170, kFg, 400, 240, 400, 140, 0},
      {"a circle fills its disc", "P[300,240]F(C[350,240])", 345, 240, kFg, 355, 240, 300, 240, 0},
      {"a closed curve fills its inside", "P[100,100]F(C(B)[100,100][200,100][200,200][100,200](E))", 110,
       150, kFg, 250, 150, 100, 100, 0},
      {"one vector fills nothing", "P[100,100]F(V[200,200])", 0, 0, 0, 150, 150, 100, 100, 0},
      {"W in the body colours the fill", "P[100,100]F(W(I3)V[200,100][200,200][100,200])", 180, 180, 3, 120,
       120, 100, 100, 0},
      {"the line after a fill has the colour from before it", "F(W(I3)V[1,1][2,2][3,1])P[10,10]V[10,40]", 10,
       20, kFg, 11, 20, 10, 40, 0},
      {"a vector's own W option does not colour the fill", "P[100,100]F(V(W(I3))[200,100][200,200][100,200])",
       180, 180, kFg, 120, 120, 100, 100, 0},
      {"a digit continues the vector, with the multiplier W set in the body",
       "P[100,100]F(W(M100)V[200,100][200,200]4)", 180, 180, kFg, 120, 120, 100, 100, 0},
      {"a macrograph outlines inside the body", "@:SV[200,100][200,200][100,200][100,100]@;P[100,100]F(@S)",
       150, 150, kFg, 250, 150, 100, 100, 0},
      {"plane mask 6 fills with index 6", "W(F6)P[100,100]F(V[200,100][200,200][100,200][100,100])", 150, 150,
       6, 250, 150, 100, 100, 0},
      {"text in the body is an error and the fill still ends", "F(V[10,10]T'x')", 0, 0, 0, 5, 5, 0, 0, '\''},
      {"';' discards the fill and its points; what follows draws",
       "P[100,100]F(V[200,100][200,200];V[300,300]", 250, 250, kFg, 150, 120, 300, 300, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(IndexAt(host, c.inX, c.inY), c.index == kFg ? DefaultForeground(host) : c.index);
    EXPECT_EQ(IndexAt(host, c.outX, c.outY), 0);
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
    EXPECT_EQ(LastError(host), c.errorChar ? 1 : 0);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Surface()->pointList, nullptr);
  }
}

TEST(FillCommand, TheWritingControlsInForceComeBackAfterTheFill) {
  CTestHost host;
  host.Feed("W(I2)F(W(I5,M3,P2)V[10,10][20,20][10,30]");
  EXPECT_EQ(Permanent(host).foreground, 5) << "the body's W lasts for the body";
  host.Feed(")");
  for (CWriteControls* w : {&Permanent(host), &Active(host)}) {
    EXPECT_EQ(w->foreground, 2);
    EXPECT_EQ(w->pixelMultiplier, 1);
    EXPECT_EQ(w->pattern, 1);
  }
}

TEST(FillCommand, AMillionCollectedPointsAreFilled) {
  CTestHost host;
  std::string text = "P[400,240]F(V";
  for (int i = 0; i < 250000; ++i) text += "0642";
  host.Feed(text + "[+100,+0][+0,+100][-100,+0])");
  EXPECT_EQ(host.Surface()->pointList, nullptr);
  EXPECT_EQ(IndexAt(host, 450, 290), DefaultForeground(host));
}

}  // namespace
