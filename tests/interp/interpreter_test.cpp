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

TEST(Input, ANewInterpreterHasOneDispatcherAndTheDefaultState) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  EXPECT_EQ(interp.parseStack.Count(), 1);
  ASSERT_NE(Dispatcher(host), nullptr);
  EXPECT_EQ(Dispatcher(host)->mode, CCmdDispatch::Mode::Commands);
  EXPECT_EQ(Dispatcher(host)->command, kCommandNone);
  EXPECT_EQ(interp.flags, kFlagRelativeFromCurrent);
  EXPECT_EQ(interp.live, 1);
  EXPECT_EQ(interp.lastError, 0);
  EXPECT_EQ(interp.addrX2, 799);
  EXPECT_EQ(interp.addrY2, 479);
  EXPECT_EQ(interp.addrWidth, 799);
  EXPECT_EQ(interp.addrHeight, 479);
  EXPECT_DOUBLE_EQ(interp.sx, 1.0);
  EXPECT_DOUBLE_EQ(interp.oy, 0.0);
}

TEST(Input, AnEmptyStringIsAcceptedAndRecordsNothing) {
  CTestHost host;
  EXPECT_EQ(host.Feed(""), 0);
  EXPECT_EQ(JournalText(*host.Interpreter()), "");
  EXPECT_EQ(host.Host()->graphicsData, 1);
}

TEST(Input, ANullStringIsRefused) {
  CTestHost host;
  EXPECT_EQ(KXREG_HandleNextString(host.Host(), nullptr), 1);
  EXPECT_EQ(host.Host()->graphicsData, 0);
}

TEST(Input, LowerCaseIsFoldedForTheParsersButKeptInTheJournal) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen);
  EXPECT_EQ(host.Feed("p[1,2]Q"), 0);
  EXPECT_EQ(seen, "P[1,2]Q");
  EXPECT_EQ(JournalText(*host.Interpreter()), "p[1,2]Q");
}

TEST(Input, ControlCharactersAreDroppedOutsideLiteralMode) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen);
  host.Feed(
      "a\r\nb\x1b"
      "c");
  EXPECT_EQ(seen, "ABC");
  EXPECT_EQ(JournalText(*host.Interpreter()), "abc");
}

TEST(Input, LiteralModeDeliversControlCharactersAndLowerCase) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen);
  host.Interpreter()->flags |= kFlagLiteral;
  host.Feed("a\r\nb");
  EXPECT_EQ(seen, "a\r\nb");
  EXPECT_EQ(JournalText(*host.Interpreter()), "a\r\nb");
}

TEST(Input, HighCharactersPassUnchanged) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen);
  host.Feed("\xe9\xff");
  EXPECT_EQ(seen, "\xe9\xff");
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

TEST(Input, SemicolonIsDataWhileTheDefinitionFlagIsSet) {
  CTestHost host;
  std::string seen;
  PushScripted(host, &seen);
  host.Interpreter()->flags |= kFlagSemicolonData;
  host.Feed("a;b");
  EXPECT_EQ(seen, "A;B");
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 2);
}

TEST(Input, SemicolonKeepsTheLastErrorAndTheOtherFlags) {
  CTestHost host;
  host.Feed("Q");
  host.Interpreter()->flags |= kFlagTextBlock;
  host.Feed(";");
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
  EXPECT_NE(host.Interpreter()->flags & kFlagTextBlock, 0u);
}

struct UnexpectedCase {
  const char* name;
  const char* input;
  char errorChar;
};

class DispatcherErrors : public testing::TestWithParam<UnexpectedCase> {};

