// Circles, arcs, curves and area fill on the surface.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "surface/curve_point_list.h"
#include "surface/grdrv.h"
#include "surface_window.h"

namespace {

using surface_test::Edges;
using surface_test::SurfaceWindow;

TEST(Circles, AnArcStartingOnItsCentrePlotsThePosition) {
  SurfaceWindow w;
  w.W().foreground = 4;
  w.MoveTo(30, 40);
  const POINT end = w.surface->DrawArc(w.State(), 100, 100, 100, 100, 90);
  EXPECT_EQ(std::make_pair(end.x, end.y), std::make_pair(LONG{100}, LONG{100}));
  EXPECT_EQ(w.Index(30, 40), 4);
}

TEST(Circles, ACollectingFillTakesPointsEveryHalfChordStepAndHugeValuesFinish) {
  SurfaceWindow w;
  w.W().foreground = 4;
  w.surface->pointList = std::make_unique<CPointList>();
  // A pixel radius of 100 steps by 6 degrees, so points come every 3.
  w.surface->DrawCircle(w.State(), 500, 240, 400, 240);
  ASSERT_EQ(w.surface->pointList->Count(), 121);
  const POINT first = w.surface->pointList->get();
  EXPECT_EQ(std::make_pair(first.x, first.y), std::make_pair(LONG{501}, LONG{240}));
  w.surface->pointList->Clear();
  const POINT last = w.surface->DrawArc(w.State(), 500, 240, 400, 240, -90);
  EXPECT_EQ(w.surface->pointList->Count(), 31);
  EXPECT_EQ(std::make_pair(last.x, last.y), std::make_pair(LONG{400}, LONG{341}));
  EXPECT_EQ(w.Index(472, 311), 0) << "nothing drawn while collecting";
  w.surface->pointList->Clear();
  w.surface->DrawArc(w.State(), 2000000000, 240, 400, 240, INT_MAX);
  EXPECT_LE(w.surface->pointList->Count(), 1081) << "1-degree steps for a radius past the chord table";
  w.surface->pointList.reset();
  w.W().shading = CShading{INT_MIN, 0, kShadingOn | kShadingHorizontal};
  w.surface->DrawShadedArc(w.State(), INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MIN);
  w.surface->DrawCircle(w.State(), INT_MAX, INT_MIN, 400, 240);
  w.W().shading.flags = 0;
  w.surface->DrawArc(w.State(), INT_MIN, INT_MAX, INT_MAX, INT_MIN, 999999999);
}

// The end points of the straight segments a curve or one piece of it is drawn with.
class Curves : public ::testing::Test {
 protected:
  Curves() { w.surface->pointList = std::make_unique<CPointList>(); }
  int Piece(CCurvePoint p0, CCurvePoint p1, CCurvePoint p2, CCurvePoint p3, int32_t t0 = 0,
            int32_t t1 = 65536) {
    w.surface->pointList->Clear();
    w.surface->DrawCurveSegment(w.State(), p0, p1, p2, p3, t0, t1, w.window, w.surface->pageDC[0], nullptr,
                                nullptr, 800, 480, 0, 0, 0, 0);
    return w.surface->pointList->Count();
  }
  surface_test::SurfaceWindow w;
};

TEST_F(Curves, HalvingStopsAtSixteenLevelsAndExtremePointsFinish) {
  EXPECT_EQ(Piece({0, 0}, {0, 0}, {10000000, 0}, {0, 9000000}, 7, 8), 1)
      << "one parameter unit is one segment";
  EXPECT_LE(Piece({-9000, 0}, {0, 0}, {20000, 10000}, {0, 20000}, 0, 4), 4)
      << "four units split at most twice";
  EXPECT_LE(Piece({INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MIN, 0}, {0, INT_MAX}), 65536);
  w.surface->pointList.reset();
  CCurvePointList list(INT_MAX, INT_MIN);
  for (int32_t v : {INT_MIN, INT_MAX, 0, -3000000, 3000000}) list.Append(v, v / 2);
  w.surface->DrawCurve(w.State(), &list, 1);
}

TEST(FillPolygon, InvalidatesTheBoxOfItsPointsAndNeedsAState) {
  SurfaceWindow w;
  EXPECT_EQ(w.surface->BeginFill(nullptr), 0);
  EXPECT_EQ(w.surface->pointList, nullptr);
  w.surface->BeginFill(w.State());
  for (POINT p : {POINT{10, 20}, POINT{60, 20}, POINT{30, 90}}) w.Line(0, 0, p.x, p.y);
  soft::inspect::ClearInvalidations(w.window);
  EXPECT_EQ(w.surface->FillPolygon(nullptr), 0);
  ASSERT_EQ(w.surface->FillPolygon(w.State()), 1);
  EXPECT_EQ(w.Invalidated(), (std::vector<Edges>{{10, 20, 61, 91}}));
}

}  // namespace
