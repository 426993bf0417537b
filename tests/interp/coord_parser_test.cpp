// Coordinate arguments and closing an option list.
#include "interp/coord_parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "interp/interpreter.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"

namespace {

using XY = std::pair<int32_t, int32_t>;

// Offers the characters after '[' to a fresh coordinate parser from the
// position (300, 200), as a command parser would, and takes the point it
// leaves; (-1, -1) when PARSE_RETURN did not come exactly with a final ']'.
XY Parse(CTestHost& host, const std::string& afterBracket) {
  CInterpreter& interp = *host.Interpreter();
  CCoordParser parser;
  bool returned = false;
  for (size_t i = 0; i < afterBracket.size() && !returned; ++i) {
    const int status = parser.Parse(afterBracket[i], interp);
    returned = status == PARSE_RETURN;
    if (returned && (i + 1 != afterBracket.size() || afterBracket[i] != ']')) return {-1, -1};
    EXPECT_TRUE(returned || status == PARSE_CONTINUE) << "at " << i << " of " << afterBracket;
  }
  CPoint32 p;
  if (!returned || !TakeDevicePoint(interp, p)) return {-1, -1};
  return {p.x, p.y};
}

XY At(CTestHost& host, int x, int y) {
  host.State()->x = x, host.State()->y = y;
  return {x, y};
}

TEST(CoordinateArgument, DeliversThePointAndRecordsTheError) {
  const struct {
    const char* text;  // after '['
    int x, y;          // from the current position (300, 200)
    int error, errorChar;
  } rows[] = {
      {"]", 300, 200, 0, 0},                                  // empty delivers the current position
      {",100]", 300, 100, 0, 0},                              // an omitted x keeps x
      {"100]", 100, 200, 0, 0},                               // an omitted y keeps y
      {"100,]", 100, 200, 0, 0},                              // so does an empty y after the comma
      {"+10,-10]", 310, 190, 0, 0},                           // signs move from the current position
      {"-5,0]", 295, 0, 0, 0},                                // a minus sign is never an absolute value
      {"12.4,12.5]", 12, 13, 0, 0},                           // fractions round half up
      {",+.5]", 300, 201, 0, 0},                              // relative ones too
      {".5,.5]", 1, 1, 0, 0},                                 // a leading point starts a number
      {"1E2,2E1]", 100, 20, 0, 0},                            // exponents are read
      {"10-5,0]", 10, 0, 0, 0},                               // a sign inside a number ends it
      {"+,5]", 300, 5, 0, 0},                                 // an empty relative number moves by zero
      {" 1 0 , 2 0 ]", 10, 20, 0, 0},                         // spaces are ignored
      {"1,2,3]", 1, 2, 3, 0},                                 // a third component is error 3
      {"1,,3]", 1, 200, 3, 0},                                // also after an empty y
      {"1Q,2]", 1, 2, 1, 'Q'},                                // a bad character is skipped up to the comma
      {"Q]", 300, 200, 1, 'Q'},                               // a bad first character still delivers
      {"1,2,3X]", 1, 2, 1, 'X'},                              // after a third component only digits are quiet
      {"99999999999,-99999999999]", INT_MAX, INT_MIN, 0, 0},  // huge values clamp
      {"1E400,-1E400]", INT_MAX, INT_MIN, 0, 0},              // and so do infinite ones
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    At(host, 300, 200);
    EXPECT_EQ(Parse(host, c.text), XY(c.x, c.y));
    EXPECT_EQ(host.Interpreter()->lastError, c.error);
    EXPECT_EQ(host.Interpreter()->lastErrorChar, c.errorChar);
  }
}

TEST(CloseOptionList, GivesTheStatusStateAndDepth) {
  const struct {
    char ch;
    int32_t depth;
    int returnOnClose, status, state, depthAfter, error;
  } rows[] = {
      {' ', 1, 0, PARSE_CONTINUE, kOptionStateLetter, 1, 0},  // a space or a comma expects another option
      {',', 1, 0, PARSE_CONTINUE, kOptionStateLetter, 1, 0},
      {')', 1, 0, PARSE_DONE, kOptionStateStart, 0, 0},      // the last parenthesis finishes the caller
      {')', 1, 1, PARSE_RETURN, kOptionStateStart, 0, 0},    // or goes below
      {')', 2, 0, PARSE_CONTINUE, kOptionStateStart, 1, 1},  // an inner parenthesis is an error
      {'X', 1, 0, PARSE_CONTINUE, kOptionStateStart, 1, 1},  // and so is anything else
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(testing::Message() << c.ch << c.depth << c.returnOnClose);
    CTestHost host;
    CInterpreter& interp = *host.Interpreter();
    int32_t depth = c.depth;
    int state = 99;
    EXPECT_EQ(CloseOptionList(c.ch, depth, state, c.returnOnClose, interp), c.status);
    EXPECT_EQ(XY(state, depth), XY(c.state, c.depthAfter));
    EXPECT_EQ(interp.lastError, c.error);
    EXPECT_EQ(interp.lastErrorChar, c.error ? static_cast<uint8_t>(c.ch) : 0);
  }
}

}  // namespace
