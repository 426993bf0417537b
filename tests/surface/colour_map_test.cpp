// HLS to RGB as the terminal converts.
#include "surface/colour_map.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/win32.h"

namespace {

std::vector<int> Parts(const CColour& c) {
  return {c.red, c.green, c.blue};
}

TEST(HlsToRgb, ConvertsAsTheTerminalDoes) {
  const struct {
    const char* behaviour;
    int hue, lightness, saturation;
    std::vector<int> expected;
  } rows[] = {
      {"hue 120 is red, limited to 100 and lifted by the added 1", 120, 50, 100, {100, 1, 1}},
      {"hue 0 is blue", 0, 50, 100, {1, 1, 100}},
      {"hue 240 is green", 240, 50, 100, {1, 100, 1}},
      {"black stays black: saturation 0 takes the lightness", 0, 0, 0, {0, 0, 0}},
      {"saturation 0 gives the lightness unchanged as grey", 0, 50, 0, {50, 50, 50}},
      {"hue 420 is treated as 60", 420, 50, 100, {100, 1, 100}},
      {"hue -30 is treated as 330, which ramps green halfway", -30, 50, 100, {1, 51, 100}},
      {"hue 800 is reduced only once and lands in the last band", 800, 50, 100, {1, 1, 1}},
      {"dark lightness halves the top component", 120, 25, 100, {51, 1, 1}},
      {"light lightness lifts the bottom component", 120, 75, 100, {100, 51, 51}},
      {"single-precision rounding truncates 0.2 to 20", 0, 50, 60, {20, 20, 81}},
  };
  for (const auto& c : rows)
    EXPECT_EQ(Parts(HlsToRgb(c.hue, c.lightness, c.saturation)), c.expected) << c.behaviour;
  const int extremes[] = {INT_MIN, -1000, 0, 1000, INT_MAX};
  for (int h : extremes)
    for (int l : extremes)
      for (int s : extremes) {
        const CColour c = HlsToRgb(h, l, s);
        EXPECT_LE(s == 0 ? 0 : std::max({c.red, c.green, c.blue}), 100) << h << " " << l << " " << s;
      }
}

}  // namespace
