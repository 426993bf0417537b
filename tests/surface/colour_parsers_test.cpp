// The colour-map option S(M ...), fed one character at a time.
#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "surface/color_map_parser.h"
#include "surface/colour_map.h"
#include "surface_window.h"

namespace {

// How many characters a parser takes before it finishes; one it hands back
// does not count.
size_t Feed(CParseObj& parser, const std::string& text, CInterpreter& interp) {
  size_t used = 0;
  for (char ch : text) {
    const int status = parser.Parse(ch, interp);
    if (status == PARSE_RETURN) break;
    ++used;
    if (status == PARSE_DONE) break;
  }
  return used;
}

std::vector<int> Parts(const CColour& c) {
  return {c.red, c.green, c.blue};
}

class ColourParserTest : public ::testing::Test {
 protected:
  surface_test::SurfaceWindow w;
  CInterpreter interp{w.context};
};

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
  EXPECT_EQ(Feed(parser, "17(R))", interp), 5u)
      << "an entry above 15 is consumed up to its own closing parenthesis";
  for (int i = 0; i < kColourMapSize; ++i)
    EXPECT_EQ(Parts(WorkingColourMap()[i]), Parts(kDefaultColourMap[i])) << i;
}

}  // namespace
