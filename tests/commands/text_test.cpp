// The text command: its options set the text attributes exactly as stated,
// its strings advance the position, and its blocks come back at E.
#include "commands/text.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"
#include "surface/graphics_context.h"

namespace {

using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Position;

const CTextState& Current(CTestHost& host) {
  return *host.Context()->text->pair.current;
}

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
      {"a wrapped huge size is out of range", "T(S2147483647)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 9, 0},
      {"a space starts a new size", "T(S 2)", 18, 30, 16, 30, 18, 0, 0, 0, 0, 0, 0},
      {"D alone turns only the characters", "T(D90)", 9, 20, 8, 20, 9, 0, 0, 90, 0, 0, 0},
      {"D before S turns the advance too", "T(D90,S1)", 9, 20, 8, 20, 9, 0, 90, 90, 0, 0, 0},
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
      {"the letter after a height is consumed", "T(H2S1)", 9, 20, 8, 20, 9, 0, 0, 0, 0, 1, '1'},
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
    EXPECT_EQ(t.displayCellWidth, c.displayW);
    EXPECT_EQ(t.displayCellHeight, c.displayH);
    EXPECT_EQ(t.unitCellWidth, c.unitW);
    EXPECT_EQ(t.unitCellHeight, c.unitH);
    EXPECT_EQ(t.spacingX, c.spacingX);
    EXPECT_EQ(t.spacingY, c.spacingY);
    EXPECT_EQ(t.stringDirection, c.stringDir);
    EXPECT_EQ(t.characterDirection, c.charDir);
    EXPECT_EQ(t.italic, c.italic);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->flags & kFlagLiteral, 0u);
    EXPECT_EQ(host.Interpreter()->flags & kFlagRelativeFromCurrent, kFlagRelativeFromCurrent);
  }
}

TEST(TextCommand, DesignationsAndAlphabetsAreRecorded) {
  CTestHost host;
  host.Feed("T(A0(L\"(0\",R\")%5\"))");
  EXPECT_EQ(Current(host).g0Set, 1);
  EXPECT_EQ(Current(host).g1Set, 4);
  host.Feed("T(A0(L\"(Q\",R\"-A\"))");
  EXPECT_EQ(LastErrorChar(host), 'Q') << "an unknown final is an error and is skipped";
  EXPECT_EQ(Current(host).g0Set, 1);
  EXPECT_EQ(Current(host).g1Set, 5);
  host.Feed("T(A2)");
  EXPECT_EQ(Current(host).alphabet, 2);
}

TEST(TextCommand, StringsAndMovesLeaveThePositionWhereStated) {
  const struct {
    const char* behaviour;
    const char* text;
    int x, y;
    int error, errorChar;
  } rows[] = {
      {"each character advances by the spacing", "P[100,100]T'AB'", 118, 100, 0, 0},
      {"a doubled quote is one character", "P[100,100]T'It''s'", 136, 100, 0, 0},
      {"the other quote starts a new string", "P[100,100]T'ab'\"cd\"", 136, 100, 0, 0},
      {"a comma joins strings", "P[100,100]T'ab','c'", 127, 100, 0, 0},
      {"a string direction steps by the cell width", "P[100,100]T(D90,S1)'AB'", 100, 82, 0, 0},
      {"direction 45 steps diagonally", "P[100,100]T(D45,S2)'A'", 118, 82, 0, 0},
      {"direction 180 steps back", "P[100,100]T(D180,S1)'A'", 91, 100, 0, 0},
      {"direction 315", "P[100,100]T(D315,S1)'A'", 109, 109, 0, 0},
      {"a carriage return goes back to the string start", "P[100,100]T'AB\rC'", 109, 100, 0, 0},
      {"a line feed moves down one line", "P[100,100]T'A\nB'", 118, 122, 0, 0},
      {"a line feed at size 2", "P[100,100]T(S2)'\n'", 100, 130, 0, 0},
      {"a line feed with direction 90 moves right", "P[100,100]T(D90,S1)'\n'", 122, 100, 0, 0},
      {"a line feed with direction 180 moves up", "P[100,100]T(D180,S1)'\n'", 100, 78, 0, 0},
      {"other control characters are skipped", "P[100,100]T'\x01\x1b'", 100, 100, 0, 0},
      {"half-cell move up and right", "P[100,100]T1", 104, 90, 0, 0},
      {"half-cell move up", "P[100,100]T2", 100, 90, 0, 0},
      {"half-cell move left", "P[100,100]T4", 96, 100, 0, 0},
      {"half-cell move down", "P[100,100]T6", 100, 110, 0, 0},
      {"half-cell move down and right", "P[100,100]T7", 104, 110, 0, 0},
      {"other digits are errors", "P[100,100]T0", 100, 100, 1, '0'},
      {"digits continue a text command", "P[100,100]T(S2)22", 100, 70, 0, 0},
      {"a semicolon ends an open string", "P[100,100]T'A;P[5,5]", 5, 5, 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(c.text);
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
  }
}

TEST(TextCommand, ABlockLastsAcrossCommandsUntilE) {
  CTestHost host;
  host.Feed("T(B)");
  host.Feed("T(S3)");
  EXPECT_NE(host.Interpreter()->flags & kFlagTextBlock, 0u);
  EXPECT_EQ(Current(host).displayCellWidth, 27);
  EXPECT_EQ(host.Context()->text->pair.saved->displayCellWidth, 9);
  host.Feed("P[100,100]T(E)'b'");
  EXPECT_EQ(host.Interpreter()->flags & kFlagTextBlock, 0u);
  EXPECT_EQ(Current(host).displayCellWidth, 9);
  EXPECT_EQ(Position(host).x, 109);
}

TEST(TextCommand, HostileInputEndsWithEverythingOnThePageOrNowhere) {
  std::string every = "P[400,240]T'";
  for (int b = 1; b < 256; ++b)
    if (b != '\'') every += static_cast<char>(b);
  const std::string rows[] = {
      every + "'",
      "P[0,0]T'" + std::string(1 << 20, 'W'),
      "T(U[2147483647,-2147483648])'ab'T(S[-2147483648,2147483647])'ab'",
      "T[2147483647,-2147483648]'abc'T(M[99999,-5],D315,S16)'q'T(I-2147483648)",
  };
  for (const std::string& text : rows) {
    CTestHost host;
    host.Feed(text);
    host.Feed(";");
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  }
}

}  // namespace
