// The one path every primitive writes through: binary and ternary raster
// operations evaluated bitwise on pixel values, and horizontal spans filled
// with a pen colour or a brush.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/soft/objects.h"

namespace soft {

// All the bits a pixel of the format holds: 0x1, 0xFF or 0xFFFFFF.
uint32_t PixelMask(int bpp);

// dst op pen for the sixteen R2_ codes.
uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dst, uint32_t mask);

// The ternary operation of a ROP3 code (its high word's low byte is the
// truth table over pattern, source and destination bits).
uint32_t ApplyRop3(DWORD rop, uint32_t pat, uint32_t src, uint32_t dst, uint32_t mask);
// Whether the truth table's result depends on the source (pattern): every
// blit asks, so the tests are inline.
inline bool Rop3UsesSource(DWORD rop) {
  const unsigned t = (rop >> 16) & 0xFF;
  return (((t >> 2) ^ t) & 0x33) != 0;
}
inline bool Rop3UsesPattern(DWORD rop) {
  const unsigned t = (rop >> 16) & 0xFF;
  return (((t >> 4) ^ t) & 0x0F) != 0;
}

// What a span is painted with, already converted to the target's pixels.
struct Paint {
  bool none = false;   // a null pen or brush: nothing is painted
  uint32_t pixel = 0;  // solid colour
  int patW = 0, patH = 0;
  std::vector<uint32_t> pattern;  // patW x patH pixels, row-major, when not empty
  POINT org{0, 0};                // brush origin
  uint32_t At(int x, int y) const;
};

// A solid paint of a colour reference on the DC's target.
Paint SolidPaint(const DCObj& dc, const BitmapObj& target, COLORREF color);
// The paint of a brush: solid, null, or a pattern (monochrome patterns paint
// 0 bits in the text colour and 1 bits in the background colour).
Paint BrushPaint(const DCObj& dc, const BitmapObj& target, const BrushObj* brush);
// The selected brush of the DC (the null paint when there is none).
Paint DCBrushPaint(const DCObj& dc, const BitmapObj& target);

// Paints pixels [x0, x1) of row y through the binary raster operation,
// clipped to the bitmap.
void FillSpan(BitmapObj& bmp, int y, int x0, int x1, const Paint& paint, int rop2);
// FillSpan on each of rows [y0, y1), the clipping done once.
void FillBlock(BitmapObj& bmp, int y0, int y1, int x0, int x1, const Paint& paint, int rop2);
void PlotPixel(BitmapObj& bmp, int x, int y, uint32_t pixel, int rop2);

}  // namespace soft
