// Pen styles, shading brushes, plane masks and the writing modes.
#include "surface/writing_modes.h"

#include <gtest/gtest.h>

#include "surface/drawing_recipe.h"
#include "surface/scratch_dcs.h"
#include "surface_window.h"

namespace {

using surface_test::SurfaceWindow;
namespace inspect = soft::inspect;

std::vector<int> Repeat(int value, int count) {
  return std::vector<int>(static_cast<size_t>(count), value);
}

TEST(PenStyle, FollowsThePatternTable) {
  // Patterns 0 to 9, then the user's pattern 10 and an unknown index, which draw solid.
  const int styles[] = {PS_NULL, PS_SOLID, PS_DASH,    PS_DASHDOT, PS_DOT,   PS_DASHDOTDOT,
                        PS_DOT,  PS_DOT,   PS_DASHDOT, PS_DASHDOT, PS_SOLID, PS_SOLID};
  for (int p = 0; p <= 11; ++p) EXPECT_EQ(PenStyleForPattern(p == 11 ? -1 : p), styles[p]) << "pattern " << p;
}

// The 8 x 8 cell at the page origin painted with a brush of colour 5 over
// background 0, as ReGIS indices, row by row.
std::vector<std::vector<int>> Shade(SurfaceWindow& w, const CShading& shading, int pattern, int force) {
  HDC dc = w.surface->pageDC[0];
  SetBkColor(dc, PALETTEINDEX(0));
  HBRUSH brush = MakeFillBrush(dc, shading, pattern, PALETTEINDEX(5), force);
  HGDIOBJ old = SelectObject(dc, brush);
  PatBlt(dc, 0, 0, 8, 8, PATCOPY);
  DeleteObject(SelectObject(dc, old));
  std::vector<std::vector<int>> rows;
  for (int y = 0; y < 8; ++y) rows.push_back(w.Row(y, 0, 8));
  return rows;
}

TEST(FillBrush, AShadingCharacterShadesWithItsGlyph) {
  SurfaceWindow w;
  const size_t handles = inspect::LiveHandles();
  int inColour = 0, inBackground = 0;
  for (const auto& row : Shade(w, CShading{0, 'X', kShadingOn | kShadingHorizontal}, 2, 0))
    for (int v : row) inColour += v == 5, inBackground += v == 0;
  EXPECT_GT(inColour, 0) << "the glyph's strokes";
  EXPECT_GT(inBackground, 0) << "the cell around them";
  EXPECT_EQ(GetCurrentObject(w.surface->pageDC[0], OBJ_BITMAP), w.surface->pageBitmap[0])
      << "the page bitmap is back in its DC";
  EXPECT_EQ(inspect::LiveHandles(), handles) << "font and cell bitmap are gone";
}

// A composed picture merges back into the saved page: planes replace only the
// masked bits of the old index, (10 AND NOT 5) OR 5 = 15, over the whole page
// without a rectangle and nowhere for a rectangle off the page.
TEST(Composition, PlanesMergeTheWholePageOrOnlyWhereTheRectangleMeetsIt) {
  SurfaceWindow w;
  HDC page = w.surface->pageDC[0];
  const int width = w.surface->pageWidth, height = w.surface->pageHeight;
  HDC savedDC = CreateCompatibleDC(page);
  HGDIOBJ old = SelectObject(savedDC, CreateCompatibleBitmap(page, width, height));
  const RECT off{-100, -100, -1, -1};
  for (const RECT* rect : {static_cast<const RECT*>(nullptr), &off}) {
    w.Paint(10, RECT{0, 0, 100, 100});
    BitBlt(savedDC, 0, 0, width, height, page, 0, 0, SRCCOPY);
    w.Paint(5, RECT{0, 0, 1, 1});
    MergePlanes(page, savedDC, width, height, rect, PALETTEINDEX(5), 5, w.surface->palette);
    EXPECT_EQ(w.Index(0, 0), rect ? 5 : 15);
    EXPECT_EQ(w.Index(1, 0), 10);
  }
  DeleteObject(SelectObject(savedDC, old));
  DeleteDC(savedDC);
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
    w.Paint(c.under, RECT{0, 0, 100, 20});
    w.W().planeMask = c.mask, w.W().foreground = c.foreground;
    w.Line(10, 10, 60, 10);
    EXPECT_EQ(w.Row(10, 10, 60), Repeat(c.expected, 50)) << c.behaviour;
    EXPECT_EQ(w.Index(10, 11), c.under) << c.behaviour << ": nothing beside the line";
  }
}

// A horizontal line shaded down to a horizontal reference, over index 3:
// overlay adds only the brush's foreground pixels, replace paints the others
// in the background. Neither leaves a handle or a page copy behind.
TEST(WritingModes, PatternShadingOverlaysOrReplacesTheGaps) {
  SurfaceWindow w;
  const size_t handles = inspect::LiveHandles();
  for (int mode : {kOverlay, kReplace}) {
    w.Paint(3, RECT{0, 0, 100, 60});
    w.W().foreground = 4, w.W().mode = mode, w.W().pattern = 2;
    w.W().shading = CShading{40, 0, kShadingOn | kShadingHorizontal};
    w.Line(10, 16, 30, 16);
    const int gap = mode == kOverlay ? 3 : 0;
    for (int y = 16; y <= 40; ++y) EXPECT_EQ(w.Row(y, 10, 30), Repeat(y % 2 ? 4 : gap, 20)) << "row " << y;
    EXPECT_EQ(w.Row(41, 10, 30), Repeat(3, 20));
  }
  w.W().pattern = 10;  // the user's pattern shades solid
  w.Line(10, 46, 30, 46);
  EXPECT_EQ(w.Row(43, 10, 30), Repeat(4, 20));
  w.W().mode = kOverlay, w.W().planeMask = 6;
  w.Line(10, 10, 60, 10);
  w.W().planeMask = 15;
  w.W().shading = CShading{40, 'X', kShadingOn | kShadingHorizontal};
  w.Line(10, 16, 30, 16);
  EXPECT_EQ(inspect::LiveHandles(), handles);
  EXPECT_EQ(CScratchDCs::Peek(CScratchDCs::kPageCopy), nullptr);
}

}  // namespace
