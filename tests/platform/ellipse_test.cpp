// The ellipse walk: the quarter path against GDI's stepper on shapes far larger than golden_test draws, arcs
// between close or opposite radials, and the byte outlines against the span path.
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
TEST(QuarterPath, TheClosedFormAndTheRowTableFollowTheStepper) {
  std::vector<std::pair<int64_t, int64_t>> sizes = {
      {23, 600},    {600, 23},  {1001, 999},    {2, 5000},  {5000, 2},      {23, 50000},  {50000, 41},
      {3001, 2999}, {65536, 3}, {65536, 65536}, {3, 65536}, {65535, 40000}, {2047, 2048}, {65537, 9}};
  for (int64_t w = 1; w <= 40; ++w)
    for (int64_t h = 1; h <= 40; ++h) sizes.push_back({w, h});
  for (auto [w, h] : sizes) {
    const auto rows = Stepper(w, h);
    const soft::QuarterPath path(static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    const soft::QuarterRows table(path, static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    const soft::QuarterRows kept(path, static_cast<uint64_t>(w), static_cast<uint64_t>(h));
    EXPECT_EQ(path.Top(), rows.rbegin()->first) << w << "x" << h;
    EXPECT_EQ(path.B1(), rows.begin()->first) << w << "x" << h;
    for (const auto& [U, run] : rows) {
      int64_t lo = 0, hi = 0, tlo = 0, thi = 0;
      path.Run(U, &lo, &hi);
      ASSERT_EQ(std::make_pair(lo, hi), run) << w << "x" << h << " row " << U;
      for (const soft::QuarterRows* t : {&table, &kept}) {  // the second from the table kept for its size
        t->Run(path, U, &tlo, &thi);
        ASSERT_EQ(std::make_pair(tlo, thi), run) << w << "x" << h << " row " << U;
      }
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

TEST(EllipseWalk, AnArcBetweenNeighbouringPointsIsEmpty) {
  // The end radial's first point directly follows the start's: the arc leaves out the point before its end,
  // which is its start.
  Page page(30, 30);
  Arc(page.dc(), 2, 2, 26, 26, 30, 13, 30, 12);
  EXPECT_TRUE(page.Changed().empty());
}

// Solid outlines written straight to 8-bit rows (copy, NOT and XOR) give what the span path gives: random
// boxes, some off the page, both ways.
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
