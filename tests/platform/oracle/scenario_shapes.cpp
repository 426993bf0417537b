// Closed shapes: Rectangle, Ellipse, Arc and Polygon, each with pen and
// brush, with the null pen (what the fill alone covers) and the null brush.
#include <cmath>
#include <functional>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

// Draws the same shapes three times down the canvas, dy apart: black pen
// with red brush, null pen with red brush, black pen with null brush.
void ThreeWays(HDC dc, int dy, const std::function<void(int)>& draw) {
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ oldBrush = SelectObject(dc, red);
  draw(0);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  draw(dy);
  SelectObject(dc, oldPen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  draw(2 * dy);
  SelectObject(dc, oldBrush);
  DeleteObject(red);
}

POINT Radial(double cx, double cy, double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180.0;
  return POINT{static_cast<LONG>(std::lround(cx + 100 * std::cos(a))),
               static_cast<LONG>(std::lround(cy - 100 * std::sin(a)))};
}

}  // namespace

// Boxes exclude their right and bottom edges; the last box is given
// right-to-left and bottom-to-top.
ORACLE_SCENARIO(rectangle_boxes) {
  Canvas c(40, 26);
  ThreeWays(c.dc(), 9, [&](int y) {
    Rectangle(c.dc(), 1, y + 1, 9, y + 7);
    Rectangle(c.dc(), 11, y + 1, 12, y + 2);
    Rectangle(c.dc(), 14, y + 1, 16, y + 3);
    Rectangle(c.dc(), 18, y + 1, 21, y + 4);
    Rectangle(c.dc(), 23, y + 1, 23, y + 5);
    Rectangle(c.dc(), 33, y + 7, 25, y + 1);
  });
  c.Dump(out, "rows: pen+brush, null pen, null brush; boxes 8x6 1x1 2x2 3x3 0x4 reversed-8x6");
}

ORACLE_SCENARIO(ellipse_small) {
  Canvas c(50, 25);
  ThreeWays(c.dc(), 8, [&](int y) {
    Ellipse(c.dc(), 1, y + 1, 2, y + 2);
    Ellipse(c.dc(), 4, y + 1, 6, y + 3);
    Ellipse(c.dc(), 8, y + 1, 11, y + 4);
    Ellipse(c.dc(), 13, y + 1, 17, y + 5);
    Ellipse(c.dc(), 19, y + 1, 24, y + 6);
    Ellipse(c.dc(), 26, y + 1, 32, y + 7);
    Ellipse(c.dc(), 34, y + 1, 41, y + 6);
    Ellipse(c.dc(), 43, y + 1, 48, y + 8);
  });
  c.Dump(out, "rows: pen+brush, null pen, null brush; boxes 1x1..6x6 7x5 5x7");
}

ORACLE_SCENARIO(ellipse_20x11) {
  Canvas c(64, 40);
  ThreeWays(c.dc(), 13, [&](int y) { Ellipse(c.dc(), 1, y + 1, 21, y + 12); });
  int column = 0;
  ThreeWays(c.dc(), 13, [&](int) {
    const int x = 24 + 13 * column++;
    Ellipse(c.dc(), x, 1, x + 11, 21);
  });
  c.Dump(out, "20x11 down the left, 11x20 across: pen+brush, null pen, null brush");
}

// Outlines of mid-sized circles and ellipses, even and odd, with the null
// brush: the shapes arcs are cut from.
ORACLE_SCENARIO(ellipse_outlines) {
  Canvas c(64, 36);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  const RECT boxes[] = {{1, 1, 9, 9},     {11, 1, 20, 10}, {22, 1, 32, 11},  {34, 1, 46, 13},
                        {48, 1, 61, 14},  {1, 16, 17, 32}, {19, 16, 36, 33}, {38, 16, 53, 25},
                        {55, 16, 64, 31}, {38, 27, 52, 35}};
  for (auto& b : boxes) Ellipse(c.dc(), b.left, b.top, b.right, b.bottom);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  c.Dump(out, "8x8 9x9 10x10 12x12 13x13 / 16x16 17x17 15x9 9x15 14x8");
}

namespace {

// Arcs on a box of w x h in 20 x 20 cells, from start to end degrees
// (counterclockwise), one per cell left to right, top to bottom.
struct ArcCase {
  double from, to;
};

void ArcGrid(std::string& out, const char* label, int w, int h, const std::vector<ArcCase>& cases) {
  Canvas c(40, 40);
  for (size_t i = 0; i < cases.size(); ++i) {
    const int l = 2 + 20 * static_cast<int>(i % 2), t = 2 + 20 * static_cast<int>(i / 2);
    const double cx = l + w / 2.0, cy = t + h / 2.0;
    POINT a = Radial(cx, cy, cases[i].from), b = Radial(cx, cy, cases[i].to);
    Arc(c.dc(), l, t, l + w, t + h, a.x, a.y, b.x, b.y);
    Appendf(out, "cell %d: box %d,%d-%d,%d from %g to %g degrees (radials %ld,%ld and %ld,%ld)\n",
            static_cast<int>(i), l, t, l + w, t + h, cases[i].from, cases[i].to, static_cast<long>(a.x),
            static_cast<long>(a.y), static_cast<long>(b.x), static_cast<long>(b.y));
  }
  c.Dump(out, label);
}

}  // namespace

