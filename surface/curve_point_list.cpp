#include "surface/curve_point_list.h"

#include <new>

#include "surface/wrap_arith.h"

CCurvePointList::CCurvePointList(int32_t x, int32_t y) : points_{CCurvePoint{x, y}} {}

void CCurvePointList::Append(int32_t x, int32_t y) {
  if (points_.size() >= kMaxPoints) return;
  try {
    points_.push_back(CCurvePoint{x, y});
  } catch (const std::bad_alloc&) {
  }
}

const CCurvePoint* CCurvePointList::Next() {
  if (cursor_ < points_.size()) ++cursor_;
  return cursor_ < points_.size() ? &points_[cursor_] : nullptr;
}

CCubic CubicThrough(int32_t p0, int32_t p1, int32_t p2, int32_t p3) {
  const int32_t out = SubWrap(p2, p0);  // tangent at p1
  const int32_t in = SubWrap(p3, p1);   // tangent at p2
  const int32_t a = AddWrap(AddWrap(AddWrap(MulWrap(-2, p2), MulWrap(2, p1)), in), out);
  const int32_t b = SubWrap(SubWrap(SubWrap(MulWrap(3, p2), in), MulWrap(3, p1)), MulWrap(2, out));
  return CCubic{a, b, out, p1};
}

namespace {

int32_t Fixed(int32_t v) {
  return DivWrap(v, 65536);
}

}  // namespace

int32_t EvalCubic(int32_t a, int32_t b, int32_t c, int32_t d, int32_t t) {
  const int32_t linear = Fixed(MulWrap(c, t));
  const int32_t square = Fixed(MulWrap(Fixed(MulWrap(b, t)), t));
  const int32_t cube = Fixed(MulWrap(Fixed(MulWrap(Fixed(MulWrap(a, t)), t)), t));
  return AddWrap(AddWrap(AddWrap(d, linear), square), cube);
}

int32_t ChordValue(int32_t a, int32_t b, int32_t c, int32_t d, int32_t t0, int32_t t1, int32_t t) {
  const int32_t e0 = EvalCubic(a, b, c, d, t0);
  if (t1 == t0) return e0;
  const int32_t e1 = EvalCubic(a, b, c, d, t1);
  return AddWrap(e0, DivWrap(MulWrap(SubWrap(t, t0), SubWrap(e1, e0)), SubWrap(t1, t0)));
}
