// The ellipse walk in detail: points an outline visits twice, arc ends on
// radials through outline points, and wide pens on slopes, ellipses and
// arcs.
#include "tests/platform/oracle/scenarios.h"

namespace oracle {

// An odd height walks its middle row out along the upper half and back
// along the lower one: R2_NOT keeps only the row's ends, and an opaque
// dotted pen's second pass paints over the first.
ORACLE_SCENARIO(arc_walk_repeats) {
  Canvas c(48, 24);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  SetROP2(c.dc(), R2_NOT);
  Boxes(c.dc(), Ellipse, {{1, 1, 11, 4}, {13, 1, 29, 6}});
  SetROP2(c.dc(), R2_COPYPEN);
  {
    auto pen = Pen(c.dc(), PS_DOT, 1, kBlack);
    Boxes(c.dc(), Ellipse, {{31, 1, 43, 2}, {31, 4, 47, 7}});
    // From below three o'clock round to just before it: the arc crosses the
    // middle row's right end last.
    Arc(c.dc(), 1, 9, 23, 12, 20, 30, 10, 40);
    Arc(c.dc(), 25, 9, 47, 14, 47, 13, 47, 12);
  }
  Arc(c.dc(), 1, 15, 18, 24, 30, 19, 30, 19);  // equal radials on an odd box
  c.Dump(out, "R2_NOT flat ellipses; dotted flat ellipses and arcs; equal radials");
}

// Radials exactly through outline points, in each quadrant: on the upper
// side a point on the radial belongs after it, on the lower side before.
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

// Wide pens on slopes: the band's corners towards +x round away from the
// line, the others to the nearest pixel; ellipses and arcs are stroked as
// polylines through their outline's points.
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
