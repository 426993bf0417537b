// Whole ReGIS strings as a host hands them over: several commands at once,
// checked by the pixels they leave, the position, the last error and the
// writing controls.
#include <gtest/gtest.h>

#include <string>

#include "regis_probe.h"

namespace {

TEST(RegisStrings, LeaveWhatTheirCommandsTogetherSay) {
  const commands_test::CCase cases[] = {
      // The last coordinate [] draws nothing; the closing E is a 'P' entry,
      // so the left side is never drawn.
      {"a box in a temporary colour closed from a position block",
       "P[100,100](B)V(W(I3))[+100,+0][,+100][-100,][](E)",
       "px=150,100:3 px=200,150:3 px=150,200:3 px=100,150:0 at=100,100"},
      // V0 draws 10 right; P(W(M3))6 moves 3 down; the V letter reloads M10.
      {"pixel vectors follow the multiplier of their command", "W(M10)P[100,100]V0P(W(M3))6V2",
       "at=110,93 px=105,100:fg px=110,98:fg"},
      {"a coordinate with three values", "P[1,2,3]", "err=3#0"},
      {"the last error is kept and parsing goes on", "P[1,2,3] V[1Q,50]", "at=1,50 px=1,20:fg err=1'Q'"},
      {"';' drops a temporary write, not a permanent one", "W(I4)V(W(I2);P[0,0]V[10,0]", "px=5,0:4 afg=4"},
  };
  commands_test::ExpectCases(cases);
}

// Sizes and bytes no sane host sends: each string must finish and leave an
// interpreter that still works.
TEST(RegisStrings, HostileSizesAndBytesFinish) {
  std::string everyByte = "@:Q";  // every byte after '@' in a text that names itself
  for (int b = 1; b < 256; ++b)
    if (b != ';') everyByte += std::string("@") + static_cast<char>(b);
  const std::string rows[] = {
      everyByte + "@;@Q",
      "W(S1)P[400,240]C(A999999999)[900000,-900000]C(A-2147483648)[400,2000000000]C(B)[-2000000,0][0,2000000]"
      "(E)",
      "T(U[2147483647,-2147483648])'ab'T(S[-2147483648,2147483647])'ab'",
      "L'\x01'FFF;L'\xff'FF;",
  };
  for (const std::string& text : rows) {
    CTestHost host;
    host.Feed(text);
    host.Feed(";P[3,4]");
    EXPECT_EQ(commands_test::Position(host).x, 3) << text;
    EXPECT_EQ(commands_test::Position(host).y, 4) << text;
    EXPECT_FALSE(host.Interpreter()->macroRunning);
  }
}

}  // namespace
