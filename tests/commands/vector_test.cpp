// The vector command: each coordinate or pixel-vector digit draws one line
// from the current position and moves there; its option list keeps blocks
// on the position stack and closes figures back to them.
#include "commands/vector.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

TEST(VectorCommand, MovesDrawsAndKeepsTheStack) {
  const commands_test::CCase cases[] = {
      {"a line up to but not its end", "P[100,100]V[200,200]",
       "at=200,200 drawn=100 px=100,100:fg px=199,199:fg px=200,200:0"},
      {"pixel vectors draw a unit each", "P[100,100]V4444", "at=96,100 drawn=4"},
      {"nine is an error", "P[100,100]V9", "at=100,100 drawn=0 err=1#9"},
      {"an unbounded block draws no end", "V(S)[10,10]V(E)", "at=10,10 drawn=10 pos=0"},
      {"a position entry is only popped", "P[50,50]P(B)P[60,60]V(E)", "at=60,60 drawn=0 pos=0"},
      {"a bounded block closes the figure", "P[100,100]V(B)[200,100][200,200]V(E)",
       "at=100,100 px=150,150:fg pos=0"},
      // The second closing line runs from (600, 100), not from the end of the first.
      {"each list closes from where it opened", "P[510,100]V(B)[550,50]V(B)[600,100]V(E,E)",
       "at=510,100 px=560,100:fg"},
      {"an empty list waits for an option", "V()B)", "err=1')' pos=1 parse=1"},
      // The 5 after the bad character starts a new command keeping the colour.
      {"a digit ends a list left by a bad character", "P[100,100]V(W(I2)X5",
       "at=99,101 px=100,100:2 err=1'X'"},
      {"digits draw off the page too", "P[0,200]V" + std::string(100000, '0'), "at=100000,200 drawn=800"},
  };
  commands_test::ExpectCases(cases);
}

TEST(VectorCommand, ATemporaryColourLastsIntoALaterString) {
  CTestHost host;
  host.Feed("P[0,0]V(W(I2))[100,0]");
  host.Feed("[100,100]V[0,100]");
  commands_test::ExpectFacts(host, "px=50,0:2 px=100,50:2 px=50,100:fg");
}

}  // namespace
