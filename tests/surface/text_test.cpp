// Characters on the page: the cell each direction and size is stretched
// to, what each writing mode leaves in it, and the exact dots of loaded
// alphabets. The glyph shapes of the system font are never looked at.
#include "surface/text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "commands/regis_probe.h"
#include "surface/text_geometry.h"

namespace {

using commands_test::Position;
using commands_test::StoredIndex;

constexpr int kPainted = 2;  // what the page holds before a character is drawn

// The page in ReGIS colour indices, row by row.
struct CIndexPage {
  int width = 0, height = 0;
  std::vector<int> index;
  int At(int x, int y) const { return index[static_cast<size_t>(y) * width + x]; }
};

CIndexPage ReadPage(CTestHost& host) {
  const soft::inspect::Image image = host.PageImage(1);
  uint32_t stored[16];
  for (int i = 0; i < 16; ++i) stored[i] = StoredIndex(host, i);
  CIndexPage page{image.width, image.height, {}};
  for (uint32_t p : image.pixels) {
    int found = -1;
    for (int i = 0; i < 16 && found < 0; ++i)
      if (stored[i] == p) found = i;
    page.index.push_back(found);
  }
  return page;
}

void PaintPage(CTestHost& host, int index) {
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(index));
  const RECT all{0, 0, host.Surface()->pageWidth, host.Surface()->pageHeight};
  FillRect(host.Surface()->pageDC[0], &all, brush);
  DeleteObject(brush);
}

// The bounding box (x, y, width, height) of the pixels that are no longer
// the painted index.
RECT ChangedBox(const CIndexPage& page) {
  RECT r{page.width, page.height, 0, 0};
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      if (page.At(x, y) == kPainted) continue;
      r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
      r.right = std::max<LONG>(r.right, x + 1), r.bottom = std::max<LONG>(r.bottom, y + 1);
    }
  }
  return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

TEST(TextRendering, GlyphBitmapsOriginsAndEscapementsPerDirection) {
  const struct {
    int d;
    int uw, uh;
    int gw, gh;
    int ox, oy;
    int escapement;
  } rows[] = {
      {0, 8, 20, 8, 11, 0, 0, 0},          {45, 8, 20, 14, 14, 0, 5, 200},
      {90, 8, 20, 11, 8, -2, 7, 900},      {135, 8, 10, 14, 14, 5, 13, 1350},
      {180, 8, 20, 8, 11, 8, 11, 1800},    {225, 8, 20, 14, 14, 13, 9, 2100},
      {270, 8, 20, 11, 8, 11, 0, 2700},    {315, 8, 20, 14, 14, 7, 0, 3250},
      {45, 16, 30, 27, 27, 0, 11, 300},    {135, 16, 30, 27, 27, 11, 26, 1450},
      {180, 16, 30, 16, 22, 15, 22, 1800}, {270, 16, 30, 22, 16, 22, 0, 2700},
      {315, 16, 30, 27, 27, 15, 0, 3300},  {225, 8, 10, 14, 14, 13, 9, 2200},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(testing::Message() << c.d << " " << c.uw << "x" << c.uh);
    const CGlyphBox base = BaseGlyphBox(c.uw);
    const CGlyphBox size = GlyphBitmapSize(base, c.d);
    EXPECT_EQ(size.width, c.gw);
    EXPECT_EQ(size.height, c.gh);
    if (c.d != 0) {
      EXPECT_EQ(GlyphOrigin(base, c.d).x, c.ox);
      EXPECT_EQ(GlyphOrigin(base, c.d).y, c.oy);
    }
    EXPECT_EQ(GlyphEscapement(c.uw, c.uh, c.d), c.escapement);
  }
}

// Every dot of alphabet 1's 'A' set.
const char kFullCell[] = "L(A1)L'A'FFFFFFFFFFFFFFFFFFFF";

TEST(TextRendering, ReplaceModePaintsExactlyTheTurnedCell) {
  const struct {
    const char* behaviour;
    const char* options;
    RECT cell;  // x, y, width, height on the 800 x 480 page
    int x, y;   // the position afterwards
  } rows[] = {
      {"size 1", "S1", {100, 100, 10, 22}, 109, 100},
      {"size 0 is half as high", "S0", {100, 100, 10, 11}, 109, 100},
      {"size 2", "S2", {100, 100, 19, 30}, 118, 100},
      {"direction 90", "D90,S1", {100, 90, 22, 10}, 100, 91},
      {"direction 180", "D180,S1", {90, 78, 10, 22}, 91, 100},
      {"direction 270", "D270,S1", {78, 100, 22, 10}, 100, 109},
      {"direction 45", "D45,S1", {100, 90, 20, 44}, 109, 91},
      {"direction 135", "D135,S1", {90, 68, 20, 44}, 91, 91},
      {"direction 225", "D225,S1", {68, 78, 20, 44}, 91, 109},
      {"direction 315", "D315,S1", {78, 100, 20, 44}, 109, 109},
      {"a loaded character at 45 is drawn at 90", "A1,D45,S1", {100, 90, 22, 10}, 109, 91},
      {"a loaded character at 225 is drawn at 270", "A1,D225,S1", {78, 100, 22, 10}, 91, 109},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    host.Feed(kFullCell);
    PaintPage(host, kPainted);
    host.Feed(std::string("W(R)P[100,100]T(") + c.options + ")'A'");
    const RECT box = ChangedBox(ReadPage(host));
    EXPECT_EQ(box.left, c.cell.left);
    EXPECT_EQ(box.top, c.cell.top);
    EXPECT_EQ(box.right, c.cell.right) << "width";
    EXPECT_EQ(box.bottom, c.cell.bottom) << "height";
    EXPECT_EQ(Position(host).x, c.x);
    EXPECT_EQ(Position(host).y, c.y);
  }
}

