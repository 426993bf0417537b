// The line primitives: vectors scaled to the page, the window rectangles
// they invalidate, the shaded strip between a segment and its reference
// line, the triangles of that strip, and the point list a fill collects.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>

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

// Probes are "x,y:index" separated by spaces; a count of -1 checks none.
TEST(ShadedStrip, FillsBetweenTheSegmentAndItsReference) {
  const struct {
    const char* behaviour;
    int reference;
    bool horizontal;
    RECT line;
    const char* probes;
    int count;          // pixels of the drawing colour
    Edges invalidated;  // the one rectangle, none when empty
  } rows[] = {
      // Down to and including the reference row, the box stretched to it.
      {"down", 240, true, {100, 100, 300, 100}, "299,240:4 200,99:0 200,241:0", 28200, {100, 100, 301, 240}},
      {"up", 50, true, {100, 100, 300, 100}, "150,50:4 150,49:0 150,101:0", -1, {100, 50, 301, 101}},
      // A vertical line fills across, one row taller than the line.
      {"across", 500, false, {100, 100, 100, 200}, "100,100:4 499,200:4 500,150:0 300,201:0", -1, {}},
      // Ends on both sides: two triangles meeting at the midpoint.
      {"both sides", 200, true, {100, 100, 300, 300}, "120,180:4 180,120:0 280,220:4 220,280:0", -1, {}},
      // A reference beyond both ends: one triangle and a rectangle.
      {"beyond both ends", 50, true, {100, 100, 300, 300}, "280,120:4 120,280:0 200,60:4 200,49:0", -1, {}},
      {"vertical against a horizontal reference: nothing", 240, true, {100, 100, 100, 200}, "", 0, {}},
      {"a far reference: only the page", kFar, true, {-kFar, 100, kFar, 100}, "0,479:4 799,100:4", -1, {}},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    SurfaceWindow w;
    w.W().foreground = 4;
    w.W().shading = CShading{c.reference, 0, kShadingOn | (c.horizontal ? kShadingHorizontal : 0u)};
    w.Line(c.line.left, c.line.top, c.line.right, c.line.bottom);
    std::istringstream probes(c.probes);
    for (int x, y, index; probes >> x && probes.ignore() >> y && probes.ignore() >> index;)
      EXPECT_EQ(w.Index(x, y), index) << x << "," << y;
    if (c.count >= 0) {
      EXPECT_EQ(w.Count(4), c.count);
    }
    if (c.count == 0 || !c.invalidated.empty()) {
      EXPECT_EQ(w.Invalidated(),
                c.invalidated.empty() ? std::vector<Edges>{} : std::vector<Edges>{c.invalidated});
    }
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
