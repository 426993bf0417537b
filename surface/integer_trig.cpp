#include "surface/integer_trig.h"

#include "surface/wrap_arith.h"

const int32_t kSineTable[91] = {
    0,    174,  348,  523,  697,  871,  1045, 1218, 1391, 1564, 1736,  1908, 2079, 2249, 2419, 2588,
    2756, 2923, 3090, 3255, 3420, 3583, 3746, 3907, 4067, 4226, 4383,  4539, 4694, 4848, 5000, 5150,
    5299, 5446, 5591, 5735, 5877, 6018, 6156, 6293, 6427, 6560, 6691,  6819, 6946, 7071, 7193, 7313,
    7431, 7547, 7660, 7771, 7880, 7986, 8090, 8191, 8290, 8386, 8480,  8571, 8660, 8746, 8829, 8910,
    8987, 9063, 9135, 9205, 9271, 9335, 9396, 9455, 9510, 9563, 9612,  9659, 9702, 9743, 9781, 9816,
    9848, 9876, 9902, 9925, 9945, 9961, 9975, 9986, 9993, 9998, 10000,
};

namespace {

// In 64 bits so that the most negative angle has a magnitude.
int32_t SinDeg64(int64_t a) {
  if (a < 0) return -SinDeg64(-a);
  const int32_t m = static_cast<int32_t>(a % 360);
  if (m <= 90) return kSineTable[m];
  if (m <= 180) return kSineTable[180 - m];
  if (m <= 270) return -kSineTable[m - 180];
  return -kSineTable[360 - m];
}

}  // namespace

int32_t SinDeg(int32_t degrees) {
  return SinDeg64(degrees);
}

int32_t CosDeg(int32_t degrees) {
  return SinDeg(AddWrap(degrees, 90));
}

int32_t AsinDeg(int32_t v) {
  if (v < 0) return v == INT32_MIN ? -90 : -AsinDeg(-v);
  if (v >= 10000) return 90;
  int32_t k = 0;
  while (k < 89 && v > kSineTable[k] + (kSineTable[k + 1] - kSineTable[k]) / 2) ++k;
  return k;
}

int32_t ISqrt(int32_t n) {
  if (n < 0) return -1;
  if (n == 0) return 0;
  int32_t prev = 1;
  int32_t x = DivWrap(AddWrap(n, 1), 2);
  // The iteration settles within about twenty steps for every 32-bit n;
  // the cap only makes that bound plain.
  for (int i = 0; i < 64 && (x - prev > 1 || x - prev < -1); ++i) {
    prev = x;
    x = DivWrap(AddWrap(prev, DivWrap(n, prev)), 2);
  }
  return prev;
}

int32_t ChordStep(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, int32_t height) {
  const int32_t dx = SubWrap(ScaleToPage(width, x2, 800), ScaleToPage(width, x1, 800));
  const int32_t dy = SubWrap(ScaleToPage(height, y2, 480), ScaleToPage(height, y1, 480));
  const int32_t r = ISqrt(AddWrap(MulWrap(dy, dy), MulWrap(dx, dx)));
  if (r == 0) return 360;
  const int32_t s = ISqrt(MulWrap(r, 100));
  return MulWrap(2, AsinDeg(DivWrap(50000, s)));
}

POINT RotatePoint(int32_t cx, int32_t cy, int32_t px, int32_t py, int32_t angle, int32_t r) {
  const int32_t dx = SubWrap(px, cx);
  const int32_t dy = SubWrap(cy, py);
  const int32_t absDy = dy < 0 ? SubWrap(0, dy) : dy;
  int32_t base = AsinDeg(DivWrap(MulWrap(absDy, 10000), r));
  if (dx < 0 && dy >= 0)
    base = 180 - base;
  else if (dx <= 0 && dy < 0)
    base = base + 180;
  else if (dx > 0 && dy < 0)
    base = 360 - base;
  const int32_t a = AddWrap(angle, base);
  return POINT{AddWrap(cx, DivWrap(MulWrap(CosDeg(a), r), 10000)),
               SubWrap(cy, DivWrap(MulWrap(SinDeg(a), r), 10000))};
}

POINT RotateAbout(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle) {
  const int32_t dx = SubWrap(x2, x1), dy = SubWrap(y2, y1);
  const int32_t r = ISqrt(AddWrap(MulWrap(dy, dy), MulWrap(dx, dx)));
  if (r == 0) return POINT{x2, y2};
  return RotatePoint(x2, y2, x1, y1, angle, r);
}

int32_t BoundedArcAngle(int32_t angle) {
  const int64_t magnitude = angle < 0 ? -static_cast<int64_t>(angle) : angle;
  if (magnitude <= 720) return angle;
  const int64_t turns = magnitude / 360;
  const int64_t kept = magnitude % 360 + (turns % 2 ? 360 : 720);
  return static_cast<int32_t>(angle < 0 ? -kept : kept);
}
