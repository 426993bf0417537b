// Writing modes and patterns: pen styles, shading brushes, the overlay and
// plane-mask compositions, and each mode as a line puts it on the page.
#include "surface/writing_modes.h"

#include <gtest/gtest.h>

#include "page_probe.h"
#include "platform/soft/inspect.h"
#include "surface/drawing_recipe.h"
#include "surface/scratch_dcs.h"
#include "surface_window.h"

namespace {

using surface_test::PaintIndex;
using surface_test::RegisIndexAt;
using surface_test::RowIndices;
using surface_test::SurfaceWindow;
namespace inspect = soft::inspect;

std::vector<int> Repeat(int value, int count) {
  return std::vector<int>(static_cast<size_t>(count), value);
}

// --- Pen styles and brush rows -------------------------------------------

TEST(PenStyle, FollowsThePatternTable) {
  // Patterns 0 to 9, then the user's pattern 10, which draws solid.
  const int styles[] = {PS_NULL, PS_SOLID, PS_DASH,    PS_DASHDOT, PS_DOT,  PS_DASHDOTDOT,
                        PS_DOT,  PS_DOT,   PS_DASHDOT, PS_DASHDOT, PS_SOLID};
  for (int p = 0; p <= 10; ++p) EXPECT_EQ(PenStyleForPattern(p), styles[p]) << "pattern " << p;
  EXPECT_EQ(PenStyleForPattern(-1), PS_SOLID) << "an unknown index draws solid";
}

// --- Shading brushes -----------------------------------------------------

class FillBrush : public ::testing::Test {
 protected:
  // The 8 x 8 cell at the page origin painted with a brush of colour 5 over
  // background 0, as ReGIS indices, row by row.
  std::vector<std::vector<int>> Shade(const CShading& shading, int pattern, int force) {
    HDC dc = w.surface->pageDC[0];
    SetBkColor(dc, PALETTEINDEX(0));
    HBRUSH brush = MakeFillBrush(dc, shading, pattern, PALETTEINDEX(5), force);
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, 0, 0, 8, 8, PATCOPY);
    SelectObject(dc, old);
    DeleteObject(brush);
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < 8; ++y) rows.push_back(RowIndices(w, y, 0, 8));
    return rows;
  }

  SurfaceWindow w;
  CShading on{0, 0, kShadingOn | kShadingHorizontal};
};

TEST_F(FillBrush, ShadingOffGivesTheNullBrushUnlessForced) {
  CShading off;
  HDC dc = w.surface->pageDC[0];
  EXPECT_EQ(MakeFillBrush(dc, off, 2, PALETTEINDEX(5), 0), GetStockObject(NULL_BRUSH));
  for (const auto& row : Shade(off, 1, 1)) EXPECT_EQ(row, Repeat(5, 8)) << "a forced fill is solid";
}

TEST_F(FillBrush, EachRowOfTheCellTakesOnePatternBit) {
  const struct {
    int pattern;
    const char* rows;  // '5' in the colour, '0' in the background, '?' unchecked
  } cases[] = {{2, "05050505"}, {3, "????0?5?"}, {0, "55555555"}, {10, "55555555"}};
  for (const auto& c : cases) {
    const auto rows = Shade(on, c.pattern, 0);
    for (int y = 0; y < 8; ++y) {
      if (c.rows[y] != '?') {
        EXPECT_EQ(rows[y], Repeat(c.rows[y] - '0', 8)) << c.pattern << " row " << y;
      }
    }
  }
}

TEST_F(FillBrush, AShadingCharacterShadesWithItsGlyph) {
  const size_t handles = inspect::LiveHandles();
  CShading glyph = on;
  glyph.character = 'X';
  const auto rows = Shade(glyph, 2, 0);
  int inColour = 0, inBackground = 0;
  for (const auto& row : rows) {
    for (int v : row) {
      inColour += v == 5;
      inBackground += v == 0;
    }
  }
  EXPECT_GT(inColour, 0) << "the glyph's strokes";
  EXPECT_GT(inBackground, 0) << "the cell around them";
  EXPECT_EQ(GetCurrentObject(w.surface->pageDC[0], OBJ_BITMAP), w.surface->pageBitmap[0])
      << "the page bitmap is back in its DC";
  EXPECT_EQ(inspect::LiveHandles(), handles) << "font and cell bitmap are gone";
}

