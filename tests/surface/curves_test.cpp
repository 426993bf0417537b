// Curve interpolation: the cubic of a piece in 16.16 fixed point, the chord
// it is compared with, which pieces a list of points gives, and how deep
// the halving goes.
#include <gtest/gtest.h>

#include <climits>

#include "surface/curve_point_list.h"
#include "surface/grdrv.h"
#include "surface_window.h"

namespace {

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
  int Collected(std::initializer_list<CCurvePoint> points, int closed) {
    CCurvePointList list(points.begin()->x, points.begin()->y);
    for (auto p = points.begin() + 1; p != points.end(); ++p) list.Append(p->x, p->y);
    w.surface->pointList->Clear();
    w.surface->DrawCurve(w.State(), &list, closed);
    return w.surface->pointList->Count();
  }
  int Piece(CCurvePoint p0, CCurvePoint p1, CCurvePoint p2, CCurvePoint p3, int32_t t0 = 0,
            int32_t t1 = 65536) {
    w.surface->pointList->Clear();
    w.surface->DrawCurveSegment(w.State(), p0, p1, p2, p3, t0, t1, w.window, w.surface->pageDC[0], nullptr,
                                nullptr, 800, 480, 0, 0, 0, 0);
    return w.surface->pointList->Count();
  }
  surface_test::SurfaceWindow w;
};

TEST_F(Curves, PiecesFollowTheListAndItsClosure) {
  const int one = Piece({0, 0}, {0, 0}, {100, 0}, {200, 0});
  EXPECT_GT(one, 0);
  EXPECT_EQ(Collected({{0, 0}, {0, 0}, {100, 0}, {200, 0}}, 0), one) << "four open points give one piece";
  EXPECT_EQ(Collected({{0, 0}, {100, 0}, {200, 0}}, 0), 0) << "three open points give none";
  EXPECT_EQ(Collected({{0, 0}, {100, 0}, {100, 100}}, 1), Piece({100, 100}, {0, 0}, {100, 0}, {100, 100}) +
                                                              Piece({0, 0}, {100, 0}, {100, 100}, {0, 0}) +
                                                              Piece({100, 0}, {100, 100}, {0, 0}, {100, 0}))
      << "three closed points give three pieces, wrapping round";
}

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

}  // namespace
