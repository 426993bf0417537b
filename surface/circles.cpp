// Circles, plain arcs, shaded arcs and the points a fill collects along
// them. Circles and plain arcs are the platform's ellipse and arc on a box
// corrected to the cell shape; shaded arcs are chains of shaded chords.
#include <algorithm>
#include <cstdint>

#include "surface/drawing_recipe.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/integer_trig.h"
#include "surface/wrap_arith.h"
#include "surface/writing_modes.h"

namespace {

// A circle's ellipse in page pixels: the centre, the horizontal radius r
// and the vertical radius rv corrected to the cell shape.
struct CircleBox {
  int32_t cx, cy, r, rv;
  int32_t Left() const { return SubWrap(cx, r); }
  int32_t Top() const { return SubWrap(cy, rv); }
  int32_t Right() const { return AddWrap(cx, r); }
  int32_t Bottom() const { return AddWrap(cy, rv); }
};

// Page pixels of points on a circle about a centre: the vertical distance
// is scaled as if a cell were twice as high as wide. dx is added to every x
// (arcs sit one pixel right of circles).
class CircleGeometry {
 public:
  CircleGeometry(const CGrDrv& s, int32_t x2, int32_t y2, int32_t dx)
      : s_(s),
        y2_(y2),
        dx_(dx),
        cx_(AddWrap(ScaleToPage(s.pageWidth, x2, 800), dx)),
        cy_(ScaleToPage(s.pageHeight, y2, 480)) {}

  POINT Pixel(int32_t x, int32_t y) const {
    const int32_t px = AddWrap(ScaleToPage(s_.pageWidth, x, 800), dx_);
    const int32_t py = AddWrap(cy_, DivWrap(MulWrap(MulWrap(SubWrap(y, y2_), s_.cellWidth), s_.rows), 240));
    return POINT{px, py};
  }

  CircleBox Box(int32_t x, int32_t y) const {
    const POINT p = Pixel(x, y);
    const int32_t ex = SubWrap(cx_, p.x), ey = SubWrap(cy_, p.y);
    const int32_t r = ISqrt(AddWrap(MulWrap(ex, ex), MulWrap(ey, ey)));
    const int32_t rv = DivWrap(MulWrap(s_.cellHeight, r), MulWrap(2, s_.cellWidth));
    return CircleBox{cx_, cy_, r, rv};
  }

 private:
  const CGrDrv& s_;
  int32_t y2_, dx_, cx_, cy_;
};

// The window rectangle of a box drawn on the page, one past its far
// corner; with a reference line it reaches that line too.
RECT WindowBox(const CircleBox& b, const CShading* shading, const CGrDrv& s) {
  RECT rect{SubWrap(std::min(b.Left(), b.Right()), s.scrollX),
            SubWrap(std::min(b.Top(), b.Bottom()), s.scrollY),
            AddWrap(SubWrap(std::max(b.Left(), b.Right()), s.scrollX), 1),
            AddWrap(SubWrap(std::max(b.Top(), b.Bottom()), s.scrollY), 1)};
  if (shading && (shading->flags & kShadingOn)) {
    if (shading->flags & kShadingHorizontal) {
      const int32_t line = SubWrap(ScaleToPage(s.pageHeight, shading->reference, 480), s.scrollY);
      rect.top = std::min<LONG>(rect.top, line);
      rect.bottom = std::max<LONG>(rect.bottom, line);
    } else {
      const int32_t line = SubWrap(ScaleToPage(s.pageWidth, shading->reference, 800), s.scrollX);
      rect.left = std::min<LONG>(rect.left, line);
      rect.right = std::max<LONG>(rect.right, line);
    }
  }
  return rect;
}

// Chord steps reach 0 from a pixel radius of 3229 on (and go negative when
// the radius squared wraps); such circles are walked in steps of 1 degree,
// which is still finer than a pixel only on the visible part.
int32_t UsableStep(int32_t step) {
  return step < 1 ? 1 : step;
}

}  // namespace

void CGrDrv::DrawCircle(CGraphicsState* state, int x1, int y1, int x2, int y2) {
  if (pointList) {
    CollectArcPoints(state, x1, y1, x2, y2, 360, pageWidth, pageHeight);
    return;
  }
  if (!IsWindow(window) || !state) return;
  CDrawingRecipe recipe(*this, *state, 0);
  if (recipe.Skip()) return;
  HDC dc = recipe.DC();
  const CShading& shading = recipe.Controls().shading;
  const CircleBox box = CircleGeometry(*this, x2, y2, 0).Box(x1, y1);
  Ellipse(dc, box.Left(), box.Top(), box.Right(), box.Bottom());

  RECT merge = ShadedBox(shading, box.Left(), box.Top(), box.Right(), box.Bottom(), pageWidth, pageHeight);
  if (shading.flags & kShadingOn) {
    // The band from the middle to the reference line closes the shaded half.
    if (shading.flags & kShadingHorizontal) {
      const int32_t r = ScaleToPage(pageHeight, shading.reference, 480);
      const int32_t my = AddWrap(box.Top(), DivWrap(SubWrap(box.Bottom(), box.Top()), 2));
      if (r != my) Rectangle(dc, box.Left(), std::min(my, r), box.Right(), std::max(my, r));
    } else {
      const int32_t r = ScaleToPage(pageWidth, shading.reference, 800);
      const int32_t mx = AddWrap(box.Left(), DivWrap(SubWrap(box.Right(), box.Left()), 2));
      if (r != mx) Rectangle(dc, std::min(mx, r), box.Top(), std::max(mx, r), box.Bottom());
    }
  }
  recipe.Finish(&merge);
  InvalidateDrawn(state, WindowBox(box, &shading, *this));
}

