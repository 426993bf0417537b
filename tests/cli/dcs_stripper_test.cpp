#include "tools/zizider/dcs_stripper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using Mode = CDcsStripper::Mode;

// Feeds the stream in reads of `piece` bytes, the first of them `first`
// bytes long; gives the data out and, when asked, the mode it settled on.
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

struct StripCase {
  const char* behaviour;
  Mode mode;
  std::string input;
  std::string expected;
};

// std::string literals, since several inputs hold NUL bytes.
using namespace std::string_literals;

const StripCase kCases[] = {
    {"a 7-bit DCS passes only its data", Mode::Dcs, "\x1bPpP[1,2]\x1b\\"s, "P[1,2]"},
    {"parameters before the p are not data", Mode::Dcs, "\x1bP0;1pV[]\x1b\\"s, "V[]"},
    {"the 8-bit DCS and ST delimit like the 7-bit forms", Mode::Dcs, "\x90pV[]\x9c"s, "V[]"},
    {"UTF-8 encoded DCS and ST delimit too", Mode::Dcs, "\xc2\x90pV[]\xc2\x9c"s, "V[]"},
    {"text and escape sequences between strings are dropped", Mode::Dcs,
     "hello\x1b[2J\x1bPpA\x1b\\ world \x1b[0m"s, "A"},
    {"a sixel DCS is skipped whole", Mode::Dcs, "\x1bPq#0;2;0;0;0~~-~~\x1b\\\x1bPpB\x1b\\"s, "B"},
    {"a p after an intermediate is another device's request", Mode::Dcs, "\x1bP$pX\x1b\\\x1bP1$pY\x9c"s, ""},
    {"parameters after an intermediate spoil the string", Mode::Dcs, "\x1bP$1pX\x1b\\"s, ""},
    {"several ReGIS strings join into one stream", Mode::Dcs, "\x1bPpA\x1b\\x\x1bP1pB\x9cy"s, "AB"},
    {"UTF-8 continuation bytes that look like ST stay data", Mode::Dcs, "\x1bPpT'\xe6\x9c\xac'\x1b\\"s,
     "T'\xe6\x9c\xac'"},
    {"8-bit bytes other than ST stay data inside a string", Mode::Dcs, "\x1bPpT'\x93x\x94\x90'\x1b\\"s,
     "T'\x93x\x94\x90'"},
    {"a C2 lead byte before a printable continuation stays data", Mode::Dcs, "\x1bPpT'\xc2\xa0'\x1b\\"s,
     "T'\xc2\xa0'"},
    {"ESC ends a string even without the backslash", Mode::Dcs, "\x1bPpA\x1b[0mB"s, "A"},
    {"CAN cancels a string", Mode::Dcs,
     "\x1bPpA\x18"
     "B"s,
     "A"},
    {"SUB cancels a string", Mode::Dcs,
     "\x1bPpA\x1a"
     "B"s,
     "A"},
    {"NUL bytes are dropped inside a string", Mode::Dcs, "\x1bPpA\0B\x1b\\"s, "AB"},
    {"control characters inside a string pass", Mode::Dcs, "\x1bPpT'a\r\nb'\x1b\\"s, "T'a\r\nb'"},
    {"an OSC ended by BEL cannot open a string", Mode::Dcs, "\x1b]0;\x90pX\x07\x1bPpA\x1b\\"s, "A"},
    {"an APC hides what looks like ReGIS", Mode::Dcs, "\x1b_pX\x1b\\\x1bPpA\x1b\\"s, "A"},
    {"an unterminated string keeps its data", Mode::Dcs, "\x1bPpABC"s, "ABC"},
    {"a C2 at the very end of an open string is kept", Mode::Dcs, "\x1bPpA\xc2"s, "A\xc2"},
    {"a doubled ESC still opens a string", Mode::Dcs, "\x1b\x1bPpA"s, "A"},
    {"an empty string gives nothing", Mode::Dcs, "\x1bPp\x1b\\"s, ""},
    {"plain ReGIS passes whole", Mode::Auto, "P[1,1]V[2,2]\r\n"s, "P[1,1]V[2,2]\r\n"},
    {"plain ReGIS loses only its NUL bytes", Mode::Auto,
     "P[1\0"
     "00,100]"s,
     "P[100,100]"},
    {"an introducer anywhere early makes the stream terminal data", Mode::Auto, "junk\x1bPpA\x1b\\junk"s,
     "A"},
    {"an 8-bit introducer counts", Mode::Auto, "x\x90pA\x9cy"s, "A"},
    {"a UTF-8 character holding 0x90 is no introducer", Mode::Auto, "\xe2\x90\x80P[1,1]"s,
     "\xe2\x90\x80P[1,1]"},
    {"forced plain mode keeps the wrapper bytes", Mode::Plain, "\x1bPpA\x1b\\"s, "\x1bPpA\x1b\\"},
    {"empty input gives nothing", Mode::Auto, ""s, ""},
};

TEST(DcsStripperTest, GivesTheReGisDataWhereverTheReadsSplit) {
  for (const StripCase& c : kCases) {
    for (size_t cut = 0; cut <= c.input.size(); ++cut)
      EXPECT_EQ(Strip(c.mode, c.input, cut), c.expected) << c.behaviour << ", split at byte " << cut;
    EXPECT_EQ(Strip(c.mode, c.input, 1, 1), c.expected) << c.behaviour << ", one byte per read";
  }
}

TEST(DcsStripperTest, OnlyAnIntroducerInsideTheFirst64KiBMakesTheStreamTerminalData) {
  Mode settled = Mode::Auto;
  const std::string late = std::string(CDcsStripper::kSniffLimit, 'V') + "\x1bPpA\x1b\\";
  EXPECT_EQ(Strip(Mode::Auto, late, SIZE_MAX, SIZE_MAX, &settled), late);
  EXPECT_EQ(settled, Mode::Plain);
  const std::string early = std::string(CDcsStripper::kSniffLimit - 1, 'x') + "\x1bPpA\x1b\\";
  EXPECT_EQ(Strip(Mode::Auto, early, 4096, 4096, &settled), "A");
  EXPECT_EQ(settled, Mode::Dcs);
}

TEST(DcsStripperTest, PassesALongPlainStreamOnAsItArrives) {
  CDcsStripper stripper;
  std::string out;
  const std::string piece(1024, 'P');
  for (int i = 0; i < 200; ++i) stripper.Feed(piece.data(), piece.size(), out);
  EXPECT_EQ(out.size(), 200u * 1024);
}

}  // namespace
