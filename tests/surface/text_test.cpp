// Characters on the page: cells per direction and size, modes, loaded dots.
#include "surface/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/test_host.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"

namespace {

constexpr int kPainted = 2;     // what the page holds before a character is drawn
using Box = std::vector<LONG>;  // x, y, width, height

// The page in ReGIS colour indices, row by row, painted first when asked.
struct CIndexPage {
  int width = 0;
  std::vector<int> index;
  int At(int x, int y) const { return index[static_cast<size_t>(y) * width + x]; }
  // The box of the pixels that are no longer the painted index.
  Box Changed() const {
    LONG l = width, t = LONG(index.size()) / width, r = 0, b = 0;
    for (size_t i = 0; i < index.size(); ++i) {
      if (index[i] == kPainted) continue;
      const LONG x = LONG(i % width), y = LONG(i / width);
      l = std::min(l, x), t = std::min(t, y), r = std::max(r, x + 1), b = std::max(b, y + 1);
    }
    return {l, t, r - l, b - t};
  }
};

void PaintPage(CTestHost& host, int index) {
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(index));
  const RECT all{0, 0, host.Surface()->pageWidth, host.Surface()->pageHeight};
  FillRect(host.Surface()->pageDC[0], &all, brush);
  DeleteObject(brush);
}

CIndexPage ReadPage(CTestHost& host) {
  uint32_t stored[16];
  for (int i = 0; i < 16; ++i) stored[i] = StoredIndex(host.Surface(), i);
  const soft::inspect::Image image = host.PageImage(1);
  CIndexPage page{image.width, {}};
  for (uint32_t p : image.pixels) {
    const uint32_t* at = std::find(stored, stored + 16, p);
    page.index.push_back(at == stored + 16 ? -1 : int(at - stored));
  }
  return page;
}

TEST(TextRendering, ReplaceModePaintsExactlyTheTurnedCell) {
  const struct {
    const char* options;
    Box cell;  // x, y, width, height on the 800 x 480 page
    int x, y;  // the position afterwards
  } rows[] = {
      {"S1", {100, 100, 10, 22}, 109, 100},       {"D270,S1", {78, 100, 22, 10}, 100, 109},
      {"D135,S1", {90, 68, 20, 44}, 91, 91},      {"D225,S1", {68, 78, 20, 44}, 91, 109},
      {"A1,D45,S1", {100, 90, 22, 10}, 109, 91},   // a loaded character at 45 is drawn at 90
      {"A1,D225,S1", {78, 100, 22, 10}, 91, 109},  // and at 225 at 270
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.options);
    CTestHost host;
    host.Feed("L(A1)L'A'FFFFFFFFFFFFFFFFFFFF");  // every dot of alphabet 1's 'A' set
    PaintPage(host, kPainted);
    host.Feed(std::string("W(R)P[100,100]T(") + c.options + ")'A'");
    EXPECT_EQ(ReadPage(host).Changed(), c.cell);
    EXPECT_EQ(std::make_pair(host.State()->x, host.State()->y), std::make_pair(c.x, c.y));
  }
}

TEST(TextRendering, WritingModesDecideWhatTheCellLeaves) {
  const struct {
    const char* write;
    std::set<int> seen;  // indices the cell holds
  } rows[] = {
      {"W(V,I3)", {3, kPainted}},  // overlay keeps the page between strokes
      {"W(R,I3)", {3, 0}},         // replace paints glyph and background
      {"W(R,I3,N1)", {3, 0}},      // negative replace paints the inverse
      {"W(C,I3)", {0, kPainted}},  // complement draws the glyph in the background colour
      {"W(E,I3)", {0, kPainted}},  // and so does erase
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.write);
    CTestHost host;
    PaintPage(host, kPainted);
    host.Feed(std::string(c.write) + "P[100,100]T(S4)'W'");
    const CIndexPage page = ReadPage(host);
    std::set<int> seen;
    for (int y = 100; y < 100 + 60; ++y)
      for (int x = 100; x < 100 + 37; ++x) seen.insert(page.At(x, y));
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(page.At(99, 99), kPainted);
    EXPECT_EQ(page.At(137, 160), kPainted);
  }
  CTestHost host;  // negative inverts every dot of the cell
  host.Feed("W(R,I3)P[100,100]T(S4)'W'W(R,I3,N1)P[300,100]T(S4)'W'");
  const CIndexPage page = ReadPage(host);
  for (int y = 100; y < 160; ++y)
    for (int x = 0; x < 37; ++x)
      ASSERT_EQ(page.At(100 + x, y) == 3, page.At(300 + x, y) == 0) << x << "," << y;
}

TEST(TextRendering, LoadedCharactersShowTheirDotsInEachRightAngle) {
  // On a 640 x 440 page size 0 maps the 8 x 10 pattern dot for dot;
  // (100, 100) is pixel (80, 91). The pattern: three dots at the top left,
  // one below them, one at the bottom right.
  const struct {
    const char* direction;
    Box cell;
    std::set<std::pair<int, int>> dots;
  } rows[] = {
      {"D0", {80, 91, 8, 10}, {{80, 91}, {81, 91}, {82, 91}, {80, 92}, {87, 100}}},
      {"D90", {80, 83, 10, 8}, {{80, 83}, {80, 84}, {80, 85}, {81, 83}, {89, 90}}},
      {"D180", {72, 81, 8, 10}, {{72, 90}, {73, 90}, {74, 90}, {72, 89}, {79, 81}}},
      {"D270", {70, 91, 10, 8}, {{79, 98}, {79, 97}, {79, 96}, {78, 98}, {70, 91}}},
  };
  CTestHost::Options options;
  options.columns = 64, options.rows = 22;
  for (const auto& c : rows) {
    SCOPED_TRACE(c.direction);
    CTestHost host(options);
    host.Feed("L'A'E0800000000000000001");
    PaintPage(host, kPainted);
    host.Feed(std::string("W(R)P[100,100]T(A1,") + c.direction + ",S0)'A'");
    const CIndexPage page = ReadPage(host);
    EXPECT_EQ(page.Changed(), c.cell);
    std::set<std::pair<int, int>> dots;
    for (size_t i = 0; i < page.index.size(); ++i)
      if (page.index[i] != kPainted && page.index[i] != 0)
        dots.insert({int(i) % page.width, int(i) / page.width});
    EXPECT_EQ(dots, c.dots);
  }
}

}  // namespace
