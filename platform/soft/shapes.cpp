// The Win32 drawing calls for pixels, lines and shapes. Each resolves the
// DC and its target, then hands the geometry to the rasterisers: lines.h for
// outlines, ellipse.h for ellipses and arcs, polygon.h for interiors.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/soft/ellipse.h"
#include "platform/soft/lines.h"
#include "platform/soft/objects.h"
#include "platform/soft/palette.h"
#include "platform/soft/polygon.h"
#include "platform/soft/raster.h"
#include "platform/soft/stroke.h"
#include "platform/win32.h"

namespace soft {
namespace {

// The DC of a drawing call and the bitmap it draws on; the call fails when
// either is missing.
struct Canvas {
  DCObj* dc = nullptr;
  BitmapObj* bmp = nullptr;
  explicit Canvas(HDC hdc) : dc(GetDCObj(hdc)), bmp(dc ? Target(dc) : nullptr) {}
  explicit operator bool() const { return bmp != nullptr; }
};

// A box given by two corners, as GDI orders it.
struct Box {
  int64_t l, t, r, b;
  Box(int left, int top, int right, int bottom) : l(left), t(top), r(right), b(bottom) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
  }
  bool Empty() const { return l == r || t == b; }
};

// Fills [l, r) x [t, b) through the raster path.
void FillBox(BitmapObj& bmp, int64_t l, int64_t t, int64_t r, int64_t b, const Paint& paint, int rop2) {
  l = std::max<int64_t>(l, 0);
  t = std::max<int64_t>(t, 0);
  r = std::min<int64_t>(r, bmp.width);
  b = std::min<int64_t>(b, bmp.height);
  if (l >= r) return;
  for (int64_t y = t; y < b; ++y)
    FillSpan(bmp, static_cast<int>(y), static_cast<int>(l), static_cast<int>(r), paint, rop2);
}

POINT Pt(int64_t x, int64_t y) {
  return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
}

// The pen path of Rectangle runs through the centres of the box's edge
// pixels, counterclockwise from the top right corner; the inside is what the
// pen leaves of the box.
void DrawRectangle(PenStroke& pen, const Paint& brush, const Box& box) {
  BitmapObj& bmp = pen.Target();
  const int rop2 = pen.Rop2();
  if (pen.IsNull()) {
    FillBox(bmp, box.l, box.t, box.r - 1, box.b - 1, brush, rop2);
    return;
  }
  int64_t l = box.l, t = box.t, r = box.r - 1, b = box.b - 1;  // inclusive
  const int64_t w = pen.IsWide() ? pen.Width() : 1;
  if (pen.IsWide() && pen.InsideFrame()) {
    l += w / 2;
    t += w / 2;
    r -= (w - 1) / 2;
    b -= (w - 1) / 2;
    if (r < l) l = r = box.l + (box.r - box.l - 1) / 2;
    if (b < t) t = b = box.t + (box.b - box.t - 1) / 2;
  }
  FillBox(bmp, l + (w + 1) / 2, t + (w + 1) / 2, r - w / 2, b - w / 2, brush, rop2);
  if (!pen.IsWide() && l == r && t == b) return;  // GDI leaves a one-pixel box empty
  if (!pen.IsWide() && (l == r || t == b)) {
    // A box one pixel thin has no inside; its outline is a single line.
    const POINT line[2] = {Pt(l, t), l == r ? Pt(l, b + 1) : Pt(r + 1, t)};
    StrokePath(pen, line, 2, false);
    return;
  }
  const POINT path[4] = {Pt(r, t), Pt(l, t), Pt(l, b), Pt(r, b)};
  StrokePath(pen, path, 4, true);
}

}  // namespace
}  // namespace soft

using namespace soft;

extern "C" {

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  Canvas c(hdc);
  if (!c || !c.bmp->Contains(x, y)) return CLR_INVALID;
  const uint32_t pixel = ColorToPixel(*c.dc, *c.bmp, color);
  PlotPixel(*c.bmp, x, y, pixel, R2_COPYPEN);  // SetPixel ignores the ROP2
  return PixelToColor(*c.bmp, pixel);
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  Canvas c(hdc);
  if (!c || !c.bmp->Contains(x, y)) return CLR_INVALID;
  return PixelToColor(*c.bmp, c.bmp->Get(x, y));
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->pos;
  dc->pos = POINT{x, y};
  return TRUE;
}

BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || !lppt) return FALSE;
  *lppt = dc->pos;
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  Canvas c(hdc);
  if (!c) return FALSE;
  PenStroke pen(*c.dc, *c.bmp);
  const POINT line[2] = {c.dc->pos, POINT{x, y}};
  StrokePath(pen, line, 2, false);
  c.dc->pos = line[1];
  return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
  Canvas c(hdc);
  if (!c || !apt || cpt < 2) return FALSE;
  PenStroke pen(*c.dc, *c.bmp);
  StrokePath(pen, apt, static_cast<size_t>(cpt), false);
  return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
  Canvas c(hdc);
  if (!c || !apt || cpt < 2) return FALSE;
  PenStroke pen(*c.dc, *c.bmp);
  FillPolygon(*c.bmp, apt, static_cast<size_t>(cpt), c.dc->polyFillMode, DCBrushPaint(*c.dc, *c.bmp),
              c.dc->rop2);
  StrokePath(pen, apt, static_cast<size_t>(cpt), true);
  return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Canvas c(hdc);
  if (!c) return FALSE;
  const Box box(left, top, right, bottom);
  if (box.Empty()) return TRUE;
  PenStroke pen(*c.dc, *c.bmp);
  DrawRectangle(pen, DCBrushPaint(*c.dc, *c.bmp), box);
  return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  Canvas c(hdc);
  if (!c) return FALSE;
  const Box box(left, top, right, bottom);
  if (box.Empty()) return TRUE;
  PenStroke pen(*c.dc, *c.bmp);
  DrawEllipse(pen, DCBrushPaint(*c.dc, *c.bmp), box.l, box.t, box.r, box.b);
  return TRUE;
}

BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Canvas c(hdc);
  if (!c) return FALSE;
  const Box box(x1, y1, x2, y2);
  if (box.Empty()) return TRUE;
  PenStroke pen(*c.dc, *c.bmp);
  DrawArc(pen, box.l, box.t, box.r, box.b, POINT{x3, y3}, POINT{x4, y4});
  return TRUE;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  Canvas c(hDC);
  const BrushObj* brush = GetBrush(hbr);
  if (!c || !lprc || !brush) return 0;
  const Box box(lprc->left, lprc->top, lprc->right, lprc->bottom);
  FillBox(*c.bmp, box.l, box.t, box.r, box.b, BrushPaint(*c.dc, *c.bmp, brush), R2_COPYPEN);
  return 1;
}

}  // extern "C"
