// The line primitives: a vector with the active writing controls, the
// segment routine that curves and shaded arcs share, and the shaded strip
// that shading draws between a segment and its reference line.
#include <algorithm>
#include <cstdint>

#include "surface/drawing_recipe.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

namespace {

// Pattern-fills a rectangle given as the platform takes it (a negative
// extent runs back from its origin), cut to the page first so that a
// reference line far outside costs nothing.
void FillOnPage(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h, int width, int height) {
  int64_t left = x, top = y, right, bottom;
  if (w < 0) {
    left += static_cast<int64_t>(w) + 1;
    right = left - w;
  } else {
    right = left + w;
  }
  if (h < 0) {
    top += static_cast<int64_t>(h) + 1;
    bottom = top - h;
  } else {
    bottom = top + h;
  }
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, width);
  bottom = std::min<int64_t>(bottom, height);
  if (left >= right || top >= bottom) return;
  PatBlt(dc, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
         static_cast<int>(bottom - top), PATCOPY);
}

struct StripGeometry {
  int32_t x1, y1, x2, y2;  // page pixels
  int32_t reference;       // page pixels on the reference's axis
  bool horizontal;         // the reference is a line y = reference
};

// The triangles between a slanted segment and the reference: one when the
// reference lies beyond an end, two meeting at the midpoint when it passes
// between them.
bool DrawStripTriangles(HDC dc, const StripGeometry& g) {
  if (g.x1 == g.x2 || g.y1 == g.y2) return false;
  const bool firstIsLeft = g.x1 < g.x2;
  const int32_t xl = firstIsLeft ? g.x1 : g.x2, yl = firstIsLeft ? g.y1 : g.y2;
  const int32_t xr = firstIsLeft ? g.x2 : g.x1, yr = firstIsLeft ? g.y2 : g.y1;
  const int32_t r = g.reference;
  bool a, b;
  if (g.horizontal) {
    a = yl <= yr ? yl >= r : r <= yr;
    b = yl <= yr ? r >= yr : yl <= r;
  } else {
    a = yl <= yr ? r >= xr : xl >= r;
    b = yl <= yr ? xl >= r : r >= xr;
  }
  if (a) {
    CGrDrv::DrawTriangle(dc, xl, yl, xr, yr, 1);
  } else if (b) {
    CGrDrv::DrawTriangle(dc, xl, yl, xr, yr, 0);
  } else {
    const int32_t xm = AddWrap(xl, DivWrap(SubWrap(xr, xl), 2));
    const int32_t ym = AddWrap(yl, DivWrap(SubWrap(yr, yl), 2));
    const bool leftCornerBelow = g.horizontal ? yl < yr : yl >= yr;
    CGrDrv::DrawTriangle(dc, xl, yl, xm, ym, leftCornerBelow ? 0 : 1);
    CGrDrv::DrawTriangle(dc, xm, ym, xr, yr, leftCornerBelow ? 1 : 0);
  }
  return true;
}

// The rectangle between the segment's extent and the reference line.
bool DrawStripRectangle(HDC dc, const StripGeometry& g, int width, int height) {
  const int32_t r = g.reference;
  int32_t left, right, top, bottom;
  if (g.horizontal) {
    left = std::min(g.x1, g.x2);
    right = std::max(g.x1, g.x2);
    const int32_t lower = std::max(g.y1, g.y2), upper = std::min(g.y1, g.y2);
    if (lower < r) {
      top = lower;
      bottom = r;
    } else if (r < upper) {
      top = r;
      bottom = upper;
    } else {
      return false;
    }
  } else {
    top = std::min(g.y1, g.y2);
    bottom = std::max(g.y1, g.y2);
    const int32_t further = std::max(g.x1, g.x2), nearer = std::min(g.x1, g.x2);
    if (further < r) {
      left = further;
      right = r;
    } else if (r < nearer) {
      left = r;
      right = nearer;
    } else {
      return false;
    }
  }
  if (right == left || bottom == top) return false;
  FillOnPage(dc, left, top, SubWrap(right, left), AddWrap(SubWrap(bottom, top), 1), width, height);
  return true;
}

}  // namespace

void CGrDrv::DrawVector(CGraphicsState* state, int x1, int y1, int x2, int y2) {
  if (pointList) {
    pointList->Add(x2, y2);
    return;
  }
  if (!IsWindow(window) || !state) return;
  CDrawingRecipe recipe(*this, *state, 0);
  if (recipe.Skip()) return;
  DrawSegment(state, x1, y1, x2, y2, window, recipe.DC(), recipe.Pen(), recipe.Brush(), pageWidth, pageHeight,
              scrollX, scrollY, UpdatesAllowed() ? 0 : 1);
  const RECT box = ShadedBox(recipe.Controls().shading, PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2),
                             pageWidth, pageHeight);
  recipe.Finish(&box);
}

void CGrDrv::DrawSegment(CGraphicsState* state, int x1, int y1, int x2, int y2, HWND target, HDC dc,
                         HPEN /*pen*/, HBRUSH /*brush*/, int width, int height, int viewX, int viewY,
                         int suppressed) {
  if (pointList) {
    pointList->Add(x2, y2);
    return;
  }
  if (!dc || !state || !state->active) return;
  const CShading shading = state->active->shading;
  const int32_t px1 = ScaleToPage(width, x1, 800), py1 = ScaleToPage(height, y1, 480);
  const int32_t px2 = ScaleToPage(width, x2, 800), py2 = ScaleToPage(height, y2, 480);
  const bool samePage = state->outputPage == state->screenPage;
  RECT changed{SubWrap(std::min(px1, px2), viewX), SubWrap(std::min(py1, py2), viewY),
               AddWrap(SubWrap(std::max(px1, px2), viewX), 1),
               AddWrap(SubWrap(std::max(py1, py2), viewY), 1)};

  if (!(shading.flags & kShadingOn)) {
    MoveToEx(dc, px1, py1, nullptr);
    LineTo(dc, px2, py2);
    if (!suppressed && samePage && target) {
      InvalidateRect(target, &changed, FALSE);
      UpdateWindow(target);
    }
    return;
  }

  StripGeometry strip{px1, py1, px2, py2, 0, (shading.flags & kShadingHorizontal) != 0};
  strip.reference = strip.horizontal ? ScaleToPage(height, shading.reference, 480)
                                     : ScaleToPage(width, shading.reference, 800);
  const bool triangles = DrawStripTriangles(dc, strip);
  const bool rectangle = DrawStripRectangle(dc, strip, width, height);
  // The strip reaches the window even while updates are suspended.
  if ((triangles || rectangle) && samePage && target) {
    if (strip.horizontal) {
      const int32_t line = SubWrap(strip.reference, viewY);
      if (line < changed.top) changed.top = line;
      if (line > changed.bottom) changed.bottom = line;
    } else {
      const int32_t line = SubWrap(strip.reference, viewX);
      if (line < changed.left) changed.left = line;
      if (line > changed.right) changed.right = line;
    }
    InvalidateRect(target, &changed, FALSE);
    UpdateWindow(target);
  }
}

void CGrDrv::DrawTriangle(HDC dc, int xa, int ya, int xb, int yb, int corner) {
  POINT c;
  if (corner == 1) {
    c = yb > ya ? POINT{xb, ya} : POINT{xa, yb};
  } else {
    c = yb > ya ? POINT{xa, yb} : POINT{xb, ya};
  }
  const POINT outline[3] = {{xa, ya}, c, {xb, yb}};
  Polygon(dc, outline, 3);
}
