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
CScriptedParser* PushScripted(CTestHost& host, std::string* seen, CScriptedParser::Rule rule = nullptr,
                              bool* deleted = nullptr) {
  auto* parser = new CScriptedParser(seen, std::move(rule), deleted);
  host.Interpreter()->parseStack.Push(parser);
  return parser;
}

CCmdDispatch* Dispatcher(CTestHost& host) {
  CParseObj* bottom = host.Interpreter()->parseStack.Top();
  while (bottom && bottom->below) bottom = bottom->below;
  return dynamic_cast<CCmdDispatch*>(bottom);
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
    const char* behaviour;
    bool literal;
    std::string text, seen, journal;
  } rows[] = {
      {"lower case is raised", false, "p[1,2]Q", "P[1,2]Q", "p[1,2]Q"},
      {"control characters are dropped", false,
       "a\r\nb\x1b"
       "c",
       "ABC", "abc"},
      {"high characters pass unchanged", false, "\xe9\xff", "\xe9\xff", "\xe9\xff"},
      {"literal mode delivers control characters and lower case", true, "a\r\nb", "a\r\nb", "a\r\nb"},
  };
  for (const auto& c : rows) {
    CTestHost host;
    std::string seen;
    PushScripted(host, &seen);
    if (c.literal) host.Interpreter()->flags |= kFlagLiteral;
    EXPECT_EQ(host.Feed(c.text), 0) << c.behaviour;
    EXPECT_EQ(seen, c.seen) << c.behaviour;
    EXPECT_EQ(JournalText(*host.Interpreter()), c.journal) << c.behaviour;
  }
}

TEST(Input, SemicolonDiscardsEveryOpenObjectAndPutsAFreshDispatcher) {
  CTestHost host;
  bool deletedLower = false, deletedUpper = false;
  std::string seen;
  PushScripted(host, &seen, nullptr, &deletedLower);
  PushScripted(host, &seen, nullptr, &deletedUpper);
  host.Interpreter()->flags |= kFlagLiteral;
  host.Feed("x;y");
  EXPECT_EQ(seen, "x");
  EXPECT_TRUE(deletedLower);
  EXPECT_TRUE(deletedUpper);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagLiteral, 0u);
  // The y after the reset reached the new dispatcher: an unknown letter.
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Y');
  EXPECT_EQ(JournalText(*host.Interpreter()), "x;y");
}

TEST(Input, SemicolonIsDataWhileTheDefinitionFlagIsSetAndKeepsTheLastErrorAndOtherFlags) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen);
  host.Interpreter()->flags |= kFlagSemicolonData;
  host.Feed("a;b");
  EXPECT_EQ(seen, "A;B");
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 2);
  host.Interpreter()->flags &= ~kFlagSemicolonData;
  host.Feed(";Q");
  host.Interpreter()->flags |= kFlagTextBlock;
  host.Feed(";");
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
  EXPECT_NE(host.Interpreter()->flags & kFlagTextBlock, 0u);
}

TEST(Dispatch, AnUnexpectedCharacterIsErrorOneAndKeepsNoCommand) {
  // A lower-case unknown letter is reported raised.
  for (const char* input : {" ", ",", "Q", "z", ")", "]", "5", "[", "'", "\xb0"}) {
    CTestHost host;
    EXPECT_EQ(host.Feed(input), 0);
    EXPECT_EQ(host.Interpreter()->lastError, 1) << input;
    EXPECT_EQ(host.Interpreter()->lastErrorChar, static_cast<uint8_t>(input[0] == 'z' ? 'Z' : input[0]))
        << input;
    EXPECT_EQ(Dispatcher(host)->command, kCommandNone) << input;
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1) << input;
  }
}