// --- Compositions --------------------------------------------------------

class Composition : public ::testing::Test {
 protected:
  Composition() {
    HDC page = w.surface->pageDC[0];
    savedDC = CreateCompatibleDC(page);
    savedBitmap = CreateCompatibleBitmap(page, w.surface->pageWidth, w.surface->pageHeight);
    oldBitmap = SelectObject(savedDC, savedBitmap);
  }
  ~Composition() override {
    SelectObject(savedDC, oldBitmap);
    DeleteObject(savedBitmap);
    DeleteDC(savedDC);
  }
  void Save() {
    BitBlt(savedDC, 0, 0, w.surface->pageWidth, w.surface->pageHeight, w.surface->pageDC[0], 0, 0, SRCCOPY);
  }
  void Set(int x, int y, int index) { PaintIndex(w, index, RECT{x, y, x + 1, y + 1}); }
  int At(int x, int y) { return RegisIndexAt(w, 1, x, y); }
  bool NoScratchDCs() {
    for (int s = 0; s < CScratchDCs::kSlots; ++s) {
      if (CScratchDCs::Peek(static_cast<CScratchDCs::Slot>(s))) return false;
    }
    return true;
  }

  SurfaceWindow w;
  HDC savedDC = nullptr;
  HBITMAP savedBitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
};

// Each row paints `saved`, saves the page, paints `drawn` as a primitive in
// colour 5 would have, merges, and reads `expected`.
TEST_F(Composition, MergesWhatWasDrawnInTheColourBackIntoTheSavedPage) {
  struct Dot {
    int x, y, index;
  };
  const RECT inside{0, 0, 20, 20}, off{-100, -100, -1, -1};
  const struct {
    const char* behaviour;
    bool planes;  // MergePlanes with mask 5, else MergeOverlay
    const RECT* rect;
    std::vector<Dot> saved, drawn, expected;
  } rows[] = {
      {"overlay keeps only what was drawn in the colour, the rest of the saved picture comes back",
       false,
       nullptr,
       {{10, 10, 3}, {11, 10, 3}},
       {{10, 10, 5}, {11, 10, 2}, {12, 10, 5}},
       {{10, 10, 5}, {11, 10, 3}, {12, 10, 5}, {13, 10, 0}}},
      {"overlay merges only inside the rectangle",
       false,
       &inside,
       {{5, 5, 3}, {50, 5, 3}},
       {{5, 5, 2}, {50, 5, 2}},
       {{5, 5, 3}, {50, 5, 2}}},
      {"planes replace only the masked bits of the old index: (10 AND NOT 5) OR 5, (9 AND NOT 5) OR 5",
       true,
       nullptr,
       {{0, 0, 10}, {1, 0, 9}, {2, 0, 3}},
       {{0, 0, 5}, {1, 0, 5}, {2, 0, 2}},
       {{0, 0, 15}, {1, 0, 13}, {2, 0, 2}, {3, 0, 0}}},
      {"planes merge only inside the rectangle",
       true,
       &inside,
       {{5, 5, 10}, {50, 5, 10}},
       {{5, 5, 5}, {50, 5, 5}},
       {{5, 5, 15}, {50, 5, 5}}},
      {"a rectangle off the page merges nothing", true, &off, {{0, 0, 10}}, {{0, 0, 5}}, {{0, 0, 5}}},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    PaintIndex(w, 0, RECT{0, 0, 100, 100});
    for (const Dot& d : c.saved) Set(d.x, d.y, d.index);
    Save();
    for (const Dot& d : c.drawn) Set(d.x, d.y, d.index);
    const int width = w.surface->pageWidth, height = w.surface->pageHeight;
    if (c.planes) {
      MergePlanes(w.surface->pageDC[0], savedDC, width, height, c.rect, PALETTEINDEX(5), 5,
                  w.surface->palette);
    } else {
      MergeOverlay(w.surface->pageDC[0], savedDC, width, height, PALETTEINDEX(5), c.rect);
    }
    for (const Dot& d : c.expected) EXPECT_EQ(At(d.x, d.y), d.index) << d.x << "," << d.y;
    EXPECT_TRUE(NoScratchDCs());
  }
}

