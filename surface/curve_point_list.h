// CCurvePointList: the points of an interpolated curve in the order the
// curve command received them, with a cursor that walks them once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct CCurvePoint {
  int32_t x = 0, y = 0;  // ReGIS units
};

class CCurvePointList {
 public:
  // A curve keeps at most this many points (512 KiB); later ones are
  // dropped, so that no stream can make the list grow without bound.
  static constexpr std::size_t kMaxPoints = 65536;

  // A list starts with one point: where the curve began.
  CCurvePointList(int32_t x, int32_t y);

  // Appends a point; a point beyond kMaxPoints or that finds no memory is lost.
  void Append(int32_t x, int32_t y);
  // Moves the cursor to the next point and returns it; null past the end.
  const CCurvePoint* Next();
  // The cursor back on the first point, as after creation.
  void Rewind() { cursor_ = 0; }

  const CCurvePoint* First() const { return &points_.front(); }
  const CCurvePoint* Last() const { return &points_.back(); }
  int32_t Count() const { return static_cast<int32_t>(points_.size()); }

 private:
  std::vector<CCurvePoint> points_;
  std::size_t cursor_ = 0;  // == size once past the end
};

// The cubic of one axis of a curve piece, in ReGIS units over the 16.16
// fixed-point parameter t = 0..65536.
struct CCubic {
  int32_t a, b, c, d;
};

// The piece from p1 to p2 whose tangents are p2 - p0 at p1 and p3 - p1 at p2.
CCubic CubicThrough(int32_t p0, int32_t p1, int32_t p2, int32_t p3);
int32_t EvalCubic(int32_t a, int32_t b, int32_t c, int32_t d, int32_t t);
// The value at t of the straight line through the cubic's values at t0 and
// t1.
int32_t ChordValue(int32_t a, int32_t b, int32_t c, int32_t d, int32_t t0, int32_t t1, int32_t t);
