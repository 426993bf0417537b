#include "platform/soft/lines.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/soft/ellipse.h"
#include "platform/soft/geom.h"

namespace soft {
namespace {

// Where a cosmetic line passes exactly half-way between two pixels, the
// diamond rule lights the upper one of an x-major line and the left one of a
// y-major line, whichever way the line runs. The walk counts minor steps
// away from the start, so a tie takes the step when the minor axis runs
// towards smaller coordinates.
bool TieTakesStep(bool xMajor, int64_t dx, int64_t dy) {
  return xMajor ? dy < 0 : dx < 0;
}

// One cosmetic line in major/minor terms: step t (0 <= t < length) lights
// major0 + majorDir * t and minor0 + minorDir * MinorAt(t).
struct LineWalk {
  bool xMajor = true;
  int64_t major0 = 0, minor0 = 0;
  int majorDir = 1, minorDir = 0;
  uint64_t length = 0;  // pixels lit: the major extent, below 2^32
  uint64_t rise = 0;    // the minor extent, at most length
  bool tieStep = false;

  // rise * t / length as quotient q and remainder r, rounded to a pixel.
  uint64_t Round(uint64_t q, uint64_t r) const {
    const uint64_t r2 = 2 * r;
    return q + ((r2 > length || (r2 == length && tieStep)) ? 1 : 0);
  }
  // Both factors stay below 2^32, so the product fits 64 bits.
  uint64_t MinorAt(uint64_t t) const {
    const uint64_t n = rise * t;
    return Round(n / length, n % length);
  }
};

LineWalk MakeWalk(POINT a, POINT b) {
  const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
  const uint64_t adx = static_cast<uint64_t>(dx < 0 ? -dx : dx);
  const uint64_t ady = static_cast<uint64_t>(dy < 0 ? -dy : dy);
  LineWalk w;
  w.xMajor = adx >= ady;
  w.major0 = w.xMajor ? a.x : a.y;
  w.minor0 = w.xMajor ? a.y : a.x;
  const int64_t dMajor = w.xMajor ? dx : dy, dMinor = w.xMajor ? dy : dx;
  w.majorDir = dMajor < 0 ? -1 : 1;
  w.minorDir = dMinor < 0 ? -1 : dMinor > 0 ? 1 : 0;
  w.length = w.xMajor ? adx : ady;
  w.rise = w.xMajor ? ady : adx;
  w.tieStep = TieTakesStep(w.xMajor, dx, dy);
  return w;
}

// The offsets s >= 0 for which origin + dir * s lies in [0, size), as [lo, hi].
bool OffsetRange(int64_t origin, int dir, int64_t size, int64_t* lo, int64_t* hi) {
  if (dir > 0) {
    *lo = -origin;
    *hi = size - 1 - origin;
  } else if (dir < 0) {
    *lo = origin - (size - 1);
    *hi = origin;
  } else {
    if (origin < 0 || origin >= size) return false;
    *lo = 0;
    *hi = INT64_MAX;
  }
  *lo = std::max<int64_t>(*lo, 0);
  return *lo <= *hi;
}

// Inclusive pixel range of one row of a wide outline.
struct Run {
  int64_t lo, hi;
};

// The round cap or join of a pen w pixels wide about (cx, cy) on row y: the
// ellipse GDI draws in the w x w box centred there (for an even width the
// centre pixel is the lower right of the middle four).
bool DiscRow(int64_t cx, int64_t cy, int64_t w, int64_t y, Run* run) {
  const int64_t left = cx - w / 2, top = cy - w / 2;
  return EllipseShape(left, top, left + w, top + w).Extent(y, &run->lo, &run->hi);
}

// The band along a slanted segment a-b on row y. GDI fills the quadrilateral
// whose corners are the segment's ends moved by its normal of half the pen's
// width, rounded to whole pixels: the corners on the side towards +x round
// away from the segment, those on the other side to the nearest pixel.
// limit bounds the result to [-1, limit] so that far-away coordinates
// convert safely.
bool SlantedBandRow(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t w, int64_t y, int64_t limit,
                    Run* run) {
  const int64_t dx = bx - ax, dy = by - ay;
  const Int128 len2 = Int128{dx} * dx + Int128{dy} * dy;
  // |n| w / (2 |ab|) rounded down, and rounded to nearest with halves away
  // from zero, for a normal component n.
  auto floorHalf = [&](int64_t n) {
    const Int128 t = Int128{n < 0 ? -n : n} * w;
    int64_t m = static_cast<int64_t>(ISqrt(static_cast<uint64_t>(t * t / (4 * len2))));
    while (Int128{4} * (m + 1) * (m + 1) * len2 <= t * t) ++m;
    while (m > 0 && Int128{4} * m * m * len2 > t * t) --m;
    return m;
  };
  auto roundHalf = [&](int64_t n) {
    const Int128 t = Int128{n < 0 ? -n : n} * w;
    const int64_t m = floorHalf(n);
    return Int128{2 * m + 1} * (2 * m + 1) * len2 <= t * t ? m + 1 : m;
  };
  // The normal (-dy, dx) or its opposite, whichever points towards +x;
  // its y component points up for a falling segment.
  const int64_t su = (dx < 0) == (dy < 0) ? -1 : 1;
  const int64_t awayX = floorHalf(dy) + 1, awayY = su * (floorHalf(dx) + 1);
  const int64_t nearX = -roundHalf(dy), nearY = -su * roundHalf(dx);
  const int64_t px[4] = {ax + awayX, bx + awayX, bx + nearX, ax + nearX};
  const int64_t py[4] = {ay + awayY, by + awayY, by + nearY, ay + nearY};
  // The polygon rule: a pixel is in when its centre is, left edges included.
  // The band is convex: a row meets it between its first and last crossing.
  int64_t first = INT64_MAX, last = INT64_MIN;
  for (int i = 0; i < 4; ++i) {
    int64_t x0 = px[i], y0 = py[i], x1 = px[(i + 1) % 4], y1 = py[(i + 1) % 4];
    if (y0 == y1) continue;
    if (y0 > y1) {
      std::swap(x0, x1);
      std::swap(y0, y1);
    }
    if (y < y0 || y >= y1) continue;
    const int64_t x = x0 + CeilDiv(Int128{y - y0} * (x1 - x0), y1 - y0);
    first = std::min(first, x);
    last = std::max(last, x);
  }
  if (first >= last) return false;
  const int64_t lo = std::max<int64_t>(first, -1), hi = std::min<int64_t>(last - 1, limit);
  if (lo > hi) return false;
  run->lo = lo;
  run->hi = hi;
  return true;
}

// The band of width w along segment a-b, between its end caps, on row y;
// the round caps come from DiscRow.
bool BandRow(POINT a, POINT b, int64_t w, int64_t y, int64_t limit, Run* run) {
  const int64_t dx = int64_t{b.x} - a.x, dy = int64_t{b.y} - a.y;
  if (dx == 0 && dy == 0) return false;
  if (dy == 0) {
    // An even width puts its extra row above the line, as the caps do.
    const int64_t off = 2 * (y - a.y);
    if (off >= w || off < -w) return false;
    run->lo = std::min(a.x, b.x);
    run->hi = std::max(a.x, b.x);
    return true;
  }
  if (dx == 0) {
    if (y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) return false;
    run->lo = a.x - w / 2;
    run->hi = a.x + (w + 1) / 2 - 1;
    return true;
  }
  return SlantedBandRow(a.x, a.y, b.x, b.y, w, y, limit, run);
}

// The union of round-capped segments of the pen's width, painted once per
// pixel so that XOR-like raster operations see every pixel once.
void StrokeWide(PenStroke& pen, const POINT* pts, size_t count, bool closed) {
  struct Segment {
    POINT a, b;
  };
  std::vector<Segment> segs;
  for (size_t i = 0; i + 1 < count; ++i) segs.push_back({pts[i], pts[i + 1]});
  if (closed && count > 2) segs.push_back({pts[count - 1], pts[0]});
  // A path that stays on one point still shows the pen's round cap there.
  if (segs.empty()) segs.push_back({pts[0], pts[0]});

  const BitmapObj& bmp = pen.Target();
  const int64_t w = pen.Width();
  const int64_t reach = w / 2 + 1;
  int64_t top = INT64_MAX, bottom = INT64_MIN;
  for (const Segment& s : segs) {
    top = std::min<int64_t>(top, std::min(s.a.y, s.b.y) - reach);
    bottom = std::max<int64_t>(bottom, std::max(s.a.y, s.b.y) + reach);
  }
  top = std::max<int64_t>(top, 0);
  bottom = std::min<int64_t>(bottom, bmp.height - 1);

  std::vector<Run> runs;
  for (int64_t y = top; y <= bottom; ++y) {
    runs.clear();
    for (const Segment& s : segs) {
      if (y < std::min(s.a.y, s.b.y) - reach || y > std::max(s.a.y, s.b.y) + reach) continue;
      Run r;
      if (BandRow(s.a, s.b, w, y, bmp.width, &r)) runs.push_back(r);
      if (DiscRow(s.a.x, s.a.y, w, y, &r)) runs.push_back(r);
      if (DiscRow(s.b.x, s.b.y, w, y, &r)) runs.push_back(r);
    }
    std::sort(runs.begin(), runs.end(), [](const Run& p, const Run& q) { return p.lo < q.lo; });
    for (size_t i = 0; i < runs.size();) {
      int64_t lo = runs[i].lo, hi = runs[i].hi;
      for (++i; i < runs.size() && runs[i].lo <= hi + 1; ++i) hi = std::max(hi, runs[i].hi);
      lo = std::max<int64_t>(lo, 0);
      hi = std::min<int64_t>(hi, bmp.width - 1);
      if (lo <= hi) pen.Span(static_cast<int>(y), static_cast<int>(lo), static_cast<int>(hi + 1));
    }
  }
}

// The steps [*first, *end) of a line that light pixels inside bmp; false
// when none does. A line whose two ends are inside lies inside whole.
bool VisibleSteps(const LineWalk& w, POINT a, POINT b, const BitmapObj& bmp, uint64_t* first, uint64_t* end) {
  if (bmp.Contains(a.x, a.y) && bmp.Contains(b.x, b.y)) {
    *first = 0;
    *end = w.length;
    return true;
  }
  const int64_t majorSize = w.xMajor ? bmp.width : bmp.height;
  const int64_t minorSize = w.xMajor ? bmp.height : bmp.width;
  int64_t tLo = 0, tHi = -1, mLo = 0, mHi = -1;
  bool visible = OffsetRange(w.major0, w.majorDir, majorSize, &tLo, &tHi) &&
                 OffsetRange(w.minor0, w.minorDir, minorSize, &mLo, &mHi);
  tHi = std::min<int64_t>(tHi, static_cast<int64_t>(w.length) - 1);
  mHi = std::min<int64_t>(mHi, static_cast<int64_t>(w.rise));
  visible = visible && tLo <= tHi && mLo <= mHi;
  if (!visible) return false;
  // The minor offset never decreases along the line, so the steps that stay
  // inside the minor range form one interval, found by bisection. A line
  // whose whole minor extent is inside needs none.
  uint64_t lo = static_cast<uint64_t>(tLo), hi = static_cast<uint64_t>(tHi) + 1;
  if (mLo == 0 && static_cast<uint64_t>(mHi) == w.rise) lo = hi = static_cast<uint64_t>(tLo);
  while (lo < hi) {
    const uint64_t mid = lo + (hi - lo) / 2;
    if (w.MinorAt(mid) >= static_cast<uint64_t>(mLo))
      hi = mid;
    else
      lo = mid + 1;
  }
  const uint64_t firstStep = lo;
  hi = static_cast<uint64_t>(tHi) + 1;
  if (mLo == 0 && static_cast<uint64_t>(mHi) == w.rise) lo = hi;
  while (lo < hi) {
    const uint64_t mid = lo + (hi - lo) / 2;
    if (w.MinorAt(mid) > static_cast<uint64_t>(mHi))
      hi = mid;
    else
      lo = mid + 1;
  }
  *first = firstStep;
  *end = lo;  // one past the last visible step
  return firstStep < lo;
}

}  // namespace

bool WideBandRow(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t width, int64_t y, int64_t* lo,
                 int64_t* hi) {
  Run run{0, -1};
  if (ax == bx || ay == by || !SlantedBandRow(ax, ay, bx, by, width, y, INT64_MAX / 4, &run)) return false;
  *lo = run.lo;
  *hi = run.hi;
  return true;
}

void StrokeCosmeticLine(PenStroke& pen, POINT a, POINT b) {
  const LineWalk w = MakeWalk(a, b);
  if (w.length == 0) return;
  uint64_t first = 0, end = 0;
  if (!VisibleSteps(w, a, b, pen.Target(), &first, &end)) {
    pen.Skip(w.length);
    return;
  }

  pen.Skip(first);
  // Most lines start inside: no division for them.
  const uint64_t n0 = w.rise * first;
  uint64_t q = first == 0 ? 0 : n0 / w.length, r = first == 0 ? 0 : n0 % w.length;
  if (pen.IsSolidCopy8()) {
    // Every step in [first, end) lies inside the target, and a solid pen
    // has no pattern phase to keep. Round(q, r) is the quotient of
    // 2 rise t + length + tieStep - 1 by 2 length, so the walk keeps that
    // division's remainder as an error term: one add and one compare a
    // pixel, and a diagonal step whenever the quotient grows.
    BitmapObj& target = pen.Target();
    const uint8_t pixel = static_cast<uint8_t>(pen.PenPaint().pixel);
    const int64_t rowStep = target.bottomUp ? -int64_t{target.stride} : int64_t{target.stride};
    const int64_t majorStep = w.xMajor ? w.majorDir : w.majorDir * rowStep;
    const int64_t minorStep = w.xMajor ? w.minorDir * rowStep : w.minorDir;
    const int64_t twoLength = static_cast<int64_t>(2 * w.length);
    const int64_t twoRise = static_cast<int64_t>(2 * w.rise);
    int64_t e = static_cast<int64_t>(2 * r + w.length + (w.tieStep ? 1 : 0)) - 1;
    uint64_t minor = q;
    if (e >= twoLength) {
      e -= twoLength;
      ++minor;
    }
    e -= twoLength;  // in [-2 length, 0): the quotient grows when it reaches 0
    const int64_t x = w.xMajor ? w.major0 + w.majorDir * static_cast<int64_t>(first)
                               : w.minor0 + w.minorDir * static_cast<int64_t>(minor);
    const int64_t y = w.xMajor ? w.minor0 + w.minorDir * static_cast<int64_t>(minor)
                               : w.major0 + w.majorDir * static_cast<int64_t>(first);
    uint8_t* const bits = target.bits;
    int64_t at = (target.Row(static_cast<int>(y)) - bits) + x;
    for (uint64_t n = end - first;;) {
      bits[at] = pixel;
      if (--n == 0) break;
      e += twoRise;
      at += majorStep;
      if (e >= 0) {
        e -= twoLength;
        at += minorStep;
      }
    }
    return;
  }
  for (uint64_t t = first; t < end; ++t) {
    const int64_t major = w.major0 + w.majorDir * static_cast<int64_t>(t);
    const int64_t minor = w.minor0 + w.minorDir * static_cast<int64_t>(w.Round(q, r));
    pen.Plot(static_cast<int>(w.xMajor ? major : minor), static_cast<int>(w.xMajor ? minor : major));
    r += w.rise;
    if (r >= w.length) {
      r -= w.length;
      ++q;
    }
  }
  pen.Skip(w.length - end);
}

void StrokePath(PenStroke& pen, const POINT* pts, size_t count, bool closed) {
  if (pen.IsNull() || count == 0) return;
  if (pen.IsWide()) {
    StrokeWide(pen, pts, count, closed);
    return;
  }
  pen.Restart();
  for (size_t i = 0; i + 1 < count; ++i) StrokeCosmeticLine(pen, pts[i], pts[i + 1]);
  if (closed && count > 1) StrokeCosmeticLine(pen, pts[count - 1], pts[0]);
}

}  // namespace soft
