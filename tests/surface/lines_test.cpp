// The line primitives: vectors scaled to the page, the window rectangles
// they invalidate, the shaded strip between a segment and its reference
// line, the triangles of that strip, and the point list a fill collects.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "page_probe.h"
#include "platform/soft/inspect.h"
#include "surface/grdrv.h"
#include "surface/point_list.h"
#include "surface_window.h"

namespace {

using surface_test::Geometry;
using surface_test::PaintIndex;
using surface_test::RegisIndexAt;
using surface_test::RowIndices;
using surface_test::SurfaceWindow;
namespace inspect = soft::inspect;

using Edges = std::vector<LONG>;

// The largest x whose product with 800 still fits: far off the page, without wrapping.
constexpr int kFar = 2684354;

int CountOf(SurfaceWindow& w, int index) {
  const uint32_t stored = surface_test::StoredIndex(w, index);
  int n = 0;
  for (uint32_t p : inspect::ReadBitmap(w.surface->pageBitmap[0]).pixels) n += p == stored;
  return n;
}

// The rectangles the window was invalidated with, in order.
std::vector<Edges> InvalidatedIn(SurfaceWindow& w) {
  std::vector<Edges> out;
  for (const RECT& r : inspect::Invalidations(w.window)) out.push_back({r.left, r.top, r.right, r.bottom});
  return out;
}

class DrawVector : public ::testing::Test {
 protected:
  explicit DrawVector(Geometry g = Geometry{}) : w(g) { W().foreground = 4; }
  CWriteControls& W() { return *w.State()->active; }
  void Line(int x1, int y1, int x2, int y2) { w.surface->DrawVector(w.State(), x1, y1, x2, y2); }
  int At(int x, int y) { return RegisIndexAt(w, 1, x, y); }
  int Count(int index) { return CountOf(w, index); }
  std::vector<Edges> Invalidated() { return InvalidatedIn(w); }

