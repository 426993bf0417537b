#include "tools/zizider/dcs_stripper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using Mode = CDcsStripper::Mode;
using namespace std::string_literals;  // several inputs hold NUL bytes

// Feeds the stream in reads of `piece` bytes, the first `first` bytes long;
// gives the data out and, when asked, the mode the stripper settled on.
std::string Strip(Mode mode, const std::string& input, size_t first = SIZE_MAX, size_t piece = SIZE_MAX,
                  Mode* settled = nullptr) {
  CDcsStripper stripper(mode);
  std::string out;
  for (size_t at = 0, n = first; at < input.size(); at += n, n = piece) {
    n = std::min(n, input.size() - at);
    stripper.Feed(input.data() + at, n, out);
  }
  stripper.Finish(out);
  if (settled) *settled = stripper.mode();
  return out;
}

TEST(DcsStripperTest, GivesTheReGisDataWhereverTheReadsSplit) {
  const struct {
    const char* behaviour;
    Mode mode;
    std::string input, expected;
  } rows[] = {
      {"a 7-bit DCS passes only its data", Mode::Dcs, "\33PpP[1,2]\33\\"s, "P[1,2]"},
      {"parameters before the p are not data", Mode::Dcs, "\33P0;1pV[]\33\\"s, "V[]"},
      {"the 8-bit DCS and ST delimit like the 7-bit forms", Mode::Dcs, "\x90pV[]\x9c"s, "V[]"},
      {"UTF-8 encoded DCS and ST delimit too", Mode::Dcs, "\xc2\x90pV[]\xc2\x9c"s, "V[]"},
      {"text and sequences between strings are dropped", Mode::Dcs, "h\33[2J\33PpA\33\\ x\33[0m"s, "A"},
      {"a sixel DCS is skipped whole", Mode::Dcs, "\33Pq#0;2;0;0;0~~-~~\33\\\33PpB\33\\"s, "B"},
      {"a p after an intermediate is another device's request", Mode::Dcs, "\33P$pX\33\\\33P1$pY\x9c"s, ""},
      {"parameters after an intermediate spoil the string", Mode::Dcs, "\33P$1pX\33\\"s, ""},
      {"several ReGIS strings join into one stream", Mode::Dcs, "\33PpA\33\\x\33P1pB\x9cy"s, "AB"},
      {"UTF-8 continuations like ST stay data", Mode::Dcs, "\33PpT'\xe6\x9c\xac'\33\\"s, "T'\xe6\x9c\xac'"},
      {"other 8-bit bytes than ST stay data", Mode::Dcs, "\33PpT'\x93x\x94\x90'\33\\"s, "T'\x93x\x94\x90'"},
      {"C2 before a printable continuation is data", Mode::Dcs, "\33PpT'\xc2\xa0'\33\\"s, "T'\xc2\xa0'"},
      {"ESC ends a string even without the backslash", Mode::Dcs, "\33PpA\33[0mB"s, "A"},
      {"CAN cancels a string", Mode::Dcs, "\33PpA\30B"s, "A"},
      {"SUB cancels a string", Mode::Dcs, "\33PpA\32B"s, "A"},
      {"NUL bytes are dropped inside a string", Mode::Dcs, "\33PpA\0B\33\\"s, "AB"},
      {"control characters inside a string pass", Mode::Dcs, "\33PpT'a\r\nb'\33\\"s, "T'a\r\nb'"},
      {"an OSC ended by BEL cannot open a string", Mode::Dcs, "\33]0;\x90pX\7\33PpA\33\\"s, "A"},
      {"an APC hides what looks like ReGIS", Mode::Dcs, "\33_pX\33\\\33PpA\33\\"s, "A"},
      {"an unterminated string keeps its data", Mode::Dcs, "\33PpABC"s, "ABC"},
      {"a C2 at the very end of an open string is kept", Mode::Dcs, "\33PpA\xc2"s, "A\xc2"},
      {"a doubled ESC still opens a string", Mode::Dcs, "\33\33PpA"s, "A"},
      {"an empty string gives nothing", Mode::Dcs, "\33Pp\33\\"s, ""},
      {"plain ReGIS passes whole", Mode::Auto, "P[1,1]V[2,2]\r\n"s, "P[1,1]V[2,2]\r\n"},
      {"plain ReGIS loses only its NUL bytes", Mode::Auto, "P[1\00000,100]"s, "P[100,100]"},
      {"an introducer anywhere early makes it terminal data", Mode::Auto, "junk\33PpA\33\\junk"s, "A"},
      {"an 8-bit introducer counts", Mode::Auto, "x\x90pA\x9cy"s, "A"},
      {"UTF-8 holding 0x90 is no introducer", Mode::Auto, "\xe2\x90\x80P[1,1]"s, "\xe2\x90\x80P[1,1]"},
      {"forced plain mode keeps the wrapper bytes", Mode::Plain, "\33PpA\33\\"s, "\33PpA\33\\"},
      {"empty input gives nothing", Mode::Auto, ""s, ""},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    for (size_t cut = 0; cut <= c.input.size(); ++cut)
      EXPECT_EQ(Strip(c.mode, c.input, cut), c.expected) << "split at byte " << cut;
    EXPECT_EQ(Strip(c.mode, c.input, 1, 1), c.expected) << "one byte per read";
  }
}

TEST(DcsStripperTest, OnlyAnIntroducerInsideTheFirst64KiBMakesTheStreamTerminalData) {
  Mode settled = Mode::Auto;
  const std::string late = std::string(CDcsStripper::kSniffLimit, 'V') + "\33PpA\33\\";
  EXPECT_EQ(Strip(Mode::Auto, late, SIZE_MAX, SIZE_MAX, &settled), late);
  EXPECT_EQ(settled, Mode::Plain);
  const std::string early = std::string(CDcsStripper::kSniffLimit - 1, 'x') + "\33PpA\33\\";
  EXPECT_EQ(Strip(Mode::Auto, early, 4096, 4096, &settled), "A");
  EXPECT_EQ(settled, Mode::Dcs);
  // A long plain stream is passed on as it arrives, not held back.
  CDcsStripper stripper;
  std::string out;
  for (int i = 0; i < 200; ++i) stripper.Feed(late.data(), 1024, out);
  EXPECT_EQ(out.size(), 200u * 1024);
}

}  // namespace