TEST(Dispatch, AFinishedObjectIsPoppedBeforeTheNextCharacterOrWithTheString) {
  CTestHost host;
  std::string seen;
  bool deleted = false, deletedLast = false;
  const auto done = [](char, CInterpreter&) { return PARSE_DONE; };
  PushScripted(host, &seen, done, &deleted);
  host.Interpreter()->flags |= kFlagLiteral;  // keeps 'b' away from the dispatcher's error
  host.Interpreter()->HandleChar('a');
  EXPECT_FALSE(deleted);
  EXPECT_NE(host.Interpreter()->flags & kFlagPopPending, 0u);
  host.Interpreter()->HandleChar('b');
  EXPECT_TRUE(deleted);
  EXPECT_EQ(seen, "a");
  PushScripted(host, nullptr, done, &deletedLast);
  host.Feed("a");
  EXPECT_TRUE(deletedLast);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagPopPending, 0u);
}

TEST(Dispatch, AReturnedCharacterGoesToTheObjectBelowAPassedOneOrAnUnknownStatusToTheNewTop) {
  CTestHost host;
  std::string lower, upper;
  PushScripted(host, &lower);
  PushScripted(host, &upper,
               [](char ch, CInterpreter&) { return ch == ']' ? PARSE_RETURN : PARSE_CONTINUE; });
  host.Feed("1]2");
  EXPECT_EQ(upper, "1]");
  EXPECT_EQ(lower, "]2");
  for (const int status : {static_cast<int>(PARSE_PASS), 42}) {
    CTestHost fresh;
    std::string parent, child;
    PushScripted(fresh, &parent, [&child, status](char ch, CInterpreter& interp) -> int {
      if (ch != '[') return PARSE_CONTINUE;
      interp.parseStack.Push(new CScriptedParser(&child));
      return status;
    });
    fresh.Feed("a[b");
    EXPECT_EQ(parent, "A[") << status;
    EXPECT_EQ(child, "[B") << status;
  }
}

TEST(Dispatch, AbortDropsTheRestOfTheString) {
  CTestHost host;
  std::string below, seen;
  bool deleted = false;
  PushScripted(host, &below);
  PushScripted(
      host, &seen, [](char ch, CInterpreter&) { return ch == '!' ? PARSE_ABORT : PARSE_CONTINUE; }, &deleted);
  EXPECT_EQ(host.Feed("ab!cd"), 0);
  EXPECT_EQ(seen, "AB!");
  EXPECT_EQ(below, "");
  EXPECT_TRUE(deleted);  // popped at the end of the string
  EXPECT_EQ(JournalText(*host.Interpreter()), "ab!");
  host.Feed("e");
  EXPECT_EQ(below, "E");
}

TEST(Dispatch, AnOpenCommandContinuesInTheNextString) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen, [](char ch, CInterpreter&) { return ch == ']' ? PARSE_DONE : PARSE_CONTINUE; });
  host.Feed("[10,");
  host.Feed("20]");
  EXPECT_EQ(seen, "[10,20]");
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

TEST(Dispatch, AParserThatNeverTakesItsCharacterCannotHoldTheThread) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen, [](char, CInterpreter&) { return PARSE_PASS; });
  EXPECT_EQ(host.Feed("a"), 0);
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'A');
}

TEST(Dispatch, ResetParserLeavesExactlyOneDispatcherInCommandMode) {
  CTestHost host;
  PushScripted(host, nullptr);
  PushScripted(host, nullptr);
  host.Interpreter()->ResetParser();
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  ASSERT_NE(Dispatcher(host), nullptr);
  EXPECT_EQ(Dispatcher(host)->mode, CCmdDispatch::Mode::Commands);
}

TEST(Dispatch, ADispatcherIsPushedWhenAPopEmptiesTheStack) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  delete interp.parseStack.Pop();
  std::string seen;
  interp.parseStack.Push(new CScriptedParser(&seen, [](char, CInterpreter&) { return PARSE_DONE; }));
  host.Feed("ab");
  EXPECT_EQ(seen, "A");
  EXPECT_EQ(interp.parseStack.Count(), 1);
  EXPECT_NE(Dispatcher(host), nullptr);
  EXPECT_EQ(interp.lastErrorChar, 'B');
}