TEST(ScratchDCs, DestroyingAnySurfaceDeletesThem) {
  SurfaceWindow w;
  ASSERT_NE(CScratchDCs::Get(CScratchDCs::kMask, w.surface->pageDC[0]), nullptr);
  { CGrDrv other; }
  EXPECT_EQ(CScratchDCs::Peek(CScratchDCs::kMask), nullptr);
}

// --- When the page is saved ------------------------------------------------

TEST(SavedPage, IsTakenOnlyWhenAMergeNeedsIt) {
  const struct {
    const char* behaviour;
    int mode, pattern;
    uint8_t character;
    bool shading;
    uint8_t mask;
    bool composes;
  } rows[] = {
      {"a plain solid line goes straight to the page", kOverlay, 1, 0, false, 15, false},
      {"a dashed line without shading needs no copy", kOverlay, 2, 0, false, 15, false},
      {"overlay shading with a pattern composes", kOverlay, 2, 0, true, 15, true},
      {"overlay shading with a character composes", kOverlay, 1, 'X', true, 15, true},
      {"solid overlay shading needs no copy", kOverlay, 1, 0, true, 15, false},
      {"replace shading paints its own background", kReplace, 2, 0, true, 15, false},
      {"complement shading with a pattern composes", kComplement, 2, 0, true, 15, true},
      {"a partial plane mask composes", kOverlay, 1, 0, false, 6, true},
      {"a single-plane mask also saves the page", kReplace, 1, 0, false, 2, true},
  };
  for (const auto& c : rows) {
    CWriteControls w;
    w.mode = c.mode;
    w.pattern = c.pattern;
    w.shading.character = c.character;
    w.shading.flags = c.shading ? kShadingOn | kShadingHorizontal : kShadingHorizontal;
    w.planeMask = c.mask;
    EXPECT_EQ(NeedsComposition(w), c.composes) << c.behaviour;
  }
}

// --- Modes, patterns and masks on a line -----------------------------------

class WritingMode : public ::testing::Test {
 protected:
  CWriteControls& W() { return *w.State()->active; }
  void Line(int x1, int y1, int x2, int y2) { w.surface->DrawVector(w.State(), x1, y1, x2, y2); }
  std::vector<int> Row(int y, int x0, int x1) { return RowIndices(w, y, x0, x1); }

  SurfaceWindow w;  // 800 x 480: one ReGIS unit per pixel
};

TEST_F(WritingMode, ComplementTwiceRestoresThePage) {
  PaintIndex(w, 3, RECT{0, 0, 40, 40});
  PaintIndex(w, 12, RECT{40, 0, 80, 40});
  const inspect::Image before = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  W().mode = kComplement;
  Line(10, 10, 70, 30);
  const inspect::Image once = inspect::ReadBitmap(w.surface->pageBitmap[0]);
  EXPECT_NE(once.At(10, 10), before.At(10, 10)) << "the line inverts what it crosses";
  EXPECT_NE(once.At(69, 30), before.At(69, 30));
  Line(10, 10, 70, 30);
  EXPECT_EQ(inspect::ReadBitmap(w.surface->pageBitmap[0]).pixels, before.pixels);
  EXPECT_EQ(GetROP2(w.surface->pageDC[0]), R2_COPYPEN) << "the raster operation is put back";
}

