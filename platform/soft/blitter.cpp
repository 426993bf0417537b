// Rows of pixels in and out of surfaces, the raster operation a row at a
// time, and the nearest-pixel stretch.
#include "platform/soft/blitter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

namespace soft::blit {
namespace {
bool gFastPaths = true;
}  // namespace

void SetFastPaths(bool on) {
  gFastPaths = on;
}

bool FastPaths() {
  return gFastPaths;
}

namespace {

using Wide = __int128;  // stretch ratios multiply two 32-bit extents by a 32-bit step

// Row buffers kept from blit to blit: glyphs make several small blits a
// character, and allocating their rows each time cost more than the pixels.
std::vector<uint32_t>& RowBuffer(int which) {
  thread_local std::vector<uint32_t> buffers[4];
  return buffers[which];
}

unsigned RopTable(DWORD rop) {
  return (rop >> 16) & 0xFF;
}
bool TableUsesSource(unsigned t) {
  return (((t >> 2) ^ t) & 0x33) != 0;
}
bool TableUsesPattern(unsigned t) {
  return (((t >> 4) ^ t) & 0x0F) != 0;
}
bool TableUsesDest(unsigned t) {
  return (((t >> 1) ^ t) & 0x55) != 0;
}

// Stores pixels [x0, x0 + n) of a monochrome row, bit(i) giving pixel x0 + i
// in its lowest bit: a byte at a time, merged under a mask where the run
// starts or ends inside a byte.
template <class Bit>
void PackBits(uint8_t* row, int x0, int n, Bit bit) {
  const int end = x0 + n;
  for (int x = x0, i = 0; x < end;) {
    const int phase = x & 7;
    const int take = std::min(8 - phase, end - x);
    unsigned bits = 0;
    for (int k = 0; k < take; ++k) bits = (bits << 1) | (bit(i + k) & 1u);
    const int shift = 8 - phase - take;
    const unsigned m = (0xFFu >> (8 - take)) << shift;
    uint8_t& b = row[x >> 3];
    b = static_cast<uint8_t>((b & ~m) | (bits << shift));
    x += take;
    i += take;
  }
}

void FillConst(const Surface& s, int y, int x0, int n, uint32_t v) {
  uint8_t* row = s.Row(y);
  switch (s.bpp) {
    case 8:
      std::memset(row + x0, static_cast<int>(v & 0xFF), static_cast<size_t>(n));
      return;
    case 32: {
      const uint32_t w = v & 0xFFFFFF;
      uint8_t* p = row + static_cast<size_t>(x0) * 4;
      for (int i = 0; i < n; ++i, p += 4) std::memcpy(p, &w, 4);
      return;
    }
    case 1: {
      int x = x0;
      const int end = x0 + n;
      const uint8_t full = (v & 1) ? 0xFF : 0x00;
      for (; x < end && (x & 7); ++x) {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(full ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      }
      if (end - x >= 8) {
        const int bytes = (end - x) >> 3;
        std::memset(row + (x >> 3), full, static_cast<size_t>(bytes));
        x += bytes * 8;
      }
      for (; x < end; ++x) {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(full ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      }
      return;
    }
    default: {
      std::vector<uint32_t> line(static_cast<size_t>(n), v);
      WritePixels(s, y, x0, n, line.data());
    }
  }
}

// len bytes from one buffer to another that does not overlap it; the short
// runs of small blits in words of 8, 4, 2 and 1 bytes instead of a call.
// Every short run of a row is cut the same way, so the next blit over the
// same box reads each word as it was stored.
inline void CopyBytes(uint8_t* to, const uint8_t* from, size_t len) {
  if (len > 16) {
    std::memcpy(to, from, len);
    return;
  }
  size_t i = 0;
  for (; len - i >= 8; i += 8) std::memcpy(to + i, from + i, 8);
  if (len - i >= 4) std::memcpy(to + i, from + i, 4), i += 4;
  if (len - i >= 2) std::memcpy(to + i, from + i, 2), i += 2;
  if (i < len) to[i] = from[i];
}

// Copies n pixels between surfaces of one format without looking at them.
void CopyRaw(const Surface& dst, int dy, int dx, const Surface& src, int sy, int sx, int n,
             std::vector<uint32_t>& scratch) {
  const int bpp = dst.bpp;
  if (bpp >= 8) {
    const size_t bytes = static_cast<size_t>(bpp / 8);
    std::memmove(dst.Row(dy) + dx * bytes, src.Row(sy) + sx * bytes, n * bytes);
    return;
  }
  if (bpp == 1 && ((dx ^ sx) & 7) == 0) {
    // Same bit phase: whole bytes in the middle, masked bytes at the ends.
    uint8_t* d = dst.Row(dy) + (dx >> 3);
    const uint8_t* s = src.Row(sy) + (sx >> 3);
    const int count = ((dx + n - 1) >> 3) - (dx >> 3) + 1;
    // The end bytes are read before anything is written, and the middle is
    // moved, so rows of one bitmap may overlap.
    const uint8_t first = s[0], last = s[count - 1];
    const uint8_t headMask = static_cast<uint8_t>(0xFFu >> (dx & 7));
    const int tailBits = (dx + n) & 7;
    const uint8_t tailMask = static_cast<uint8_t>(tailBits ? 0xFFu << (8 - tailBits) : 0xFFu);
    if (count == 1) {
      const uint8_t m = headMask & tailMask;
      d[0] = static_cast<uint8_t>((d[0] & ~m) | (first & m));
      return;
    }
    if (count > 2) std::memmove(d + 1, s + 1, static_cast<size_t>(count - 2));
    d[0] = static_cast<uint8_t>((d[0] & ~headMask) | (first & headMask));
    d[count - 1] = static_cast<uint8_t>((d[count - 1] & ~tailMask) | (last & tailMask));
    return;
  }
  scratch.resize(static_cast<size_t>(n));
  ReadPixels(src, sy, sx, n, scratch.data());
  WritePixels(dst, dy, dx, n, scratch.data());
}

// Row y, pixels [x0, x0 + n): dst = rop(pattern, src, dst). src holds
// destination-format values, or is null when the operation ignores it.
void CombineRow(const Surface& dst, int y, int x0, int n, const uint32_t* src, const Paint* pat, DWORD rop,
                std::vector<uint32_t>& scratch) {
  const unsigned t = RopTable(rop);
  if (t == 0xAA) return;  // the destination stays as it is
  const uint32_t mask = FormatMask(dst.bpp);
  const bool usesPat = TableUsesPattern(t), usesDst = TableUsesDest(t);
  const bool solid = !usesPat || pat->pattern.empty();
  const uint32_t pv = usesPat ? pat->pixel : 0;
  if (!src && !usesDst && solid) {
    FillConst(dst, y, x0, n, ApplyRop3(rop, pv, 0, 0, mask));
    return;
  }
  if (t == 0xCC && src) {
    WritePixels(dst, y, x0, n, src);
    return;
  }
  scratch.resize(static_cast<size_t>(n));
  uint32_t* d = scratch.data();
  if (usesDst) ReadPixels(dst, y, x0, n, d);
  // The common operations skip the general truth table.
  if (t == 0x55) {  // DSTINVERT
    for (int i = 0; i < n; ++i) d[i] = ~d[i] & mask;
  } else if (t == 0x88 && src) {  // SRCAND
    for (int i = 0; i < n; ++i) d[i] &= src[i];
  } else if (t == 0xEE && src) {  // SRCPAINT
    for (int i = 0; i < n; ++i) d[i] = (d[i] | src[i]) & mask;
  } else if (t == 0x66 && src) {  // SRCINVERT
    for (int i = 0; i < n; ++i) d[i] = (d[i] ^ src[i]) & mask;
  } else if (solid) {
    for (int i = 0; i < n; ++i) d[i] = ApplyRop3(rop, pv, src ? src[i] : 0, usesDst ? d[i] : 0, mask);
  } else {
    // The pattern's row for y, stepped along from the column of x0.
    const auto floorMod = [](int64_t a, int64_t m) { return (a % m + m) % m; };
    const uint32_t* row =
        pat->pattern.data() + floorMod(int64_t{y} - pat->org.y, pat->patH) * static_cast<int64_t>(pat->patW);
    int64_t col = floorMod(int64_t{x0} - pat->org.x, pat->patW);
    if (t == 0xF0) {  // PATCOPY
      for (int i = 0; i < n; ++i, col = col + 1 == pat->patW ? 0 : col + 1) d[i] = row[col] & mask;
    } else {
      for (int i = 0; i < n; ++i, col = col + 1 == pat->patW ? 0 : col + 1)
        d[i] = ApplyRop3(rop, row[col], src ? src[i] : 0, usesDst ? d[i] : 0, mask);
    }
  }
  WritePixels(dst, y, x0, n, d);
}

// The rows of a blit between distinct surfaces: destination pixels [x0, x0 +
// n) of rows top.., source pixels from sx of rows sy..
struct RowPairs {
  const Surface& dst;
  const Surface& src;
  int x0, n, top, rows, sx, sy;
  // The rows of both surfaces a stride apart (backwards for bottom-up
  // ones), found once rather than row by row.
  template <class Fn>
  void ForEach(Fn fn) const {
    if (rows <= 0) return;
    // Each surface's rows are a fixed step apart (backwards when stored
    // bottom-up), so the row address is stepped rather than worked out.
    uint8_t* d = dst.Row(top);
    const uint8_t* s = src.Row(sy);
    const ptrdiff_t dStep =
        dst.bottomUp ? -static_cast<ptrdiff_t>(dst.stride) : static_cast<ptrdiff_t>(dst.stride);
    const ptrdiff_t sStep =
        src.bottomUp ? -static_cast<ptrdiff_t>(src.stride) : static_cast<ptrdiff_t>(src.stride);
    for (int r = 0; r < rows; ++r, d += dStep, s += sStep) fn(d, s);
  }
};

// op applied to the n bytes at out and in, eight, four, two and one at a
// time (the operations are bitwise), cut as CopyBytes cuts them. The two
// never overlap.
template <class Op>
inline void CombineByteRun(uint8_t* out, const uint8_t* in, int n, Op op) {
  int i = 0;
  for (; n - i >= 8; i += 8) {
    uint64_t v, d;
    std::memcpy(&v, in + i, 8);
    std::memcpy(&d, out + i, 8);
    d = op(v, d);
    std::memcpy(out + i, &d, 8);
  }
  if (n - i >= 4) {
    uint32_t v, d;
    std::memcpy(&v, in + i, 4);
    std::memcpy(&d, out + i, 4);
    d = op(v, d);
    std::memcpy(out + i, &d, 4);
    i += 4;
  }
  if (n - i >= 2) {
    uint16_t v, d;
    std::memcpy(&v, in + i, 2);
    std::memcpy(&d, out + i, 2);
    d = static_cast<uint16_t>(op(uint32_t{v}, uint32_t{d}));
    std::memcpy(out + i, &d, 2);
    i += 2;
  }
  if (i < n) out[i] = static_cast<uint8_t>(op(uint32_t{in[i]}, uint32_t{out[i]}));
}

// An 8-bit source combined into an 8-bit destination through a table (or
// none), pixel by pixel.
template <bool UseLut, class Op>
void CombineBytesRows(const RowPairs& rows, const uint32_t* lut, size_t size, Op op) {
  const int x0 = rows.x0, sx = rows.sx, n = rows.n;
  if (!UseLut) {
    rows.ForEach([=](uint8_t* row, const uint8_t* in) { CombineByteRun(row + x0, in + sx, n, op); });
    return;
  }
  rows.ForEach([=](uint8_t* row, const uint8_t* in) {
    uint8_t* out = row + x0;
    for (int i = 0; i < n; ++i) {
      uint32_t v = in[sx + i];
      if (UseLut) v = v < size ? lut[v] : 0;
      out[i] = static_cast<uint8_t>(op(v, uint32_t{out[i]}));
    }
  });
}

// For each byte of a monochrome row, eight bytes that are 0xFF where its
// bits are set, in pixel order (the most significant bit first).
const uint64_t* ByteMasks() {
  struct Table {
    uint64_t masks[256];
    Table() {
      for (int b = 0; b < 256; ++b) {
        uint8_t bytes[8];
        for (int k = 0; k < 8; ++k) bytes[k] = (b >> (7 - k)) & 1 ? 0xFF : 0x00;
        std::memcpy(&masks[b], bytes, 8);
      }
    }
  };
  static const Table table;
  return table.masks;
}

// ExpandBitsRows for a source that starts on a byte boundary or not.
template <bool Aligned, class Op>
void ExpandBitsRowsFrom(const RowPairs& rows, uint8_t zero, uint8_t one, Op op) {
  const int x0 = rows.x0, sx = rows.sx, n = rows.n;
  const uint64_t zeros = uint64_t{zero} * 0x0101010101010101u, ones = uint64_t{one} * 0x0101010101010101u;
  const uint64_t* masks = ByteMasks();
  rows.ForEach([=](uint8_t* row, const uint8_t* in) {
    uint8_t* out = row + x0;
    // Bits [x, x + count) of the row, count <= 8, in the high bits of a byte;
    // no byte past the last of them is read.
    auto bits = [in](int x, int count) {
      const int byte = x >> 3, shift = x & 7;
      unsigned v = static_cast<unsigned>(in[byte]) << shift;
      if (shift + count > 8) v |= in[byte + 1] >> (8 - shift);
      return v & 0xFFu;
    };
    auto word = [&](unsigned b) {
      const uint64_t m = masks[b];
      return (ones & m) | (zeros & ~m);
    };
    auto eight = [&](int i, unsigned b) {
      uint64_t d;
      std::memcpy(&d, out + i, 8);
      d = op(word(b), d);
      std::memcpy(out + i, &d, 8);
    };
    int i = 0;
    for (; n - i >= 8; i += 8) eight(i, Aligned ? in[(sx + i) >> 3] : bits(sx + i, 8));
    if (i == n) return;
    const uint64_t w = word(Aligned ? in[(sx + i) >> 3] : bits(sx + i, n - i));
    uint8_t px[8];
    std::memcpy(px, &w, 8);
    CombineByteRun(out + i, px, n - i, op);
  });
}

// Monochrome source rows expanded into 8-bit pixels, eight at a time: the
// next eight source bits select, byte by byte, between the words of the
// values of 0 and 1 bits (the operations are bitwise, so the bytes combine
// as one word). The last few pixels take what is left of such a word. A
// source starting on a byte boundary reads its bytes as they are.
template <class Op>
void ExpandBitsRows(const RowPairs& rows, uint8_t zero, uint8_t one, Op op) {
  if ((rows.sx & 7) == 0) {
    ExpandBitsRowsFrom<true>(rows, zero, one, op);
  } else {
    ExpandBitsRowsFrom<false>(rows, zero, one, op);
  }
}

template <class Op>
void CombineBytesOp(const RowPairs& rows, const uint32_t* lut, size_t size, Op op) {
  if (rows.src.bpp == 1) {
    // A missing table entry gives 0, as the general path's conversion does.
    const uint32_t zero = !lut ? 0 : size > 0 ? lut[0] : 0;
    const uint32_t one = !lut ? 1 : size > 1 ? lut[1] : 0;
    ExpandBitsRows(rows, static_cast<uint8_t>(zero), static_cast<uint8_t>(one), op);
  } else if (lut) {
    CombineBytesRows<true>(rows, lut, size, op);
  } else {
    CombineBytesRows<false>(rows, nullptr, 0, op);
  }
}

// An 8-bit destination combined with a 1- or 8-bit source through its
// converter, for the copy, AND, OR and XOR of the source and the
// destination AND NOT source that clears a mask: what ReadPixels,
// Converter::Apply and CombineRow do, in one pass without the row buffers.
// The operations take words of any width; only the low byte of each pixel
// is stored. False when the blit is not of that kind.
bool CombineBytes(const RowPairs& rows, const Converter& conv, unsigned t) {
  if (rows.dst.bpp != 8 || (rows.src.bpp != 1 && rows.src.bpp != 8)) return false;
  size_t size = 0;
  const uint32_t* lut = conv.Lut(&size);
  if (!lut && !conv.IsIdentity()) return false;
  switch (t) {
    case 0xCC:
      CombineBytesOp(rows, lut, size, [](auto s, auto) { return s; });
      return true;
    case 0x88:
      CombineBytesOp(rows, lut, size, [](auto s, auto d) { return s & d; });
      return true;
    case 0xEE:
      CombineBytesOp(rows, lut, size, [](auto s, auto d) { return s | d; });
      return true;
    case 0x66:
      CombineBytesOp(rows, lut, size, [](auto s, auto d) { return s ^ d; });
      return true;
    case 0x22:
      CombineBytesOp(rows, lut, size, [](auto s, auto d) { return ~s & d; });
      return true;
    default:
      return false;
  }
}

// Which of the n (1..8) bytes from p equal the byte whose copies fill keys:
// a bit each, the first byte's highest. The bytes are compared as one word
// (a zero byte of p ^ keys is a match), read as two overlapping loads so
// that nothing past p + n is touched.
[[gnu::always_inline]] inline unsigned KeyMatches(const uint8_t* p, int n, uint64_t keys) {
  uint64_t w;
  if (n >= 4) {
    uint32_t a, b;
    std::memcpy(&a, p, 4);
    std::memcpy(&b, p + n - 4, 4);
    w = a | uint64_t{b} << (8 * (n - 4));
  } else if (n >= 2) {
    uint16_t a, b;
    std::memcpy(&a, p, 2);
    std::memcpy(&b, p + n - 2, 2);
    w = a | uint64_t{b} << (8 * (n - 2));
  } else {
    w = p[0];
  }
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  const uint64_t x = w ^ keys;
  const uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);  // 0x80 in each byte that matched
  // Byte k to bit 7 - k, then the n bytes read to the low n bits; the bytes
  // above them (zero, so matches of a zero key) fall off the end.
  return static_cast<unsigned>((__builtin_bswap64(zero) * 0x0002040810204081ull) >> 56) >> (8 - n);
}

// A monochrome destination copied from an 8-bit source through a key
// converter (the mask of one colour), straight from the source bytes, up to
// eight pixels a step: each destination byte takes its bits at once. False
// when the blit is not of that kind.
bool KeyToBits(const RowPairs& rows, const Converter& conv, unsigned t) {
  uint32_t key, hit, miss;
  if (t != 0xCC || rows.dst.bpp != 1 || rows.src.bpp != 8 || !conv.KeyOf(&key, &hit, &miss)) return false;
  const int x0 = rows.x0, n = rows.n, sx = rows.sx;
  if (key > 0xFF) {  // no byte shows it
    rows.ForEach([=](uint8_t* out, const uint8_t*) { PackBits(out, x0, n, [=](int) { return miss; }); });
    return true;
  }
  const uint64_t keys = key * 0x0101010101010101ull;
  const unsigned hits = hit & 1 ? 0xFFu : 0u, misses = miss & 1 ? 0xFFu : 0u;
  const int end = x0 + n;
  if ((x0 & 7) + n <= 8) {
    // The whole row in one destination byte, as in the masks of small
    // boxes: the byte's mask and shift hold for every row.
    const int shift = 8 - (x0 & 7) - n;
    const unsigned m = (0xFFu >> (8 - n)) << shift;
    rows.ForEach([=](uint8_t* out, const uint8_t* in) {
      const unsigned match = KeyMatches(in + sx, n, keys);
      const unsigned bits = (match & hits) | (~match & misses);
      uint8_t& b = out[x0 >> 3];
      b = static_cast<uint8_t>((b & ~m) | ((bits << shift) & m));
    });
    return true;
  }
  rows.ForEach([=](uint8_t* out, const uint8_t* in) {
    in += sx;
    for (int x = x0; x < end;) {
      const int phase = x & 7;
      const int take = std::min(8 - phase, end - x);
      const unsigned match = KeyMatches(in, take, keys);
      const unsigned bits = (match & hits) | (~match & misses);
      const int shift = 8 - phase - take;
      const unsigned m = (0xFFu >> (8 - take)) << shift;
      uint8_t& b = out[x >> 3];
      b = static_cast<uint8_t>((b & ~m) | ((bits << shift) & m));
      x += take;
      in += take;
    }
  });
  return true;
}

// Which source pixel a shrink keeps in place of a run it drops.
enum class Pick { All, First, Last };

// The source steps [first, last] that destination step i of an axis takes,
// counting both from the origins of their extents. The longer extent is cut
// into runs at the rounded multiples of the ratio (halves up): a shrink
// gives each destination pixel a run of source pixels, an enlargement each
// source pixel a run of destination pixels. A single destination pixel
// leaves out the last source pixel, as GDI does.
void AxisSteps(int64_t srcLen, int64_t dstLen, int64_t i, Pick pick, int64_t* first, int64_t* last) {
  const Wide S = srcLen, D = dstLen;
  if (S == D) {
    *first = *last = i;
    return;
  }
  if (S < D) {
    *first = *last = static_cast<int64_t>((S * (2 * Wide{i} + 1) - 1) / (2 * D));
    return;
  }
  int64_t f = 0, l = std::max<int64_t>(srcLen - 2, 0);
  if (D > 1) {
    f = static_cast<int64_t>((2 * Wide{i} * S + D) / (2 * D));
    l = static_cast<int64_t>((2 * (Wide{i} + 1) * S + D) / (2 * D)) - 1;
  }
  *first = pick == Pick::Last ? l : f;
  *last = pick == Pick::First ? f : l;
}

// The source columns (or rows) each visible destination column takes.
struct AxisMap {
  int first = 0, count = 0;  // visible destination coordinates
  std::vector<int> lo, hi;   // source coordinates, both ends included
  int spanLo = 0, spanHi = -1;
};

// Fills m in place, keeping the room its vectors already have.
void MapAxis(const StretchAxis& a, int dstLimit, int srcLimit, Pick pick, AxisMap& m) {
  m.first = m.count = 0;
  m.lo.clear();
  m.hi.clear();
  m.spanLo = 0;
  m.spanHi = -1;
  const int64_t d0 = std::max<int64_t>(a.dstStart, 0);
  const int64_t d1 = std::min<int64_t>(a.dstStart + a.dstLen, dstLimit);
  if (d1 > d0) {
    m.lo.reserve(static_cast<size_t>(d1 - d0));
    m.hi.reserve(static_cast<size_t>(d1 - d0));
  }
  for (int64_t dc = d0; dc < d1; ++dc) {
    int64_t f, l;
    AxisSteps(a.srcLen, a.dstLen, a.dstReversed ? a.dstStart + a.dstLen - 1 - dc : dc - a.dstStart, pick, &f,
              &l);
    int64_t lo = a.srcReversed ? a.srcStart + a.srcLen - 1 - l : a.srcStart + f;
    int64_t hi = a.srcReversed ? a.srcStart + a.srcLen - 1 - f : a.srcStart + l;
    lo = std::max<int64_t>(lo, 0);
    hi = std::min<int64_t>(hi, srcLimit - 1);
    if (lo > hi) {
      if (m.count) break;  // the mapping is monotonic: nothing further is visible
      continue;
    }
    if (!m.count) {
      m.first = static_cast<int>(dc);
      m.spanLo = static_cast<int>(lo);
      m.spanHi = static_cast<int>(hi);
    }
    m.lo.push_back(static_cast<int>(lo));
    m.hi.push_back(static_cast<int>(hi));
    m.spanLo = std::min(m.spanLo, static_cast<int>(lo));
    m.spanHi = std::max(m.spanHi, static_cast<int>(hi));
    ++m.count;
  }
}

bool SameAxis(const StretchAxis& a, const StretchAxis& b) {
  return a.dstStart == b.dstStart && a.dstLen == b.dstLen && a.srcStart == b.srcStart &&
         a.srcLen == b.srcLen && a.dstReversed == b.dstReversed && a.srcReversed == b.srcReversed;
}

// MapAxis, remembered per axis: glyphs stretch cell after cell with the same
// sizes, and the mapping costs more than their few pixels.
const AxisMap& CachedAxis(int which, const StretchAxis& a, int dstLimit, int srcLimit, Pick pick) {
  struct Slot {
    bool valid = false;
    StretchAxis axis;
    int dstLimit = 0, srcLimit = 0;
    Pick pick = Pick::All;
    AxisMap map;
  };
  thread_local Slot slots[2];
  Slot& s = slots[which];
  auto inside = [dstLimit](const StretchAxis& x) {
    return x.dstStart >= 0 && x.dstStart + x.dstLen <= dstLimit;
  };
  if (gFastPaths && s.valid && s.axis.dstStart != a.dstStart && s.dstLimit == dstLimit &&
      s.srcLimit == srcLimit && s.pick == pick && inside(s.axis) && inside(a)) {
    // Cells copied whole onto the page at another place: the same source
    // steps, moved along with the destination.
    StretchAxis moved = s.axis;
    moved.dstStart = a.dstStart;
    if (SameAxis(moved, a)) {
      s.map.first += static_cast<int>(a.dstStart - s.axis.dstStart);
      s.axis = a;
      return s.map;
    }
  }
  if (!gFastPaths || !s.valid || !SameAxis(s.axis, a) || s.dstLimit != dstLimit || s.srcLimit != srcLimit ||
      s.pick != pick) {
    MapAxis(a, dstLimit, srcLimit, pick, s.map);
    s.axis = a;
    s.dstLimit = dstLimit;
    s.srcLimit = srcLimit;
    s.pick = pick;
    s.valid = true;
  }
  return s.map;
}

// Monochrome copies stretched from monochrome sources, remembered by
// everything that decides their pixels: the axes, both bitmaps' sizes, the
// scan mode and the source bits the mapping reads. Glyphs are stretched this
// way, the same few characters at the same size over and over.
class StretchMemo {
 public:
  // Writes the remembered rows for this stretch; false when there are none
  // yet (Remember takes them after the stretch).
  bool Replay(const Surface& dst, const StretchAxis& ax, const StretchAxis& ay, const Surface& src,
              Scans mode, const AxisMap& mx, const AxisMap& my) {
    keyed_ = MakeKey(dst, ax, ay, src, mode, mx, my);
    if (!keyed_) return false;
    const auto it = rows_.find(key_);
    if (it == rows_.end()) return false;
    const uint8_t* stored = it->second.data();
    const int first = mx.first >> 3, count = ((mx.first + mx.count - 1) >> 3) - first + 1;
    const uint8_t head = static_cast<uint8_t>(0xFFu >> (mx.first & 7));
    const int tailBits = (mx.first + mx.count) & 7;
    const uint8_t tail = static_cast<uint8_t>(tailBits ? 0xFFu << (8 - tailBits) : 0xFFu);
    uint8_t* d = dst.Row(my.first) + first;
    const ptrdiff_t step =
        dst.bottomUp ? -static_cast<ptrdiff_t>(dst.stride) : static_cast<ptrdiff_t>(dst.stride);
    if (count == 2) {
      // Glyph masks of 9 to 16 columns: both bytes merged as one.
      const uint8_t both[2] = {head, tail};
      uint16_t m;
      std::memcpy(&m, both, 2);
      for (int r = 0; r < my.count; ++r, stored += 2, d += step) {
        uint16_t v, was;
        std::memcpy(&v, stored, 2);
        std::memcpy(&was, d, 2);
        was = static_cast<uint16_t>((was & ~m) | (v & m));
        std::memcpy(d, &was, 2);
      }
      return true;
    }
    for (int r = 0; r < my.count; ++r, stored += count, d += step) {
      if (count == 1) {
        const uint8_t m = head & tail;
        d[0] = static_cast<uint8_t>((d[0] & ~m) | (stored[0] & m));
        continue;
      }
      d[0] = static_cast<uint8_t>((d[0] & ~head) | (stored[0] & head));
      if (count > 2) std::memcpy(d + 1, stored + 1, static_cast<size_t>(count - 2));
      d[count - 1] = static_cast<uint8_t>((d[count - 1] & ~tail) | (stored[count - 1] & tail));
    }
    return true;
  }

  // Keeps the bytes the stretch just wrote, under the key Replay made.
  void Remember(const Surface& dst, const AxisMap& mx, const AxisMap& my) {
    if (!keyed_) return;
    if (rows_.size() >= kLimit) rows_.clear();
    const int first = mx.first >> 3, count = ((mx.first + mx.count - 1) >> 3) - first + 1;
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(count) * static_cast<size_t>(my.count));
    for (int r = 0; r < my.count; ++r) {
      const uint8_t* row = dst.Row(my.first + r) + first;
      bytes.insert(bytes.end(), row, row + count);
    }
    rows_.emplace(key_, std::move(bytes));
  }

 private:
  static constexpr size_t kLimit = 1024;  // glyphs of a few fonts and sizes
  static constexpr int kMaxBytes = 2048;  // larger sources and results are not kept

  template <class T>
  static void Add(std::string& to, const T& v) {
    to.append(reinterpret_cast<const char*>(&v), sizeof v);
  }

  // The number of the geometry of a stretch (its axes, both bitmaps' sizes
  // and the scan mode) and the source rows its mapping reads. Glyph after
  // glyph has the same geometry, so the last one is checked first.
  void UseGeometry(const Surface& dst, const StretchAxis& ax, const StretchAxis& ay, const Surface& src,
                   Scans mode, const AxisMap& my) {
    if (haveLast_ && SameAxis(lastAx_, ax) && SameAxis(lastAy_, ay) && lastSizes_[0] == dst.width &&
        lastSizes_[1] == dst.height && lastSizes_[2] == src.width && lastSizes_[3] == src.height &&
        lastMode_ == mode) {
      return;
    }
    std::string g;
    for (const StretchAxis* a : {&ax, &ay}) {
      Add(g, a->dstStart), Add(g, a->dstLen), Add(g, a->srcStart), Add(g, a->srcLen);
      Add(g, static_cast<char>(a->dstReversed * 2 + a->srcReversed));
    }
    Add(g, dst.width), Add(g, dst.height), Add(g, src.width), Add(g, src.height), Add(g, mode);
    auto it = ids_.find(g);
    if (it == ids_.end()) {
      // Numbers are only reused once every row kept under them is gone.
      if (ids_.size() >= kLimit) ids_.clear(), rows_.clear(), nextId_ = 0;
      it = ids_.emplace(std::move(g), nextId_++).first;
    }
    id_ = it->second;
    rowLo_ = my.lo[0], rowHi_ = my.hi[0];
    for (int r = 1; r < my.count; ++r)
      rowLo_ = std::min(rowLo_, my.lo[r]), rowHi_ = std::max(rowHi_, my.hi[r]);
    lastAx_ = ax, lastAy_ = ay, lastMode_ = mode;
    lastSizes_[0] = dst.width, lastSizes_[1] = dst.height, lastSizes_[2] = src.width,
    lastSizes_[3] = src.height;
    haveLast_ = true;
  }

  // False when the stretch is too large to keep.
  bool MakeKey(const Surface& dst, const StretchAxis& ax, const StretchAxis& ay, const Surface& src,
               Scans mode, const AxisMap& mx, const AxisMap& my) {
    const int64_t written = (((mx.first + mx.count - 1) >> 3) - (mx.first >> 3) + 1) * int64_t{my.count};
    if (written > kMaxBytes) return false;
    UseGeometry(dst, ax, ay, src, mode, my);
    // The source bits the mapping reads, the bits beside the span cleared.
    const int b0 = mx.spanLo >> 3, b1 = mx.spanHi >> 3;
    const uint8_t head = static_cast<uint8_t>(0xFFu >> (mx.spanLo & 7));
    const uint8_t tail = static_cast<uint8_t>(0xFFu << (7 - (mx.spanHi & 7)));
    if (int64_t{rowHi_ - rowLo_ + 1} * (b1 - b0 + 1) > kMaxBytes) return false;
    const int width = b1 - b0 + 1;
    key_.resize(sizeof id_ + static_cast<size_t>(rowHi_ - rowLo_ + 1) * static_cast<size_t>(width));
    char* out = &key_[0];
    std::memcpy(out, &id_, sizeof id_);
    out += sizeof id_;
    const uint8_t* row = src.Row(rowLo_) + b0;
    const ptrdiff_t step =
        src.bottomUp ? -static_cast<ptrdiff_t>(src.stride) : static_cast<ptrdiff_t>(src.stride);
    if (width == 1) {  // glyphs up to eight columns wide
      const uint8_t both = head & tail;
      for (int sr = rowLo_; sr <= rowHi_; ++sr, ++out, row += step) *out = static_cast<char>(row[0] & both);
      return true;
    }
    for (int sr = rowLo_; sr <= rowHi_; ++sr, out += width, row += step) {
      for (int b = 0; b < width; ++b) out[b] = static_cast<char>(row[b]);
      out[0] = static_cast<char>(out[0] & head);
      out[width - 1] = static_cast<char>(out[width - 1] & tail);
    }
    return true;
  }

  bool keyed_ = false;  // key_ describes the stretch in progress
  std::string key_;
  // Geometries by number, and the last one used.
  std::unordered_map<std::string, uint32_t> ids_;
  uint32_t nextId_ = 0, id_ = 0;
  bool haveLast_ = false;
  StretchAxis lastAx_, lastAy_;
  int lastSizes_[4] = {};
  Scans lastMode_ = Scans::And;
  int rowLo_ = 0, rowHi_ = -1;
  std::unordered_map<std::string, std::vector<uint8_t>> rows_;
};

}  // namespace

uint32_t FormatMask(int bpp) {
  return bpp >= 24 ? 0xFFFFFFu : (1u << bpp) - 1;
}

void ReadPixels(const Surface& s, int y, int x0, int n, uint32_t* out) {
  const uint8_t* row = s.Row(y);
  switch (s.bpp) {
    case 1:
      for (int i = 0, x = x0; i < n; ++i, ++x) out[i] = (row[x >> 3] >> (7 - (x & 7))) & 1u;
      break;
    case 4:
      for (int i = 0, x = x0; i < n; ++i, ++x) out[i] = (x & 1) ? row[x >> 1] & 0xFu : row[x >> 1] >> 4;
      break;
    case 8:
      for (int i = 0; i < n; ++i) out[i] = row[x0 + i];
      break;
    case 24:
      for (int i = 0; i < n; ++i) {
        const uint8_t* p = row + static_cast<size_t>(x0 + i) * 3;
        out[i] = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
      }
      break;
    default:
      for (int i = 0; i < n; ++i) {
        uint32_t v;
        std::memcpy(&v, row + static_cast<size_t>(x0 + i) * 4, 4);
        out[i] = v & 0xFFFFFFu;
      }
  }
}

void WritePixels(const Surface& s, int y, int x0, int n, const uint32_t* in) {
  uint8_t* row = s.Row(y);
  switch (s.bpp) {
    case 1:
      if (gFastPaths) {
        PackBits(row, x0, n, [in](int i) { return in[i]; });
        break;
      }
      for (int i = 0, x = x0; i < n; ++i, ++x) {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((in[i] & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      }
      break;
    case 4:
      for (int i = 0, x = x0; i < n; ++i, ++x) {
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (in[i] & 0xF))
                    : static_cast<uint8_t>((b & 0x0F) | ((in[i] & 0xF) << 4));
      }
      break;
    case 8:
      for (int i = 0; i < n; ++i) row[x0 + i] = static_cast<uint8_t>(in[i]);
      break;
    case 24:
      for (int i = 0; i < n; ++i) {
        uint8_t* p = row + static_cast<size_t>(x0 + i) * 3;
        p[0] = static_cast<uint8_t>(in[i]);
        p[1] = static_cast<uint8_t>(in[i] >> 8);
        p[2] = static_cast<uint8_t>(in[i] >> 16);
      }
      break;
    default:
      for (int i = 0; i < n; ++i) {
        const uint32_t v = in[i] & 0xFFFFFFu;
        std::memcpy(row + static_cast<size_t>(x0 + i) * 4, &v, 4);
      }
  }
}

Converter Converter::Identity() {
  return Converter();
}

Converter Converter::Table(std::vector<uint32_t> lut) {
  Converter c;
  c.kind_ = Kind::Table;
  c.slow_ = std::make_unique<Slow>();
  c.slow_->lut = std::move(lut);
  return c;
}

Converter Converter::Pair(uint32_t zero, uint32_t one) {
  Converter c;
  c.kind_ = Kind::Pair;
  c.pair_[0] = zero;
  c.pair_[1] = one;
  return c;
}

Converter Converter::Function(std::function<uint32_t(uint32_t)> fn) {
  Converter c;
  c.kind_ = Kind::Function;
  c.slow_ = std::make_unique<Slow>();
  c.slow_->fn = std::move(fn);
  c.slow_->cache.assign(kCacheSize, ~uint64_t{0});
  return c;
}

Converter Converter::Key(uint32_t key, uint32_t hit, uint32_t miss) {
  Converter c;
  c.kind_ = Kind::Key;
  c.key_ = key;
  c.hit_ = hit;
  c.miss_ = miss;
  return c;
}

void Converter::Apply(const uint32_t* in, uint32_t* out, int n) const {
  switch (kind_) {
    case Kind::Key:
      for (int i = 0; i < n; ++i) out[i] = in[i] == key_ ? hit_ : miss_;
      return;
    case Kind::Identity:
      if (in != out) std::copy(in, in + n, out);
      return;
    case Kind::Pair:
      for (int i = 0; i < n; ++i) out[i] = in[i] < 2 ? pair_[in[i]] : 0;
      return;
    case Kind::Table: {
      const std::vector<uint32_t>& lut = slow_->lut;
      const size_t size = lut.size();
      for (int i = 0; i < n; ++i) out[i] = in[i] < size ? lut[in[i]] : 0;
      return;
    }
    case Kind::Function:
      for (int i = 0; i < n; ++i) {
        const uint32_t key = in[i] & 0xFFFFFF;
        uint64_t& slot = slow_->cache[(key * 2654435761u) >> 20 & (kCacheSize - 1)];
        if ((slot >> 32) != key) slot = (uint64_t{key} << 32) | slow_->fn(key);
        out[i] = static_cast<uint32_t>(slot);
      }
      return;
  }
}

Paint BlitBrush(const DCObj& dc, const BitmapObj& dst) {
  Paint paint = DCBrushPaint(dc, dst);
  const BrushObj* brush = dc.brushObj;
  if (dst.bpp != 1 || dst.dib || paint.pattern.empty() || !brush || !brush->pattern) return paint;
  const BitmapObj& pat = *brush->pattern;
  if (pat.bpp != 1 || pat.dib || pat.width != paint.patW || pat.height != paint.patH) return paint;
  for (int y = 0; y < pat.height; ++y)
    for (int x = 0; x < pat.width; ++x) paint.pattern[static_cast<size_t>(y) * pat.width + x] = pat.Get(x, y);
  paint.pixel = paint.pattern[0];
  return paint;
}

void Blit(const Surface& dst, const Box& box, const Source& src, int64_t sx, int64_t sy, const Paint* pat,
          DWORD rop) {
  if (box.Empty()) return;
  const unsigned t = RopTable(rop);
  if (TableUsesPattern(t) && (!pat || pat->none)) return;  // a null brush paints nothing
  const bool usesSrc = TableUsesSource(t) && src.surface;
  const int n = static_cast<int>(box.right - box.left);
  const int x0 = static_cast<int>(box.left);
  const int rows = static_cast<int>(box.bottom - box.top);
  // Within one surface, a source above the destination is read from the bottom up.
  const bool upward = usesSrc && src.surface->bits == dst.bits && sy < box.top;
  const bool raw =
      gFastPaths && usesSrc && t == 0xCC && src.converter->IsIdentity() && src.surface->bpp == dst.bpp;
  // Distinct surfaces only: within one, rows would be read as they change.
  const bool bytes = gFastPaths && usesSrc && src.surface->bits != dst.bits;
  if (bytes) {
    const RowPairs pairs{dst,
                         *src.surface,
                         x0,
                         n,
                         static_cast<int>(box.top),
                         rows,
                         static_cast<int>(sx),
                         static_cast<int>(sy)};
    if (raw && dst.bpp >= 8) {
      const size_t size = static_cast<size_t>(dst.bpp / 8);
      const size_t to = static_cast<size_t>(x0) * size, from = static_cast<size_t>(sx) * size;
      const size_t len = static_cast<size_t>(n) * size;
      pairs.ForEach([=](uint8_t* d, const uint8_t* s) { CopyBytes(d + to, s + from, len); });
      return;
    }
    if (!raw && (CombineBytes(pairs, *src.converter, t) || KeyToBits(pairs, *src.converter, t))) return;
  }
  std::vector<uint32_t>& line = RowBuffer(0);
  std::vector<uint32_t>& scratch = RowBuffer(1);
  if (usesSrc) line.resize(static_cast<size_t>(n));
  for (int k = 0; k < rows; ++k) {
    const int r = upward ? rows - 1 - k : k;
    const int y = static_cast<int>(box.top) + r;
    const int srcY = static_cast<int>(sy) + r;
    if (raw) {
      CopyRaw(dst, y, x0, *src.surface, srcY, static_cast<int>(sx), n, scratch);
      continue;
    }
    if (usesSrc) {
      ReadPixels(*src.surface, srcY, static_cast<int>(sx), n, line.data());
      src.converter->Apply(line.data(), line.data(), n);
    }
    CombineRow(dst, y, x0, n, usesSrc ? line.data() : nullptr, pat, rop, scratch);
  }
}

void StretchAxes(int64_t xDst, int64_t yDst, int64_t wDst, int64_t hDst, int64_t xSrc, int64_t ySrc,
                 int64_t wSrc, int64_t hSrc, StretchAxis* ax, StretchAxis* ay) {
  const bool mirrorX = (wDst < 0) != (wSrc < 0);
  const bool mirrorY = (hDst < 0) != (hSrc < 0);
  const int64_t shift = mirrorX || mirrorY ? 1 : 0;
  auto axis = [shift](int64_t d, int64_t wd, int64_t s, int64_t ws) {
    StretchAxis a;
    a.dstReversed = shift && wd < 0;
    a.srcReversed = shift && ws < 0;
    a.dstStart = wd < 0 ? d + wd + shift : d;
    a.dstLen = wd < 0 ? -wd : wd;
    a.srcStart = ws < 0 ? s + ws + shift : s;
    a.srcLen = ws < 0 ? -ws : ws;
    return a;
  };
  *ax = axis(xDst, wDst, xSrc, wSrc);
  *ay = axis(yDst, hDst, ySrc, hSrc);
}

void Stretch(const Surface& dst, const StretchAxis& ax, const StretchAxis& ay, const Surface& src,
             const Converter& converter, Scans mode, const Paint* pat, DWORD rop) {
  if (ax.dstLen <= 0 || ay.dstLen <= 0 || ax.srcLen <= 0 || ay.srcLen <= 0) return;
  if (TableUsesPattern(RopTable(rop)) && (!pat || pat->none)) return;
  // Deleting scans keeps the last column of a run but the first row.
  const bool merge = mode != Scans::Delete;
  const AxisMap& mx = CachedAxis(0, ax, dst.width, src.width, merge ? Pick::All : Pick::Last);
  if (!mx.count) return;
  const AxisMap& my = CachedAxis(1, ay, dst.height, src.height, merge ? Pick::All : Pick::First);
  if (!my.count) return;
  thread_local StretchMemo memo;
  const bool memoable =
      gFastPaths && RopTable(rop) == 0xCC && src.bpp == 1 && dst.bpp == 1 && converter.IsIdentity();
  if (memoable && memo.Replay(dst, ax, ay, src, mode, mx, my)) return;
  const int span = mx.spanHi - mx.spanLo + 1;
  std::vector<uint32_t>& srcRow = RowBuffer(0);
  std::vector<uint32_t>& scratch = RowBuffer(1);
  std::vector<uint32_t>& out = RowBuffer(2);
  srcRow.resize(static_cast<size_t>(span));
  out.resize(static_cast<size_t>(mx.count));
  const uint32_t init = mode == Scans::And ? FormatMask(src.bpp) : 0;
  int doneLo = -1, doneHi = -1;  // the source rows `out` was last made from
  // A copy writes the same pixels for the same source rows, so an enlarged
  // row repeats the destination row above it.
  const bool repeatRows = gFastPaths && RopTable(rop) == 0xCC;
  size_t lutSize = 0;
  const uint32_t* lut = converter.Lut(&lutSize);
  if (repeatRows && src.bpp == 1 && dst.bpp == 8 && lut) {
    // A monochrome glyph copied onto an 8-bit page: each pixel straight from
    // the bits it takes, through the converter's table.
    for (int r = 0; r < my.count; ++r) {
      uint8_t* d = dst.Row(my.first + r) + mx.first;
      const int rowLo = my.lo[r], rowHi = my.hi[r];
      if (r > 0 && rowLo == my.lo[r - 1] && rowHi == my.hi[r - 1]) {
        std::memcpy(d, dst.Row(my.first + r - 1) + mx.first, static_cast<size_t>(mx.count));
        continue;
      }
      for (int c = 0; c < mx.count; ++c) {
        uint32_t v = init;
        for (int sr = rowLo; sr <= rowHi; ++sr) {
          const uint8_t* bits = src.Row(sr);
          for (int x = mx.lo[c]; x <= mx.hi[c]; ++x) {
            const uint32_t p = (bits[x >> 3] >> (7 - (x & 7))) & 1u;
            v = mode == Scans::And ? v & p : mode == Scans::Or ? v | p : p;
          }
        }
        d[c] = static_cast<uint8_t>(v < lutSize ? lut[v] : 0);
      }
    }
    return;
  }
  for (int r = 0; r < my.count; ++r) {
    const int rowLo = my.lo[r], rowHi = my.hi[r];
    if (repeatRows && r > 0 && rowLo == doneLo && rowHi == doneHi) {
      CopyRaw(dst, my.first + r, mx.first, dst, my.first + r - 1, mx.first, mx.count, scratch);
      continue;
    }
    if (rowLo != doneLo || rowHi != doneHi) {
      std::fill(out.begin(), out.end(), init);
      for (int sr = rowLo; sr <= rowHi; ++sr) {
        ReadPixels(src, sr, mx.spanLo, span, srcRow.data());
        for (int c = 0; c < mx.count; ++c) {
          uint32_t v = out[c];
          for (int x = mx.lo[c]; x <= mx.hi[c]; ++x) {
            const uint32_t p = srcRow[x - mx.spanLo];
            v = mode == Scans::And ? v & p : mode == Scans::Or ? v | p : p;
          }
          out[c] = v;
        }
      }
      converter.Apply(out.data(), out.data(), mx.count);
      doneLo = rowLo;
      doneHi = rowHi;
    }
    CombineRow(dst, my.first + r, mx.first, mx.count, out.data(), pat, rop, scratch);
  }
  if (memoable) memo.Remember(dst, mx, my);
}

}  // namespace soft::blit
