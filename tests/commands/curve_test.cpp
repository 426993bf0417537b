// The curve command: circles and arcs about the position or about the given
// point, arcs that move the position, interpolated curves defined between
// B or S and (E), and how the dispatcher continues the command.
#include "commands/curve.h"

#include <gtest/gtest.h>

#include "regis_probe.h"

namespace {

TEST(CurveCommand, MovesAndRecords) {
  // The radius is ISqrt(100 * 100) = 101, so arcs end one unit further.
  const commands_test::CCase cases[] = {
      {"a circle leaves the position", "P[400,240]C[500,240]", "at=400,240"},
      {"so does one about the point", "P[400,240]C(C)[500,240]", "at=400,240"},
      {"an arc about the position", "P[400,240]C(A90)[500,240]", "at=400,240"},
      {"an arc about the point moves", "P[400,240]C(A90C)[500,240]", "at=500,341"},
      {"a minus turns clockwise", "P[400,240]C(A-90C)[500,240]", "at=500,139"},
      {"a plus between digits adds", "P[400,240]C(A12+3C)[500,240]", "at=555,324"},
      {"a curve moves through its points", "P[100,100]C(S)[200,50][300,100][400,50](E)", "at=400,50"},
      {"a curve takes pixel vectors", "P[100,100]C(B)0246(E)", "at=100,100"},
      {"a letter in a curve, its point counts", "C(B)[10,10]V[20,20](E)", "at=20,20 err=1'V'"},
      {"eight is an error", "P[400,240]C8", "at=400,240 err=1#8"},
      {"an empty list", "C()", "err=1')'"},
      {"digits after a finished command", "C(W(I2))5", "err=1'5'"},
      {"an unknown option", "C(Q", "err=1'Q'"},
      {"an angle takes no separator", "C(A90 C)", "err=1' '"},
      {"a temporary colour lasts for the command",  // radii 101 and 21
       "P[400,240]C(W(I2))[500,240]C[420,240]", "px=299,240:2 px=379,240:fg"},
  };
  commands_test::ExpectCases(cases);
}

TEST(CurveCommand, DrawsTheSamePictureAs) {
  const struct {
    const char* text;
    const char* same;
  } rows[] = {
      {"P[400,240]C[300,240][200,240]", "P[400,240]C[300,240]C[200,240]"},
      {"W(C)P[400,240]C444", "W(C)P[400,240]C4"},                           // each digit draws again
      {"P[400,240]C(A90)[500,240][600,240]", "P[400,240]C(A90)[500,240]"},  // one arc per command
      {"P[400,240]C(A90)(C)[600,240]", "P[400,240]C(A90)C(C)[600,240]"},
      {"P[100,100]C(S)[200,50][300,100](E)", ""},  // an open curve of three points
      {"C(B)[100,10]V[200,200](E)", "C(B)[100,10][200,200](E)"},
      {"P[100,100]C(B)[200,50][300,100][400,50]", ""},  // unfinished
      {"W(C)P[400,240]C[500,240]C[500,240]", ""},
      {"W(C)P[100,100]C(B)[200,50][300,100][100,100](E)P[100,100]C(B)[200,50][300,100][100,100](E)", ""},
      {"P[400,240]C(A0)[500,240]", ""},
  };
  for (const auto& c : rows) {
    CTestHost drawn, expected;
    drawn.Feed(c.text);
    expected.Feed(c.same);
    EXPECT_EQ(drawn.PageImage().pixels, expected.PageImage().pixels) << c.text;
  }
}

}  // namespace
