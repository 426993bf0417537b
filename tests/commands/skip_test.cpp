// The N command swallows one item: a character, a bracketed group or a
// parenthesised group, quotes protecting a ';'.
#include "commands/skip.h"

#include <gtest/gtest.h>

#include "regis_probe.h"

namespace {

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

TEST(SkipCommand, AnOpenQuoteKeepsSemicolonsAsTextAcrossStrings) {
  CTestHost host;
  host.Feed("N('A;");
  EXPECT_NE(host.Interpreter()->flags & kFlagSemicolonData, 0u);
  host.Feed("B')P[6,6]");
  EXPECT_EQ(commands_test::Position(host).x, 6);
  EXPECT_EQ(host.Interpreter()->flags & kFlagSemicolonData, 0u);
}

}  // namespace
