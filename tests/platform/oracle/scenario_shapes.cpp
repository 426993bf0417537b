// Shapes: Rectangle, Ellipse, Arc and Polygon, each with pen and brush, with the null pen (what the fill
// alone covers) and the null brush; the ellipse walk in detail (points an outline visits twice, arc ends on
// radials through outline points) and wide pens on slopes, ellipses and arcs.
#include <cmath>
#include <functional>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

// Draws the same shapes three times down the canvas, dy apart: black pen with red brush, null pen with red
// brush, black pen with null brush.
void ThreeWays(HDC dc, int dy, const std::function<void(int)>& draw) {
  auto red = Brush(dc, kRed);
  draw(0);
  HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
  draw(dy);
  SelectObject(dc, pen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  draw(2 * dy);
}

POINT Radial(double cx, double cy, double radius, double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180.0;
  return POINT{LONG(std::lround(cx + radius * std::cos(a))), LONG(std::lround(cy - radius * std::sin(a)))};
}

}  // namespace

// Boxes exclude their right and bottom edges; the last box is given right-to-left and bottom-to-top.
ORACLE_SCENARIO(rectangle_boxes) {
  Canvas c(40, 26);
  ThreeWays(c.dc(), 9, [&](int y) {
    const RECT boxes[] = {{1, y + 1, 9, y + 7},   {11, y + 1, 12, y + 2}, {14, y + 1, 16, y + 3},
                          {18, y + 1, 21, y + 4}, {23, y + 1, 23, y + 5}, {33, y + 7, 25, y + 1}};
    for (auto& b : boxes) Rectangle(c.dc(), b.left, b.top, b.right, b.bottom);
  });
  c.Dump(out, "rows: pen+brush, null pen, null brush; boxes 8x6 1x1 2x2 3x3 0x4 reversed-8x6");
}

ORACLE_SCENARIO(ellipse_small) {
  Canvas c(50, 25);
  ThreeWays(c.dc(), 8, [&](int y) {
    const RECT boxes[] = {{1, y + 1, 2, y + 2},   {4, y + 1, 6, y + 3},   {8, y + 1, 11, y + 4},
                          {13, y + 1, 17, y + 5}, {19, y + 1, 24, y + 6}, {26, y + 1, 32, y + 7},
                          {34, y + 1, 41, y + 6}, {43, y + 1, 48, y + 8}};
    for (auto& b : boxes) Ellipse(c.dc(), b.left, b.top, b.right, b.bottom);
  });
  c.Dump(out, "rows: pen+brush, null pen, null brush; boxes 1x1..6x6 7x5 5x7");
}

ORACLE_SCENARIO(ellipse_20x11) {
  Canvas c(64, 40);
  ThreeWays(c.dc(), 13, [&](int y) { Ellipse(c.dc(), 1, y + 1, 21, y + 12); });
  ThreeWays(c.dc(), 13, [&](int x) { Ellipse(c.dc(), 24 + x, 1, 35 + x, 21); });
  c.Dump(out, "20x11 down the left, 11x20 across: pen+brush, null pen, null brush");
}

// Outlines of mid-sized circles and ellipses, even and odd, with the null brush: the shapes arcs are cut
// from.
ORACLE_SCENARIO(ellipse_outlines) {
  Canvas c(64, 36);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  const RECT boxes[] = {{1, 1, 9, 9},     {11, 1, 20, 10}, {22, 1, 32, 11},  {34, 1, 46, 13},
                        {48, 1, 61, 14},  {1, 16, 17, 32}, {19, 16, 36, 33}, {38, 16, 53, 25},
                        {55, 16, 64, 31}, {38, 27, 52, 35}};
  for (auto& b : boxes) Ellipse(c.dc(), b.left, b.top, b.right, b.bottom);
  c.Dump(out, "8x8 9x9 10x10 12x12 13x13 / 16x16 17x17 15x9 9x15 14x8");
}

