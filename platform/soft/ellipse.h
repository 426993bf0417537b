// Ellipses and elliptic arcs. The ellipse of a box [left, right) x [top,
// bottom) runs through the centres of the box's edge pixels; a pixel belongs
// to it when the curve passes inside the pixel's diamond (the rule in
// EllipseShape::WidestOffset). A cosmetic outline is the ellipse's pixels
// that have a 4-neighbour outside, a wide outline the ring between the
// ellipses of the box grown and shrunk by half the pen width. Every row is
// computed on its own, so only visible rows cost anything.
#pragma once

#include <cstdint>

#include "platform/soft/raster.h"
#include "platform/soft/stroke.h"
#include "platform/win32.h"

namespace soft {

class EllipseShape {
 public:
  // The box must be normalised and non-empty.
  EllipseShape(int64_t left, int64_t top, int64_t right, int64_t bottom);

  // A one-pixel box, which GDI leaves empty.
  bool Empty() const { return single_; }
  // The pixels [*xl, *xr] of row y inside the ellipse; false when none.
  bool Row(int64_t y, int64_t* xl, int64_t* xr) const;

  int64_t Left() const { return l_; }
  int64_t Top() const { return t_; }
  int64_t Right() const { return r_; }
  int64_t Bottom() const { return b_; }
  // Pixel and radial coordinates relative to the centre, doubled so that
  // they are integers; U grows upwards, as angles are counted.
  int64_t PixelX(int64_t x) const { return 2 * x + 1 - (l_ + r_); }
  int64_t PixelU(int64_t y) const { return (t_ + b_) - (2 * y + 1); }
  // The semi-axes in doubled coordinates: width - 1 and height - 1.
  uint64_t SemiA() const { return semiA_; }
  uint64_t SemiB() const { return semiB_; }

 private:
  // The largest doubled offset from the centre of a pixel inside the ellipse
  // on the row at doubled offset ay. With A and B the doubled semi-axes and
  // F(X, Y) = X^2 B^2 + Y^2 A^2 - A^2 B^2 negative inside, a pixel belongs
  // when its diamond's inner vertex across rows, (X, Y - 1), is inside by a
  // margin of 2 A^2, or its inner vertex across columns, (X - 1, Y), is
  // inside; the middle row(s) and centre column(s) always belong. These are
  // the tie rules of GDI's ellipses: the margin keeps narrow ellipses' flat
  // tops one pixel in.
  uint64_t WidestOffset(uint64_t ay) const;

  int64_t l_, t_, r_, b_;
  uint64_t semiA_, semiB_, a2_, b2_;
  uint64_t parity_;  // X of the pixels is odd for even widths
  uint64_t middle_;  // the doubled offset of the middle row(s)
  bool huge_;        // a side of 2^32 pixels or more
  bool single_;      // a one-pixel box, which GDI leaves empty
};

// Ellipse: the brush over the whole ellipse, then the pen over its outline,
// both through the DC's ROP2.
void DrawEllipse(PenStroke& pen, const Paint& brush, int64_t left, int64_t top, int64_t right,
                 int64_t bottom);

// Arc: the part of the outline counterclockwise from the radial through
// start to the radial through end, the end radial excluded; equal radials
// give the whole outline. A styled pen's pattern starts at the arc's start.
void DrawArc(PenStroke& pen, int64_t left, int64_t top, int64_t right, int64_t bottom, POINT start,
             POINT end);

}  // namespace soft
