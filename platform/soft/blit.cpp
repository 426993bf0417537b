// BitBlt, PatBlt, StretchBlt and ScrollDC: blits between the surfaces of
// DCs, with GDI's conversions between monochrome, palette and RGB bitmaps.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/soft/blitter.h"
#include "platform/soft/objects.h"
#include "platform/soft/palette.h"
#include "platform/soft/raster.h"

namespace soft {
namespace {

using blit::Box;
using blit::Converter;
using blit::Surface;

COLORREF Unpack(uint32_t rgb32) {
  return RGB((rgb32 >> 16) & 0xFF, (rgb32 >> 8) & 0xFF, rgb32 & 0xFF);
}

// How the pixel values of a source bitmap become those of the destination.
Converter BlitConverter(const DCObj& dstDC, const BitmapObj& dst, const DCObj& srcDC, const BitmapObj& src) {
  if (src.bpp == 1 && !src.dib) {
    if (dst.bpp == 1 && !dst.dib) return Converter::Identity();
    // A monochrome device bitmap has no colours of its own: 0 takes the
    // destination's text colour and 1 its background colour. (A monochrome
    // DIB section shows its colour table instead, like any DIB section.)
    return Converter::Pair(ColorToPixel(dstDC, dst, dstDC.textColor),
                           ColorToPixel(dstDC, dst, dstDC.bkColor));
  }
  if (dst.bpp == 1) {
    // To monochrome: the pixels showing the source DC's background colour
    // become 1 (or the table entry nearest that colour), the rest 0.
    const uint32_t key = ColorToPixel(srcDC, src, srcDC.bkColor);
    const uint32_t hit = dst.dib ? RgbToPixel(dst, ResolveColor(srcDC, srcDC.bkColor)) & 1 : 1;
    const uint32_t miss = hit ^ 1;
    if (src.bpp == 32) return Converter::Function([=](uint32_t p) { return p == key ? hit : miss; });
    // Values of 8 bits or fewer: a table would map every value below 2^bpp
    // the same way.
    return Converter::Key(key, hit, miss);
  }
  if (src.bpp == 32) {
    if (dst.bpp == 32) return Converter::Identity();
    const BitmapObj* d = &dst;
    return Converter::Function([d](uint32_t p) { return RgbToPixel(*d, Unpack(p)); });
  }
  // Device bitmaps of the display share the system palette: indices stay.
  if (src.bpp == 8 && dst.bpp == 8 && !src.dib && !dst.dib) return Converter::Identity();
  // Indices go through the colour they show; an index that shows the same
  // colour on the destination keeps its value, so duplicate palette colours
  // are not merged.
  std::vector<uint32_t> lut(size_t{1} << src.bpp);
  bool identity = src.bpp == dst.bpp;
  for (uint32_t i = 0; i < lut.size(); ++i) {
    const COLORREF c = PixelToColor(src, i);
    lut[i] = dst.bpp == 8 && PixelToColor(dst, i) == c ? i : RgbToPixel(dst, c);
    identity = identity && lut[i] == i;
  }
  return identity ? Converter::Identity() : Converter::Table(std::move(lut));
}

blit::Scans ScansOf(const DCObj& dc) {
  switch (dc.stretchMode) {
    case WHITEONBLACK:
      return blit::Scans::Or;
    case COLORONCOLOR:
    case HALFTONE:
      return blit::Scans::Delete;
    default:
      return blit::Scans::And;
  }
}

// A same-size blit of a w x h box (w, h >= 0) between the surfaces of DCs.
BOOL BlitBetween(DCObj& dc, BitmapObj& dst, int64_t x, int64_t y, int64_t w, int64_t h, HDC hdcSrc,
                 int64_t sx, int64_t sy, DWORD rop) {
  DCObj* sdc = nullptr;
  BitmapObj* src = nullptr;
  if (Rop3UsesSource(rop)) {
    sdc = GetDCObj(hdcSrc);
    src = Target(sdc);
    if (!src) return FALSE;
  }
  const Surface ds = blit::SurfaceOf(dst);
  const Surface ss = src ? blit::SurfaceOf(*src) : Surface{};
  const Box box = blit::ClipBlit(ds, x, y, w, h, src ? &ss : nullptr, sx, sy);
  if (box.Empty()) return TRUE;
  const Converter conv = src ? BlitConverter(dc, dst, *sdc, *src) : Converter::Identity();
  const Paint pat = Rop3UsesPattern(rop) ? blit::BlitBrush(dc, dst) : Paint{};
  blit::Blit(ds, box, blit::Source{src ? &ss : nullptr, &conv}, sx, sy, &pat, rop);
  return TRUE;
}

// A rectangle minus another, as the bounding box of what is left.
Box BoundsOfDifference(const Box& a, const Box& b) {
  if (a.Empty()) return Box{};
  const Box in = blit::Intersect(a, b);
  if (in.Empty()) return a;
  const Box pieces[] = {{a.left, a.top, a.right, in.top},
                        {a.left, in.bottom, a.right, a.bottom},
                        {a.left, in.top, in.left, in.bottom},
                        {in.right, in.top, a.right, in.bottom}};
  Box bounds{};
  bool any = false;
  for (const Box& p : pieces) {
    if (p.Empty()) continue;
    bounds = any ? Box{std::min(bounds.left, p.left), std::min(bounds.top, p.top),
                       std::max(bounds.right, p.right), std::max(bounds.bottom, p.bottom)}
                 : p;
    any = true;
  }
  return bounds;
}

Box BoxOf(const RECT& r) {
  return Box{r.left, r.top, r.right, r.bottom};
}

}  // namespace
}  // namespace soft