namespace {

// Arcs on a box of w x h in 20 x 20 cells, from start to end degrees (counterclockwise), one per cell left to
// right, top to bottom.
void ArcGrid(std::string& out, const char* label, int w, int h, std::initializer_list<double> degrees) {
  Canvas c(40, 40);
  for (size_t i = 0; i < degrees.size() / 2; ++i) {
    const int l = 2 + 20 * int(i % 2), t = 2 + 20 * int(i / 2);
    const double from = degrees.begin()[2 * i], to = degrees.begin()[2 * i + 1];
    POINT a = Radial(l + w / 2.0, t + h / 2.0, 100, from), b = Radial(l + w / 2.0, t + h / 2.0, 100, to);
    Arc(c.dc(), l, t, l + w, t + h, a.x, a.y, b.x, b.y);
    Appendf(out, "cell %d: box %d,%d-%d,%d from %g to %g degrees (radials %ld,%ld and %ld,%ld)\n", int(i), l,
            t, l + w, t + h, from, to, long(a.x), long(a.y), long(b.x), long(b.y));
  }
  c.Dump(out, label);
}

}  // namespace

ORACLE_SCENARIO_CALL(arc_quadrants_odd, ArcGrid(out, "quadrants I II III IV of a 17x17 box", 17, 17,
                                                {0, 90, 90, 180, 180, 270, 270, 360}));
ORACLE_SCENARIO_CALL(arc_quadrants_even, ArcGrid(out, "quadrants I II III IV of a 16x12 box", 16, 12,
                                                 {0, 90, 90, 180, 180, 270, 270, 360}));
ORACLE_SCENARIO_CALL(arc_spans, ArcGrid(out, "45->225, 300->60 (through 0), equal radials, 10->350", 16, 16,
                                        {45, 225, 300, 60, 30, 30, 10, 350}));

// Arc draws nothing with the null pen, ignores the brush, and takes a wide pen.
ORACLE_SCENARIO(arc_pens) {
  Canvas c(40, 20), w(40, 24);
  auto red = Brush(c.dc(), kRed);
  Arc(c.dc(), 1, 1, 17, 17, 20, 9, 9, 20);  // three quadrants, brush selected
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Arc(c.dc(), 21, 1, 37, 17, 40, 9, 9, 20);
  c.Dump(out, "arc with red brush selected; arc with null pen");
  auto wide = Pen(w.dc(), PS_SOLID, 3, kBlack);
  Arc(w.dc(), 3, 3, 21, 21, 30, 12, 12, 30);
  auto dotted = Pen(w.dc(), PS_DOT, 1, kBlack);
  SetBkMode(w.dc(), TRANSPARENT);
  Arc(w.dc(), 22, 2, 38, 22, 30, 0, 30, 30);
  w.Dump(out, "arc with a width-3 pen; dotted transparent arc");
}

ORACLE_SCENARIO(polygon_fill) {
  Canvas c(64, 48);
  auto red = Brush(c.dc(), kRed);
  for (int y : {0, 24}) {
    if (y) SelectObject(c.dc(), GetStockObject(NULL_PEN));
    Poly(c.dc(), {{2, y + 2}, {20, y + 6}, {8, y + 21}});
    Poly(c.dc(), {{22, y + 2}, {38, y + 2}, {38, y + 21}, {30, y + 12}, {22, y + 21}});
    POINT star[5];
    for (int k = 0; k < 5; ++k) star[k] = Radial(51, y + 12, 11, 90 + 144 * k);
    Polygon(c.dc(), star, 5);
  }
  c.Dump(out, "ALTERNATE: triangle, concave, star; top with pen, bottom null pen");
}

ORACLE_SCENARIO(polygon_winding) {
  Canvas c(48, 24);
  SetPolyFillMode(c.dc(), WINDING);
  auto red = Brush(c.dc(), kRed);
  Poly(c.dc(), {{11, 1}, {18, 21}, {1, 8}, {21, 8}, {4, 21}});
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Poly(c.dc(), {{35, 1}, {42, 21}, {25, 8}, {45, 8}, {28, 21}});
  c.Dump(out, "WINDING star with pen, and with null pen");
}

