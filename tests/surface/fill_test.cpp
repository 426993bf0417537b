// Area fill on the surface: when the collected points are filled, when they
// are left for DiscardFill, and what reaches the window.
#include <gtest/gtest.h>

#include <vector>

#include "surface/grdrv.h"
#include "surface_window.h"

namespace {

using surface_test::SurfaceWindow;

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
  EXPECT_EQ(w.Invalidated(), (std::vector<surface_test::Edges>{{10, 20, 61, 91}}));
}

}  // namespace
