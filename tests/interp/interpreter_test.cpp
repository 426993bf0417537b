// The input pipeline and the dispatch loop, through the exports as a host
// drives them, with scripted parser objects standing in for commands.
#include "interp/interpreter.h"

#include <gtest/gtest.h>

#include <string>

#include "interp/cmd_dispatch.h"
#include "support/scripted_parser.h"
#include "support/test_host.h"

namespace {

std::string JournalText(CInterpreter& interp) {
  std::string text;
  interp.journal.Rewind();
  for (char ch = interp.journal.GetChar(); ch != 0; ch = interp.journal.GetChar()) text.push_back(ch);
  return text;
}

// Pushes a scripted parser on top of the host's interpreter.
void Push(CTestHost& host, std::string* seen, CScriptedParser::Rule rule = nullptr, bool* deleted = nullptr) {
  host.Interpreter()->parseStack.Push(new CScriptedParser(seen, std::move(rule), deleted));
}

CCmdDispatch* Dispatcher(CTestHost& host) {
  CParseObj* bottom = host.Interpreter()->parseStack.Top();
  while (bottom && bottom->below) bottom = bottom->below;
  return dynamic_cast<CCmdDispatch*>(bottom);
}

CScriptedParser::Rule On(char trigger, int status) {
  return [trigger, status](char ch, CInterpreter&) { return ch == trigger ? status : PARSE_CONTINUE; };
}

void ExpectError(CTestHost& host, char ch) {
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, static_cast<uint8_t>(ch));
}

}  // namespace

TEST(Input, AnEmptyStringIsAcceptedAndMarksGraphicsDataButANullOneIsRefused) {
  CTestHost host;
  EXPECT_EQ(KXREG_HandleNextString(host.Host(), nullptr), 1);
  EXPECT_EQ(host.Host()->graphicsData, 0);
  EXPECT_EQ(host.Feed(""), 0);
  EXPECT_EQ(JournalText(*host.Interpreter()), "");
  EXPECT_EQ(host.Host()->graphicsData, 1);
}

TEST(Input, TheJournalKeepsWhatCameButParsersSeeItFolded) {
  const struct {
    bool literal;
    std::string text, seen, journal;
  } rows[] = {
      {false, "p[1,2]Q", "P[1,2]Q", "p[1,2]Q"},  // lower case is raised
      {false,
       "a\r\nb\x1b"
       "c",
       "ABC", "abc"},                               // control characters are dropped
      {false, "\xe9\xff", "\xe9\xff", "\xe9\xff"},  // high characters pass unchanged
      {true, "a\r\nb", "a\r\nb", "a\r\nb"},         // literal mode delivers control characters and lower case
  };
  for (const auto& c : rows) {
    CTestHost host;
    std::string seen;
    Push(host, &seen);
    if (c.literal) host.Interpreter()->flags |= kFlagLiteral;
    EXPECT_EQ(host.Feed(c.text), 0) << c.text;
    EXPECT_EQ(seen, c.seen) << c.text;
    EXPECT_EQ(JournalText(*host.Interpreter()), c.journal) << c.text;
  }
}

TEST(Input, SemicolonDiscardsEveryOpenObjectAndPutsAFreshDispatcherUnlessItIsData) {
  CTestHost host;
  bool deletedLower = false, deletedUpper = false;
  std::string seen;
  Push(host, &seen, nullptr, &deletedLower);
  Push(host, &seen, nullptr, &deletedUpper);
  host.Interpreter()->flags |= kFlagLiteral;
  host.Feed("x;y");
  EXPECT_EQ(seen, "x");
  EXPECT_TRUE(deletedLower && deletedUpper);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagLiteral, 0u);
  ExpectError(host, 'Y');  // the y after the reset reached the new dispatcher: an unknown letter
  EXPECT_EQ(JournalText(*host.Interpreter()), "x;y");
  // While a definition is open the semicolon is data; a reset keeps the last
  // error and flags other than literal.
  seen.clear();
  Push(host, &seen);
  host.Interpreter()->flags |= kFlagSemicolonData;
  host.Feed("a;b");
  EXPECT_EQ(seen, "A;B");
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 2);
  host.Interpreter()->flags &= ~kFlagSemicolonData;
  host.Feed(";Q");
  host.Interpreter()->flags |= kFlagTextBlock;
  host.Feed(";");
  ExpectError(host, 'Q');
  EXPECT_NE(host.Interpreter()->flags & kFlagTextBlock, 0u);
}