// A line from (0, 10) to (48, 10) in foreground 4 over index 3; the end
// pixel is left out.
TEST(WritingModes, ModeAndPatternDecideEachPixelOfALine) {
  auto runs = [](std::initializer_list<std::pair<int, int>> parts) {
    std::vector<int> row;
    for (auto [index, count] : parts)
      for (int v : Repeat(index, count)) row.push_back(v);
    return row;
  };
  const struct {
    const char* behaviour;
    int mode, pattern, background;
    std::vector<int> row;  // x 0 to 48
  } rows[] = {
      {"overlay draws the foreground index", kOverlay, -1, 0, runs({{4, 48}, {3, 1}})},
      {"erase draws the background index", kErase, -1, 5, runs({{5, 48}, {3, 1}})},
      {"pattern 0 draws nothing", kOverlay, 0, 0, runs({{3, 49}})},
      {"pattern 2 dashes with gaps in the background", kOverlay, 2, 0,
       runs({{4, 18}, {0, 6}, {4, 18}, {0, 6}, {3, 1}})},
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    PaintIndex(w, 3, RECT{0, 0, 100, 20});
    CWriteControls& controls = *w.State()->active;
    controls.foreground = 4;
    controls.mode = c.mode;
    if (c.pattern >= 0) controls.pattern = c.pattern;
    w.State()->background = c.background;
    w.surface->DrawVector(w.State(), 0, 10, 48, 10);
    EXPECT_EQ(RowIndices(w, 10, 0, 49), c.row) << c.behaviour;
  }
}

TEST(PlaneMask, CombinesTheForegroundWithTheOldIndex) {
  const struct {
    const char* behaviour;
    uint8_t mask;
    int foreground, under, expected;
  } rows[] = {
      {"mask 0 with foreground 3 draws nothing", 0, 3, 9, 9},
      {"mask 0 with foreground 0 draws index 0", 0, 0, 9, 0},
      {"mask 3 with foreground 4 draws nothing", 3, 4, 9, 9},
      {"a single-plane mask draws fg AND mask without merging", 2, 6, 5, 2},
      {"mask 5 with foreground 7 over index 10 gives 15", 5, 7, 10, 15},
      {"mask 6 with foreground 7 merges into index 9", 6, 7, 9, 15},
      {"the full mask draws the foreground as it is", 15, 7, 9, 7},
  };
  SurfaceWindow w;
  for (const auto& c : rows) {
    PaintIndex(w, c.under, RECT{0, 0, 100, 20});
    w.State()->active->planeMask = c.mask;
    w.State()->active->foreground = c.foreground;
    w.surface->DrawVector(w.State(), 10, 10, 60, 10);
    EXPECT_EQ(RowIndices(w, 10, 10, 60), Repeat(c.expected, 50)) << c.behaviour;
    EXPECT_EQ(RegisIndexAt(w, 1, 10, 11), c.under) << c.behaviour << ": nothing beside the line";
  }
}

// A horizontal line shaded down to a horizontal reference, over index 3:
// overlay adds only the brush's foreground pixels, replace paints the others
// in the background.
TEST_F(WritingMode, PatternShadingOverlaysOrReplacesTheGaps) {
  for (int mode : {kOverlay, kReplace}) {
    PaintIndex(w, 3, RECT{0, 0, 100, 60});
    W().foreground = 4;
    W().mode = mode;
    W().pattern = 2;
    W().shading = CShading{40, 0, kShadingOn | kShadingHorizontal};
    Line(10, 16, 30, 16);
    const int gap = mode == kOverlay ? 3 : 0;
    for (int y = 16; y <= 40; ++y) EXPECT_EQ(Row(y, 10, 30), Repeat(y % 2 ? 4 : gap, 20)) << "row " << y;
    EXPECT_EQ(Row(41, 10, 30), Repeat(3, 20));
  }
}

TEST_F(WritingMode, AComposedLineLeavesNoHandlesBehind) {
  const size_t handles = inspect::LiveHandles();
  W().planeMask = 6;
  Line(10, 10, 60, 10);
  W().planeMask = 15;
  W().pattern = 2;
  W().shading = CShading{40, 'X', kShadingOn | kShadingHorizontal};
  Line(10, 16, 30, 16);
  EXPECT_EQ(inspect::LiveHandles(), handles);
  EXPECT_EQ(CScratchDCs::Peek(CScratchDCs::kPageCopy), nullptr);
}

}  // namespace