TEST(TextRendering, WritingModesDecideWhatTheCellLeaves) {
  const struct {
    const char* behaviour;
    const char* write;
    std::set<int> allowed;   // indices the cell may hold
    std::set<int> required;  // indices it must hold
  } rows[] = {
      {"overlay keeps the page between strokes", "W(V,I3)", {3, kPainted}, {3, kPainted}},
      {"replace paints glyph and background", "W(R,I3)", {3, 0}, {3, 0}},
      {"negative replace paints the inverse", "W(R,I3,N1)", {3, 0}, {3, 0}},
      {"complement draws the glyph in the background colour", "W(C,I3)", {0, kPainted}, {0, kPainted}},
      {"erase draws the glyph in the background colour", "W(E,I3)", {0, kPainted}, {0, kPainted}},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTestHost host;
    PaintPage(host, kPainted);
    host.Feed(std::string(c.write) + "P[100,100]T(S4)'W'");
    const CIndexPage page = ReadPage(host);
    std::set<int> seen;
    for (int y = 100; y < 100 + 60; ++y)
      for (int x = 100; x < 100 + 37; ++x) seen.insert(page.At(x, y));
    EXPECT_EQ(seen, c.allowed);
    for (int i : c.required) EXPECT_TRUE(seen.count(i)) << i;
    EXPECT_EQ(page.At(99, 99), kPainted);
    EXPECT_EQ(page.At(137, 160), kPainted);
  }
}

TEST(TextRendering, NegativeInvertsEveryDotOfTheCell) {
  CTestHost host;
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
    RECT cell;
    std::set<std::pair<int, int>> dots;
  } rows[] = {
      {"D0", {80, 91, 8, 10}, {{80, 91}, {81, 91}, {82, 91}, {80, 92}, {87, 100}}},
      {"D90", {80, 83, 10, 8}, {{80, 83}, {80, 84}, {80, 85}, {81, 83}, {89, 90}}},
      {"D180", {72, 81, 8, 10}, {{72, 90}, {73, 90}, {74, 90}, {72, 89}, {79, 81}}},
      {"D270", {70, 91, 10, 8}, {{79, 98}, {79, 97}, {79, 96}, {78, 98}, {70, 91}}},
  };
  CTestHost::Options options;
  options.columns = 64;
  options.rows = 22;
  for (const auto& c : rows) {
    SCOPED_TRACE(c.direction);
    CTestHost host(options);
    host.Feed("L'A'E0800000000000000001");
    PaintPage(host, kPainted);
    host.Feed(std::string("W(R)P[100,100]T(A1,") + c.direction + ",S0)'A'");
    const CIndexPage page = ReadPage(host);
    const RECT box = ChangedBox(page);
    EXPECT_EQ(box.left, c.cell.left);
    EXPECT_EQ(box.top, c.cell.top);
    EXPECT_EQ(box.right, c.cell.right);
    EXPECT_EQ(box.bottom, c.cell.bottom);
    std::set<std::pair<int, int>> dots;
    for (int y = 0; y < page.height; ++y)
      for (int x = 0; x < page.width; ++x)
        if (page.At(x, y) != kPainted && page.At(x, y) != 0) dots.insert({x, y});
    EXPECT_EQ(dots, c.dots);
  }
}

TEST(TextRendering, TheGreekAlphabetOfThePublicCorpusDraws) {
  std::ifstream file(ZIZIDER_CORPUS_DIR "/hackerb9-vt340test/regis/greek.fnt", std::ios::binary);
  if (!file) GTEST_SKIP() << "corpus absent";
  std::stringstream text;
  text << file.rdbuf();
  CTestHost::Options options;
  options.columns = 64;
  options.rows = 22;
  CTestHost host(options);
  host.Feed(text.str());
  host.Feed("P[0,0]T(A1,S0)'D'");
  // 'D' is 0008080814142222637F: a triangle of 22 dots, drawn dot for dot.
  int dots = 0;
  const CIndexPage page = ReadPage(host);
  for (int i : page.index) dots += i != 0;
  EXPECT_EQ(dots, 22);
  EXPECT_EQ(page.At(4, 1), commands_test::DefaultForeground(host));
  EXPECT_EQ(page.At(1, 9), commands_test::DefaultForeground(host));
}

}  // namespace
