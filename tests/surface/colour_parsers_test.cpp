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

// What feeding a text to a parser did: how many characters it took before it
// finished, and the status it finished with (PARSE_CONTINUE when it never did).
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

std::vector<int> Parts(const CColour& c) {
  return {c.red, c.green, c.blue};
}

class ColourParserTest : public ::testing::Test {
 protected:
  surface_test::SurfaceWindow w;
  CInterpreter interp{w.context.get()};
};

TEST_F(ColourParserTest, TheSpecifierSetsTheTargetAndReportsAndSkipsStrayCharacters) {
  const struct {
    const char* text;  // the characters after the option letter I
    int32_t expected;  // the target afterwards, starting from 9
    int status;
    size_t used;
    char errorChar;
  } rows[] = {
      {")", 0, PARSE_RETURN, 0, 0},     // no digits select index 0
      {"3)", 3, PARSE_RETURN, 1, 0},    // an index ends at the closing parenthesis,
      {"12,", 12, PARSE_RETURN, 2, 0},  // at a comma
      {"15 ", 15, PARSE_RETURN, 2, 0},  // or at a space
      {"16)", 9, PARSE_RETURN, 2, 0},   // index 16 leaves the target unchanged
      {"99999999999)", 9, PARSE_RETURN, 11, 0},
      {"3X", 9, PARSE_RETURN, 1, 0},               // another character ends without a change
      {"(R)", 2, PARSE_DONE, 3, 0},                // a colour letter picks the nearest map entry,
      {"(H120L50S100)", 2, PARSE_DONE, 13, 0},     // and so does an HLS colour
      {"(H120XL50S100)", 2, PARSE_DONE, 14, 'X'},  // a stray character in HLS
      {"(QZZ)", 9, PARSE_DONE, 5, 'Z'},            // an unknown group letter, up to the parenthesis
      {"(H120,L50S100)", 2, PARSE_DONE, 14, ','},  // a separator inside HLS
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    int32_t target = 9;
    CColorSpecParser parser(&target);
    interp.SetError(0, 0);
    const FeedResult r = Feed(parser, c.text, interp);
    EXPECT_EQ(target, c.expected);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.used, c.used);
    EXPECT_EQ(interp.lastError, c.errorChar ? 1 : 0);
    EXPECT_EQ(interp.lastErrorChar, c.errorChar);
  }
  WorkingColourMap()[2] = kStandardColours[1];  // S(M2(B)): a letter follows the changed map
  int32_t target = 9;
  CColorSpecParser parser(&target);
  Feed(parser, "(R)", interp);
  EXPECT_NE(target, 2);
  EXPECT_EQ(target, NearestMapIndex(80, 13, 13));
}

TEST_F(ColourParserTest, TheMapOptionSetsSeveralEntriesAndRecoloursTheDrawnPicture) {
  w.W().foreground = 3;
  w.surface->PlotPoint(w.State());
  CColorMapParser parser;
  const FeedResult r = Feed(parser, "1(R)2(H0L50S60)3(L100))", interp);
  EXPECT_EQ(r.status, PARSE_RETURN);
  EXPECT_EQ(r.used, 22u) << "the closing parenthesis of S is handed back";
  EXPECT_EQ(Parts(WorkingColourMap()[1]), (std::vector<int>{80, 13, 13}));
  EXPECT_EQ(Parts(WorkingColourMap()[2]), (std::vector<int>{20, 20, 81}));
  EXPECT_EQ(w.PageColour(1, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(interp.lastError, 0);
}

TEST_F(ColourParserTest, EachEntrySetsItsColourOrKeepsIt) {
  const struct {
    const char* behaviour;
    const char* text;
    int entry;
    std::vector<int> expected;
    char errorChar;
  } rows[] = {
      {"a grey above 100 changes nothing", "5(L101)", 5, {20, 80, 80}, 0},
      {"grey 40", "5(L40)", 5, {40, 40, 40}, 0},
      {"the attribute letter is ignored", "4(AG)", 4, {20, 80, 20}, 0},
      {"after the saturation stray characters pass unreported", "6(H120L50S100Q)", 6, {100, 1, 1}, 0},
      {"a stray character after a colour waits for the parenthesis", "6(RQ)7(G))", 7, {20, 80, 20}, 'Q'},
  };
  for (const auto& c : rows) {
    ResetColourMap();
    interp.SetError(0, 0);
    CColorMapParser parser;
    Feed(parser, c.text, interp);
    EXPECT_EQ(Parts(WorkingColourMap()[c.entry]), c.expected) << c.behaviour;
    EXPECT_EQ(interp.lastErrorChar, c.errorChar) << c.behaviour;
  }
  ResetColourMap();
  CColorMapParser parser;
  const FeedResult r = Feed(parser, "17(R))", interp);
  EXPECT_EQ(r.used, 5u) << "an entry above 15 is consumed up to its own closing parenthesis";
  for (int i = 0; i < kColourMapSize; ++i)
    EXPECT_EQ(Parts(WorkingColourMap()[i]), Parts(kDefaultColourMap[i])) << i;
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

TEST_F(ColourParserTest, AnythingElseEndsTheOption) {
  CColorMapParser parser;
  EXPECT_EQ(Feed(parser, " 3,", interp).status, PARSE_RETURN);
  CColorMapParser other;
  EXPECT_EQ(Feed(other, "Q", interp).used, 0u);
}

}  // namespace
