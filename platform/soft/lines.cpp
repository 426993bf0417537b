#include "platform/soft/lines.h"

#include <algorithm>
#include <cmath>
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
  return EllipseShape(left, top, left + w, top + w).Row(y, &run->lo, &run->hi);
}

// The band of width w along segment a-b, between the perpendiculars at its
// ends, on row y; the round caps come from DiscRow. limit bounds the result
// to [-1, limit] so that far-away coordinates convert safely.
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
  const long double fdx = static_cast<long double>(dx), fdy = static_cast<long double>(dy);
  const long double len2 = fdx * fdx + fdy * fdy;
  const long double ry = static_cast<long double>(y - a.y);
  const long double centre = a.x + ry * fdx / fdy;
  const long double half = (static_cast<long double>(w) / 2) * std::sqrt(len2) / std::fabs(fdy);
  long double lo = centre - half, hi = centre + half;
  long double p0 = a.x - ry * fdy / fdx;  // where the projection on the segment is a
  long double p1 = p0 + len2 / fdx;       // and where it is b
  if (p0 > p1) std::swap(p0, p1);
  lo = std::max({lo, p0, -1.0L});
  hi = std::min({hi, p1, static_cast<long double>(limit)});
  lo = std::ceil(lo);
  hi = std::floor(hi);
  if (lo > hi) return false;
  run->lo = static_cast<int64_t>(lo);
  run->hi = static_cast<int64_t>(hi);
  return true;
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

}  // namespace

void StrokeCosmeticLine(PenStroke& pen, POINT a, POINT b) {
  const LineWalk w = MakeWalk(a, b);
  if (w.length == 0) return;
  const BitmapObj& bmp = pen.Target();
  const int64_t majorSize = w.xMajor ? bmp.width : bmp.height;
  const int64_t minorSize = w.xMajor ? bmp.height : bmp.width;
  int64_t tLo = 0, tHi = -1, mLo = 0, mHi = -1;
  bool visible = OffsetRange(w.major0, w.majorDir, majorSize, &tLo, &tHi) &&
                 OffsetRange(w.minor0, w.minorDir, minorSize, &mLo, &mHi);
  tHi = std::min<int64_t>(tHi, static_cast<int64_t>(w.length) - 1);
  mHi = std::min<int64_t>(mHi, static_cast<int64_t>(w.rise));
  visible = visible && tLo <= tHi && mLo <= mHi;
  if (!visible) {
    pen.Skip(w.length);
    return;
  }
  // The minor offset never decreases along the line, so the steps that stay
  // inside the minor range form one interval, found by bisection.
  uint64_t lo = static_cast<uint64_t>(tLo), hi = static_cast<uint64_t>(tHi) + 1;
  while (lo < hi) {
    const uint64_t mid = lo + (hi - lo) / 2;
    if (w.MinorAt(mid) >= static_cast<uint64_t>(mLo))
      hi = mid;
    else
      lo = mid + 1;
  }
  const uint64_t first = lo;
  hi = static_cast<uint64_t>(tHi) + 1;
  while (lo < hi) {
    const uint64_t mid = lo + (hi - lo) / 2;
    if (w.MinorAt(mid) > static_cast<uint64_t>(mHi))
      hi = mid;
    else
      lo = mid + 1;
  }
  const uint64_t end = lo;  // one past the last visible step
  if (first >= end) {
    pen.Skip(w.length);
    return;
  }

  pen.Skip(first);
  const uint64_t n0 = w.rise * first;
  uint64_t q = n0 / w.length, r = n0 % w.length;
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
