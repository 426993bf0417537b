// Option lists after a finished position or vector command act for the
// command given last; any other letter ends them.
#include "commands/option_tail.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "interp/cmd_dispatch.h"
#include "regis_probe.h"

namespace {

using commands_test::DefaultForeground;
using commands_test::IndexAt;
using commands_test::LastError;
using commands_test::LastErrorChar;
using commands_test::Permanent;
using commands_test::Position;

TEST(OptionTail, ActsForTheLastCommand) {
  const commands_test::COutcome rows[] = {
      {"APositionBlockReturnsAcrossCommands", "P[50,50](B)P[300,300](E)", 50, 50, 0, 0, 0},
      {"PushAndPopInOneList", "P[10,10](B,E)", 10, 10, 0, 0, 0},
      {"AnUnboundedBlockStays", "P[10,10](S)P[20,20](E)", 20, 20, 0, 0, 0},
      {"EOnAnEmptyStackIsError8", "P[10,10](E)", 10, 10, 8, 'E', 0},
      {"WithoutACommandBIsAnError", "(B)", 0, 0, 1, 'B', 0},
      {"WithoutACommandSIsAnError", "(S)", 0, 0, 1, 'S', 0},
      {"AfterNBIsAnError", "P[10,10]NX(B)", 10, 10, 1, 'B', 0},
      {"AnEmptyTailHandsItsParenthesisBack", "P[10,10]()", 10, 10, 1, ')', 0},
      {"ABadCharacterAfterAnOptionIsAnError", "P[10,10](BX", 10, 10, 1, 'X', 1},
      {"AnotherLetterEndsTheTail", "P[10,10](B)(Q", 10, 10, 1, 'Q', 1},
      {"AfterAVectorBPushesForTheVector", "V[10,10](B)P[30,30]P(E)", 30, 30, 0, 0, 0},
      {"AWBecomesATopLevelCommand", "P[10,10](W(I2))", 10, 10, 1, ')', 0},
  };
  for (const auto& c : rows) commands_test::ExpectOutcome(c);
}

TEST(OptionTailDrawing, AVectorFigureClosesBackToItsBlock) {
  CTestHost host;
  host.Feed("P[100,50]V[100,100](B)[200,100][200,200](E)");
  const int fg = DefaultForeground(host);
  EXPECT_EQ(IndexAt(host, 150, 100), fg);
  EXPECT_EQ(IndexAt(host, 200, 150), fg);
  EXPECT_EQ(IndexAt(host, 150, 150), fg) << "the closing line";
  EXPECT_EQ(Position(host).x, 100);
  EXPECT_EQ(Position(host).y, 100);
  EXPECT_EQ(LastError(host), 0);
}

TEST(OptionTailDrawing, APositionEntryMovesWithoutDrawing) {
  CTestHost host;
  host.Feed("P[100,100](B)V[200,200](E)");
  EXPECT_EQ(IndexAt(host, 150, 150), DefaultForeground(host));
  EXPECT_EQ(commands_test::DrawnPixels(host), 100);
  EXPECT_EQ(Position(host).x, 100);
}

TEST(OptionTailDrawing, AWMakesItsOptionsPermanent) {
  CTestHost host;
  host.Feed("P[10,10](W(I2))");
  EXPECT_EQ(Permanent(host).foreground, 2);
}

// A tail whose creator was the fill command, which hands over its own code.
TEST(OptionTailDrawing, AFillCodeRefusesBlocksButStillEnds) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  host.Feed("P[10,10]P(B)P[40,40]");
  COptionTail tail;
  interp.handoff = std::make_unique<CCommandHandoff>(kCommandFill);
  EXPECT_EQ(tail.Parse('B', interp), PARSE_CONTINUE);
  EXPECT_EQ(interp.handoff, nullptr);
  EXPECT_EQ(LastError(host), 1);
  EXPECT_EQ(LastErrorChar(host), 'B');
  EXPECT_EQ(tail.Parse(',', interp), PARSE_CONTINUE);
  EXPECT_EQ(tail.Parse('E', interp), PARSE_CONTINUE);
  EXPECT_EQ(Position(host).x, 10) << "E acts on the entry's tag";
  EXPECT_EQ(tail.Parse(')', interp), PARSE_DONE);
}

}  // namespace
