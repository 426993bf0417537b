// A DC's pen as it paints on the DC's target. Lines, rectangles, polygons,
// ellipses and arcs all paint their outline pixels through this class, so
// the dash patterns of cosmetic pens are stepped in this one place.
#pragma once

#include <cstdint>

#include "platform/soft/objects.h"
#include "platform/soft/raster.h"

namespace soft {

class PenStroke {
 public:
  // Resolves the DC's selected pen, background mode and colour, and ROP2
  // for painting on target.
  PenStroke(const DCObj& dc, BitmapObj& target);

  bool IsNull() const { return null_; }
  // Wider than one pixel: a geometric pen, drawn solid with round ends and
  // joins whatever its dash style.
  bool IsWide() const { return width_ > 1; }
  int Width() const { return width_; }
  bool InsideFrame() const { return insideFrame_; }
  bool IsStyled() const { return period_ != 0; }
  // A solid pen that copies its colour onto an 8-bit target: each pixel is
  // then a plain store, which long vectors spend most of their time on.
  bool IsSolidCopy8() const { return period_ == 0 && rop2_ == R2_COPYPEN && target_.bpp == 8; }
  BitmapObj& Target() const { return target_; }
  int Rop2() const { return rop2_; }
  const Paint& PenPaint() const { return pen_; }

  // Sequential stepping along one outline: the pattern starts over, skips
  // positions that fall outside the target, or paints the next position.
  void Restart() { phase_ = 0; }
  void Skip(uint64_t positions);
  void Plot(int x, int y);
  // Paints a pixel that lies at a known distance along its outline.
  void PlotAt(int x, int y, uint64_t position) const;
  // Paints the solid pen over pixels [x0, x1) of row y.
  void Span(int y, int x0, int x1) const;

 private:
  bool On(uint32_t phase) const { return period_ == 0 || ((onMask_ >> phase) & 1u) != 0; }

  BitmapObj& target_;
  Paint pen_;
  uint32_t bkPixel_ = 0;
  bool opaqueGaps_ = false;
  int rop2_ = R2_COPYPEN;
  int width_ = 1;
  bool null_ = false;
  bool insideFrame_ = false;
  uint32_t period_ = 0;  // pattern length in pixels, 0 for a solid pen
  uint32_t onMask_ = 0;  // bit i set when position i of the pattern is a dash
  uint32_t phase_ = 0;
};

}  // namespace soft
