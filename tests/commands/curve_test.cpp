// The curve command: circles, arcs, interpolated curves and continuation.
#include "commands/curve.h"

#include <gtest/gtest.h>

#include "regis_probe.h"

namespace {

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

TEST(CurveCommand, ErrorsAndThePositionLeft) {
  const commands_test::CCase cases[] = {
      {"8 is no direction", "P[400,240]C8", "at=400,240 err=1#8"},
      {"a space in the angle is an error, C still centres", "P[400,240]C(A90 C)[500,240]",
       "at=500,341 err=1' '"},
      {"a digit after the options", "P[400,240]C(A90)4", "at=400,240"},
      {"a list after another option", "C(A90((", "err=1'('"},
  };
  commands_test::ExpectCases(cases);
}

}  // namespace
