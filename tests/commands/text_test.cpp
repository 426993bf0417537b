// The text command: attributes, positions after strings, blocks.
#include "commands/text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "regis_probe.h"
#include "surface/graphics_context.h"

namespace {

using commands_test::Current;

TEST(TextCommand, OptionsSetTheAttributes) {
  const struct {
    const char* behaviour;
    const char* text;
    int displayW, displayH, unitW, unitH, spacingX, spacingY;
    int stringDir, charDir, italic;
    int error, errorChar;
  } rows[] = {
      {"defaults", "T", 9, 20, 8, 20, 9, 0, 0, 0, 0, 0, 0},
      {"a standard size", "T(S2)", 18, 30, 16, 30, 18, 0, 0, 0, 0, 0, 0},
      {"size 0 is not the rule", "T(S0)", 9, 10, 8, 10, 9, 0, 0, 0, 0, 0, 0},
      {"size 17 is out of range", "T(S17)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 9, 0},
      {"a wrapped huge size", "T(S2147483647)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 9, 0},
      {"a space starts a new size", "T(S 2)", 18, 30, 16, 30, 18, 0, 0, 0, 0, 0, 0},
      {"D alone turns the characters", "T(D90)", 9, 20, 8, 20, 9, 0, 0, 90, 0, 0, 0},
      {"D before S turns the advance", "T(D90,S1)", 9, 20, 8, 20, 9, 0, 90, 90, 0, 0, 0},
      {"D runs straight into S", "T(D90S1)", 9, 20, 8, 20, 9, 0, 90, 90, 0, 0, 0},
      {"directions clamp at 360", "T(D400)", 9, 20, 8, 20, 9, 0, 0, 360, 0, 0, 0},
      {"a huge direction clamps", "T(D999999999)", 9, 20, 8, 20, 9, 0, 0, 360, 0, 0, 0},
      {"directions truncate to 45", "T(D100)", 9, 20, 8, 20, 9, 0, 0, 90, 0, 0, 0},
      {"no sign on directions", "T(D-5)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 1, '5'},
      {"small negative italic", "T(I-10)", 9, 20, 8, 20, 9, 0, 0, 0, -22, 0, 0},
      {"large italic", "T(I40)", 9, 20, 8, 20, 9, 0, 0, 0, 45, 0, 0},
      {"each value starts from zero", "T(I20,I20)", 9, 20, 8, 20, 9, 0, 0, 0, 22, 0, 0},
      {"height sets both heights", "T(H3)", 9, 30, 8, 30, 9, 0, 0, 0, 0, 0, 0},
      {"height 0 is ignored", "T(H0)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 0, 0},
      {"height over 256 is ignored", "T(H300)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 0, 0},
      {"the letter after H is consumed", "T(H2S1)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 1, '1'},
      {"unit multiplier", "T(M[2,3])", 9, 20, 16, 60, 9, 0, 0, 0, 0, 0, 0},
      {"unit multiplier limits", "T(M[0,20])", 9, 20, 8, 320, 9, 0, 0, 0, 0, 0, 0},
      {"explicit unit cell", "T(U[12,34])", 9, 20, 12, 34, 9, 0, 0, 0, 0, 0, 0},
      {"explicit display cell", "T(S[20,40])", 20, 40, 8, 20, 9, 0, 0, 0, 0, 0, 0},
      {"spacing from a bracket", "T[12,0]", 9, 20, 8, 20, 12, 0, 0, 0, 0, 0, 0},
      {"spacing ignores the position", "P[100,100]T[+5,3]", 9, 20, 8, 20, 5, 3, 0, 0, 0, 0, 0},
      {"options before B are dropped", "T(S3,B)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    const CTextState& t = Current(host);
    EXPECT_EQ(std::vector<int>({t.displayCellWidth, t.displayCellHeight, t.unitCellWidth, t.unitCellHeight,
                                t.spacingX, t.spacingY, t.stringDirection, t.characterDirection, t.italic}),
              std::vector<int>({c.displayW, c.displayH, c.unitW, c.unitH, c.spacingX, c.spacingY, c.stringDir,
                                c.charDir, c.italic}));
    EXPECT_EQ(commands_test::LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->flags & (kFlagLiteral | kFlagRelativeFromCurrent),
              kFlagRelativeFromCurrent);
  }
}

TEST(TextCommand, StringsAndMovesLeaveThePositionWhereStated) {
  const commands_test::CCase cases[] = {
      {"each character advances by the spacing", "P[100,100]T'AB'", "at=118,100"},
      {"a doubled quote is one character", "P[100,100]T'It''s'", "at=136,100"},
      {"the other quote starts a new string", "P[100,100]T'ab'\"cd\"", "at=136,100"},
      {"a comma joins strings", "P[100,100]T'ab','c'", "at=127,100"},
      {"a string direction steps by the cell", "P[100,100]T(D90,S1)'AB'", "at=100,82"},
      {"direction 45 steps diagonally", "P[100,100]T(D45,S2)'A'", "at=118,82"},
      {"direction 180 steps back", "P[100,100]T(D180,S1)'A'", "at=91,100"},
      {"direction 315", "P[100,100]T(D315,S1)'A'", "at=109,109"},
      {"a return goes to the string start", "P[100,100]T'AB\rC'", "at=109,100"},
      {"a line feed moves down a line", "P[100,100]T'A\nB'", "at=118,122"},
      {"a line feed at size 2", "P[100,100]T(S2)'\n'", "at=100,130"},
      {"a line feed at direction 90", "P[100,100]T(D90,S1)'\n'", "at=122,100"},
      {"a line feed at direction 180", "P[100,100]T(D180,S1)'\n'", "at=100,78"},
      {"other controls are skipped", "P[100,100]T'\x01\x1b'", "at=100,100"},
      {"half-cell move up and right", "P[100,100]T1", "at=104,90"},
      {"half-cell move up", "P[100,100]T2", "at=100,90"},
      {"half-cell move left", "P[100,100]T4", "at=96,100"},
      {"half-cell move down", "P[100,100]T6", "at=100,110"},
      {"half-cell move down and right", "P[100,100]T7", "at=104,110"},
      {"other digits are errors", "P[100,100]T0", "at=100,100 err=1'0'"},
      {"digits continue a text command", "P[100,100]T(S2)22", "at=100,70"},
      {"a semicolon ends an open string", "P[100,100]T'A;P[5,5]", "at=5,5 parse=1"},
      {"a block's options last until E", "T(B)T(S3)P[100,100]T(E)'b'", "at=109,100"},
      {"without a block they stay", "T(S3)P[100,100]T(E)'b'", "at=127,100"},
  };
  commands_test::ExpectCases(cases);
}

TEST(TextCommand, DesignationsAndAlphabetsAreRecorded) {
  CTestHost host;
  host.Feed("T(A0(L\"(0\",R\")%5\"))");
  EXPECT_EQ(Current(host).g0Set, 1);
  EXPECT_EQ(Current(host).g1Set, 4);
  host.Feed("T(A0(L\"(Q\",R\"-A\"))");
  EXPECT_EQ(commands_test::LastErrorChar(host), 'Q') << "an unknown final is an error and is skipped";
  EXPECT_EQ(Current(host).g0Set, 1);
  EXPECT_EQ(Current(host).g1Set, 5);
  host.Feed("T(A2)");
  EXPECT_EQ(Current(host).alphabet, 2);
  for (const char* wrong :
       {"T(A0(Q", "T(A0(L'", "T(A0(R\"(", "T(A0(R\")Q", "T(A0(R\")%Q", "T(A0(R\"-Q", "T(A0(R\"-AQ"}) {
    host.Feed(std::string(";") + wrong);
    EXPECT_EQ(commands_test::LastErrorChar(host), wrong[std::strlen(wrong) - 1]) << wrong;
    EXPECT_EQ(Current(host).g1Set, 5) << wrong;
  }
}

}  // namespace
