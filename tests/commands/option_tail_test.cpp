// Option lists after a finished position or vector command act for the
// command given last; any other letter ends them.
#include "commands/option_tail.h"

#include <gtest/gtest.h>

#include <memory>

#include "interp/cmd_dispatch.h"
#include "regis_probe.h"

namespace {

TEST(OptionTail, ActsForTheLastCommand) {
  const commands_test::CCase cases[] = {
      {"a position block returns", "P[50,50](B)P[300,300](E)", "at=50,50 pos=0"},
      {"push and pop in one list", "P[10,10](B,E)", "at=10,10 pos=0"},
      {"an unbounded block stays", "P[10,10](S)P[20,20](E)", "at=20,20 pos=0"},
      {"E on an empty stack", "P[10,10](E)", "at=10,10 err=8'E'"},
      {"B without a command", "(B)", "err=1'B'"},
      {"S without a command", "(S)", "err=1'S'"},
      {"B after N", "P[10,10]NX(B)", "err=1'B' pos=0"},
      {"an empty tail", "P[10,10]()", "err=1')'"},
      {"a bad character after B", "P[10,10](BX", "err=1'X' pos=1"},
      {"another letter ends it", "P[10,10](B)(Q", "err=1'Q' pos=1"},
      {"after a vector B pushes for it", "V[10,10](B)P[30,30]P(E)", "at=30,30 pos=0"},
      {"W becomes a permanent command", "P[10,10](W(I2))", "err=1')' fg=2"},
      {"a vector figure closes to its block", "P[100,50]V[100,100](B)[200,100][200,200](E)",
       "at=100,100 px=150,100:fg px=200,150:fg px=150,150:fg"},
      {"a position entry moves without drawing", "P[100,100](B)V[200,200](E)", "at=100,100 drawn=100"},
  };
  commands_test::ExpectCases(cases);
}

// A tail whose creator was the fill command, which hands over its own code.
TEST(OptionTail, AFillCodeRefusesBlocksButStillEnds) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  host.Feed("P[10,10]P(B)P[40,40]");
  COptionTail tail;
  interp.handoff = std::make_unique<CCommandHandoff>(kCommandFill);
  EXPECT_EQ(tail.Parse('B', interp), PARSE_CONTINUE);
  EXPECT_EQ(interp.handoff, nullptr);
  EXPECT_EQ(commands_test::LastErrorChar(host), 'B');
  EXPECT_EQ(tail.Parse(',', interp), PARSE_CONTINUE);
  EXPECT_EQ(tail.Parse('E', interp), PARSE_CONTINUE);
  EXPECT_EQ(commands_test::Position(host).x, 10) << "E acts on the entry's tag";
  EXPECT_EQ(tail.Parse(')', interp), PARSE_DONE);
}

}  // namespace