TEST(Dispatch, AnUnexpectedCharacterIsErrorOneAndKeepsNoCommand) {
  // A lower-case unknown letter is reported raised.
  for (const char* input : {" ", ",", "Q", "z", ")", "]", "5", "[", "'", "\xb0"}) {
    SCOPED_TRACE(input);
    CTestHost host;
    EXPECT_EQ(host.Feed(input), 0);
    ExpectError(host, input[0] == 'z' ? 'Z' : input[0]);
    EXPECT_EQ(Dispatcher(host)->command, kCommandNone);
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  }
}

TEST(Dispatch, AFinishedObjectIsPoppedBeforeTheNextCharacterOrWithTheString) {
  CTestHost host;
  std::string seen;
  bool deleted = false, deletedLast = false;
  const auto done = [](char, CInterpreter&) { return PARSE_DONE; };
  Push(host, &seen, done, &deleted);
  host.Interpreter()->flags |= kFlagLiteral;  // keeps 'b' away from the dispatcher's error
  host.Interpreter()->HandleChar('a');
  EXPECT_FALSE(deleted);
  EXPECT_NE(host.Interpreter()->flags & kFlagPopPending, 0u);
  host.Interpreter()->HandleChar('b');
  EXPECT_TRUE(deleted);
  EXPECT_EQ(seen, "a");
  Push(host, nullptr, done, &deletedLast);
  host.Feed("a");
  EXPECT_TRUE(deletedLast);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagPopPending, 0u);
}

TEST(Dispatch, AReturnedCharacterGoesToTheObjectBelowAPassedOneOrAnUnknownStatusToTheNewTop) {
  CTestHost host;
  std::string lower, upper;
  Push(host, &lower);
  Push(host, &upper, On(']', PARSE_RETURN));
  host.Feed("1]2");
  EXPECT_EQ(upper, "1]");
  EXPECT_EQ(lower, "]2");
  for (const int status : {static_cast<int>(PARSE_PASS), 42}) {
    CTestHost fresh;
    std::string parent, child;
    Push(fresh, &parent, [&child, status](char ch, CInterpreter& interp) -> int {
      if (ch != '[') return PARSE_CONTINUE;
      interp.parseStack.Push(new CScriptedParser(&child));
      return status;
    });
    fresh.Feed("a[b");
    EXPECT_EQ(parent, "A[") << status;
    EXPECT_EQ(child, "[B") << status;
  }
}

TEST(Dispatch, AbortDropsTheRestOfTheStringAndAnOpenCommandContinuesInTheNext) {
  CTestHost host;
  std::string below, seen;
  bool deleted = false;
  Push(host, &below, On(']', PARSE_DONE));
  Push(host, &seen, On('!', PARSE_ABORT), &deleted);
  EXPECT_EQ(host.Feed("ab!cd"), 0);
  EXPECT_EQ(seen, "AB!");
  EXPECT_EQ(below, "");
  EXPECT_TRUE(deleted);  // popped at the end of the string
  EXPECT_EQ(JournalText(*host.Interpreter()), "ab!");
  host.Feed("[10,");
  host.Feed("20]");
  EXPECT_EQ(below, "[10,20]");
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

TEST(Dispatch, AParserThatNeverTakesItsCharacterCannotHoldTheThread) {
  CTestHost host;
  std::string seen;
  Push(host, &seen, [](char, CInterpreter&) { return PARSE_PASS; });
  EXPECT_EQ(host.Feed("a"), 0);
  ExpectError(host, 'A');
}

TEST(Dispatch, ResetOrAPopThatEmptiesTheStackLeavesOneDispatcherInCommandMode) {
  CTestHost host;
  Push(host, nullptr);
  Push(host, nullptr);
  host.Interpreter()->ResetParser();
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  ASSERT_NE(Dispatcher(host), nullptr);
  EXPECT_EQ(Dispatcher(host)->mode, CCmdDispatch::Mode::Commands);
  CInterpreter& interp = *host.Interpreter();
  delete interp.parseStack.Pop();
  std::string seen;
  Push(host, &seen, [](char, CInterpreter&) { return PARSE_DONE; });
  host.Feed("ab");
  EXPECT_EQ(seen, "A");
  EXPECT_EQ(interp.parseStack.Count(), 1);
  EXPECT_NE(Dispatcher(host), nullptr);
  EXPECT_EQ(interp.lastErrorChar, 'B');
}
