// The fill command: the outline its inner commands collect is filled at ')'.
#include "commands/fill.h"

#include <gtest/gtest.h>

#include "regis_probe.h"

namespace {

TEST(FillCommand, FillsWhatItsInnerCommandsOutline) {
  const commands_test::CCase cases[] = {
      {"a square, back where the fill began", "P[100,100]F(V[200,100][200,200][100,200][100,100])",
       "px=101,101:fg px=250,150:0 at=100,100"},
      {"the start is no vertex: a triangle", "P[100,100]F(V[200,100][200,200][100,200])",
       "px=180,180:fg px=120,120:0 at=100,100"},
      {"a star leaves its centre empty", "P[400,140]F(V[459,321][305,209][495,209][341,321][400,140])",
       "px=400,170:fg px=400,240:0 at=400,140"},
      {"a circle fills its disc", "P[300,240]F(C[350,240])", "px=345,240:fg px=355,240:0 at=300,240"},
      {"a closed curve fills", "P[100,100]F(C(B)[100,100][200,100][200,200][100,200](E))",
       "px=110,150:fg px=250,150:0 at=100,100"},
      {"one vector fills nothing", "P[100,100]F(V[200,200])", "px=150,150:0 at=100,100"},
      {"W in the body colours the fill", "P[100,100]F(W(I3)V[200,100][200,200][100,200])",
       "px=180,180:3 px=120,120:0"},
      {"a line after the fill has the old colour", "F(W(I3)V[1,1][2,2][3,1])P[10,10]V[10,40]",
       "px=10,20:fg at=10,40"},
      {"a W without options ends at the next letter", "P[100,100]F(WV[200,100][200,200][100,200])",
       "px=180,180:0 err=1']'"},
      {"a vector's own W does not colour the fill", "P[100,100]F(V(W(I3))[200,100][200,200][100,200])",
       "px=180,180:fg"},
      {"a digit continues the vector with the body's M", "P[100,100]F(W(M100)V[200,100][200,200]4)",
       "px=180,180:fg px=120,120:0"},
      {"a macrograph outlines in the body", "@:SV[200,100][200,200][100,200][100,100]@;P[100,100]F(@S)",
       "px=150,150:fg px=250,150:0"},
      {"plane mask 6 fills with index 6", "W(F6)P[100,100]F(V[200,100][200,200][100,200][100,100])",
       "px=150,150:6"},
      {"text in the body is an error, the fill ends", "F(V[10,10]T'x')", "px=5,5:0 at=0,0 err=1'''"},
      {"';' discards the fill; what follows draws", "P[100,100]F(V[200,100][200,200];V[300,300]",
       "px=250,250:fg px=150,120:0 at=300,300"},
  };
  commands_test::ExpectCases(cases);
}

}  // namespace
