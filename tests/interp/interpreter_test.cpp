// The dispatch loop with a scripted parser; the bounded position stack.
#include "interp/interpreter.h"

#include <gtest/gtest.h>

#include <memory>

#include "interp/ptr_stack.h"
#include "support/scripted_parser.h"
#include "support/test_host.h"

TEST(Dispatch, AParserThatNeverTakesItsCharacterCannotHoldTheThread) {
  CTestHost host;
  host.Interpreter()->parseStack.Push(
      new CScriptedParser(nullptr, [](char, CInterpreter&) { return PARSE_PASS; }));
  EXPECT_EQ(host.Feed("a"), 0);
  EXPECT_EQ(host.Interpreter()->lastError, 1);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'A');
}

TEST(PositionStack, TopIsTheLastPushedEntryAndNoneWhenEmpty) {
  CPositionStack stack;
  EXPECT_EQ(stack.Top(), nullptr);
  auto entry = std::make_unique<CSavedPosition>();
  entry->x = 5;
  ASSERT_TRUE(stack.Push(std::move(entry)));
  EXPECT_EQ(stack.Top()->x, 5);
}