  SurfaceWindow w;
};

TEST(DrawVectorOnThePage, DrawsOnTheOutputPageAndInvalidatesWhatTheWindowShows) {
  const struct {
    const char* behaviour;
    std::function<void(SurfaceWindow&)> setUp;
    RECT line;
    int drawn, drawnOnPage2;
    std::vector<Edges> invalidated;
  } rows[] = {
      {"the end pixel is left out", [](SurfaceWindow&) {}, {10, 20, 60, 20}, 50, 0, {{10, 20, 61, 21}}},
      {"a zero-length line sets no pixel but invalidates one",
       [](SurfaceWindow&) {},
       {100, 100, 100, 100},
       0,
       0,
       {{100, 100, 101, 101}}},
      {"the box is in window coordinates, one past the far corner",
       [](SurfaceWindow& w) {
         w.surface->SetHorzScroll(1, w.State());
         w.surface->SetVertScroll(1, w.State());
       },
       {100, 50, 10, 20},
       90,
       0,
       {{0, 0, 91, 31}}},
      {"nothing is invalidated while redraw is suspended",
       [](SurfaceWindow& w) { w.surface->redrawSuspended = 1; },
       {10, 20, 60, 20},
       50,
       0,
       {}},
      {"smooth drawing reaches the window even then",
       [](SurfaceWindow& w) {
         w.surface->redrawSuspended = 1;
         w.surface->smooth = 1;
       },
       {10, 20, 60, 20},
       50,
       0,
       {{10, 20, 61, 21}}},
      {"a hidden output page leaves the window alone",
       [](SurfaceWindow& w) { w.State()->outputPage = 1; },
       {10, 20, 60, 20},
       0,
       50,
       {}},
      {"nothing is drawn without a window",
       [](SurfaceWindow& w) { w.surface->window = nullptr; },
       {10, 20, 60, 20},
       0,
       0,
       {}},
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    w.State()->active->foreground = 4;
    c.setUp(w);
    w.surface->DrawVector(w.State(), c.line.left, c.line.top, c.line.right, c.line.bottom);
    w.surface->window = w.window;
    const uint32_t four = surface_test::StoredIndex(w, 4);
    int drawn[2] = {};
    for (int page : {0, 1})
      for (uint32_t p : inspect::ReadBitmap(w.surface->pageBitmap[page]).pixels) drawn[page] += p == four;
    EXPECT_EQ(drawn[0], c.drawn) << c.behaviour;
    EXPECT_EQ(drawn[1], c.drawnOnPage2) << c.behaviour;
    EXPECT_EQ(InvalidatedIn(w), c.invalidated) << c.behaviour;
  }
}

class SmallPage : public DrawVector {
 protected:
  SmallPage() : DrawVector(Geometry{24, 80, 8, 16}) {}  // 640 x 384
};

TEST_F(SmallPage, TheFullDiagonalStopsJustShortOfTheLastPixel) {
  Line(0, 0, 799, 479);
  EXPECT_EQ(At(0, 0), 4);
  EXPECT_EQ(At(639, 383), 0);
  EXPECT_EQ(Count(4), 639) << "one pixel per column, the last column left out";
}

TEST_F(SmallPage, ReGisUnitsScaleToThePage) {
  Line(400, 240, 500, 240);
  EXPECT_EQ(RowIndices(w, 192, 319, 401), [] {
    std::vector<int> row(82, 4);
    row.front() = 0;
    row.back() = 0;
    return row;
  }());
}

// --- The shaded strip --------------------------------------------------------

class ShadedStrip : public DrawVector {
 protected:
  void Shade(int reference, bool horizontal) {
    W().shading = CShading{reference, 0, kShadingOn | (horizontal ? kShadingHorizontal : 0u)};
  }
};

TEST(ShadedStripTable, FillsBetweenTheSegmentAndItsReference) {
  const struct {
    int reference;
    bool horizontal;
    RECT line;
    std::vector<int> probes;  // x, y, index
    int count;                // pixels of the drawing colour, -1 for any
    std::vector<Edges> invalidated;
  } rows[] = {
      // Down to and including the reference row, no triangles; the box stretched to the reference.
      {240,
       true,
       {100, 100, 300, 100},
       {299, 240, 4, 200, 99, 0, 200, 241, 0},
       200 * 141,
       {{100, 100, 301, 240}}},
      // Up to a reference above.
      {50, true, {100, 100, 300, 100}, {150, 50, 4, 150, 49, 0, 150, 101, 0}, -1, {{100, 50, 301, 101}}},
      // A vertical line fills across, one row taller than the line.
      {500, false, {100, 100, 100, 200}, {100, 100, 4, 499, 200, 4, 500, 150, 0, 300, 201, 0}, -1, {}},
      // Ends on both sides: two triangles meeting at the midpoint, no rectangle.
      {200, true, {100, 100, 300, 300}, {120, 180, 4, 180, 120, 0, 280, 220, 4, 220, 280, 0}, -1, {}},
      // A reference beyond both ends: one triangle and a rectangle.
      {50, true, {100, 100, 300, 300}, {280, 120, 4, 120, 280, 0, 200, 60, 4, 200, 49, 0}, -1, {}},
      // A vertical line against a horizontal reference fills nothing.
      {240, true, {100, 100, 100, 200}, {}, 0, {}},
      // A reference far off the page fills only the page.
      {kFar, true, {-kFar, 100, kFar, 100}, {0, 479, 4, 799, 100, 4, 400, 99, 0}, -1, {}},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.reference);
    SurfaceWindow w;
    CWriteControls& controls = *w.State()->active;
    controls.foreground = 4;
    controls.shading = CShading{c.reference, 0, kShadingOn | (c.horizontal ? kShadingHorizontal : 0u)};
    w.surface->DrawVector(w.State(), c.line.left, c.line.top, c.line.right, c.line.bottom);
    for (size_t i = 0; i + 2 < c.probes.size(); i += 3)
      EXPECT_EQ(RegisIndexAt(w, 1, c.probes[i], c.probes[i + 1]), c.probes[i + 2])
          << c.probes[i] << "," << c.probes[i + 1];
    if (c.count >= 0) {
      EXPECT_EQ(CountOf(w, 4), c.count);
    }
    if (c.count == 0 || !c.invalidated.empty()) {
      EXPECT_EQ(InvalidatedIn(w), c.invalidated);
    }
  }
}

TEST_F(ShadedStrip, ReachesTheWindowEvenWhileRedrawIsSuspendedAndPatternZeroStillFills) {
  w.surface->redrawSuspended = 1;
  W().pattern = 0;
  Shade(120, true);
  Line(100, 100, 300, 100);
  EXPECT_EQ(Invalidated().size(), 1u);
  EXPECT_EQ(Count(4), 200 * 21);
}

