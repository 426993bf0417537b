// Lines: the pixel sequence of LineTo in every octant, Polyline vertices,
// cosmetic pen styles and wide pens.
#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kRed = RGB(255, 0, 0);

// Every pixel of the canvas that is not white, in drawing order along
// (dx, dy), as offsets from (ox, oy).
std::string PixelList(const Canvas& c, int ox, int oy, int dx, int dy) {
  std::vector<std::pair<long, std::pair<int, int>>> px;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.At(x, y) != kWhite) px.push_back({long{dx} * (x - ox) + long{dy} * (y - oy), {x - ox, y - oy}});
  std::stable_sort(px.begin(), px.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string s;
  for (auto& p : px) Appendf(s, " %d,%d", p.second.first, p.second.second);
  return s.empty() ? " none" : s;
}

// The eight images of (dx, dy) under the symmetries of the square: one line
// per octant, drawn both ways round across the set.
std::vector<std::pair<int, int>> Octants(int dx, int dy) {
  std::set<std::pair<int, int>> seen;
  std::vector<std::pair<int, int>> out;
  const std::pair<int, int> all[] = {{dx, dy},   {dy, dx},   {-dy, dx}, {-dx, dy},
                                     {-dx, -dy}, {-dy, -dx}, {dy, -dx}, {dx, -dy}};
  for (auto& p : all)
    if (seen.insert(p).second) out.push_back(p);
  return out;
}

}  // namespace

// Slopes with Bresenham ties (8,4), (4,1), (10,3) show the tie rule per
// octant; the end pixel must be missing and the current position moved.
ORACLE_SCENARIO(lineto_octants) {
  const std::pair<int, int> bases[] = {{8, 4}, {4, 1}, {10, 3}, {7, 3}, {6, 6}, {9, 0}, {2, 1}, {1, 0}};
  Canvas c(41, 41);
  out += "LineTo from (20,20) by (dx,dy): pixels as offsets in drawing order; pos after\n";
  for (auto& b : bases) {
    for (auto& d : Octants(b.first, b.second)) {
      c.Fill(kWhite);
      MoveToEx(c.dc(), 20, 20, nullptr);
      BOOL ok = LineTo(c.dc(), 20 + d.first, 20 + d.second);
      POINT pos{};
      GetCurrentPositionEx(c.dc(), &pos);
      Appendf(out, "(%d,%d) ok=%d pos=%ld,%ld:%s\n", d.first, d.second, ok, static_cast<long>(pos.x),
              static_cast<long>(pos.y), PixelList(c, 20, 20, d.first, d.second).c_str());
    }
  }
  c.Fill(kWhite);
  MoveToEx(c.dc(), 20, 20, nullptr);
  LineTo(c.dc(), 20, 20);
  Appendf(out, "(0,0):%s\n", PixelList(c, 20, 20, 1, 0).c_str());
}

// Each segment leaves out its own end pixel, so with R2_NOT a vertex is
// inverted once and a closed figure's start pixel once; a retraced stretch
// is inverted twice and disappears.
ORACLE_SCENARIO(polyline_vertices) {
  Canvas c(32, 16);
  MoveToEx(c.dc(), 1, 1, nullptr);
  const POINT zigzag[] = {{2, 12}, {8, 2}, {14, 12}, {20, 2}, {26, 12}};
  BOOL ok = Polyline(c.dc(), zigzag, 5);
  POINT pos{};
  GetCurrentPositionEx(c.dc(), &pos);
  Appendf(out, "Polyline ok=%d, current position stays (1,1): %ld,%ld\n", ok, static_cast<long>(pos.x),
          static_cast<long>(pos.y));
  c.Dump(out, "zigzag R2_COPYPEN");

  c.Fill(kWhite);
  SetROP2(c.dc(), R2_NOT);
  const POINT closed[] = {{2, 2}, {20, 4}, {8, 13}, {2, 2}};
  Polyline(c.dc(), closed, 4);
  const POINT retrace[] = {{22, 3}, {30, 3}, {25, 3}, {25, 14}};
  Polyline(c.dc(), retrace, 4);
  const POINT single[] = {{28, 8}};
  Appendf(out, "Polyline with one point ok=%d\n", Polyline(c.dc(), single, 1));
  c.Dump(out, "closed and retraced R2_NOT");
}

namespace {

struct StyleCase {
  const char* name;
  int style;
};
const StyleCase kStyles[] = {
    {"PS_DASH", PS_DASH}, {"PS_DOT", PS_DOT}, {"PS_DASHDOT", PS_DASHDOT}, {"PS_DASHDOTDOT", PS_DASHDOTDOT}};

}  // namespace

// Each style and background mode gets three rows: one LineTo across, two
// LineTo calls meeting at x=14 (does the pattern restart?), and a Polyline
// with vertices at 14 and 30 (does it carry on across vertices?).
ORACLE_SCENARIO(pen_style_rows) {
  Canvas c(64, 40);
  SetBkColor(c.dc(), kYellow);
  int y = 0;
  for (auto& s : kStyles) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
      Appendf(out, "rows %d-%d: %s %s (LineTo; LineTo+LineTo at x=14; Polyline via 14,30)\n", y, y + 2,
              s.name, mode == OPAQUE ? "OPAQUE" : "TRANSPARENT");
      Selected<HPEN> pen(c.dc(), CreatePen(s.style, 1, kBlack));
      SetBkMode(c.dc(), mode);
      MoveToEx(c.dc(), 1, y, nullptr);
      LineTo(c.dc(), 63, y);
      MoveToEx(c.dc(), 1, y + 1, nullptr);
      LineTo(c.dc(), 14, y + 1);
      LineTo(c.dc(), 63, y + 1);
      const POINT pts[] = {{1, y + 2}, {14, y + 2}, {30, y + 2}, {63, y + 2}};
      Polyline(c.dc(), pts, 4);
      y += 5;
    }
  }
  c.Dump(out, "styled rows, black pen, yellow background colour");
}

