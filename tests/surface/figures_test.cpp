// Circles, arcs, curves and area fill on the surface: the integer
// trigonometry and the cubic they rest on, the points a collecting fill
// takes, how deep the curve halving goes, and when the collected points are
// filled or left for DiscardFill.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "surface/curve_point_list.h"
#include "surface/grdrv.h"
#include "surface/integer_trig.h"
#include "surface_window.h"

namespace {

using surface_test::Edges;
using surface_test::SurfaceWindow;

TEST(IntegerTrig, GivesTheTabledValues) {
  const struct {
    const char* name;
    int32_t (*f)(int32_t);
    int32_t in, out;
  } rows[] = {
      {"sine of a negative angle", SinDeg, -30, -5000},
      {"sine past a turn", SinDeg, 450, 10000},
      {"sine of the most negative angle", SinDeg, INT_MIN, -kSineTable[52]},
      {"cosine of a right angle", CosDeg, 90, 0},
      {"arcsine half way between 0 and 1 goes down", AsinDeg, 87, 0},
      {"arcsine just past half way goes up", AsinDeg, 88, 1},
      {"arcsine just below one", AsinDeg, 9999, 89},
      {"arcsine of one", AsinDeg, 10000, 90},
      {"square root of 4 stops a step early", ISqrt, 4, 1},
      {"square root of 16", ISqrt, 16, 5},
      {"square root of 100", ISqrt, 100, 10},
      {"square root of 3600", ISqrt, 3600, 61},
      {"square root of 10000", ISqrt, 10000, 101},
      {"square root of a negative number", ISqrt, -5, -1},
  };
  for (const auto& c : rows) EXPECT_EQ(c.f(c.in), c.out) << c.name;
}

TEST(IntegerTrig, TurnsPointsCounterclockwiseOnTheScreen) {
  const struct {
    int32_t angle;
    LONG x, y;
  } rows[] = {{90, 400, 140}, {45, 470, 170}, {-90, 400, 340}};
  for (const auto& c : rows) {
    const POINT p = RotatePoint(400, 240, 500, 240, c.angle, 100);
    EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << c.angle;
  }
  EXPECT_EQ(RotateAbout(7, 8, 7, 8, 90).x, 7) << "a point on its centre stays";
}

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

TEST(CurveCubic, RunsFromTheSecondPointToTheThird) {
  const CCubic k = CubicThrough(0, 100, 200, 300);
  EXPECT_EQ((std::vector<int32_t>{k.a, k.b, k.c, k.d}), (std::vector<int32_t>{200, -300, 200, 100}));
  const struct {
    const char* name;
    int32_t value, expected;
  } rows[] = {
      {"starts at the second point", EvalCubic(k.a, k.b, k.c, k.d, 0), 100},
      {"half way", EvalCubic(k.a, k.b, k.c, k.d, 32768), 150},
      {"ends at the third point", EvalCubic(k.a, k.b, k.c, k.d, 65536), 200},
      {"truncates each power toward zero", EvalCubic(-3, 0, 0, 0, 40000), 0},
      {"a chord of one parameter is the cubic there", ChordValue(k.a, k.b, k.c, k.d, 16384, 16384, 99),
       EvalCubic(k.a, k.b, k.c, k.d, 16384)},
      {"a chord runs straight between its ends", ChordValue(k.a, k.b, k.c, k.d, 0, 65536, 16384), 125},
  };
  for (const auto& c : rows) EXPECT_EQ(c.value, c.expected) << c.name;
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

TEST(FillPolygon, FillsOnlyAPolygonItMayDraw) {
  const struct {
    const char* behaviour;
    int points;  // of the square 100,100 .. 200,200, in order
    int foreground, mask;
    int result, left;  // FillPolygon's answer, points still listed
    int inside;        // index at 150,150
  } rows[] = {
      {"three points fill a triangle and are used up", 3, 4, 15, 1, 0, 4},
      {"two points fill nothing and stay", 2, 4, 15, 0, 2, 0},
      {"a mask without the colour draws nothing and leaves the points", 4, 1, 2, 0, 4, 0},
      {"a partial mask merges the colour into the planes", 4, 7, 6, 1, 0, 6},
  };
  const POINT square[4] = {{100, 100}, {200, 100}, {200, 200}, {100, 200}};
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    SurfaceWindow w;
    w.W().foreground = c.foreground, w.W().planeMask = static_cast<uint8_t>(c.mask);
    ASSERT_EQ(w.surface->BeginFill(w.State()), 1);
    for (int i = 0; i < c.points; ++i) w.Line(0, 0, square[i].x, square[i].y);
    EXPECT_EQ(w.surface->FillPolygon(w.State()), c.result);
    EXPECT_EQ(w.surface->pointList->Count(), c.left);
    EXPECT_EQ(w.Index(150, 150), c.inside);
    EXPECT_EQ(w.Index(250, 150), 0);
    w.surface->DiscardFill();
    EXPECT_EQ(w.surface->pointList, nullptr);
  }
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
