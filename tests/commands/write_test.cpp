// The write controls: permanent and temporary W options and their fields.
#include "commands/write.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "regis_probe.h"

namespace {

using commands_test::Active;
using commands_test::Permanent;

// The fields the options edit, in the order Fields lists them.
enum Field { kIndex, kMul, kPattern, kPatternMul, kMode, kPlanes, kNegative, kShading, kRef, kChar };

std::array<int32_t, 10> Fields(const CWriteControls& w) {
  const int32_t flags = static_cast<int32_t>(w.shading.flags), negative = w.Negative();
  return {w.foreground, w.pixelMultiplier, w.pattern, w.patternMultiplier, w.mode,
          w.planeMask,  negative,          flags,     w.shading.reference, w.shading.character};
}

constexpr int32_t kOn = static_cast<int32_t>(kShadingOn);
constexpr int32_t kHorizontal = static_cast<int32_t>(kShadingHorizontal);

TEST(WriteOption, SetsThePermanentField) {
  const struct {
    const char* text;  // fed after P[300,200], so the current position is (300, 200)
    Field field;
    int32_t expected;
    int error, errorChar;
  } rows[] = {
      {"W(R)", kMode, kReplace, 0, 0},
      {"W(C)", kMode, kComplement, 0, 0},
      {"W(R)W(V)", kMode, kOverlay, 0, 0},
      {"W(R,C E)", kMode, kErase, 0, 0},    // the last mode of a list wins
      {"W(RXC)", kMode, kReplace, 1, 'C'},  // only a separator may follow a mode
      {"W(Q)", kMode, kOverlay, 1, 'Q'},
      {"W(I3)", kIndex, 3, 0, 0},
      {"W(I16)", kIndex, 7, 0, 0},
      {"W(I(G))", kIndex, 3, 0, 0},           // the nearest map entry
      {"S(M3(R))W(I(G))", kIndex, 11, 0, 0},  // after the map changed
      {"W(P0,P1)", kPattern, 1, 0, 0},
      {"W(P)", kPattern, 0, 0, 0},
      {"W(P9)", kPattern, 9, 0, 0},
      {"W(P101)", kPattern, 10, 0, 0},  // binary digits select the user pattern
      {"W(P10)", kPattern, 10, 0, 0},
      {"W(P23)", kPattern, 1, 0, 0},
      {"W(P2(M5))", kPatternMul, 5, 0, 0},
      {"W(P2(M0))", kPatternMul, 0, 0, 0},
      {"W(P2(XM5))", kPatternMul, 5, 1, 'X'},
      {"W(M0)", kMul, 1, 0, 0},
      {"W(M3)", kMul, 3, 0, 0},
      {"W(F5)", kPlanes, 5, 0, 0},
      {"W(F16)", kPlanes, 15, 0, 0},
      {"W(F5X)", kPlanes, 5, 1, 'X'},
      {"W(N1)", kNegative, 1, 0, 0},
      {"W(N1,N0)", kNegative, 0, 0, 0},
      {"W(N20)", kNegative, 0, 1, '2'},  // an error until a digit comes
      {"W(N21)", kNegative, 1, 1, '2'},
      {"W(S1)", kShading, kOn | kHorizontal, 0, 0},
      {"W(S1)", kRef, 200, 0, 0},  // the current y
      {"W(S1)W(S0)", kShading, kHorizontal, 0, 0},
      {"W(S'X')", kChar, 'X', 0, 0},
      {"W(S\"X\")", kShading, kOn | kHorizontal, 0, 0},
      {"W(S'X\")", kChar, 'X', 0, 0},
      {"W(S(X)[300])", kShading, kOn, 0, 0},
      {"W(S(X)[350])", kRef, 350, 0, 0},
      {"W(S(X)[+20])", kRef, 320, 0, 0},
      {"W(S(X)junk[123])", kRef, 123, 0, 0},  // the reference waits for its bracket
      {"W(S[,250])", kRef, 250, 0, 0},
      {"W(S[,250])", kShading, kHorizontal, 0, 0},
      {"W(S'X',I2)", kIndex, 2, 0, 0},
      {"W(S,)", kShading, kHorizontal, 1, ','},
      {"W(R)WP[10,20]", kMode, kReplace, 0, 0},  // no list: the letter goes on
      {"W(I1)(I2)", kIndex, 2, 0, 0},            // a further list continues
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.text);
    CTestHost host;
    host.Feed("P[300,200]");
    Permanent(host).foreground = 7;
    host.Feed(c.text);
    EXPECT_EQ(Fields(Permanent(host))[c.field], c.expected);
    EXPECT_EQ(Fields(Active(host))[c.field], c.expected);
    EXPECT_EQ(commands_test::LastError(host), c.error);
    EXPECT_EQ(commands_test::LastErrorChar(host), c.errorChar);
    EXPECT_EQ(host.Interpreter()->flags & kFlagWriteNoOptions, 0u);
  }
}

TEST(WritePattern, AShortPatternRepeatsFromItsFirstDigitAndOnlyEightDigitsCount) {
  for (const auto& [text, byte] : {std::pair<std::string, int>{"(P101)", 0xB6},
                                   {"(P10)", 0xAA},
                                   {"(P110)", 0xDB},
                                   {"(P1100110011)", 0xCC}}) {
    CTestHost host;
    CWriteCmd write;  // the user pattern lives only in the parser
    for (char ch : text) write.Parse(ch, *host.Interpreter());
    EXPECT_EQ(write.userPattern(), byte) << text;
  }
}

}  // namespace
