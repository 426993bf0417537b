// Raster operations on pixel values and the span path every primitive
// writes through.
#include "platform/soft/raster.h"

#include <algorithm>
#include <cstring>

#include "platform/soft/palette.h"

namespace soft {
namespace {

// Evaluates a truth table bitwise: bit i of the table gives the result for
// the operand combination i, the first operand being the most significant.
uint32_t Table2(unsigned t, uint32_t a, uint32_t b) {
  uint32_t r = 0;
  if (t & 1) r |= ~a & ~b;
  if (t & 2) r |= ~a & b;
  if (t & 4) r |= a & ~b;
  if (t & 8) r |= a & b;
  return r;
}

int64_t FloorMod(int64_t a, int64_t m) {
  const int64_t r = a % m;
  return r < 0 ? r + m : r;
}

}  // namespace

uint32_t PixelMask(int bpp) {
  return bpp == 1 ? 0x1u : bpp == 8 ? 0xFFu : 0xFFFFFFu;
}

uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dst, uint32_t mask) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) rop2 = R2_COPYPEN;
  return Table2(static_cast<unsigned>(rop2 - 1), pen, dst) & mask;
}

uint32_t ApplyRop3(DWORD rop, uint32_t pat, uint32_t src, uint32_t dst, uint32_t mask) {
  const unsigned t = (rop >> 16) & 0xFF;
  // Split on the pattern bit: the low nibble covers pattern 0, the high nibble pattern 1.
  const uint32_t whenP0 = Table2(t & 0xF, src, dst);
  const uint32_t whenP1 = Table2(t >> 4, src, dst);
  return ((~pat & whenP0) | (pat & whenP1)) & mask;
}

uint32_t Paint::At(int x, int y) const {
  if (pattern.empty()) return pixel;
  const int64_t px = FloorMod(int64_t{x} - org.x, patW);
  const int64_t py = FloorMod(int64_t{y} - org.y, patH);
  return pattern[static_cast<size_t>(py * patW + px)];
}

Paint SolidPaint(const DCObj& dc, const BitmapObj& target, COLORREF color) {
  Paint p;
  p.pixel = ColorToPixel(dc, target, color);
  return p;
}

Paint BrushPaint(const DCObj& dc, const BitmapObj& target, const BrushObj* brush) {
  Paint p;
  if (!brush || brush->style == BS_NULL) {
    p.none = true;
    return p;
  }
  if (brush->style != BS_PATTERN || !brush->pattern) return SolidPaint(dc, target, brush->color);
  const BitmapObj& pat = *brush->pattern;
  p.patW = pat.width;
  p.patH = pat.height;
  p.org = dc.brushOrg;
  p.pattern.resize(static_cast<size_t>(pat.width) * pat.height);
  const uint32_t fg = ColorToPixel(dc, target, dc.textColor);
  const uint32_t bg = ColorToPixel(dc, target, dc.bkColor);
  const bool sameFormat = pat.bpp == target.bpp && pat.bpp != 1 && !pat.dib && !target.dib;
  for (int y = 0; y < pat.height; ++y) {
    for (int x = 0; x < pat.width; ++x) {
      const uint32_t v = pat.Get(x, y);
      uint32_t out;
      if (pat.bpp == 1 && target.bpp == 1 && !target.dib)
        out = v;  // monochrome onto monochrome copies the bits as they are
      else if (pat.bpp == 1)
        out = v ? bg : fg;  // monochrome patterns: 0 bits in the text colour, 1 bits in the background
      else if (sameFormat)
        out = v;
      else
        out = RgbToPixel(target, PixelToColor(pat, v));
      p.pattern[static_cast<size_t>(y) * pat.width + x] = out;
    }
  }
  p.pixel = p.pattern[0];
  return p;
}

Paint DCBrushPaint(const DCObj& dc, const BitmapObj& target) {
  return BrushPaint(dc, target, dc.brushObj);
}

namespace {

// Pattern widths whose mixes FillSpan works out ahead.
constexpr int kMixColumns = 64;

// With the pen fixed, each bit of a binary raster operation's result is 0,
// 1, the pixel's bit or its inverse: the result is the pixel ANDed with keep
// (the bits that follow it) and XORed with flip (those set when it is 0).
void PenMix(int rop2, uint32_t pen, uint32_t mask, uint8_t* keep, uint8_t* flip) {
  const uint32_t whenZero = ApplyRop2(rop2, pen, 0, mask), whenOne = ApplyRop2(rop2, pen, mask, mask);
  *keep = static_cast<uint8_t>(whenZero ^ whenOne);
  *flip = static_cast<uint8_t>(whenZero);
}

}  // namespace

