// The input pipeline and the dispatch loop, through the exports as a host
// drives them, with scripted parser objects standing in for commands; the
// parser stack and the bounded pointer stacks.
#include "interp/interpreter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "interp/cmd_dispatch.h"
#include "interp/parse_stack.h"
#include "interp/ptr_stack.h"
#include "support/scripted_parser.h"
#include "support/test_host.h"

namespace {

// Pushes a scripted parser on top of the host's interpreter.
void Push(CTestHost& host, std::string* seen, CScriptedParser::Rule rule = nullptr, bool* deleted = nullptr) {
  host.Interpreter()->parseStack.Push(new CScriptedParser(seen, std::move(rule), deleted));
}

CCmdDispatch* Dispatcher(CTestHost& host) {
  CParseObj* bottom = host.Interpreter()->parseStack.Top();
  while (bottom && bottom->below) bottom = bottom->below;
  return dynamic_cast<CCmdDispatch*>(bottom);
}

void ExpectError(CTestHost& host, char ch) {
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, static_cast<uint8_t>(ch));
}

}  // namespace

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

TEST(PositionStack, TopIsTheLastPushedEntryAndNoneWhenEmpty) {
  CPositionStack stack;
  EXPECT_EQ(stack.Top(), nullptr);
  auto entry = std::make_unique<CSavedPosition>();
  entry->x = 5;
  ASSERT_TRUE(stack.Push(std::move(entry)));
  EXPECT_EQ(stack.Top()->x, 5);
}
