// Circles and arcs: the integer trigonometry they rest on, circle boxes
// corrected to the cell shape, arc ends and directions, shaded arcs as
// chains of shaded chords, and the points a collecting fill takes.
#include <gtest/gtest.h>

#include <climits>

#include "surface/grdrv.h"
#include "surface/integer_trig.h"
#include "surface_window.h"

namespace {

using surface_test::Edges;
using surface_test::Geometry;
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

TEST(IntegerTrig, TheChordStepShrinksWithThePixelRadius) {
  // Upper pixel radius of each step, from the step table.
  const struct {
    int32_t upTo, step;
  } table[] = {{1, 60},  {2, 42},  {3, 32},  {4, 28},  {5, 26},   {6, 24},     {7, 22},
               {9, 20},  {10, 18}, {15, 16}, {20, 14}, {27, 12},  {40, 10},    {66, 8},
               {132, 6}, {360, 4}, {362, 2}, {364, 4}, {3228, 2}, {INT_MAX, 0}};
  EXPECT_EQ(ChordStep(400, 240, 400, 240, 800, 480), 360) << "a point circle";
  for (int32_t d = 1; d < 4000; ++d) {
    const int32_t r = ISqrt(d * d);
    int32_t expected = 0;
    for (size_t i = 0; expected == 0 && i < std::size(table); ++i)
      if (r <= table[i].upTo) expected = table[i].step;
    ASSERT_EQ(ChordStep(0, 0, d, 0, 800, 480), expected) << "pixel radius " << r;
  }
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

TEST(Circles, ArcsEndWhereTheyTurnToAndDrawOnlyTheirPart) {
  const struct {
    int angle;
    LONG endX, endY;
    POINT drawn, empty;
  } rows[] = {
      {90, 400, 139, {472, 169}, {471, 311}},   // counterclockwise
      {-90, 400, 341, {471, 311}, {472, 169}},  // clockwise
      {360, 501, 240, {330, 311}, {400, 240}},  // a whole turn draws the whole ellipse
  };
  for (const auto& c : rows) {
    SurfaceWindow w;
    w.W().foreground = 4;
    const POINT end = w.surface->DrawArc(w.State(), 500, 240, 400, 240, c.angle);
    EXPECT_EQ(std::make_pair(end.x, end.y), std::make_pair(c.endX, c.endY)) << c.angle;
    EXPECT_EQ(w.Index(c.drawn.x, c.drawn.y), 4) << c.angle;
    EXPECT_EQ(w.Index(c.empty.x, c.empty.y), 0) << c.angle;
  }
  SurfaceWindow w;  // an arc starting on its centre plots the position
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

}  // namespace