POINT CGrDrv::DrawArc(CGraphicsState* state, int x1, int y1, int x2, int y2, int angle) {
  if (pointList) return CollectArcPoints(state, x1, y1, x2, y2, angle, pageWidth, pageHeight);
  HDC dc = state ? OutputDC(state) : nullptr;
  if (!IsWindow(window) || !state || !state->active || !dc) return POINT{x1, y1};
  const int32_t dx = SubWrap(x2, x1), dy = SubWrap(y2, y1);
  const int32_t r0 = ISqrt(AddWrap(MulWrap(dx, dx), MulWrap(dy, dy)));
  if (r0 == 0) {
    PlotPoint(state);
    return POINT{x2, y2};
  }
  const POINT end = RotatePoint(x2, y2, x1, y1, angle, r0);
  const CircleGeometry geometry(*this, x2, y2, 1);
  const CircleBox box = geometry.Box(x1, y1);
  const POINT from = geometry.Pixel(x1, y1), to = geometry.Pixel(end.x, end.y);

  // Arcs take only the colour and the line style: no mask test, no writing
  // mode, nothing merged.
  const CWriteControls& w = *state->active;
  HPEN pen = CreatePen(PenStyleForPattern(w.pattern), 1, PALETTEINDEX((w.foreground & w.planeMask) & 0xFF));
  HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  SetBkColor(dc, PALETTEINDEX(LOWORD(state->background)));
  // The platform turns counterclockwise from its first radial to its second.
  if (angle >= 0)
    Arc(dc, box.Left(), box.Top(), box.Right(), box.Bottom(), from.x, from.y, to.x, to.y);
  else
    Arc(dc, box.Left(), box.Top(), box.Right(), box.Bottom(), to.x, to.y, from.x, from.y);
  if (oldBrush) SelectObject(dc, oldBrush);
  if (oldPen) SelectObject(dc, oldPen);
  if (pen) DeleteObject(pen);
  InvalidateDrawn(state, WindowBox(box, nullptr, *this));
  return end;
}

POINT CGrDrv::DrawShadedArc(CGraphicsState* state, int x1, int y1, int x2, int y2, int angle) {
  if (!IsWindow(window) || !state) return POINT{x1, y1};
  CDrawingRecipe recipe(*this, *state, 0, false);
  if (recipe.Skip()) return POINT{x1, y1};
  const int suppressed = UpdatesAllowed() ? 0 : 1;
  const int32_t step = UsableStep(ChordStep(x1, y1, x2, y2, pageWidth, pageHeight));
  const int32_t walk = BoundedArcAngle(angle);
  POINT prev{x1, y1};
  auto chord = [&](int32_t a) {
    const POINT p = RotateAbout(x1, y1, x2, y2, a);
    DrawSegment(state, p.x, p.y, prev.x, prev.y, window, recipe.DC(), recipe.Pen(), recipe.Brush(), pageWidth,
                pageHeight, scrollX, scrollY, suppressed);
    prev = p;
  };
  if (walk >= 1) {
    for (int32_t a = step; a < walk; a += step) chord(a);
  } else {
    for (int32_t a = -step; walk < a; a -= step) chord(a);
  }
  chord(angle);
  recipe.Finish(nullptr);
  return prev;
}

POINT CGrDrv::CollectArcPoints(CGraphicsState* /*state*/, int x1, int y1, int x2, int y2, int angle,
                               int width, int height) {
  const int32_t dx = SubWrap(x2, x1), dy = SubWrap(y2, y1);
  const int32_t r = ISqrt(AddWrap(MulWrap(dy, dy), MulWrap(dx, dx)));
  if (!pointList || angle == 0 || r == 0) return POINT{x1, y1};
  const int32_t sign = angle >= 1 ? 1 : -1;
  // Half steps of 0 (from a step of 1 or less) become 1 degree.
  const int32_t increment = std::max(UsableStep(ChordStep(x1, y1, x2, y2, width, height)) / 2, 1) * sign;
  const int64_t walk = static_cast<int64_t>(BoundedArcAngle(angle)) * sign;
  POINT last{x1, y1};
  for (int32_t a = 0; static_cast<int64_t>(a) * sign <= walk; a += increment) {
    last = RotatePoint(x2, y2, x1, y1, a, r);
    pointList->Add(last.x, last.y);
  }
  return last;
}
