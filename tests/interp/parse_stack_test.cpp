// The parser stack and the bounded pointer stacks.
#include "interp/parse_stack.h"

#include <gtest/gtest.h>

#include <memory>

#include "interp/ptr_stack.h"
#include "support/scripted_parser.h"

TEST(ParseStack, PushLinksTheNewTopAboveTheOldOneAndPopUnlinksIt) {
  CParseStack stack;
  CScriptedParser bottom(nullptr), top(nullptr);
  stack.Push(&bottom);
  stack.Push(&top);
  EXPECT_EQ(stack.Top(), &top);
  EXPECT_EQ(stack.Count(), 2);
  EXPECT_EQ(top.below, &bottom);
  EXPECT_EQ(bottom.above, &top);
  EXPECT_EQ(top.above, nullptr);
  EXPECT_EQ(bottom.below, nullptr);
  EXPECT_EQ(stack.Pop(), &top);
  EXPECT_EQ(stack.Top(), &bottom);
  EXPECT_EQ(bottom.above, nullptr);
  EXPECT_EQ(stack.Pop(), &bottom);
  EXPECT_TRUE(stack.IsEmpty());
  EXPECT_EQ(stack.Pop(), nullptr);
  EXPECT_EQ(stack.Count(), 0);
}

TEST(PtrStack, APushBeyondTheCapacityIsRefusedAndStoresNothing) {
  CPtrStack stack(2);
  int a = 0, b = 0, c = 0;
  EXPECT_TRUE(stack.Push(&a) && stack.Push(&b));
  EXPECT_FALSE(stack.Push(&c));
  EXPECT_EQ(stack.TopIndex(), 1);
  EXPECT_EQ(stack.Pop(), &b);
  EXPECT_EQ(stack.Pop(), &a);
  EXPECT_EQ(stack.Pop(), nullptr);
  EXPECT_EQ(stack.TopIndex(), -1);
}

// The entries left on a stack are deleted with it (the sanitizer build checks).
TEST(PositionAndMacroStacks, HoldSixteenPositionsAndSeventeenTextsAndAnEmptyOnePopsNothing) {
  CPositionStack stack;
  for (int i = 0; i < CPositionStack::kCapacity; ++i) {
    auto entry = std::make_unique<CSavedPosition>();
    entry->x = i;
    EXPECT_TRUE(stack.Push(std::move(entry))) << i;
  }
  EXPECT_FALSE(stack.Push(std::make_unique<CSavedPosition>()));
  EXPECT_EQ(stack.Count(), 16);
  EXPECT_EQ(stack.Pop()->x, 15);
  EXPECT_EQ(stack.Top()->x, 14);
  CPositionStack empty;
  EXPECT_EQ(empty.Pop(), nullptr);
  EXPECT_EQ(empty.Top(), nullptr);
  CMacroStack macros;
  const char* text = "P[1,1]";
  for (int i = 0; i < CMacroStack::kCapacity; ++i) EXPECT_TRUE(macros.Push(text + i % 6));
  EXPECT_FALSE(macros.Push(text));
  EXPECT_EQ(macros.Pop(), text + 16 % 6);
}
