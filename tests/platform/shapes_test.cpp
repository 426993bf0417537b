// Pixels, lines and shapes of the soft platform on palette-index bitmaps: what the raster operations do to
// indices, huge coordinates, and the targets and failures golden_test does not reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/platform/page.h"

namespace {

using platform_test::Art;
using platform_test::kBlack;
using platform_test::kRed;
using platform_test::kWhite;
using platform_test::Page;
using platform_test::Pixels;

// Under XOR a pixel painted twice returns to white, so every outline must touch each of its pixels once.
TEST(Mixes, EveryShapePaintsEachPixelOnceUnderXor) {
  const struct {
    const char* name;
    bool outline;
    void (*draw)(HDC);
  } cases[] = {
      {"rectangle", false, [](HDC dc) { Rectangle(dc, 2, 3, 17, 12); }},
      {"thin rectangle", false, [](HDC dc) { Rectangle(dc, 2, 3, 3, 12); }},
      {"ellipse outline", true, [](HDC dc) { Ellipse(dc, 1, 2, 18, 17); }},
      {"thin ellipse outline", true, [](HDC dc) { Ellipse(dc, 1, 2, 2, 17); }},
      {"polygon outline", true,
       [](HDC dc) {
         const POINT pts[] = {{1, 1}, {17, 4}, {9, 16}, {3, 10}};
         Polygon(dc, pts, 4);
       }},
  };
  for (const auto& c : cases) {
    Page copy(20, 20), xored(20, 20);
    for (Page* p : {&copy, &xored}) {
      p->Pen(PS_SOLID, 1, PALETTEINDEX(1));
      p->Brush(PALETTEINDEX(1));
      if (c.outline) p->NoBrush();
    }
    SetROP2(xored.dc(), R2_XORPEN);
    c.draw(copy.dc());
    c.draw(xored.dc());
    EXPECT_EQ(xored.Changed(), copy.Changed()) << c.name;
  }
}

TEST(WidePens, AnInsideFramePenStaysInsideTheBoxAndARingDoesNotOverlapItsBrush) {
  Page page(20, 20);
  page.Pen(PS_INSIDEFRAME, 5, 0);
  page.Brush(RGB(255, 0, 0));
  Rectangle(page.dc(), 3, 3, 17, 15);
  Ellipse(page.dc(), 3, 3, 17, 15);
  for (auto [x, y] : page.Changed()) EXPECT_TRUE(x >= 3 && x < 17 && y >= 3 && y < 15) << x << "," << y;
  EXPECT_EQ(page.Index(3, 9), kBlack);
  EXPECT_EQ(page.Index(10, 9), kRed);

  Page ring(40, 30);
  SelectObject(ring.dc(), GetStockObject(BLACK_BRUSH));
  ring.Pen(PS_SOLID, 5);
  SetROP2(ring.dc(), R2_NOT);
  Ellipse(ring.dc(), 5, 5, 33, 25);
  // Inverted once everywhere: no pixel inside the outer edge stays white.
  EXPECT_EQ(ring.Rows(15, 15), (Art{"...################################....."}));
}

// ---- huge coordinates ----

TEST(Clipping, HugeLinesAndEllipsesLightOnlyTheirVisiblePixels) {
  for (int style : {PS_SOLID, PS_DASHDOT}) {
    Page huge(40, 30), piece(40, 30);
    for (Page* p : {&huge, &piece}) {
      p->Pen(style, 1, 0);
      SetBkMode(p->dc(), TRANSPARENT);
    }
    // Both run along y = x / 2. The huge one is 2000000016 steps, a whole number of pattern periods, short of
    // (14, 7), where the piece starts.
    MoveToEx(huge.dc(), -2000000002, -1000000001, nullptr);
    LineTo(huge.dc(), 2000000000, 1000000000);
    MoveToEx(piece.dc(), 14, 7, nullptr);
    LineTo(piece.dc(), 60, 30);
    Pixels tail;
    for (auto p : huge.Changed())
      if (p.first >= 14) tail.push_back(p);
    EXPECT_EQ(tail, piece.Changed()) << "style " << style;
    EXPECT_EQ(huge.Index(0, 0), style == PS_SOLID ? kBlack : kWhite) << "style " << style;
  }
  Page page(6, 20);
  page.NoBrush();
  Ellipse(page.dc(), 0, -1000000000, 2000000000, 1000000000);
  EXPECT_EQ(page.Picture(), Art(20, "#.....")) << "a billion-pixel ellipse's edge";
}

// ---- pixels, FillRect and other targets ----

TEST(Pixels, SetPixelAndFillRectIgnoreTheRop2AndFailOutsideOrOnDeletedObjects) {
  Page page(6, 4);
  SetROP2(page.dc(), R2_NOT);
  EXPECT_EQ(SetPixel(page.dc(), 1, 1, RGB(250, 5, 5)), RGB(255, 0, 0)) << "the nearest static colour";
  EXPECT_EQ(GetPixel(page.dc(), 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(SetPixel(page.dc(), 6, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(page.dc(), -1, 0), CLR_INVALID);
  HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
  const RECT r{2, 1, 5, 3};
  EXPECT_NE(FillRect(page.dc(), &r, black), 0);
  EXPECT_EQ(page.Picture(), (Art{"......", ".r###.", "..###.", "......"})) << "right and bottom excluded";
  DeleteObject(black);
  EXPECT_EQ(FillRect(page.dc(), &r, black), 0) << "a deleted brush fails";

  HDC dc = CreateCompatibleDC(nullptr);
  DeleteDC(dc);
  const POINT pts[] = {{0, 0}, {1, 1}, {2, 0}};
  const bool failed[] = {SetPixel(dc, 0, 0, 0) == CLR_INVALID,
                         GetPixel(dc, 0, 0) == CLR_INVALID,
                         !MoveToEx(dc, 0, 0, nullptr),
                         !LineTo(dc, 1, 1),
                         !Polyline(dc, pts, 3),
                         !Polygon(dc, pts, 3),
                         !Rectangle(dc, 0, 0, 2, 2),
                         !Ellipse(dc, 0, 0, 2, 2),
                         !Arc(dc, 0, 0, 2, 2, 0, 0, 1, 1),
                         FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) == 0,
                         SetPolyFillMode(dc, WINDING) == 0,
                         SetPolyFillMode(page.dc(), 99) == 0,
                         SetPolyFillMode(page.dc(), ALTERNATE) == ALTERNATE,
                         !Polyline(page.dc(), pts, 1),
                         !Polyline(page.dc(), nullptr, 2),
                         !Polygon(page.dc(), nullptr, 3),
                         !GetCurrentPositionEx(page.dc(), nullptr),
                         FillRect(page.dc(), nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) == 0};
  for (size_t i = 0; i < std::size(failed); ++i) EXPECT_TRUE(failed[i]) << "call " << i;
}

}  // namespace
