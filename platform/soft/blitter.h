// The engine behind BitBlt, PatBlt, StretchBlt, StretchDIBits, GetDIBits and
// ScrollDC: rows of pixels read from and written to bitmaps or callers' DIB
// buffers, format conversion by table, the ternary raster operation applied
// a row at a time, and the nearest-pixel stretch with its scan combining.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/soft/objects.h"
#include "platform/soft/raster.h"

namespace soft::blit {

// Pixels laid out as a bitmap: rows of 1, 4, 8, 24 or 32 bits per pixel, the
// most significant bits first within a byte. Bitmaps use 1, 8 and 32; the
// others only occur in DIB buffers handed to StretchDIBits and GetDIBits.
struct Surface {
  int width = 0, height = 0, bpp = 0;
  size_t stride = 0;
  bool bottomUp = false;  // row 0 is stored last
  uint8_t* bits = nullptr;

  uint8_t* Row(int y) const { return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride; }
};

inline Surface SurfaceOf(BitmapObj& bmp) {
  Surface s;
  s.width = bmp.width;
  s.height = bmp.height;
  s.bpp = bmp.bpp;
  s.stride = static_cast<size_t>(bmp.stride);
  s.bottomUp = bmp.bottomUp;
  s.bits = bmp.bits;
  return s;
}

// Turns the shortcuts for common blits and outlines off (and on again), so
// that tests can check that they give what the general path gives.
void SetFastPaths(bool on);
bool FastPaths();

// Every bit a pixel of the format can hold.
uint32_t FormatMask(int bpp);

// Pixels [x0, x0 + n) of row y; the range must lie inside the surface.
void ReadPixels(const Surface& s, int y, int x0, int n, uint32_t* out);
void WritePixels(const Surface& s, int y, int x0, int n, const uint32_t* in);

// Turns source pixel values into destination pixel values.
class Converter {
 public:
  static Converter Identity();
  // Sources of up to 8 bits: one destination value per source value.
  static Converter Table(std::vector<uint32_t> lut);
  // A table of two entries kept inline: what a monochrome source becomes,
  // made for every such blit without touching the heap.
  static Converter Pair(uint32_t zero, uint32_t one);
  // Sources of 24 or 32 bits: an RGB pixel (0x00RRGGBB) through a function
  // that may be slow; results are cached.
  static Converter Function(std::function<uint32_t(uint32_t)> fn);
  // hit for the pixel value key, miss for every other: what a copy to
  // monochrome makes of a source, without building a table per blit.
  static Converter Key(uint32_t key, uint32_t hit, uint32_t miss);

  bool IsIdentity() const { return kind_ == Kind::Identity; }
  // The table of a Table converter, else null (size in *size).
  const uint32_t* Lut(size_t* size) const {
    if (kind_ == Kind::Pair) {
      *size = 2;
      return pair_;
    }
    if (kind_ != Kind::Table) return nullptr;
    *size = slow_->lut.size();
    return slow_->lut.data();
  }
  // The key, hit and miss of a Key converter; false for the other kinds.
  bool KeyOf(uint32_t* key, uint32_t* hit, uint32_t* miss) const {
    *key = key_, *hit = hit_, *miss = miss_;
    return kind_ == Kind::Key;
  }
  void Apply(const uint32_t* in, uint32_t* out, int n) const;  // in may equal out

 private:
  enum class Kind { Identity, Table, Pair, Function, Key };
  Kind kind_ = Kind::Identity;
  uint32_t key_ = 0, hit_ = 0, miss_ = 0;
  uint32_t pair_[2] = {0, 0};
  // What only tables and functions need, kept apart so that the converters
  // made for every small blit stay cheap to build and drop.
  struct Slow {
    std::vector<uint32_t> lut;
    std::function<uint32_t(uint32_t)> fn;
    std::vector<uint64_t> cache;  // key << 32 | value, key 0xFFFFFFFF when empty
  };
  static constexpr size_t kCacheSize = 4096;
  std::unique_ptr<Slow> slow_;
};

// The source of a blit: a surface whose pixels go through a converter, or
// no source at all for the raster operations that do not read one.
struct Source {
  const Surface* surface = nullptr;
  const Converter* converter = nullptr;
};

// A rectangle in 64-bit coordinates, right and bottom excluded.
struct Box {
  int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
};
inline Box Intersect(const Box& a, const Box& b) {
  return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
}

// The DC's brush as blits paint it with: its span paint, except that a
// monochrome pattern on a monochrome device bitmap keeps its own bits, as the
// reference GDI ignores the text and background colours there.
Paint BlitBrush(const DCObj& dc, const BitmapObj& dst);

// Applies the raster operation to dst over the box (already inside dst), with
// source pixel (x - dx + sx, y - dy + sy) for destination pixel (x, y): the
// source box must lie inside the source surface. Overlapping boxes of one
// surface work as if the source were read first. The pattern is not read
// when the operation does not use it (pat may be null then).
void Blit(const Surface& dst, const Box& box, const Source& src, int64_t sx, int64_t sy, const Paint* pat,
          DWORD rop);

// Clips a blit of a w x h box at (x, y) from (sx, sy) to both surfaces (src
// may be null); returns the destination box and moves sx, sy with it.
// Inline: every blit clips, and most boxes lie inside both surfaces.
inline Box ClipBlit(const Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, const Surface* src,
                    int64_t& sx, int64_t& sy) {
  Box box = Intersect(Box{x, y, x + w, y + h}, Box{0, 0, dst.width, dst.height});
  if (src) box = Intersect(box, Box{x - sx, y - sy, x - sx + src->width, y - sy + src->height});
  if (box.Empty()) return Box{};
  sx += box.left - x;
  sy += box.top - y;
  return box;
}

// One axis of a stretch: destination coordinates [dstStart, dstStart +
// dstLen) take source coordinates [srcStart, srcStart + srcLen). Each extent
// is walked from its origin, the far end when reversed; the pixel choice
// depends on that, so a mirror is not just the unmirrored result read
// backwards. Both lengths are positive.
struct StretchAxis {
  int64_t dstStart = 0, dstLen = 0;
  int64_t srcStart = 0, srcLen = 0;
  bool dstReversed = false, srcReversed = false;
  bool Mirrored() const { return dstReversed != srcReversed; }
};

// How the rows and columns a shrink drops are kept.
enum class Scans { And, Or, Delete };

// The axes of a StretchBlt-style call: without any mirroring a negative
// extent moves the origin to its other end (as BitBlt does); when an axis is
// mirrored a negative extent covers [origin + extent + 1, origin + 1).
void StretchAxes(int64_t xDst, int64_t yDst, int64_t wDst, int64_t hDst, int64_t xSrc, int64_t ySrc,
                 int64_t wSrc, int64_t hSrc, StretchAxis* ax, StretchAxis* ay);

// Samples the nearest source pixels into the destination, combining the
// scans a shrink drops as the mode says, then applies the raster operation.
// The source must not be the destination's own pixels.
void Stretch(const Surface& dst, const StretchAxis& ax, const StretchAxis& ay, const Surface& src,
             const Converter& converter, Scans mode, const Paint* pat, DWORD rop);

}  // namespace soft::blit