// --- Triangles ---------------------------------------------------------------

TEST(Triangle, FillsTheCornerItIsAskedFor) {
  const struct {
    const char* behaviour;
    int xa, ya, xb, yb, corner;
    POINT inside, outside;
  } rows[] = {
      {"corner 1 going down keeps the upper right", 10, 10, 50, 50, 1, {45, 15}, {15, 45}},
      {"corner 0 going down keeps the lower left", 10, 10, 50, 50, 0, {15, 45}, {45, 15}},
      {"corner 1 going up keeps the upper left", 10, 50, 50, 10, 1, {15, 15}, {45, 45}},
      {"corner 0 going up keeps the lower right", 10, 50, 50, 10, 0, {45, 45}, {15, 15}},
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    HDC dc = w.surface->pageDC[0];
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(4));
    HGDIOBJ old = SelectObject(dc, brush);
    CGrDrv::DrawTriangle(dc, c.xa, c.ya, c.xb, c.yb, c.corner);
    SelectObject(dc, old);
    DeleteObject(brush);
    EXPECT_EQ(RegisIndexAt(w, 1, c.inside.x, c.inside.y), 4) << c.behaviour;
    EXPECT_EQ(RegisIndexAt(w, 1, c.outside.x, c.outside.y), 0) << c.behaviour;
  }
}

// --- Huge coordinates ----------------------------------------------------------

TEST_F(DrawVector, LinesToTheLimitsOfTheCoordinateRangeFinish) {
  Line(0, 0, INT_MAX, INT_MAX);
  Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  Line(-kFar, 100, kFar, 100);
  EXPECT_EQ(At(0, 100), 4);
  EXPECT_EQ(At(799, 100), 4);
}

TEST_F(ShadedStrip, FarSlantedSegmentsFinish) {
  Shade(240, true);
  Line(-kFar, -kFar, kFar, kFar);
  Shade(-kFar, false);
  Line(-kFar, kFar, kFar, -kFar);
  Shade(INT_MAX, true);
  Line(INT_MIN, 10, INT_MAX, 400);
  SUCCEED();
}

// --- Collecting a fill -------------------------------------------------------

TEST_F(DrawVector, WhileAFillCollectsALineOnlyAddsItsEndPoint) {
  w.surface->pointList = std::make_unique<CPointList>();
  Line(50, 50, 100, 100);
  w.surface->DrawSegment(w.State(), 100, 100, 150, 120, w.window, w.surface->pageDC[0], nullptr, nullptr,
                         w.surface->pageWidth, w.surface->pageHeight, 0, 0, 0);
  EXPECT_EQ(Count(4), 0);
  EXPECT_TRUE(Invalidated().empty());
  ASSERT_EQ(w.surface->pointList->Count(), 2);
  const POINT first = w.surface->pointList->get();
  const POINT second = w.surface->pointList->get();
  EXPECT_EQ(first.x, 100);
  EXPECT_EQ(first.y, 100);
  EXPECT_EQ(second.x, 150);
  EXPECT_EQ(second.y, 120);
}

TEST(PointList, GivesPointsBackOldestFirstAndAStopBoxWhenEmpty) {
  CPointList list;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.Add(i, -i), 0);
  EXPECT_EQ(list.Count(), 5);
  for (int i = 0; i < 5; ++i) {
    const POINT p = list.get();
    EXPECT_EQ(p.x, i);
    EXPECT_EQ(p.y, -i);
  }
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add(7, 8), 0) << "an emptied list takes points again";
  EXPECT_EQ(list.get().x, 7);
  inspect::ClearMessageBoxes();
  inspect::EchoMessageBoxes(false);
  const POINT p = list.get();
  EXPECT_EQ(p.x, 0xFFFF);
  EXPECT_EQ(p.y, 0xFFFF);
  const auto boxes = inspect::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Get from empty list");
  EXPECT_EQ(boxes[0].caption, "CPointList::get");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(boxes[0].owner, nullptr);
  inspect::ClearMessageBoxes();
  inspect::EchoMessageBoxes(true);
}

}  // namespace
