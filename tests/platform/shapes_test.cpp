// Pixels, lines and shapes of the soft platform, checked by reading pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "tests/platform/page.h"

namespace {

using platform_test::Art;
using platform_test::kBlack;
using platform_test::kRed;
using platform_test::kWhite;
using platform_test::Page;
using platform_test::Pixels;

Pixels Sorted(Pixels p) {
  std::sort(p.begin(), p.end(),
            [](auto& a, auto& b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
  return p;
}

// The pixels of a that b lacks, in Sorted order.
Pixels Minus(const Pixels& a, const Pixels& b) {
  Pixels out;
  for (const auto& p : Sorted(a))
    if (std::find(b.begin(), b.end(), p) == b.end()) out.push_back(p);
  return out;
}

Pixels LinePixels(POINT from, POINT to, int w = 12, int h = 12) {
  Page page(w, h);
  MoveToEx(page.dc(), from.x, from.y, nullptr);
  LineTo(page.dc(), to.x, to.y);
  return page.Changed();
}

// ---- lines ----

TEST(Lines, ALineAndItsReverseLightTheSamePixelsBetweenTheirEnds) {
  std::mt19937 rng(7);
  for (int i = 0; i < 200; ++i) {
    const POINT a{static_cast<LONG>(rng() % 20), static_cast<LONG>(rng() % 20)};
    const POINT b{static_cast<LONG>(rng() % 20), static_cast<LONG>(rng() % 20)};
    Pixels forward = LinePixels(a, b, 20, 20), backward = LinePixels(b, a, 20, 20);
    if (a.x != b.x || a.y != b.y) {
      forward.push_back({b.x, b.y});
      backward.push_back({a.x, a.y});
    }
    EXPECT_EQ(Sorted(forward), Sorted(backward)) << a.x << "," << a.y << " - " << b.x << "," << b.y;
  }
}

TEST(Lines, PolylineLeavesTheCurrentPositionAndPaintsEachVertexOnce) {
  Page page(8, 8);
  MoveToEx(page.dc(), 7, 7, nullptr);
  page.Pen(PS_SOLID, 1, PALETTEINDEX(1));
  SetROP2(page.dc(), R2_XORPEN);
  const POINT pts[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
  EXPECT_TRUE(Polyline(page.dc(), pts, 4));
  EXPECT_EQ(page.Changed().size(), 12u) << "three sides of four pixels, none painted twice";
  EXPECT_EQ(page.Index(5, 1), kWhite ^ 1u);
  EXPECT_EQ(page.Index(1, 5), kWhite) << "the last point is not drawn";
  POINT cp{};
  GetCurrentPositionEx(page.dc(), &cp);
  EXPECT_EQ(std::make_pair(cp.x, cp.y), std::make_pair(LONG{7}, LONG{7}));
  EXPECT_FALSE(Polyline(page.dc(), pts, 1));
}

// ---- pen styles ----

TEST(PenStyles, OpaqueGapsTakeTheBackgroundColourAndTransparentGapsAreLeft) {
  Page page(24, 2);
  page.Pen(PS_DASH, 1, 0);
  SetBkColor(page.dc(), RGB(255, 0, 0));
  MoveToEx(page.dc(), 0, 0, nullptr);
  LineTo(page.dc(), 24, 0);
  SetBkMode(page.dc(), TRANSPARENT);
  MoveToEx(page.dc(), 0, 1, nullptr);
  LineTo(page.dc(), 24, 1);
  EXPECT_EQ(page.Picture(), (Art{"##################rrrrrr", "##################......"}));
  SetBkMode(page.dc(), OPAQUE);
  SetBkColor(page.dc(), PALETTEINDEX(1));
  SetROP2(page.dc(), R2_XORPEN);
  MoveToEx(page.dc(), 0, 1, nullptr);
  LineTo(page.dc(), 24, 1);
  EXPECT_EQ(page.Index(20, 1), kWhite ^ 1u) << "gaps go through the ROP2 as well";
}

TEST(PenStyles, ANullPenDrawsNothingButLineToStillMoves) {
  Page page(6, 2);
  page.NoPen();
  MoveToEx(page.dc(), 0, 0, nullptr);
  EXPECT_TRUE(LineTo(page.dc(), 5, 1));
  EXPECT_TRUE(page.Changed().empty());
  POINT cp{};
  GetCurrentPositionEx(page.dc(), &cp);
  EXPECT_EQ(cp.x, 5);
}

// ---- raster operations ----

TEST(Mixes, BinaryRasterOperationsActOnPaletteIndices) {
  struct Case {
    const char* name;
    int rop2;
    uint32_t expected;
  } cases[] = {
      {"R2_NOT inverts the index bitwise", R2_NOT, 0xFEu},
      {"R2_XORPEN xors the pen's index into it", R2_XORPEN, 1u ^ 3u},
      {"R2_MERGEPEN ors it", R2_MERGEPEN, 1u | 3u},
      {"R2_NOP leaves it", R2_NOP, 1u},
  };
  for (const Case& c : cases) {
    Page page(4, 1);
    page.Pen(PS_SOLID, 1, PALETTEINDEX(3));
    SetPixel(page.dc(), 1, 0, PALETTEINDEX(1));
    SetROP2(page.dc(), c.rop2);
    MoveToEx(page.dc(), 1, 0, nullptr);
    LineTo(page.dc(), 2, 0);
    EXPECT_EQ(page.Index(1, 0), c.expected) << c.name;
    EXPECT_EQ(page.Index(2, 0), kWhite) << c.name;
  }
}

// ---- rectangles ----

TEST(Rectangles, WithANullPenTheFillIsOnePixelSmaller) {
  Page page(8, 6);
  page.NoPen();
  page.Brush(RGB(255, 0, 0));
  Rectangle(page.dc(), 1, 1, 6, 5);
  EXPECT_EQ(page.Picture(), (Art{"........", ".rrrr...", ".rrrr...", ".rrrr...", "........", "........"}));
}

TEST(Rectangles, ANullBrushLeavesTheInsideAndEmptyBoxesDrawNothing) {
  Page page(6, 5);
  SetPixel(page.dc(), 2, 2, RGB(255, 0, 0));
  page.NoBrush();
  Rectangle(page.dc(), 1, 1, 4, 4);
  EXPECT_EQ(page.Picture(), (Art{"......", ".###..", ".#r#..", ".###..", "......"}));
  EXPECT_TRUE(Rectangle(page.dc(), 5, 0, 5, 4));
  EXPECT_EQ(page.Index(5, 0), kWhite);
}

// ---- ellipses ----

TEST(Ellipses, AClippedDashedOutlineKeepsItsPattern) {
  struct Case {
    const char* name;
    RECT whole;  // drawn on a large page
    int dx, dy;  // the same ellipse moved by this much onto a small page
  } cases[] = {
      {"cut at the left edge", {10, 5, 90, 45}, -40, 0},
      {"cut at the top, thousands of rows away", {0, 0, 2000, 3000}, 0, -1500},
  };
  for (const Case& c : cases) {
    const int bigW = std::min<int>(c.whole.right + 2, 100), bigH = std::min<int>(c.whole.bottom + 2, 3002);
    Page big(bigW, bigH), small(40, 40);
    for (Page* p : {&big, &small}) {
      p->Pen(PS_DASHDOTDOT, 1, 0);
      p->NoBrush();
    }
    Ellipse(big.dc(), c.whole.left, c.whole.top, c.whole.right, c.whole.bottom);
    Ellipse(small.dc(), c.whole.left + c.dx, c.whole.top + c.dy, c.whole.right + c.dx, c.whole.bottom + c.dy);
    const soft::inspect::Image part = small.Image(), whole = big.Image();
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(part.At(x, y), whole.At(x - c.dx, y - c.dy)) << c.name << " at " << x << "," << y;
  }
}

TEST(Ellipses, ABillionPixelEllipseDrawsItsVisibleEdge) {
  Page page(6, 20);
  page.NoBrush();
  Ellipse(page.dc(), 0, -1000000000, 2000000000, 1000000000);
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(page.Index(0, y), kBlack) << y;
    EXPECT_EQ(page.Index(1, y), kWhite) << y;
  }
}

// ---- clipping ----

TEST(Clipping, AHugeLineLightsTheSameVisiblePixelsAsItsShortPiece) {
  for (int style : {PS_SOLID, PS_DASHDOT}) {
    Page huge(40, 30), piece(40, 30);
    for (Page* p : {&huge, &piece}) {
      p->Pen(style, 1, 0);
      SetBkMode(p->dc(), TRANSPARENT);
    }
    // Both run along y = x / 2. The huge one is 2000000016 steps, a whole
    // number of pattern periods, short of (14, 7), where the piece starts.
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
}

TEST(Clipping, TheLongestLineMeetsTheDiamondRuleWhereItIsVisible) {
  Page page(800, 480);
  MoveToEx(page.dc(), INT_MIN, 0, nullptr);
  LineTo(page.dc(), INT_MAX, 479);
  const int64_t dx = int64_t{INT_MAX} - INT_MIN, dy = 479;
  Pixels expected;
  for (int64_t x = 0; x < 800; ++x) {
    // Nearest row to the true line, a tie going to the upper row.
    const int64_t num = 2 * (x - INT_MIN) * dy - dx;
    const int64_t y = num <= 0 ? 0 : (num + 2 * dx - 1) / (2 * dx);
    expected.push_back({static_cast<int>(x), static_cast<int>(y)});
  }
  EXPECT_EQ(page.Changed(), Sorted(expected));
}

// ---- FillRect, brushes, pixels ----

TEST(FillRects, FillRectCoversLeftAndTopButNotRightAndBottomAndIgnoresTheRop2) {
  Page page(6, 4);
  SetROP2(page.dc(), R2_NOT);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT r{1, 1, 4, 3};
  EXPECT_NE(FillRect(page.dc(), &r, red), 0);
  EXPECT_EQ(page.Picture(), (Art{"......", ".rrr..", ".rrr..", "......"}));
  DeleteObject(red);
  EXPECT_EQ(FillRect(page.dc(), &r, red), 0) << "a deleted brush fails";
}

TEST(Pixels, SetPixelReturnsTheColourItSetAndFailsOutside) {
  Page page(4, 4);
  EXPECT_EQ(SetPixel(page.dc(), 1, 1, RGB(250, 5, 5)), RGB(255, 0, 0)) << "the nearest static colour";
  EXPECT_EQ(page.Index(1, 1), kRed);
  EXPECT_EQ(GetPixel(page.dc(), 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(SetPixel(page.dc(), 4, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(page.dc(), -1, 0), CLR_INVALID);
  SetROP2(page.dc(), R2_NOT);
  SetPixel(page.dc(), 2, 2, RGB(0, 0, 0));
  EXPECT_EQ(page.Index(2, 2), kBlack) << "SetPixel ignores the ROP2";
}

TEST(Pixels, MonochromeAndTrueColourTargetsGetTheirOwnPixels) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(4, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(dc, 1, 0, RGB(40, 40, 90)), RGB(0, 0, 0));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(dc, dib);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(10, 20, 30));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 4, 1);
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(10, 20, 30));
  SelectObject(dc, oldPen);
  SelectObject(dc, old);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(dib), static_cast<HGDIOBJ>(mono)})
    DeleteObject(o);
  DeleteDC(dc);
}

TEST(Pixels, DrawingCallsOnADeletedDCFail) {
  HDC dc = CreateCompatibleDC(nullptr);
  DeleteDC(dc);
  const POINT pts[] = {{0, 0}, {1, 1}, {2, 0}};
  const RECT r{0, 0, 1, 1};
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_FALSE(MoveToEx(dc, 0, 0, nullptr));
  EXPECT_FALSE(LineTo(dc, 1, 1));
  EXPECT_FALSE(Polyline(dc, pts, 3));
  EXPECT_FALSE(Polygon(dc, pts, 3));
  EXPECT_FALSE(Rectangle(dc, 0, 0, 2, 2));
  EXPECT_FALSE(Ellipse(dc, 0, 0, 2, 2));
  EXPECT_FALSE(Arc(dc, 0, 0, 2, 2, 0, 0, 1, 1));
  EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
}

// ---- wide pens ----

TEST(WidePens, AnInsideFramePenStaysInsideTheBox) {
  Page page(20, 20);
  page.Pen(PS_INSIDEFRAME, 5, 0);
  page.Brush(RGB(255, 0, 0));
  Rectangle(page.dc(), 3, 3, 17, 15);
  Ellipse(page.dc(), 3, 3, 17, 15);
  for (auto [x, y] : page.Changed()) EXPECT_TRUE(x >= 3 && x < 17 && y >= 3 && y < 15) << x << "," << y;
  EXPECT_EQ(page.Index(3, 9), kBlack);
  EXPECT_EQ(page.Index(10, 9), kRed);
}

// Under XOR a pixel painted twice returns to white, so every outline must
// touch each of its pixels once.
TEST(Mixes, EveryShapePaintsEachPixelOnceUnderXor) {
  struct Case {
    const char* name;
    void (*draw)(HDC);
  } cases[] = {
      {"rectangle", [](HDC dc) { Rectangle(dc, 2, 3, 17, 12); }},
      {"thin rectangle", [](HDC dc) { Rectangle(dc, 2, 3, 3, 12); }},
      {"ellipse outline", [](HDC dc) { Ellipse(dc, 1, 2, 18, 17); }},
      {"thin ellipse outline", [](HDC dc) { Ellipse(dc, 1, 2, 2, 17); }},
      {"polygon outline",
       [](HDC dc) {
         const POINT pts[] = {{1, 1}, {17, 4}, {9, 16}, {3, 10}};
         Polygon(dc, pts, 4);
       }},
  };
  for (const Case& c : cases) {
    Page copy(20, 20), xored(20, 20);
    for (Page* p : {&copy, &xored}) p->Pen(PS_SOLID, 1, PALETTEINDEX(1));
    copy.Brush(PALETTEINDEX(1));
    xored.Brush(PALETTEINDEX(1));
    if (std::string(c.name).find("outline") != std::string::npos) {
      copy.NoBrush();
      xored.NoBrush();
    }
    SetROP2(xored.dc(), R2_XORPEN);
    c.draw(copy.dc());
    c.draw(xored.dc());
    EXPECT_EQ(xored.Changed(), copy.Changed()) << c.name;
  }
}

TEST(Arcs, EqualRadialsDrawAllButThePixelBeforeTheStart) {
  Page arc(16, 12), ellipse(16, 12);
  Arc(arc.dc(), 0, 0, 16, 12, 4, 3, 0, 0);  // both on one ray from the centre
  ellipse.NoBrush();
  Ellipse(ellipse.dc(), 0, 0, 16, 12);
  EXPECT_EQ(Minus(ellipse.Changed(), arc.Changed()), (Pixels{{3, 1}}));
  EXPECT_TRUE(Minus(arc.Changed(), ellipse.Changed()).empty());
}

TEST(Polygons, BothFillModesAgreeOnASimplePolygon) {
  const POINT shape[] = {{2, 1}, {28, 6}, {20, 13}, {26, 25}, {3, 19}, {9, 11}};
  Art pictures[2];
  for (int mode : {ALTERNATE, WINDING}) {
    Page page(30, 27);
    page.NoPen();
    page.Brush(RGB(255, 0, 0));
    SetPolyFillMode(page.dc(), mode);
    Polygon(page.dc(), shape, 6);
    pictures[mode == WINDING] = page.Picture();
  }
  EXPECT_EQ(pictures[0], pictures[1]);
}

TEST(Polygons, TheFillExcludesRightAndBottomEdgesAndTheOutlineCloses) {
  const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  Page filled(7, 6), outlined(7, 6);
  filled.NoPen();
  filled.Brush(RGB(255, 0, 0));
  Polygon(filled.dc(), square, 4);
  EXPECT_EQ(filled.Picture(), (Art{".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."}));
  const POINT triangle[] = {{1, 1}, {5, 1}, {1, 5}};
  outlined.NoBrush();
  Polygon(outlined.dc(), triangle, 3);
  EXPECT_EQ(outlined.Picture(), (Art{".......", ".#####.", ".#..#..", ".#.#...", ".##....", ".#....."}));
}

TEST(Arcs, ArcsBetweenOppositeRadialsCarryMirroredDashes) {
  Page first(40, 40), second(40, 40);
  for (Page* p : {&first, &second}) {
    p->Pen(PS_DASHDOT, 1, 0);
    SetBkMode(p->dc(), TRANSPARENT);
  }
  Arc(first.dc(), 0, 0, 40, 40, 40, 0, 0, 40);  // from half past one round to half past seven
  Arc(second.dc(), 0, 0, 40, 40, 0, 40, 40, 0);
  const soft::inspect::Image a = first.Image(), b = second.Image();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(b.At(x, y), a.At(39 - x, 39 - y)) << x << "," << y;
  EXPECT_FALSE(first.Changed().empty());
}

}  // namespace
