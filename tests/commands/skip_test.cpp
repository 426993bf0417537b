// The N command swallows one item: a character, a bracketed group or a
// parenthesised group, quotes protecting a ';'.
#include "commands/skip.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

using commands_test::Permanent;
using commands_test::Position;

TEST(SkipCommand, SwallowsOneItem) {
  const commands_test::COutcome rows[] = {
      {"OneCharacterIsSkipped", "NXP[7,7]", 7, 7, 0, 0, 0},
      {"ACommandLetterIsSwallowedAndItsBracketRejected", "NP[10,10]", 0, 0, 1, ']', 0},
      {"ABracketedGroupIsSkipped", "N[1,2]V[3,3]", 3, 3, 0, 0, 0},
      {"AParenthesisedGroupIsSkipped", "N(A[1,2]B)P[4,4]", 4, 4, 0, 0, 0},
      {"TheFirstParenthesisEndsTheGroup", "N(A(B)P[4,4])", 4, 4, 1, ')', 0},
      {"AQuotedSemicolonIsText", "N('A;B')P[5,5]", 5, 5, 0, 0, 0},
      {"EitherQuoteEndsTheQuotedPart", "N(\"A;B')P[5,5]", 5, 5, 0, 0, 0},
      {"AnUnquotedSemicolonResets", "N(A;B)P[5,5]", 5, 5, 1, ')', 0},
      {"ADigitAfterNIsAnError", "NX5", 0, 0, 1, '5', 0},
  };
  for (const auto& c : rows) commands_test::ExpectOutcome(c);
}

TEST(SkipCommand, MakesTheTemporaryControlsPermanent) {
  CTestHost host;
  host.Feed("V(W(I3))[1,1]NX");
  EXPECT_EQ(Permanent(host).foreground, 3);
}

TEST(SkipCommand, AnOpenQuoteKeepsSemicolonsAsTextAcrossStrings) {
  CTestHost host;
  host.Feed("N('A;");
  EXPECT_NE(host.Interpreter()->flags & kFlagSemicolonData, 0u);
  host.Feed("B')P[6,6]");
  EXPECT_EQ(Position(host).x, 6);
  EXPECT_EQ(host.Interpreter()->flags & kFlagSemicolonData, 0u);
}

}  // namespace
