// The position, vector and N commands, option tails, and hostile strings.
#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

std::string Blocks(int n, const char* last) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "P(B)";
  return s + last;
}

TEST(PositionCommand, MovesRecordsAndKeepsTheStack) {
  const commands_test::CCase cases[] = {
      {"more coordinates continue", "P[100,100][+50,+20]", "at=150,120"},
      {"every digit moves once", "P[10,10]0123", "at=11,7"},
      {"eight is an error by value", "P[10,10]8", "at=10,10 err=1#8"},
      {"a bounded block returns", "P[30,40]P(B)[100,100]P(E)", "at=30,40 pos=0"},
      {"an unbounded block stays", "P[30,40]P(S)[100,100]P(E)", "at=100,100 pos=0"},
      {"E on an empty stack", "P[5,5]P(E)", "at=5,5 err=8'E'"},
      {"an empty list", "P[5,5]P()", "at=5,5"},
      {"a comma before B", "P[5,5]P(,B)", "at=5,5 err=1',' pos=1"},
      {"blocks nest in one list", "P(B,B)", "pos=2"},
      {"a vector entry is only removed", "P[5,5]V(B)[100,100]P(E)", "at=100,100 pos=0"},
      {"an unknown option", "P(Q)", "err=1'Q'"},
      {"an error after B leaves it", "P(BQ)", "err=1'Q' pos=1"},
      {"the letter after the list", "P(B)Q", "err=1'Q' pos=1"},
      {"a semicolon ends the command", "P[1,1];[", "at=1,1 err=1'['"},
      {"a W option lasts while continued", "P(W(M10))[10,10]6", "at=10,20"},
      {"a command letter restores M", "P(W(M10))[10,10]P6", "at=10,11"},
      {"the stack survives a semicolon", "P[20,30]P(B);P[200,200]P(E)", "at=20,30"},
      {"the 17th block is error 7", Blocks(17, ""), "err=7'B' pos=16"},
      {"an unbounded one too", Blocks(16, "P(S,S)"), "err=7'S' pos=16"},
      {"a page letter is an error", "P(PX", "err=1'X'"},
      {"page 1 takes the lines", "P(P10)P[10,10]V[20,10]", "drawn=0 drawn2=10"},
      {"page 0 again", "P(P1)P(P0)P[10,10]V[20,10]", "drawn=10"},
      {"a page beyond the count", "P(P5)P[10,10]V[20,10]", "drawn=10"},
      {"the page already taken", "P(P0)P[10,10]V[20,10]", "drawn=10"},
      {"B after a W list", "P(W(I2),B)", "pos=1"},
      {"a stray letter after a W list passes", "P(W(I2)X)P[5,5]", "at=5,5"},
      {"E then B in one list", "P[5,5]P(B)P[9,9]P(E,B)", "at=5,5 pos=1"},
  };
  commands_test::ExpectCases(cases);
}

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
      {"erase draws the background index", "S(I5)W(E)P[0,10]V[48,10]", "at=48,10 px=47,10:5 px=48,10:0"},
      {"digits draw off the page too", "P[0,200]V" + std::string(100000, '0'), "at=100000,200 drawn=800"},
  };
  commands_test::ExpectCases(cases);
}

TEST(SkipCommand, SwallowsOneItem) {
  const commands_test::CCase cases[] = {
      {"one character", "NXP[7,7]", "at=7,7"},
      {"a command letter, its bracket refused", "NP[10,10]", "at=0,0 err=1']'"},
      {"a bracketed group", "N[1,2]V[3,3]", "at=3,3"},
      {"a parenthesised group", "N(A[1,2]B)P[4,4]", "at=4,4"},
      {"the first ')' ends it", "N(A(B)P[4,4])", "at=4,4 err=1')'"},
      {"a quoted ';' is text", "N('A;B')P[5,5]", "at=5,5"},
      {"either quote ends the quote", "N(\"A;B')P[5,5]", "at=5,5"},
      {"an unquoted ';' resets", "N(A;B)P[5,5]", "at=5,5 err=1')'"},
      {"a digit after N", "NX5", "err=1'5'"},
      {"the temporary controls become permanent", "V(W(I3))[1,1]NX", "fg=3"},
  };
  commands_test::ExpectCases(cases);
}

TEST(OptionTail, ActsForTheLastCommand) {
  const commands_test::CCase cases[] = {
      {"a position block returns", "P[50,50](B)P[300,300](E)", "at=50,50 pos=0"},
      {"push and pop in one list", "P[10,10](B,E)", "at=10,10 pos=0"},
      {"an unbounded block stays", "P[10,10](S)P[20,20](E)", "at=20,20 pos=0"},
      {"E on an empty stack", "P[10,10](E)", "at=10,10 err=8'E'"},
      {"B without a command", "(B)", "err=1'B'"},
      {"S without a command", "(S)", "err=1'S'"},
      {"B after N", "P[10,10]NX(B)", "err=1'B' pos=0"},
      {"an empty tail", "P[10,10]()", "err=1')'"},
      {"a bad character after B", "P[10,10](BX", "err=1'X' pos=1"},
      {"another letter ends it", "P[10,10](B)(Q", "err=1'Q' pos=1"},
      {"after a vector B pushes for it", "V[10,10](B)P[30,30]P(E)", "at=30,30 pos=0"},
      {"W becomes a permanent command", "P[10,10](W(I2))", "err=1')' fg=2"},
      {"a vector figure closes to its block", "P[100,50]V[100,100](B)[200,100][200,200](E)",
       "at=100,100 px=150,100:fg px=200,150:fg px=150,150:fg"},
      {"a position entry moves without drawing", "P[100,100](B)V[200,200](E)", "at=100,100 drawn=100"},
  };
  commands_test::ExpectCases(cases);
}

// Sizes and bytes no sane host sends: each string must finish and leave an
// interpreter that still works.
TEST(RegisStrings, HostileSizesAndBytesFinish) {
  std::string everyByte = "@:Q";  // every byte after '@' in a text that names itself
  for (int b = 1; b < 256; ++b)
    if (b != ';') everyByte += std::string("@") + static_cast<char>(b);
  const std::string rows[] = {
      everyByte + "@;@Q",
      "W(S1)P[400,240]C(A999999999)[900000,-900000]C(A-2147483648)[400,2000000000]C(B)[-2000000,0][0,2000000]"
      "(E)",
      "T(U[2147483647,-2147483648])'ab'T(S[-2147483648,2147483647])'ab'",
      "L'\x01'FFF;L'\xff'FF;",
  };
  for (const std::string& text : rows) {
    CTestHost host;
    host.Feed(text);
    host.Feed(";P[3,4]");
    EXPECT_EQ(commands_test::Position(host).x, 3) << text;
    EXPECT_EQ(commands_test::Position(host).y, 4) << text;
    EXPECT_FALSE(host.Interpreter()->macroRunning);
  }
}

}  // namespace