// An odd height walks its middle row out along the upper half and back along the lower one: R2_NOT keeps only
// the row's ends, and an opaque dotted pen's second pass paints over the first.
ORACLE_SCENARIO(arc_walk_repeats) {
  Canvas c(48, 24);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  SetROP2(c.dc(), R2_NOT);
  Ellipse(c.dc(), 1, 1, 11, 4);
  Ellipse(c.dc(), 13, 1, 29, 6);
  SetROP2(c.dc(), R2_COPYPEN);
  Arc(c.dc(), 1, 15, 18, 24, 30, 19, 30, 19);  // equal radials on an odd box
  auto pen = Pen(c.dc(), PS_DOT, 1, kBlack);
  Ellipse(c.dc(), 31, 1, 43, 2);
  Ellipse(c.dc(), 31, 4, 47, 7);
  // From below three o'clock round to just before it: the arc crosses the middle row's right end last.
  Arc(c.dc(), 1, 9, 23, 12, 20, 30, 10, 40);
  Arc(c.dc(), 25, 9, 47, 14, 47, 13, 47, 12);
  c.Dump(out, "R2_NOT flat ellipses; dotted flat ellipses and arcs; equal radials");
}

// Radials exactly through outline points, in each quadrant: on the upper side a point on the radial belongs
// after it, on the lower side before.
ORACLE_SCENARIO(arc_radial_ties) {
  Canvas c(74, 40);
  const int dirs[][2] = {{7, 1}, {5, 5}, {-2, 7}, {-7, 0}, {-5, -5}, {0, -7}, {5, -5}, {7, 0}};
  for (int i = 0; i < 8; ++i) {
    // A 16 x 16 box: its points' directions count from its centre.
    const int l = 1 + 18 * (i % 4), t = 1 + 19 * (i / 4), cx = l + 8, cy = t + 8;
    Arc(c.dc(), l, t, l + 16, t + 16, cx + 10 * dirs[i][0], cy - 10 * dirs[i][1], cx - 10 * dirs[i][1],
        cy - 10 * dirs[i][0]);
    Appendf(out, "cell %d: box %d,%d 16x16 from direction %d,%d\n", i, l, t, dirs[i][0], dirs[i][1]);
  }
  c.Dump(out, "quarter arcs starting on a radial through an outline point");
}

// Wide pens on slopes: the band's corners towards +x round away from the line, the others to the nearest
// pixel; ellipses and arcs are stroked as polylines through their outline's points.
ORACLE_SCENARIO(wide_pen_slopes) {
  Canvas c(64, 64), d(64, 40);
  const int ends[][2] = {{10, 10}, {12, 6}, {12, 3}, {10, -10}, {6, 8}, {-12, 5}};
  for (int width = 2; width <= 5; ++width) {
    auto pen = Pen(c.dc(), PS_SOLID, width, kBlack);
    for (int i = 0; i < 6; ++i) {
      const int x = 4 + 10 * i + (i == 5 ? 8 : 0), y = 5 + 14 * (width - 2) + (ends[i][1] < 0 ? 6 : 0);
      Segments(c.dc(), {{x, y, x + ends[i][0] / 2, y + ends[i][1] / 2}});
    }
  }
  c.Dump(out, "widths 2-5 down the page; slopes 1, 1/2, 1/4, -1, 4/3, -5/12");
  SelectObject(d.dc(), GetStockObject(NULL_BRUSH));
  auto four = Pen(d.dc(), PS_SOLID, 4, kBlack);
  Ellipse(d.dc(), 3, 3, 20, 16);
  Arc(d.dc(), 24, 3, 40, 19, 50, 3, 24, 30);
  auto three = Pen(d.dc(), PS_SOLID, 3, kBlack);
  Ellipse(d.dc(), 44, 3, 61, 20);
  Arc(d.dc(), 3, 22, 30, 29, -18, 969, 39, 410);  // one point: a single cap
  Arc(d.dc(), 34, 22, 60, 37, 60, 30, 60, 29);    // nothing between the radials
  d.Dump(out, "width 4 ellipse and arc, width 3 ellipse, one-point and empty arcs");
}

}  // namespace oracle