// Where the pattern starts on lines drawn right to left, upward, and along
// x-major and y-major slopes.
ORACLE_SCENARIO(pen_style_slopes) {
  Canvas c(64, 48);
  SetBkColor(c.dc(), kYellow);
  Selected<HPEN> pen(c.dc(), CreatePen(PS_DASHDOT, 1, kBlack));
  MoveToEx(c.dc(), 62, 1, nullptr);  // right to left
  LineTo(c.dc(), 1, 1);
  MoveToEx(c.dc(), 1, 46, nullptr);  // upward
  LineTo(c.dc(), 1, 4);
  MoveToEx(c.dc(), 4, 4, nullptr);  // diagonal
  LineTo(c.dc(), 44, 44);
  MoveToEx(c.dc(), 8, 4, nullptr);  // x-major
  LineTo(c.dc(), 62, 22);
  MoveToEx(c.dc(), 6, 8, nullptr);  // y-major
  LineTo(c.dc(), 22, 46);
  MoveToEx(c.dc(), 62, 46, nullptr);  // x-major, backwards
  LineTo(c.dc(), 30, 30);
  c.Dump(out, "PS_DASHDOT opaque on slopes");
}

// Styled outlines of shapes: where the pattern starts and whether it runs on
// round the corners.
ORACLE_SCENARIO(pen_style_shapes) {
  Canvas c(64, 40);
  SetBkColor(c.dc(), kYellow);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  {
    Selected<HPEN> pen(c.dc(), CreatePen(PS_DASH, 1, kBlack));
    Rectangle(c.dc(), 1, 1, 30, 18);
  }
  {
    Selected<HPEN> pen(c.dc(), CreatePen(PS_DOT, 1, kBlack));
    Rectangle(c.dc(), 33, 1, 62, 18);
    Ellipse(c.dc(), 33, 20, 62, 39);
  }
  {
    Selected<HPEN> pen(c.dc(), CreatePen(PS_DASHDOTDOT, 1, kBlack));
    Ellipse(c.dc(), 1, 20, 30, 39);
  }
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  c.Dump(out, "dashed rectangle, dotted rectangle and ellipse, dash-dot-dot ellipse");
}

namespace {

void WideLines(std::string& out, int width) {
  Canvas c(48, 32);
  Selected<HPEN> pen(c.dc(), CreatePen(PS_SOLID, width, kBlack));
  MoveToEx(c.dc(), 3, 3, nullptr);  // horizontal
  LineTo(c.dc(), 20, 3);
  MoveToEx(c.dc(), 4, 9, nullptr);  // vertical
  LineTo(c.dc(), 4, 28);
  MoveToEx(c.dc(), 10, 10, nullptr);  // diagonal
  LineTo(c.dc(), 22, 22);
  MoveToEx(c.dc(), 26, 4, nullptr);  // short
  LineTo(c.dc(), 28, 4);
  MoveToEx(c.dc(), 34, 4, nullptr);  // zero length
  LineTo(c.dc(), 34, 4);
  MoveToEx(c.dc(), 27, 12, nullptr);  // corner: join between LineTo calls
  LineTo(c.dc(), 43, 12);
  LineTo(c.dc(), 43, 28);
  const POINT pts[] = {{10, 28}, {20, 28}, {30, 20}};  // corner within a Polyline
  Polyline(c.dc(), pts, 3);
  char label[64];
  std::snprintf(label, sizeof label, "solid pen width %d", width);
  c.Dump(out, label);
}

}  // namespace

ORACLE_SCENARIO(wide_pen_3) {
  WideLines(out, 3);
}
ORACLE_SCENARIO(wide_pen_5) {
  WideLines(out, 5);
}

// Wide pens on shapes, a wide dashed pen (drawn solid?) and an odd ROP2 so
// overlapping end caps and joins show whether pixels are painted twice.
ORACLE_SCENARIO(wide_pen_shapes) {
  Canvas c(64, 40);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  {
    Selected<HPEN> pen(c.dc(), CreatePen(PS_SOLID, 3, kBlack));
    Rectangle(c.dc(), 2, 2, 20, 16);
    Ellipse(c.dc(), 24, 2, 42, 16);
  }
  {
    Selected<HPEN> pen(c.dc(), CreatePen(PS_SOLID, 5, kRed));
    Rectangle(c.dc(), 2, 20, 20, 38);
    Ellipse(c.dc(), 24, 20, 42, 38);
  }
  {
    Selected<HPEN> pen(c.dc(), CreatePen(PS_DASH, 3, kBlack));
    MoveToEx(c.dc(), 46, 3, nullptr);
    LineTo(c.dc(), 46, 37);
  }
  {
    SetROP2(c.dc(), R2_NOT);
    Selected<HPEN> pen(c.dc(), CreatePen(PS_SOLID, 3, kBlack));
    const POINT pts[] = {{52, 3}, {60, 12}, {52, 20}, {60, 30}};
    Polyline(c.dc(), pts, 4);
    SetROP2(c.dc(), R2_COPYPEN);
  }
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  c.Dump(out, "wide rectangle and ellipse outlines, dashed width 3, R2_NOT polyline width 3");
}

}  // namespace oracle
