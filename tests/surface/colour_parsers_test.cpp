// The colour-map option S(M ...), fed one character at a time.
#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "surface/color_map_parser.h"
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
  CInterpreter interp{w.context};
};

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

}  // namespace
