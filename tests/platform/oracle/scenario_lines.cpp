// Lines: the pixel sequence of LineTo in every octant, Polyline vertices, cosmetic pen styles and wide pens.
#include <algorithm>
#include <utility>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

// Every pixel of the canvas that is not white, in drawing order along (dx, dy), as offsets from (ox, oy).
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

}  // namespace

// Slopes with Bresenham ties (8,4), (4,1), (10,3) show the tie rule per octant; the end pixel must be missing
// and the current position moved.
ORACLE_SCENARIO(lineto_octants) {
  const std::pair<int, int> bases[] = {{8, 4}, {4, 1}, {10, 3}, {7, 3}, {6, 6}, {9, 0}, {2, 1}, {1, 0}};
  Canvas c(41, 41);
  out += "LineTo from (20,20) by (dx,dy): pixels as offsets in drawing order; pos after\n";
  for (auto& b : bases) {
    // The eight images of the slope under the symmetries of the square: one line per octant, drawn both ways
    // round across the set.
    const int dx = b.first, dy = b.second;
    const std::pair<int, int> all[] = {{dx, dy},   {dy, dx},   {-dy, dx}, {-dx, dy},
                                       {-dx, -dy}, {-dy, -dx}, {dy, -dx}, {dx, -dy}};
    for (auto d = std::begin(all); d != std::end(all); ++d) {
      if (std::find(std::begin(all), d, *d) != d) continue;
      c.Fill(kWhite);
      MoveToEx(c.dc(), 20, 20, nullptr);
      BOOL ok = LineTo(c.dc(), 20 + d->first, 20 + d->second);
      POINT pos{};
      GetCurrentPositionEx(c.dc(), &pos);
      Appendf(out, "(%d,%d) ok=%d pos=%ld,%ld:%s\n", d->first, d->second, ok, long(pos.x), long(pos.y),
              PixelList(c, 20, 20, d->first, d->second).c_str());
    }
  }
  c.Fill(kWhite);
  Segments(c.dc(), {{20, 20, 20, 20}});
  Appendf(out, "(0,0):%s\n", PixelList(c, 20, 20, 1, 0).c_str());
}

// Each segment leaves out its own end pixel, so with R2_NOT a vertex is inverted once and a closed figure's
// start pixel once; a retraced stretch is inverted twice and disappears.
ORACLE_SCENARIO(polyline_vertices) {
  Canvas c(32, 16);
  MoveToEx(c.dc(), 1, 1, nullptr);
  BOOL ok = Lines(c.dc(), {{2, 12}, {8, 2}, {14, 12}, {20, 2}, {26, 12}});
  POINT pos{};
  GetCurrentPositionEx(c.dc(), &pos);
  Appendf(out, "Polyline ok=%d, current position stays (1,1): %ld,%ld\n", ok, long(pos.x), long(pos.y));
  c.Dump(out, "zigzag R2_COPYPEN");
  c.Fill(kWhite);
  SetROP2(c.dc(), R2_NOT);
  Lines(c.dc(), {{2, 2}, {20, 4}, {8, 13}, {2, 2}});
  Lines(c.dc(), {{22, 3}, {30, 3}, {25, 3}, {25, 14}});
  Appendf(out, "Polyline with one point ok=%d\n", Lines(c.dc(), {{28, 8}}));
  c.Dump(out, "closed and retraced R2_NOT");
}

// Each style and background mode gets three rows: one LineTo across, two LineTo calls meeting at x=14 (does
// the pattern restart?), and a Polyline with vertices at 14 and 30 (does it carry on across vertices?).
ORACLE_SCENARIO(pen_style_rows) {
  const char* names[] = {"PS_DASH", "PS_DOT", "PS_DASHDOT", "PS_DASHDOTDOT"};
  Canvas c(64, 40);
  SetBkColor(c.dc(), kYellow);
  int y = 0;
  for (int style = PS_DASH; style <= PS_DASHDOTDOT; ++style)
    for (int mode : {OPAQUE, TRANSPARENT}) {
      Appendf(out, "rows %d-%d: %s %s (LineTo; LineTo+LineTo at x=14; Polyline via 14,30)\n", y, y + 2,
              names[style - PS_DASH], mode == OPAQUE ? "OPAQUE" : "TRANSPARENT");
      auto pen = Pen(c.dc(), style, 1, kBlack);
      SetBkMode(c.dc(), mode);
      Path(c.dc(), {{1, y}, {63, y}});
      Path(c.dc(), {{1, y + 1}, {14, y + 1}, {63, y + 1}});
      Lines(c.dc(), {{1, y + 2}, {14, y + 2}, {30, y + 2}, {63, y + 2}});
      y += 5;
    }
  c.Dump(out, "styled rows, black pen, yellow background colour");
}

