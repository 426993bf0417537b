// Interpolated curves: the walk over the curve command's points that gives
// each piece its four control points, and the flattening of one piece by
// halving its parameter range until the chord matches the cubic.
#include <cstdint>
#include <cstdlib>

#include "surface/curve_point_list.h"
#include "surface/drawing_recipe.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/integer_trig.h"
#include "surface/wrap_arith.h"

namespace {

constexpr int32_t kOne = 65536;  // t = 1 in 16.16 fixed point

struct CAxis {
  CCubic k;
  int32_t At(int32_t t) const { return EvalCubic(k.a, k.b, k.c, k.d, t); }
  int32_t Chord(int32_t t0, int32_t t1, int32_t t) const { return ChordValue(k.a, k.b, k.c, k.d, t0, t1, t); }

  int32_t Discriminant() const {
    return AddWrap(MulWrap(MulWrap(3, k.a), AddWrap(k.a, k.b)), MulWrap(k.b, k.b));
  }

  // Whether a point of the cubic where it may turn lies off the chord
  // between t0 and t1.
  bool Bends(int32_t t0, int32_t t1, int32_t tm) const {
    int32_t probes[2] = {tm, tm};
    if (k.a != 0) {
      const int32_t d = ISqrt(Discriminant());
      const int32_t threeA = MulWrap(3, k.a);
      probes[0] = DivWrap(MulWrap(SubWrap(SubWrap(0, d), k.b), kOne), threeA);
      probes[1] = DivWrap(MulWrap(SubWrap(d, k.b), kOne), threeA);
    }
    for (int32_t p : probes)
      if (p >= t0 && p <= t1 && At(p) != Chord(t0, t1, p)) return true;
    return false;
  }

  // A range that holds every value of the cubic between t0 and t1: the
  // slope never exceeds 3|a| + 2|b| + |c| per unit of t.
  void Bounds(int32_t t0, int32_t t1, int64_t* lo, int64_t* hi) const {
    const int64_t slope = 3 * std::llabs(k.a) + 2 * std::llabs(k.b) + std::llabs(k.c);
    const int64_t reach = slope * (static_cast<int64_t>(t1) - t0) / kOne + 1;
    const int64_t v = At(t0);
    *lo = v - reach;
    *hi = v + reach;
  }
};

// Whether a range of values in ReGIS units lies wholly beyond one edge of a
// page axis of units units: past the far edge, or more than a page before
// the near one, where no page size can scale it back to pixel 0.
bool OffAxis(int64_t lo, int64_t hi, int64_t units) {
  return hi < -units || lo >= units;
}

int32_t AbsWrap(int32_t v) {
  return v < 0 ? SubWrap(0, v) : v;
}

int32_t Manhattan(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return AddWrap(AbsWrap(SubWrap(x0, x1)), AbsWrap(SubWrap(y0, y1)));
}

}  // namespace

void CGrDrv::DrawCurve(CGraphicsState* state, CCurvePointList* list, int closed) {
  if (!IsWindow(window) || !state || !list) return;
  if (list->Count() < 3 || (!closed && list->Count() < 4)) return;
  CDrawingRecipe recipe(*this, *state, 0);
  if (recipe.Skip()) return;

  list->Rewind();
  const CCurvePoint* a = list->Last();
  const CCurvePoint* b = closed ? list->First() : list->Next();
  const CCurvePoint* c = list->Next();
  const CCurvePoint* d = list->Next();
  const CCurvePoint* b0 = b;
  const CCurvePoint* c0 = c;
  if (!closed) a = b;
  auto piece = [&](const CCurvePoint* p0, const CCurvePoint* p1, const CCurvePoint* p2,
                   const CCurvePoint* p3) {
    DrawCurveSegment(state, *p0, *p1, *p2, *p3, 0, kOne, window, recipe.DC(), recipe.Pen(), recipe.Brush(),
                     pageWidth, pageHeight, scrollX, scrollY, redrawSuspended, smooth);
  };
  for (;;) {
    piece(a, b, c, d);
    const CCurvePoint* n = list->Next();
    if (!n) break;
    a = b;
    b = c;
    c = d;
    d = n;
  }
  if (closed) {
    piece(b, c, d, b0);
    piece(c, d, b0, c0);
  }
  recipe.Finish(nullptr);
  if (UpdatesAllowed()) UpdateWindow(window);
}

void CGrDrv::DrawCurveSegment(CGraphicsState* state, const CCurvePoint& p0, const CCurvePoint& p1,
                              const CCurvePoint& p2, const CCurvePoint& p3, int32_t t0, int32_t t1,
                              HWND target, HDC dc, HPEN pen, HBRUSH brush, int width, int height, int viewX,
                              int viewY, int suspended, int smoothDrawing) {
  const CAxis x{CubicThrough(p0.x, p1.x, p2.x, p3.x)};
  const CAxis y{CubicThrough(p0.y, p1.y, p2.y, p3.y)};
  const int32_t tm = AddWrap(t0, DivWrap(SubWrap(t1, t0), 2));
  const int suppressed = suspended && !smoothDrawing ? 1 : 0;
  auto segment = [&](int32_t from, int32_t to) {
    DrawSegment(state, x.At(from), y.At(from), x.At(to), y.At(to), target, dc, pen, brush, width, height,
                viewX, viewY, suppressed);
  };

  // A plain line wholly off the page changes nothing, so huge curves cost
  // only their visible parts. Shaded strips reach back onto the page and a
  // collecting fill needs every point, so those are walked in full.
  const bool shading = state && state->active && (state->active->shading.flags & kShadingOn);
  if (!pointList && !shading) {
    int64_t xlo, xhi, ylo, yhi;
    x.Bounds(t0, t1, &xlo, &xhi);
    y.Bounds(t0, t1, &ylo, &yhi);
    if (OffAxis(xlo, xhi, 800) || OffAxis(ylo, yhi, 480)) return;
  }

  // Halving stops when the range cannot be split further: at most 16 levels.
  const bool splittable = tm != t0 && tm != t1;
  const bool turns = x.Discriminant() >= 0 && y.Discriminant() >= 0;
  if (!splittable || !turns || !(x.Bends(t0, t1, tm) || y.Bends(t0, t1, tm))) {
    segment(t0, t1);
    return;
  }
  // Flat enough when the half is shorter than 5 units.
  if (Manhattan(x.At(t0), y.At(t0), x.At(tm), y.At(tm)) < 5)
    segment(t0, tm);
  else
    DrawCurveSegment(state, p0, p1, p2, p3, t0, tm, target, dc, pen, brush, width, height, viewX, viewY,
                     suspended, smoothDrawing);
  if (Manhattan(x.At(t1), y.At(t1), x.At(tm), y.At(tm)) < 5)
    segment(t1, tm);
  else
    DrawCurveSegment(state, p0, p1, p2, p3, tm, t1, target, dc, pen, brush, width, height, viewX, viewY,
                     suspended, smoothDrawing);
}
