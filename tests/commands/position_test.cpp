// The position command: coordinates and pixel vectors move the current
// position, its option list saves and restores positions and picks the
// output page, and a W option lasts while the command continues.
#include "commands/position.h"

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
  };
  commands_test::ExpectCases(cases);
}

}  // namespace
