// The report command and the graphics input mode in the settings flags.
#include "commands/report.h"

#include <gtest/gtest.h>

#include "regis_probe.h"
#include "surface/input_mode.h"

namespace {

constexpr uint32_t kInputBits = kInputBits17To21 | kInputBit22 | kInputBit25;

int Notifications(const CTestHost& host) {
  int n = 0;
  for (const CTestHost::Callback& c : host.callbacks)
    n += c.kind == CTestHost::Callback::Input && c.code == 0;
  return n;
}

TEST(InputModeFlagWord, ChangesOnlyTheInputBits) {
  const struct {
    uint32_t before;
    int mode, force;
    uint32_t after;
  } rows[] = {
      {0, 1, 0, 0x00600000u},            // one-shot sets bits 21 and 22
      {0x02000000u, 1, 0, 0x00000000u},  // after multiple it clears 21 and 25
      {0x001E0000u, 1, 0, 0x00600000u},  // and always 17 to 20
      {0x00400000u, 2, 0, 0x02200000u},  // multiple sets 21 and 25, clears 22
      {0x02000000u, 2, 0, 0x02200000u},  // again keeps 25
      {0x02400000u, 2, 1, 0x02600000u},  // forced with 25 leaves 22
      {0x00400000u, 2, 1, 0x02200000u},  // forced without 25 switches
      {0, 1, 1, 0x00600000u},            // forced one-shot as unforced
      {0x84000001u, 1, 0, 0x84600001u},  // other bits stay
  };
  for (const auto& c : rows) EXPECT_EQ(InputModeFlags(c.before, c.mode, c.force), c.after) << c.before;
}

TEST(ReportCommand, ParsesAndReportsOnTheDebuggerOutputNotifyingTheHostForPositions) {
  const struct {
    const char* text;
    const char* output;
    int notifications;
    int error, errorChar;
    int stack;  // parser objects left
  } rows[] = {
      {"P[400,240]R(P)", "[400;240]", 1, 0, 0, 1},
      {"P[10,10]P[-20,-30]R(P)", "[-9;-19]", 1, 0, 0, 1},  // negatives round half up toward zero
      {"?P[1,2]R(P,E)", "[1;2]\"1;63\"", 1, 1, '?', 1},
      {"\xE9R(E)", "\"1;233\"", 0, 1, 0xE9, 1},  // a character above 127 as its byte
      {"R?", "", 0, 1, '?', 1},                  // without a list the character goes on
      {"R()", "", 0, 1, ')', 2},
      {"R(L,M)", "", 0, 0, 0, 1},  // accepted without a report
      {"R(Q", "", 0, 1, 'Q', 2},
      {"R(LQ)", "", 0, 1, 'Q', 1},
      {"R(P(X))", "", 0, 0, 0, 1},  // a position option takes only the input letter
      {"R(PQ)", "[0;0]", 1, 1, 'Q', 1},
      {"R(P(IQ))", "", 1, 1, 'Q', 1},
      {"R(L)(P)", "[0;0]", 1, 0, 0, 1},  // another list continues the command
      {"R(P(I))", "", 1, 0, 0, 1},       // input forces the mode and notifies
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    soft::inspect::ClearDebugOutput();
    host.Feed(c.text);
    EXPECT_EQ(soft::inspect::DebugOutput(), c.output);
    EXPECT_EQ(Notifications(host), c.notifications);
    EXPECT_EQ(commands_test::LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), c.stack);
  }
}

TEST(ReportInput, MultipleInputSetsBit25AndClearsBit22AndOneShotClearsBoth) {
  CTestHost host;
  uint32_t& flags = host.Screen()->settings->flags;
  host.Host()->fieldA14 = 7;
  host.Host()->fieldA18 = 8;
  host.Feed("R(I1)");
  EXPECT_EQ(host.State()->inputMode, kInputMultiple);
  EXPECT_EQ(flags & kInputBits, kInputBit21 | kInputBit25);
  EXPECT_EQ(host.Host()->fieldA14 + host.Host()->fieldA18, 0);
  EXPECT_EQ(Notifications(host), 0);
  flags |= 0x00020000u;  // repeating the mode changes nothing
  host.Host()->fieldA14 = 7;
  host.Feed("R(I1)");
  EXPECT_NE(flags & 0x00020000u, 0u);
  EXPECT_EQ(host.Host()->fieldA14, 7);
  host.Feed("R(I0)");
  EXPECT_EQ(host.State()->inputMode, kInputOneShot);
  EXPECT_EQ(flags & kInputBits, 0u);
  host.Feed("R(P(I))");
  EXPECT_EQ(flags & kInputBits, kInputBit21 | kInputBit22);
  CTestHost fresh;  // one-shot input is the mode an instance starts in
  fresh.Feed("R(I0)");
  EXPECT_EQ(fresh.Screen()->settings->flags & kInputBits, 0u);
}

}  // namespace
