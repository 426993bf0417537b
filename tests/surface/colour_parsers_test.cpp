// The two colour sub-syntaxes: the colour specifier of W(I ...) and S(I ...)
// and the colour-map option S(M ...), fed one character at a time as the
// parser stack would.
#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "surface/color_map_parser.h"
#include "surface/color_spec_parser.h"
#include "surface/colour_map.h"
#include "surface_window.h"

namespace {

using surface_test::SurfaceWindow;

// What feeding a text to a parser did: how many characters it took before it
// finished, and the status it finished with (PARSE_CONTINUE when it never
// finished).
struct FeedResult {
  size_t used = 0;
  int status = PARSE_CONTINUE;
};

FeedResult Feed(CParseObj& parser, const std::string& text, CInterpreter& interp) {
  FeedResult r;
  for (char ch : text) {
    r.status = parser.Parse(ch, interp);
    if (r.status == PARSE_RETURN) return r;
    ++r.used;
    if (r.status == PARSE_DONE) return r;
  }
  return r;
}

class ColourParserTest : public ::testing::Test {
 protected:
  SurfaceWindow w;
  CInterpreter interp{w.context.get()};
};

bool SameColour(const CColour& a, const CColour& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// --- The colour specifier ------------------------------------------------

TEST_F(ColourParserTest, TheSpecifierSetsTheTarget) {
  const struct {
    const char* behaviour;
    const char* text;  // the characters after the option letter I
    int32_t expected;  // the target afterwards, starting from 9
    int status;
    size_t used;
  } rows[] = {
      {"no digits select index 0", ")", 0, PARSE_RETURN, 0},
      {"an index ends at the closing parenthesis", "3)", 3, PARSE_RETURN, 1},
      {"an index ends at a comma", "12,", 12, PARSE_RETURN, 2},
      {"an index ends at a space", "15 ", 15, PARSE_RETURN, 2},
      {"index 16 leaves the target unchanged", "16)", 9, PARSE_RETURN, 2},
      {"a huge index leaves the target unchanged", "99999999999)", 9, PARSE_RETURN, 11},
      {"another character ends without a change", "3X", 9, PARSE_RETURN, 1},
      {"a colour letter picks the nearest map entry", "(R)", 2, PARSE_DONE, 3},
      {"an HLS colour picks the nearest map entry", "(H120L50S100)", 2, PARSE_DONE, 13},
  };
  for (const auto& c : rows) {
    int32_t target = 9;
    CColorSpecParser parser(&target);
    const FeedResult r = Feed(parser, c.text, interp);
    EXPECT_EQ(target, c.expected) << c.behaviour;
    EXPECT_EQ(r.status, c.status) << c.behaviour;
    EXPECT_EQ(r.used, c.used) << c.behaviour;
    EXPECT_EQ(interp.lastError, 0) << c.behaviour;
  }
}

TEST_F(ColourParserTest, ALetterFollowsTheChangedMap) {
  WorkingColourMap()[2] = kStandardColours[1];  // S(M2(B))
  int32_t target = 9;
  CColorSpecParser parser(&target);
  Feed(parser, "(R)", interp);
  EXPECT_NE(target, 2);
  EXPECT_EQ(target, NearestMapIndex(80, 13, 13));
}

TEST_F(ColourParserTest, TheSpecifierReportsAndSkipsStrayCharacters) {
  const struct {
    const char* behaviour;
    const char* text;
    int32_t expected;
    size_t used;
    char errorChar;
  } rows[] = {
      {"a stray character in HLS", "(H120XL50S100)", 2, 14, 'X'},
      {"an unknown group letter, up to the parenthesis", "(QZZ)", 9, 5, 'Z'},
      {"a separator inside HLS", "(H120,L50S100)", 2, 14, ','},
  };
  for (const auto& c : rows) {
    int32_t target = 9;
    CColorSpecParser parser(&target);
    interp.SetError(0, 0);
    const FeedResult r = Feed(parser, c.text, interp);
    EXPECT_EQ(r.status, PARSE_DONE) << c.behaviour;
    EXPECT_EQ(r.used, c.used) << c.behaviour;
    EXPECT_EQ(target, c.expected) << c.behaviour;
    EXPECT_EQ(interp.lastError, 1) << c.behaviour;
    EXPECT_EQ(interp.lastErrorChar, c.errorChar) << c.behaviour;
  }
}

// --- The colour-map option ----------------------------------------------

TEST_F(ColourParserTest, SetsSeveralEntriesInOneOption) {
  CColorMapParser parser;
  const FeedResult r = Feed(parser, "1(R)2(H0L50S60)3(L40))", interp);
  EXPECT_EQ(r.status, PARSE_RETURN);
  EXPECT_EQ(r.used, 21u) << "the closing parenthesis of S is handed back";
  EXPECT_TRUE(SameColour(WorkingColourMap()[1], CColour{80, 13, 13}));
  EXPECT_TRUE(SameColour(WorkingColourMap()[2], CColour{20, 20, 81}));
  EXPECT_TRUE(SameColour(WorkingColourMap()[3], CColour{40, 40, 40}));
  EXPECT_EQ(interp.lastError, 0);
}

TEST_F(ColourParserTest, EachEntrySetsItsColourOrKeepsIt) {
  const struct {
    const char* behaviour;
    const char* text;
    int entry;
    CColour expected;
    char errorChar;
  } rows[] = {
      {"a grey above 100 changes nothing", "5(L101)", 5, {20, 80, 80}, 0},
      {"grey 100 is white", "5(L100)", 5, {100, 100, 100}, 0},
      {"the attribute letter is ignored", "4(AG)", 4, {20, 80, 20}, 0},
      {"after the saturation stray characters pass unreported", "6(H120L50S100Q)", 6, {100, 1, 1}, 0},
      {"a stray character after a colour waits for the parenthesis", "6(RQ)7(G))", 7, {20, 80, 20}, 'Q'},
  };
  for (const auto& c : rows) {
    ResetColourMap();
    interp.SetError(0, 0);
    CColorMapParser parser;
    Feed(parser, c.text, interp);
    EXPECT_TRUE(SameColour(WorkingColourMap()[c.entry], c.expected)) << c.behaviour;
    EXPECT_EQ(interp.lastErrorChar, c.errorChar) << c.behaviour;
  }
}

TEST_F(ColourParserTest, AnEntryAbove15ChangesNothing) {
  CColorMapParser parser;
  const FeedResult r = Feed(parser, "17(R))", interp);
  EXPECT_EQ(r.status, PARSE_RETURN);
  EXPECT_EQ(r.used, 5u) << "consumed up to its own closing parenthesis";
  for (int i = 0; i < kColourMapSize; ++i)
    EXPECT_TRUE(SameColour(WorkingColourMap()[i], kDefaultColourMap[i])) << i;
  EXPECT_EQ(interp.lastError, 0);
}

TEST_F(ColourParserTest, AGreyStepAppliesItsLevelAgainAtEveryStrayCharacter) {
  CColorMapParser parser;
  Feed(parser, "5(L40X", interp);
  EXPECT_EQ(WorkingColourMap()[5].red, 40);
  EXPECT_EQ(interp.lastErrorChar, 'X');
  WorkingColourMap()[5] = CColour{1, 2, 3};
  Feed(parser, "Y", interp);
  EXPECT_EQ(WorkingColourMap()[5].blue, 40) << "still in the grey step";
  EXPECT_EQ(Feed(parser, "))", interp).status, PARSE_RETURN);
}

TEST_F(ColourParserTest, AMapChangeRecoloursTheDrawnPicture) {
  w.State()->active->foreground = 3;
  w.surface->PlotPoint(w.State());
  CColorMapParser parser;
  Feed(parser, "3(L100)", interp);
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 255, 255));
}

TEST_F(ColourParserTest, AnythingElseEndsTheOption) {
  CColorMapParser parser;
  EXPECT_EQ(Feed(parser, " 3,", interp).status, PARSE_RETURN);
  CColorMapParser other;
  EXPECT_EQ(Feed(other, "Q", interp).used, 0u);
}

}  // namespace