using namespace soft;

extern "C" {

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  DCObj* dc = GetDCObj(hdc);
  BitmapObj* dst = Target(dc);
  if (!dst) return FALSE;
  int64_t X = x, Y = y, W = cx, H = cy, sx = x1, sy = y1;
  // A negative extent moves both origins to the other end of the box.
  if (W < 0) {
    X += W;
    sx += W;
    W = -W;
  }
  if (H < 0) {
    Y += H;
    sy += H;
    H = -H;
  }
  return BlitBetween(*dc, *dst, X, Y, W, H, hdcSrc, sx, sy, rop);
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DCObj* dc = GetDCObj(hdc);
  BitmapObj* dst = Target(dc);
  if (!dst || Rop3UsesSource(rop)) return FALSE;
  // A negative extent covers [origin + extent + 1, origin + 1), as the
  // reference GDI draws it.
  int64_t X = x, Y = y, W = w, H = h;
  if (W < 0) {
    X += W + 1;
    W = -W;
  }
  if (H < 0) {
    Y += H + 1;
    H = -H;
  }
  return BlitBetween(*dc, *dst, X, Y, W, H, nullptr, 0, 0, rop);
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                       int ySrc, int wSrc, int hSrc, DWORD rop) {
  DCObj* dc = GetDCObj(hdcDest);
  BitmapObj* dst = Target(dc);
  if (!dst) return FALSE;
  blit::StretchAxis ax, ay;
  if (!Rop3UsesSource(rop)) {
    blit::StretchAxes(xDest, yDest, wDest, hDest, 0, 0, wDest, hDest, &ax, &ay);
    return BlitBetween(*dc, *dst, ax.dstStart, ay.dstStart, ax.dstLen, ay.dstLen, nullptr, 0, 0, rop);
  }
  DCObj* sdc = GetDCObj(hdcSrc);
  BitmapObj* src = Target(sdc);
  if (!src) return FALSE;
  if (wDest == 0 || hDest == 0) return TRUE;
  if (wSrc == 0 || hSrc == 0) return FALSE;
  blit::StretchAxes(xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, &ax, &ay);
  if (!ax.Mirrored() && !ay.Mirrored() && ax.srcLen == ax.dstLen && ay.srcLen == ay.dstLen)
    return BlitBetween(*dc, *dst, ax.dstStart, ay.dstStart, ax.dstLen, ay.dstLen, hdcSrc, ax.srcStart,
                       ay.srcStart, rop);
  Surface ss = blit::SurfaceOf(*src);
  std::vector<uint8_t> snapshot;
  if (src == dst) {  // stretching within one bitmap reads the pixels as they were
    snapshot.assign(src->bits, src->bits + ss.stride * static_cast<size_t>(ss.height));
    ss.bits = snapshot.data();
  }
  const Converter conv = BlitConverter(*dc, *dst, *sdc, *src);
  const Paint pat = Rop3UsesPattern(rop) ? blit::BlitBrush(*dc, *dst) : Paint{};
  blit::Stretch(blit::SurfaceOf(*dst), ax, ay, ss, conv, ScansOf(*dc), &pat, rop);
  return TRUE;
}

BOOL WINAPI ScrollDC(HDC hDC, int dx, int dy, const RECT* lprcScroll, const RECT* lprcClip, HRGN hrgnUpdate,
                     LPRECT lprcUpdate) {
  (void)hrgnUpdate;  // there are no regions; the update rectangle says all
  BitmapObj* bmp = Target(GetDCObj(hDC));
  if (!bmp) return FALSE;
  const Surface s = blit::SurfaceOf(*bmp);
  const Box all{0, 0, s.width, s.height};
  const Box scroll = lprcScroll ? blit::Intersect(BoxOf(*lprcScroll), all) : all;
  const Box clip = lprcClip ? blit::Intersect(BoxOf(*lprcClip), all) : all;
  // The clip rectangle limits both where the bits come from and where they go.
  const Box from = blit::Intersect(scroll, clip);
  Box moved{};
  if (!from.Empty()) {
    moved = blit::Intersect(Box{from.left + dx, from.top + dy, from.right + dx, from.bottom + dy}, clip);
    if (moved.Empty()) {
      moved = Box{};
    } else {
      const Converter same = Converter::Identity();
      blit::Blit(s, moved, blit::Source{&s, &same}, moved.left - dx, moved.top - dy, nullptr, SRCCOPY);
    }
  }
  if (lprcUpdate) {
    const Box u = BoundsOfDifference(from, moved);
    *lprcUpdate = u.Empty() ? RECT{0, 0, 0, 0}
                            : RECT{static_cast<LONG>(u.left), static_cast<LONG>(u.top),
                                   static_cast<LONG>(u.right), static_cast<LONG>(u.bottom)};
  }
  return TRUE;
}

}  // extern "C"
