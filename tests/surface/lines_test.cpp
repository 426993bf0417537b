// Vectors, their invalidated rectangles, shaded strips and the point list.
#include <gtest/gtest.h>

#include <climits>

#include "surface/grdrv.h"
#include "surface/point_list.h"
#include "surface_window.h"

namespace {

using surface_test::Edges;
using surface_test::SurfaceWindow;

// The largest x whose product with 800 still fits: far off the page, without
// wrapping.
constexpr int kFar = 2684354;

// A line from (10, 20) to (60, 20) in index 4; the end pixel is left out.
TEST(DrawVector, DrawsOnTheOutputPageAndInvalidatesWhatTheWindowShows) {
  enum Case { kSuspended, kSmooth, kHiddenPage, kNoWindow };
  const struct {
    Case setUp;
    int drawn, drawnOnPage2;
    std::vector<Edges> invalidated;
  } rows[] = {
      {kSuspended, 50, 0, {}},               // nothing is invalidated while redraw is suspended
      {kSmooth, 50, 0, {{10, 20, 61, 21}}},  // smooth drawing reaches the window even then
      {kHiddenPage, 0, 50, {}},              // a hidden output page leaves the window alone
      {kNoWindow, 0, 0, {}},                 // nothing is drawn without a window
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    w.W().foreground = 4;
    w.surface->redrawSuspended = c.setUp == kSuspended || c.setUp == kSmooth;
    w.surface->smooth = c.setUp == kSmooth;
    w.State()->outputPage = c.setUp == kHiddenPage;
    if (c.setUp == kNoWindow) w.surface->window = nullptr;
    w.Line(10, 20, 60, 20);
    w.surface->window = w.window;
    EXPECT_EQ(w.Count(4, 1), c.drawn) << c.setUp;
    EXPECT_EQ(w.Count(4, 2), c.drawnOnPage2) << c.setUp;
    EXPECT_EQ(w.Invalidated(), c.invalidated) << c.setUp;
  }
}

TEST(ShadedStrip, ReachesTheWindowEvenWhileRedrawIsSuspendedAndPatternZeroStillFills) {
  SurfaceWindow w;
  w.surface->redrawSuspended = 1;
  w.W().foreground = 4, w.W().pattern = 0;
  w.W().shading = CShading{120, 0, kShadingOn | kShadingHorizontal};
  w.Line(100, 100, 300, 100);
  EXPECT_EQ(w.Invalidated().size(), 1u);
  EXPECT_EQ(w.Count(4), 200 * 21);
  // Far slanted segments against references far off the page finish.
  w.W().shading = CShading{240, 0, kShadingOn | kShadingHorizontal};
  w.Line(-kFar, -kFar, kFar, kFar);
  w.W().shading = CShading{-kFar, 0, kShadingOn};
  w.Line(-kFar, kFar, kFar, -kFar);
  w.W().shading = CShading{INT_MAX, 0, kShadingOn | kShadingHorizontal};
  w.Line(INT_MIN, 10, INT_MAX, 400);
}

TEST(PointList, GivesPointsBackOldestFirstAndAStopBoxWhenEmpty) {
  CPointList list;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.Add(i, -i), 0);
  EXPECT_EQ(list.Count(), 5);
  for (int i = 0; i < 5; ++i) {
    const POINT p = list.get();
    EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(LONG{i}, LONG{-i}));
  }
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add(7, 8), 0) << "an emptied list takes points again";
  EXPECT_EQ(list.get().x, 7);
  POINT p{};
  surface_test::ExpectStopBox([&] { p = list.get(); }, "Get from empty list", "CPointList::get", nullptr);
  EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(LONG{0xFFFF}, LONG{0xFFFF}));
}

}  // namespace
