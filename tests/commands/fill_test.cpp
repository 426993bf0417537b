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

struct CProbe {
  int x, y, index;
};

TEST(FillCommand, FillsWhatItsInnerCommandsOutline) {
  const struct {
    const char* behaviour;
    const char* text;
    CProbe probes[3];
    int x, y;
    int error, errorChar;
  } rows[] = {
      {"a square, the position back where the fill began",
       "P[100,100]F(V[200,100][200,200][100,200][100,100])",
       {{101, 101, kFg}, {199, 150, kFg}, {250, 150, 0}},
       100,
       100,
       0,
       0},
      {"the starting position is no vertex: a triangle",
       "P[100,100]F(V[200,100][200,200][100,200])",
       {{180, 180, kFg}, {120, 120, 0}, {150, 199, kFg}},
       100,
       100,
       0,
       0},
      {"a five-pointed star leaves its centre empty",
       "P[400,140]F(V[459,321][305,209][495,209][341,321][400,140])",
       {{400, 240, 0}, {400, 170, kFg}, {480, 212, kFg}},
       400,
       140,
       0,
       0},
      {"a circle fills its disc",
       "P[300,240]F(C[350,240])",
       {{300, 240, kFg}, {345, 240, kFg}, {355, 240, 0}},
       300,
       240,
       0,
       0},
      {"a closed curve fills its inside",
       "P[100,100]F(C(B)[100,100][200,100][200,200][100,200](E))",
       {{150, 150, kFg}, {110, 150, kFg}, {250, 150, 0}},
       100,
       100,
       0,
       0},
      {"one vector fills nothing",
       "P[100,100]F(V[200,200])",
       {{150, 150, 0}, {199, 199, 0}, {0, 0, 0}},
       100,
       100,
       0,
       0},
      {"W in the body colours the fill, and the line after it is drawn as before",
       "P[100,100]F(W(I3)V[200,100][200,200][100,200])V[100,300]",
       {{180, 180, 3}, {100, 250, kFg}, {120, 120, 0}},
       100,
       300,
       0,
       0},
      {"a vector's own W option does not colour the fill",
       "P[100,100]F(V(W(I3))[200,100][200,200][100,200])",
       {{180, 180, kFg}, {0, 0, 0}, {0, 0, 0}},
       100,
       100,
       0,
       0},
      {"a digit continues the vector, with the multiplier W set in the body",
       "P[100,100]F(W(M100)V[200,100][200,200]4)",
       {{180, 180, kFg}, {120, 120, 0}, {0, 0, 0}},
       100,
       100,
       0,
       0},
      {"a macrograph outlines inside the body",
       "@:SV[200,100][200,200][100,200][100,100]@;P[100,100]F(@S)",
       {{150, 150, kFg}, {250, 150, 0}, {0, 0, 0}},
       100,
       100,
       0,
       0},
      {"plane mask 6 fills with index 6",
       "W(F6)P[100,100]F(V[200,100][200,200][100,200][100,100])",
       {{150, 150, 6}, {250, 150, 0}, {0, 0, 0}},
       100,
       100,
       0,
       0},
      {"text in the body is an error and the fill still ends",
       "F(V[10,10]T'x')",
       {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
       0,
       0,
       1,
       '\''},
      {"';' discards the fill and its points; what follows draws",
       "P[100,100]F(V[200,100][200,200];V[300,300]",
       {{150, 120, 0}, {250, 250, kFg}, {0, 0, 0}},
       300,
       300,
       0,
       0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    for (const CProbe& p : c.probes)
      EXPECT_EQ(IndexAt(host, p.x, p.y), p.index == kFg ? DefaultForeground(host) : p.index)
          << p.x << "," << p.y;
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
    EXPECT_EQ(LastError(host), c.error);
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