// Where the pattern starts on lines drawn right to left, upward, and along x-major and y-major slopes.
ORACLE_SCENARIO(pen_style_slopes) {
  Canvas c(64, 48);
  SetBkColor(c.dc(), kYellow);
  auto pen = Pen(c.dc(), PS_DASHDOT, 1, kBlack);
  // Right to left, upward, diagonal, x-major, y-major, x-major backwards.
  Segments(c.dc(),
           {{62, 1, 1, 1}, {1, 46, 1, 4}, {4, 4, 44, 44}, {8, 4, 62, 22}, {6, 8, 22, 46}, {62, 46, 30, 30}});
  c.Dump(out, "PS_DASHDOT opaque on slopes");
}

// Styled outlines of shapes: where the pattern starts and whether it runs on round the corners.
ORACLE_SCENARIO(pen_style_shapes) {
  Canvas c(64, 40);
  SetBkColor(c.dc(), kYellow);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  auto dash = Pen(c.dc(), PS_DASH, 1, kBlack);
  Rectangle(c.dc(), 1, 1, 30, 18);
  auto dot = Pen(c.dc(), PS_DOT, 1, kBlack);
  Rectangle(c.dc(), 33, 1, 62, 18);
  Ellipse(c.dc(), 33, 20, 62, 39);
  auto dashDotDot = Pen(c.dc(), PS_DASHDOTDOT, 1, kBlack);
  Ellipse(c.dc(), 1, 20, 30, 39);
  c.Dump(out, "dashed rectangle, dotted rectangle and ellipse, dash-dot-dot ellipse");
}

namespace {

void WideLines(std::string& out, int width) {
  Canvas c(48, 32);
  auto pen = Pen(c.dc(), PS_SOLID, width, kBlack);
  // Horizontal, vertical, diagonal, short, zero length.
  Segments(c.dc(), {{3, 3, 20, 3}, {4, 9, 4, 28}, {10, 10, 22, 22}, {26, 4, 28, 4}, {34, 4, 34, 4}});
  Path(c.dc(), {{27, 12}, {43, 12}, {43, 28}});   // a join between LineTo calls
  Lines(c.dc(), {{10, 28}, {20, 28}, {30, 20}});  // a corner within a Polyline
  std::string label;
  Appendf(label, "solid pen width %d", width);
  c.Dump(out, label.c_str());
}

}  // namespace

ORACLE_SCENARIO_CALL(wide_pen_3, WideLines(out, 3));
ORACLE_SCENARIO_CALL(wide_pen_5, WideLines(out, 5));

// Wide pens on shapes, a wide dashed pen (drawn solid?) and an odd ROP2 so overlapping end caps and joins
// show whether pixels are painted twice.
ORACLE_SCENARIO(wide_pen_shapes) {
  Canvas c(64, 40);
  SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
  auto black = Pen(c.dc(), PS_SOLID, 3, kBlack);
  Rectangle(c.dc(), 2, 2, 20, 16);
  Ellipse(c.dc(), 24, 2, 42, 16);
  auto red = Pen(c.dc(), PS_SOLID, 5, kRed);
  Rectangle(c.dc(), 2, 20, 20, 38);
  Ellipse(c.dc(), 24, 20, 42, 38);
  auto dashed = Pen(c.dc(), PS_DASH, 3, kBlack);
  Segments(c.dc(), {{46, 3, 46, 37}});
  SetROP2(c.dc(), R2_NOT);
  auto inverting = Pen(c.dc(), PS_SOLID, 3, kBlack);
  Lines(c.dc(), {{52, 3}, {60, 12}, {52, 20}, {60, 30}});
  c.Dump(out, "wide rectangle and ellipse outlines, dashed width 3, R2_NOT polyline width 3");
}

}  // namespace oracle
