// Ellipses and elliptic arcs as GDI draws them. The outline is a walk: the
// first quarter from the right end of the middle to the top (quarter.h),
// then its mirror images counterclockwise round the other three quarters,
// a point that repeats the one before it dropped. A cosmetic pen paints the
// walk point by point, so a pixel the walk passes twice (the middle row of
// an odd height) is painted twice; a wide pen strokes it as a polyline. The
// brush covers each row from the outline's leftmost to its rightmost pixel.
// Every row is computed on its own, so only visible rows cost anything.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/soft/quarter.h"
#include "platform/soft/quarter_rows.h"
#include "platform/soft/raster.h"
#include "platform/soft/stroke.h"
#include "platform/win32.h"

namespace soft {

// A point of the walk: the first-quarter point (X, U) mirrored into
// quarter 1-4 (counterclockwise from the upper right), in the doubled
// coordinates of quarter.h.
struct WalkPoint {
  int quarter = 1;
  int64_t U = 0, X = 0;
  bool operator==(const WalkPoint& o) const { return quarter == o.quarter && U == o.U && X == o.X; }
};

class EllipseShape {
 public:
  // The box must be normalised and non-empty.
  EllipseShape(int64_t left, int64_t top, int64_t right, int64_t bottom);

  // A one-pixel box, which GDI leaves empty.
  bool Empty() const { return width_ == 1 && height_ == 1; }
  // One or two pixels thin: GDI outlines the whole box and fills it less its
  // right column and bottom row, as Rectangle does.
  bool Thin() const { return width_ <= 2 || height_ <= 2; }
  // Two or fewer pixels wide: GDI draws the box rather than the walk.
  bool Narrow() const { return width_ <= 2; }

  // The outline's leftmost and rightmost pixel on row y; false when the
  // outline misses the row.
  bool Extent(int64_t y, int64_t* xl, int64_t* xr) const;

  const QuarterPath& Path() const { return path_; }
  // The quarter path's run on row U (B1 <= U <= Top).
  void QuarterRun(int64_t U, int64_t* lo, int64_t* hi) const { rows_.Run(U, lo, hi); }
  // Those runs as a table by row, or null (see QuarterRows::Table).
  const QuarterRows::Row* QuarterTable() const { return rows_.Table(); }
  int64_t Left() const { return l_; }
  int64_t Top() const { return t_; }
  int64_t Right() const { return r_; }
  int64_t Bottom() const { return b_; }

  // The walk's points on row y, as runs of one quarter: point X = hi down
  // to lo of quarter q lies on row y. Points the walk drops are left out.
  struct Run {
    int quarter;
    int64_t U, lo, hi;
  };
  void RowRuns(int64_t y, std::vector<Run>* runs) const;
  // The same runs handed to visit(run) one by one, in quarter order.
  template <class Visit>
  void ForRowRuns(int64_t y, Visit visit) const {
    if (y < t_ || y >= b_) return;
    const int64_t pu = (t_ + b_) - (2 * y + 1);
    const int64_t u = pu < 0 ? -pu : pu;
    if (u > path_.Top()) return;
    int64_t lo = 0, hi = 0;
    QuarterRun(u, &lo, &hi);
    for (int q = pu < 0 ? 3 : 1; q <= (pu > 0 ? 2 : 4); ++q) {
      Run run{q, u, lo, hi};
      // Dropped points sit at a run's end in walk order.
      if (Dropped(WalkPoint{q, u, run.lo})) run.lo += 2;
      if (Dropped(WalkPoint{q, u, run.hi})) run.hi -= 2;
      if (run.lo <= run.hi) visit(run);
    }
  }

  int64_t PixelX(const WalkPoint& p) const;
  int64_t PixelY(const WalkPoint& p) const;
  // The walk's order: true when a comes before b.
  static bool Before(const WalkPoint& a, const WalkPoint& b);
  // The first point of the walk, and the neighbours of a point (cyclic).
  WalkPoint First() const { return WalkPoint{1, path_.B1(), path_.A()}; }
  WalkPoint Next(const WalkPoint& p) const;
  WalkPoint Prev(const WalkPoint& p) const;
  // The walk ends on a repeat of its first point (odd heights), which a
  // cosmetic pen never paints.
  bool IsClosingRepeat(const WalkPoint& p) const;
  // Whether p comes right after a point the walk dropped.
  bool FollowsDropped(const WalkPoint& p) const;
  // Whether the walk leaves p for the next point diagonally.
  bool DiagonalAfter(const WalkPoint& p) const;

  // The first point whose direction from the centre is at or after the
  // radial through (x, y), counterclockwise (see DrawArc).
  WalkPoint FirstFrom(int64_t x, int64_t y) const;

 private:
  // The walk drops the first point of a quarter when it repeats the last of
  // the quarter before: on the centre column of an odd width and the middle
  // row of an odd height.
  bool Dropped(const WalkPoint& p) const {
    const bool oddWidth = path_.Par() == 0, oddHeight = path_.B1() == 0;
    if (p.quarter == 2 || p.quarter == 4) return oddWidth && p.U == path_.Top() && p.X == path_.Par();
    if (p.quarter == 3) return oddHeight && p.U == path_.B1() && p.X == path_.A();
    return false;
  }
  // The first point of quarter q that the walk keeps, starting the search
  // at its first point in walk order.
  WalkPoint QuarterStart(int q) const;
  WalkPoint QuarterEnd(int q) const;
  bool QuarterEmpty(int q) const;

  int64_t l_, t_, r_, b_;
  uint64_t width_, height_;
  QuarterRows rows_;
  QuarterPath path_;
};

// Ellipse: the brush over the whole ellipse, then the pen over its outline,
// both through the DC's ROP2. A wide pen's outline and the brush do not
// overlap.
void DrawEllipse(PenStroke& pen, const Paint& brush, int64_t left, int64_t top, int64_t right,
                 int64_t bottom);

// Arc: the part of the walk from the first point at or after the start
// radial up to, but not including, the point before the first point at or
// after the end radial. A styled pen's pattern starts at the arc's start; a
// wide pen strokes the part with both end points as a polyline.
void DrawArc(PenStroke& pen, int64_t left, int64_t top, int64_t right, int64_t bottom, POINT start,
             POINT end);

}  // namespace soft
