// Pixels, lines and shapes of the soft platform on palette-index bitmaps: what the raster operations do to
// indices, huge coordinates, and the targets and failures golden_test does not reach; the ellipse walk
// against GDI's stepper on shapes far larger than golden_test draws, and byte outlines against span paths.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "platform/soft/blitter.h"
#include "platform/soft/geom.h"
#include "platform/soft/quarter.h"
#include "platform/soft/quarter_rows.h"
#include "platform/soft/raster.h"
#include "tests/platform/page.h"

namespace {

using platform_test::Art;
using platform_test::kBlack;
using platform_test::kRed;
using platform_test::kWhite;
using platform_test::Page;
using platform_test::Values;

TEST(WidePens, AnInsideFramePenStaysInsideTheBoxAndARingDoesNotOverlapItsBrush) {
  Page page(20, 20);
  page.Pen(PS_INSIDEFRAME, 5, 0);
  page.Brush(RGB(255, 0, 0));
  Rectangle(page.dc(), 3, 3, 17, 15);
  Ellipse(page.dc(), 3, 3, 17, 15);
  Ellipse(page.dc(), 5, 5, 8, 8);  // a box narrower than the pen
  EXPECT_EQ(page.Index(3, 9), kBlack);
  EXPECT_EQ(page.Index(10, 9), kRed);
  PatBlt(page.dc(), 3, 3, 14, 12, WHITENESS);
  EXPECT_EQ(page.Count(kWhite), 20 * 20) << "nothing outside the box";

  Page ring(40, 30);
  SelectObject(ring.dc(), GetStockObject(BLACK_BRUSH));
  ring.Pen(PS_SOLID, 5);
  SetROP2(ring.dc(), R2_NOT);
  Ellipse(ring.dc(), 5, 5, 33, 25);
  // Inverted once everywhere: no pixel inside the outer edge stays white.
  EXPECT_EQ(ring.Picture()[15], "...################################.....");
  Page fat(10, 10);
  fat.Pen(PS_SOLID, 5000);
  fat.NoBrush();
  Ellipse(fat.dc(), 2, 2, 8, 8);
  EXPECT_EQ(fat.Count(kBlack), 100) << "a pen far wider than the page covers it";
}

TEST(Clipping, ABillionPixelEllipseLightsOnlyItsVisibleEdge) {
  Page page(6, 20);
  page.NoBrush();
  Ellipse(page.dc(), 0, -1000000000, 2000000000, 1000000000);
  EXPECT_EQ(page.Picture(), Art(20, "#....."));
}

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

// GDI's stepper written out plainly: from the right end of the middle it steps in when twice the error
// reaches the x increment and up when it stays below the y increment. Returns row U -> (lowest X, highest X).
std::map<int64_t, std::pair<int64_t, int64_t>> Stepper(int64_t w, int64_t h) {
  using soft::Int128;
  const Int128 a = w - 1, b = h - 1, odd = (h - 1) & 1;
  Int128 dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a, err = dx + dy + odd * a * a;
  const Int128 stepX = 8 * b * b, stepY = 8 * a * a;
  std::map<int64_t, std::pair<int64_t, int64_t>> rows;
  for (int64_t x = w - 1, y = 0; x >= w / 2;) {
    const int64_t X = 2 * x - (w - 1), U = static_cast<int64_t>(odd) + 2 * y;
    auto it = rows.find(U);
    if (it == rows.end())
      rows[U] = {X, X};
    else
      it->second.first = std::min(it->second.first, X);
    const Int128 e2 = 2 * err;
    if (e2 >= dx) {
      --x;
      dx += stepX;
      err += dx;
    }
    if (e2 <= dy) {
      ++y;
      dy += stepY;
      err += dy;
    }
  }
  return rows;
}

// The closed form and the row table stepped once per ellipse both give every row of the stepper: all small
// boxes, and shapes far larger than the golden files draw.
// A brush under each binary raster operation paints each 8-bit pixel with the operation on the pixel and the
// brush's value there: a solid brush and a pattern of mixed indices wider than the box, over mixed indices.
TEST(Rop2, BrushesMixWithEachIndexBitByBit) {
  const uint8_t pattern[8 * 8] = {0, 255, 249, 7, 1, 128, 33, 200, 90, 3, 252, 64, 17, 250, 9, 130};
  HBITMAP bits = CreateBitmap(8, 8, 1, 8, pattern);
  for (bool solid : {true, false}) {
    for (int rop2 = R2_BLACK; rop2 <= R2_WHITE; ++rop2) {
      Page page(7, 3);
      for (int i = 0; i < 21; ++i) page.Set(i % 7, i / 7, (i * 37 + 5) & 0xFF);
      const Values before = page.Image().pixels;
      page.Use(solid ? CreateSolidBrush(RGB(255, 0, 0)) : CreatePatternBrush(bits));
      SelectObject(page.dc(), GetStockObject(NULL_PEN));
      SetROP2(page.dc(), rop2);
      const soft::Paint brush = soft::DCBrushPaint(*soft::GetDCObj(page.dc()), *soft::GetBitmap(page.bmp()));
      Rectangle(page.dc(), 0, 0, 8, 4);
      for (int i = 0; i < 21; ++i)
        ASSERT_EQ(page.Index(i % 7, i / 7), soft::ApplyRop2(rop2, brush.At(i % 7, i / 7), before[i], 0xFF))
            << (solid ? "solid" : "pattern") << " rop2 " << rop2 << " pixel " << i;
    }
  }
  DeleteObject(bits);
}

TEST(QuarterPath, TheClosedFormAndTheRowTableFollowTheStepper) {
  std::vector<std::pair<int64_t, int64_t>> sizes = {
      {23, 600},    {600, 23},  {1001, 999},    {2, 5000},  {5000, 2},      {23, 50000},  {50000, 41},
      {3001, 2999}, {65536, 3}, {65536, 65536}, {3, 65536}, {65535, 40000}, {2047, 2048}, {65537, 9}};
  for (int64_t w = 1; w <= 40; ++w)
    for (int64_t h = 1; h <= 40; ++h) sizes.push_back({w, h});
  for (auto [w, h] : sizes) {
    const auto rows = Stepper(w, h);
    const soft::QuarterPath path(static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    const soft::QuarterRows table(static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    const soft::QuarterRows kept(static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    EXPECT_EQ(path.Top(), rows.rbegin()->first) << w << "x" << h;
    EXPECT_EQ(path.B1(), rows.begin()->first) << w << "x" << h;
    for (const auto& [U, run] : rows) {
      int64_t lo = 0, hi = 0, tlo = 0, thi = 0;
      path.Run(U, &lo, &hi);
      ASSERT_EQ(std::make_pair(lo, hi), run) << w << "x" << h << " row " << U;
      for (const soft::QuarterRows* t : {&table, &kept}) {  // the second from the table kept for its size
        t->Run(U, &tlo, &thi);
        ASSERT_EQ(std::make_pair(tlo, thi), run) << w << "x" << h << " row " << U;
      }
    }
  }
}

// Solid outlines written straight to 8-bit rows (copy, NOT and XOR) give what the span path gives: random
// boxes, some off the page, both ways, on rows stored first to last and last to first.
TEST(EllipseWalk, ByteOutlinesGiveWhatTheSpanPathGives) {
  std::mt19937 rng(5);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int rops[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_MERGEPEN};
  for (int round = 0; round < 300; ++round) {
    const int l = pick(50) - 10, t = pick(40) - 10, r = l + pick(60), b = t + pick(50), rop = rops[pick(4)];
    std::vector<uint32_t> result[2];
    for (int fast = 0; fast < 2; ++fast) {
      soft::blit::SetFastPaths(fast != 0);
      Page page(40, 30);
      soft::GetBitmap(page.bmp())->bottomUp = round % 2 == 1;  // rows stored last first, as in a DIB section
      page.NoBrush();
      page.Pen(PS_SOLID, 1, RGB(255, 0, 0));
      SetROP2(page.dc(), rop);
      Ellipse(page.dc(), l, t, r, b);
      result[fast] = page.Image().pixels;
    }
    EXPECT_EQ(result[0], result[1]) << l << ' ' << t << ' ' << r << ' ' << b << " rop2 " << rop;
  }
  soft::blit::SetFastPaths(true);
}

}  // namespace