ORACLE_SCENARIO(arc_quadrants_odd) {
  ArcGrid(out, "quadrants I II III IV of a 17x17 box", 17, 17, {{0, 90}, {90, 180}, {180, 270}, {270, 360}});
}

ORACLE_SCENARIO(arc_quadrants_even) {
  ArcGrid(out, "quadrants I II III IV of a 16x12 box", 16, 12, {{0, 90}, {90, 180}, {180, 270}, {270, 360}});
}

ORACLE_SCENARIO(arc_spans) {
  ArcGrid(out, "45->225, 300->60 (through 0), equal radials, 10->350", 16, 16,
          {{45, 225}, {300, 60}, {30, 30}, {10, 350}});
}

// Arc draws nothing with the null pen, ignores the brush, and takes a wide
// pen.
ORACLE_SCENARIO(arc_pens) {
  Canvas c(40, 20);
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ oldBrush = SelectObject(c.dc(), red);
  Arc(c.dc(), 1, 1, 17, 17, 20, 9, 9, 20);  // three quadrants, brush selected
  HGDIOBJ oldPen = SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Arc(c.dc(), 21, 1, 37, 17, 40, 9, 9, 20);
  SelectObject(c.dc(), oldPen);
  SelectObject(c.dc(), oldBrush);
  DeleteObject(red);
  c.Dump(out, "arc with red brush selected; arc with null pen");

  Canvas w(40, 24);
  {
    Selected<HPEN> pen(w.dc(), CreatePen(PS_SOLID, 3, kBlack));
    Arc(w.dc(), 3, 3, 21, 21, 30, 12, 12, 30);
  }
  {
    Selected<HPEN> pen(w.dc(), CreatePen(PS_DOT, 1, kBlack));
    SetBkMode(w.dc(), TRANSPARENT);
    Arc(w.dc(), 22, 2, 38, 22, 30, 0, 30, 30);
  }
  w.Dump(out, "arc with a width-3 pen; dotted transparent arc");
}

ORACLE_SCENARIO(polygon_fill) {
  Canvas c(64, 48);
  const double pi = 3.14159265358979323846;
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ oldBrush = SelectObject(c.dc(), red);
  for (int pass = 0; pass < 2; ++pass) {
    const int y = pass * 24;
    HGDIOBJ oldPen = pass ? SelectObject(c.dc(), GetStockObject(NULL_PEN)) : nullptr;
    const POINT convex[] = {{2, y + 2}, {20, y + 6}, {8, y + 21}};
    Polygon(c.dc(), convex, 3);
    const POINT concave[] = {{22, y + 2}, {38, y + 2}, {38, y + 21}, {30, y + 12}, {22, y + 21}};
    Polygon(c.dc(), concave, 5);
    POINT star[5];
    for (int k = 0; k < 5; ++k) {
      const double a = (90 + 144 * k) * pi / 180;
      star[k] = POINT{static_cast<LONG>(std::lround(51 + 11 * std::cos(a))),
                      static_cast<LONG>(std::lround(y + 12 - 11 * std::sin(a)))};
    }
    Polygon(c.dc(), star, 5);
    if (pass) SelectObject(c.dc(), oldPen);
  }
  SelectObject(c.dc(), oldBrush);
  DeleteObject(red);
  c.Dump(out, "ALTERNATE: triangle, concave, star; top with pen, bottom null pen");
}

ORACLE_SCENARIO(polygon_winding) {
  Canvas c(48, 24);
  SetPolyFillMode(c.dc(), WINDING);
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ oldBrush = SelectObject(c.dc(), red);
  const POINT star[] = {{11, 1}, {18, 21}, {1, 8}, {21, 8}, {4, 21}};
  Polygon(c.dc(), star, 5);
  HGDIOBJ oldPen = SelectObject(c.dc(), GetStockObject(NULL_PEN));
  const POINT star2[] = {{35, 1}, {42, 21}, {25, 8}, {45, 8}, {28, 21}};
  Polygon(c.dc(), star2, 5);
  SelectObject(c.dc(), oldPen);
  SelectObject(c.dc(), oldBrush);
  DeleteObject(red);
  c.Dump(out, "WINDING star with pen, and with null pen");
}

}  // namespace oracle