TEST_P(DispatcherErrors, RecordsErrorOneAndKeepsTheCommand) {
  CTestHost host;
  EXPECT_EQ(host.Feed(GetParam().input), 0);
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, static_cast<uint8_t>(GetParam().errorChar));
  EXPECT_EQ(Dispatcher(host)->command, kCommandNone);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DispatcherErrors,
                         testing::Values(UnexpectedCase{"Space", " ", ' '}, UnexpectedCase{"Comma", ",", ','},
                                         UnexpectedCase{"UnknownLetter", "Q", 'Q'},
                                         UnexpectedCase{"LowerCaseUnknownLetterRaised", "z", 'Z'},
                                         UnexpectedCase{"ClosingParenthesis", ")", ')'},
                                         UnexpectedCase{"ClosingBracket", "]", ']'},
                                         UnexpectedCase{"DigitWithoutCommand", "5", '5'},
                                         UnexpectedCase{"BracketWithoutCommand", "[", '['},
                                         UnexpectedCase{"QuoteWithoutCommand", "'", '\''},
                                         UnexpectedCase{"HighCharacter", "\xb0", '\xb0'}),
                         [](const testing::TestParamInfo<UnexpectedCase>& info) { return info.param.name; });

TEST(Dispatch, AFinishedObjectIsPoppedBeforeTheNextCharacter) {
  CTestHost host;
  std::string seen;
  bool deleted = false;
  PushScripted(
      host, &seen, [](char, CInterpreter&) { return PARSE_DONE; }, &deleted);
  host.Interpreter()->flags |= kFlagLiteral;  // keeps 'b' away from the dispatcher's error
  host.Interpreter()->HandleChar('a');
  EXPECT_FALSE(deleted);
  EXPECT_NE(host.Interpreter()->flags & kFlagPopPending, 0u);
  host.Interpreter()->HandleChar('b');
  EXPECT_TRUE(deleted);
  EXPECT_EQ(seen, "a");
}

TEST(Dispatch, AnObjectFinishingOnTheLastCharacterIsRemovedWithTheString) {
  CTestHost host;
  bool deleted = false;
  PushScripted(
      host, nullptr, [](char, CInterpreter&) { return PARSE_DONE; }, &deleted);
  host.Feed("a");
  EXPECT_TRUE(deleted);
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  EXPECT_EQ(host.Interpreter()->flags & kFlagPopPending, 0u);
}

TEST(Dispatch, AReturnedCharacterIsOfferedToTheObjectBelow) {
  CTestHost host;
  std::string lower, upper;
  PushScripted(host, &lower);
  PushScripted(host, &upper,
               [](char ch, CInterpreter&) { return ch == ']' ? PARSE_RETURN : PARSE_CONTINUE; });
  host.Feed("1]2");
  EXPECT_EQ(upper, "1]");
  EXPECT_EQ(lower, "]2");
}

TEST(Dispatch, APassedCharacterIsOfferedToTheNewTop) {
  CTestHost host;
  std::string parent, child;
  PushScripted(host, &parent, [&child](char ch, CInterpreter& interp) {
    if (ch != '[') return PARSE_CONTINUE;
    interp.parseStack.Push(new CScriptedParser(&child));
    return PARSE_PASS;
  });
  host.Feed("a[b");
  EXPECT_EQ(parent, "A[");
  EXPECT_EQ(child, "[B");
}

TEST(Dispatch, UnknownStatusesBehaveLikePass) {
  CTestHost host;
  std::string parent, child;
  PushScripted(host, &parent, [&child](char, CInterpreter& interp) {
    interp.parseStack.Push(new CScriptedParser(&child));
    return 42;
  });
  host.Feed("x");
  EXPECT_EQ(parent, "X");
  EXPECT_EQ(child, "X");
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

TEST(Dispatch, ResetParserLeavesExactlyOneDispatcher) {
  CTestHost host;
  PushScripted(host, nullptr);
  PushScripted(host, nullptr);
  host.Interpreter()->ResetParser();
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
  EXPECT_NE(Dispatcher(host), nullptr);
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

TEST(Dispatch, SetErrorRecordsTheCodeAndCharacterOnly) {
  CTestHost host;
  host.Interpreter()->SetError(7, 'B');
  EXPECT_EQ(host.Interpreter()->lastError, 7);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'B');
  EXPECT_EQ(host.Interpreter()->flags, kFlagRelativeFromCurrent);
}
