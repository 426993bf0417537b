// The ellipse walk: the quarter path against GDI's stepper, and the rules
// of the walk that show in pixels (points visited twice, arc ends, wide
// strokes).
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/soft/blitter.h"
#include "platform/soft/geom.h"
#include "platform/soft/inspect.h"
#include "platform/soft/quarter.h"
#include "platform/soft/quarter_rows.h"
#include "platform/win32.h"
#include "tests/platform/page.h"

namespace {

// GDI's stepper written out plainly: from the right end of the middle it
// steps in when twice the error reaches the x increment and up when it
// stays below the y increment. Returns row U -> (lowest X, highest X).
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

TEST(QuarterPath, FollowsTheSteppersRowsForEveryShape) {
  const std::pair<int64_t, int64_t> sizes[] = {
      {1, 1},      {1, 9},    {2, 2},    {3, 1},      {3, 3},      {3, 18},     {4, 13},   {5, 3},
      {7, 7},      {10, 3},   {16, 12},  {17, 17},    {20, 11},    {40, 7},     {23, 600}, {600, 23},
      {1001, 999}, {2, 5000}, {5000, 2}, {23, 50000}, {50000, 41}, {3001, 2999}};
  for (auto [w, h] : sizes) {
    const auto rows = Stepper(w, h);
    const soft::QuarterPath path(static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    EXPECT_EQ(path.Top(), rows.rbegin()->first) << w << "x" << h;
    for (const auto& [U, run] : rows) {
      int64_t lo = 0, hi = 0;
      path.Run(U, &lo, &hi);
      ASSERT_EQ(std::make_pair(lo, hi), run) << w << "x" << h << " row " << U;
    }
  }
}

// The row table stepped once per ellipse gives every row the closed form
// gives: all small boxes, and shapes up to the largest it steps.
TEST(QuarterRows, MatchesTheClosedFormOnEveryRow) {
  std::vector<std::pair<uint64_t, uint64_t>> sizes = {
      {65536, 65536}, {65536, 3}, {3, 65536}, {65535, 40000}, {1001, 1000}, {2047, 2048}, {65537, 9}};
  for (uint64_t w = 1; w <= 40; ++w)
    for (uint64_t h = 1; h <= 40; ++h) sizes.push_back({w, h});
  // Each size twice: the second time from the table kept for its size.
  for (size_t i = 0; i < 2 * sizes.size(); ++i) {
    const auto [w, h] = sizes[i / 2];
    const soft::QuarterPath path(w, h);
    const soft::QuarterRows rows(path, w, h);
    for (int64_t U = path.B1(); U <= path.Top(); U += 2) {
      int64_t lo = 0, hi = 0, tlo = 0, thi = 0;
      path.Run(U, &lo, &hi);
      rows.Run(path, U, &tlo, &thi);
      ASSERT_EQ(std::make_pair(tlo, thi), std::make_pair(lo, hi)) << w << "x" << h << " row " << U;
    }
  }
}

TEST(QuarterPath, AHugeBoxStillStepsFromTheRightEndToTheTop) {
  const soft::QuarterPath path(uint64_t{1} << 32, uint64_t{1} << 31);
  int64_t lo = 0, hi = 0;
  path.Run(path.B1(), &lo, &hi);
  EXPECT_EQ(hi, path.A());
  path.Run(path.Top(), &lo, &hi);
  EXPECT_EQ(lo, path.Par());
}

using platform_test::Page;

TEST(EllipseWalk, TheMiddleRowOfAnOddHeightIsWalkedTwice) {
  // Out along the upper half and back along the lower one: R2_NOT inverts
  // the inner pixels of the middle row twice and keeps only its ends.
  Page page(14, 5);
  page.NoBrush();
  SetROP2(page.dc(), R2_NOT);
  Ellipse(page.dc(), 2, 1, 12, 4);
  EXPECT_EQ(page.Rows(1, 3),
            (std::vector<std::string>{"....######....", "..#........#..", "....######...."}));
}

TEST(EllipseWalk, ADottedOutlinePatternsEachVisitOfTheMiddleRow) {
  // The later visit lands last: its gaps are painted over the first pass's
  // dots in the opaque background mode.
  Page page(16, 3);
  page.NoBrush();
  page.Pen(PS_DOT, 1);
  SetBkColor(page.dc(), RGB(255, 255, 255));
  Ellipse(page.dc(), 1, 1, 13, 2);
  EXPECT_EQ(page.Rows(1, 1), (std::vector<std::string>{"..###...###.#..."}));
}

TEST(EllipseWalk, AnArcBetweenNeighbouringPointsIsEmpty) {
  // The end radial's first point directly follows the start's: the arc
  // leaves out the point before its end, which is its start.
  Page page(30, 30);
  Arc(page.dc(), 2, 2, 26, 26, 30, 13, 30, 12);
  EXPECT_EQ(page.Black(), 0);
}

TEST(WidePenGeometry, ADiagonalLineIsWiderOnItsRightSide) {
  // The band's corners towards +x round away from the line, the others to
  // the nearest pixel: a width-3 line at 45 degrees is six pixels across.
  Page page(24, 24);
  page.Pen(PS_SOLID, 3);
  MoveToEx(page.dc(), 4, 4, nullptr);
  LineTo(page.dc(), 20, 20);
  EXPECT_EQ(page.Rows(12, 12), (std::vector<std::string>{"..........######........"}));
}

TEST(WidePenGeometry, AnEllipsesRingAndItsBrushDoNotOverlap) {
  Page page(40, 30);
  SelectObject(page.dc(), GetStockObject(BLACK_BRUSH));
  page.Pen(PS_SOLID, 5);
  SetROP2(page.dc(), R2_NOT);
  Ellipse(page.dc(), 5, 5, 33, 25);
  // Inverted once everywhere: no pixel inside the outer edge stays white.
  EXPECT_EQ(page.Rows(15, 15), (std::vector<std::string>{"...################################....."}));
}

// Solid outlines written straight to 8-bit rows (copy, NOT and XOR) give
// what the span path gives: random boxes, some off the page, both ways.
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