void FillBlock(BitmapObj& bmp, int y0, int y1, int x0, int x1, const Paint& paint, int rop2) {
  y0 = std::max(y0, 0);
  y1 = std::min(y1, bmp.height);
  x0 = std::max(x0, 0);
  x1 = std::min(x1, bmp.width);
  if (paint.none || y0 >= y1 || x0 >= x1) return;
  if (bmp.bpp == 8 && paint.pattern.empty() && rop2 == R2_COPYPEN) {
    for (int y = y0; y < y1; ++y)
      std::memset(bmp.Row(y) + x0, static_cast<int>(paint.pixel & 0xFF), static_cast<size_t>(x1 - x0));
    return;
  }
  for (int y = y0; y < y1; ++y) FillSpan(bmp, y, x0, x1, paint, rop2);
}

void FillSpan(BitmapObj& bmp, int y, int x0, int x1, const Paint& paint, int rop2) {
  if (paint.none || y < 0 || y >= bmp.height) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, bmp.width);
  if (x0 >= x1) return;
  const uint32_t mask = PixelMask(bmp.bpp);
  if (rop2 == R2_NOP) return;
  if (paint.pattern.empty() && rop2 == R2_COPYPEN) {
    uint8_t* row = bmp.Row(y);
    if (bmp.bpp == 8) {
      std::memset(row + x0, static_cast<int>(paint.pixel & 0xFF), static_cast<size_t>(x1 - x0));
      return;
    }
    if (bmp.bpp == 32) {
      const uint32_t v = paint.pixel & mask;
      for (int x = x0; x < x1; ++x) std::memcpy(row + static_cast<size_t>(x) * 4, &v, 4);
      return;
    }
    if (bmp.bpp == 1) {
      // Whole bytes at once, the partial ones at either end bit by bit.
      const bool on = paint.pixel & 1;
      const auto put = [row, on](int x) {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(on ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      };
      int x = x0;
      for (; x < x1 && (x & 7); ++x) put(x);
      for (; x + 8 <= x1; x += 8) row[x >> 3] = on ? 0xFF : 0x00;
      for (; x < x1; ++x) put(x);
      return;
    }
  }
  if (paint.pattern.empty()) {
    // A solid paint: copying needs no look at the pixels under it.
    const uint32_t v = paint.pixel;
    if (bmp.bpp == 8) {
      uint8_t keep, flip;
      PenMix(rop2, v, mask, &keep, &flip);
      uint8_t* row = bmp.Row(y);
      for (int x = x0; x < x1; ++x) row[x] = static_cast<uint8_t>((row[x] & keep) ^ flip);
      return;
    }
    if (rop2 == R2_COPYPEN) {
      for (int x = x0; x < x1; ++x) bmp.Set(x, y, v & mask);
      return;
    }
    for (int x = x0; x < x1; ++x) bmp.Set(x, y, ApplyRop2(rop2, v, bmp.Get(x, y), mask));
    return;
  }
  if (bmp.bpp == 8) {
    // A pattern on 8-bit pixels: one pattern row, stepped along the span.
    const int64_t patternRow = FloorMod(int64_t{y} - paint.org.y, paint.patH);
    const uint32_t* pattern = paint.pattern.data() + patternRow * paint.patW;
    int64_t column = FloorMod(int64_t{x0} - paint.org.x, paint.patW);
    uint8_t* row = bmp.Row(y);
    if (paint.patW <= kMixColumns) {
      // The mix of each pattern column worked out once for the span.
      uint8_t keep[kMixColumns], flip[kMixColumns];
      for (int c = 0; c < paint.patW; ++c) PenMix(rop2, pattern[c], mask, &keep[c], &flip[c]);
      for (int x = x0; x < x1; ++x) {
        row[x] = static_cast<uint8_t>((row[x] & keep[column]) ^ flip[column]);
        if (++column == paint.patW) column = 0;
      }
      return;
    }
    for (int x = x0; x < x1; ++x) {
      row[x] = static_cast<uint8_t>(ApplyRop2(rop2, pattern[column], row[x], mask));
      if (++column == paint.patW) column = 0;
    }
    return;
  }
  for (int x = x0; x < x1; ++x) bmp.Set(x, y, ApplyRop2(rop2, paint.At(x, y), bmp.Get(x, y), mask));
}

void PlotPixel(BitmapObj& bmp, int x, int y, uint32_t pixel, int rop2) {
  if (!bmp.Contains(x, y)) return;
  bmp.Set(x, y, ApplyRop2(rop2, pixel, bmp.Get(x, y), PixelMask(bmp.bpp)));
}

}  // namespace soft
