// The report command: position and error reports on the debugger output and
// the host's input callback, and the graphics input mode in the host's
// settings flag word.
#include "commands/report.h"

#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"
#include "surface/input_mode.h"

namespace {

using commands_test::LastError;
using commands_test::LastErrorChar;

int Notifications(const CTestHost& host) {
  int n = 0;
  for (const CTestHost::Callback& c : host.callbacks)
    n += c.kind == CTestHost::Callback::Input && c.code == 0;
  return n;
}

uint32_t& Flags(CTestHost& host) {
  return host.Screen()->settings->flags;
}

TEST(InputModeFlagWord, ChangesOnlyTheInputBits) {
  const struct {
    const char* name;
    uint32_t before;
    int mode, force;
    uint32_t after;
  } rows[] = {
      {"OneShotSetsBits21And22", 0, 1, 0, 0x00600000u},
      {"OneShotAfterMultipleClearsBits21And25", 0x02000000u, 1, 0, 0x00000000u},
      {"OneShotClearsBits17To20", 0x001E0000u, 1, 0, 0x00600000u},
      {"MultipleSetsBits21And25AndClears22", 0x00400000u, 2, 0, 0x02200000u},
      {"MultipleAgainKeepsBit25", 0x02000000u, 2, 0, 0x02200000u},
      {"ForcedMultipleWithBit25LeavesBit22", 0x02400000u, 2, 1, 0x02600000u},
      {"ForcedMultipleWithoutBit25Switches", 0x00400000u, 2, 1, 0x02200000u},
      {"ForcedOneShotBehavesAsUnforced", 0, 1, 1, 0x00600000u},
      {"OtherBitsStay", 0x84000001u, 1, 0, 0x84600001u},
  };
  for (const auto& c : rows) EXPECT_EQ(InputModeFlags(c.before, c.mode, c.force), c.after) << c.name;
}

TEST(ReportCommand, ParsesAndReportsOnTheDebuggerOutputNotifyingTheHostForPositions) {
  const struct {
    const char* name;
    const char* text;
    const char* output;
    int notifications;
    int error, errorChar;
    int stack;  // parser objects left
  } rows[] = {
      {"APosition", "P[400,240]R(P)", "[400;240]", 1, 0, 0, 1},
      {"NegativePositionsRoundHalfUpTowardZero", "P[10,10]P[-20,-30]R(P)", "[-9;-19]", 1, 0, 0, 1},
      {"ACommaAllowsFurtherReports", "?P[1,2]R(P,E)", "[1;2]\"1;63\"", 1, 1, '?', 1},
      {"TheLastErrorBetweenDoubleQuotes", "?R(E)", "\"1;63\"", 0, 1, '?', 1},
      {"ACharacterAbove127AsItsByteValue", "\xE9R(E)", "\"1;233\"", 0, 1, 0xE9, 1},
      {"WithoutAListTheCharacterGoesOn", "R?", "", 0, 1, '?', 1},
      {"AnEmptyListIsError1AndStaysOpen", "R()", "", 0, 1, ')', 2},
      {"LAndMAreAcceptedWithoutReport", "R(L,M)", "", 0, 0, 0, 1},
      {"AnUnknownOptionIsError1", "R(Q", "", 0, 1, 'Q', 2},
      {"ABadCharacterAfterAnOptionKeepsTheListOpen", "R(LQ)", "", 0, 1, 'Q', 1},
      {"APositionOptionTakesOnlyTheInputLetter", "R(P(X))", "", 0, 0, 0, 1},
      {"APositionWithABadCharacterIsError1", "R(PQ)", "[0;0]", 1, 1, 'Q', 1},
      {"TheInputGroupNeedsItsParenthesis", "R(P(IQ))", "", 1, 1, 'Q', 1},
      {"AnotherListContinuesTheCommand", "R(L)(P)", "[0;0]", 1, 0, 0, 1},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    soft::inspect::ClearDebugOutput();
    host.Feed(c.text);
    EXPECT_EQ(soft::inspect::DebugOutput(), c.output);
    EXPECT_EQ(Notifications(host), c.notifications);
    EXPECT_EQ(LastError(host), c.error);
    EXPECT_EQ(LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->parseStack.Count(), c.stack);
  }
}

// Graphics input mode ----------------------------------------------------------

TEST(ReportInput, MultipleInputSetsBit25AndClearsBit22) {
  CTestHost host;
  host.Host()->fieldA14 = 7;
  host.Host()->fieldA18 = 8;
  host.Feed("R(I1)");
  EXPECT_EQ(host.State()->inputMode, kInputMultiple);
  EXPECT_EQ(Flags(host) & (kInputBits17To21 | kInputBit22 | kInputBit25), kInputBit21 | kInputBit25);
  EXPECT_EQ(host.Host()->fieldA14, 0);
  EXPECT_EQ(host.Host()->fieldA18, 0);
  EXPECT_EQ(Notifications(host), 0);
  // Repeating the mode changes nothing.
  Flags(host) |= 0x00020000u;
  host.Host()->fieldA14 = 7;
  host.Feed("R(I1)");
  EXPECT_NE(Flags(host) & 0x00020000u, 0u);
  EXPECT_EQ(host.Host()->fieldA14, 7);
  host.Feed("R(I0)");
  EXPECT_EQ(host.State()->inputMode, kInputOneShot);
  EXPECT_EQ(Flags(host) & (kInputBits17To21 | kInputBit22 | kInputBit25), 0u);
  // One-shot input is the mode an instance starts in.
  CTestHost fresh;
  fresh.Feed("R(I0)");
  EXPECT_EQ(Flags(fresh) & (kInputBits17To21 | kInputBit22 | kInputBit25), 0u);
}

TEST(ReportInput, APositionRequestWithInputForcesTheModeAndNotifies) {
  CTestHost host;
  soft::inspect::ClearDebugOutput();
  host.Feed("R(P(I))");
  EXPECT_EQ(Flags(host) & (kInputBits17To21 | kInputBit22 | kInputBit25), kInputBit21 | kInputBit22);
  EXPECT_EQ(Notifications(host), 1);
  EXPECT_EQ(soft::inspect::DebugOutput(), "");
  EXPECT_EQ(host.Interpreter()->parseStack.Count(), 1);
}

}  // namespace
