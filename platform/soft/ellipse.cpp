#include "platform/soft/ellipse.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/soft/blitter.h"
#include "platform/soft/geom.h"
#include "platform/soft/lines.h"

namespace soft {

EllipseShape::EllipseShape(int64_t left, int64_t top, int64_t right, int64_t bottom)
    : l_(left),
      t_(top),
      r_(right),
      b_(bottom),
      width_(static_cast<uint64_t>(right - left)),
      height_(static_cast<uint64_t>(bottom - top)),
      rows_(width_, height_),
      path_(rows_.Path()) {}

bool EllipseShape::Extent(int64_t y, int64_t* xl, int64_t* xr) const {
  if (y < t_ || y >= b_) return false;
  if (Narrow()) {
    *xl = l_;
    *xr = r_ - 1;
    return true;
  }
  const int64_t pu = (t_ + b_) - (2 * y + 1);
  const int64_t u = pu < 0 ? -pu : pu;
  if (u > path_.Top()) return false;
  int64_t lo = 0, hi = 0;
  QuarterRun(u, &lo, &hi);
  *xl = (l_ + r_ - 1 - hi) / 2;
  *xr = (l_ + r_ - 1 + hi) / 2;
  return true;
}

bool EllipseShape::FollowsDropped(const WalkPoint& p) const {
  const WalkPoint start = QuarterStart(p.quarter);
  return !(start == p) && Dropped(start) && Next(start) == p;
}

bool EllipseShape::IsClosingRepeat(const WalkPoint& p) const {
  return path_.B1() == 0 && p.quarter == 4 && p.U == 0 && p.X == path_.A();
}

void EllipseShape::RowRuns(int64_t y, std::vector<Run>* runs) const {
  runs->clear();
  ForRowRuns(y, [&](const Run& run) { runs->push_back(run); });
}

int64_t EllipseShape::PixelX(const WalkPoint& p) const {
  const int64_t x = p.quarter == 1 || p.quarter == 4 ? p.X : -p.X;
  return (x + l_ + r_ - 1) / 2;
}

int64_t EllipseShape::PixelY(const WalkPoint& p) const {
  const int64_t u = p.quarter <= 2 ? p.U : -p.U;
  return (t_ + b_ - 1 - u) / 2;
}

// Quarters 1 and 3 run up the rows and inwards along them, 2 and 4 down the
// rows and outwards.
bool EllipseShape::Before(const WalkPoint& a, const WalkPoint& b) {
  if (a.quarter != b.quarter) return a.quarter < b.quarter;
  const bool rising = a.quarter == 1 || a.quarter == 3;
  if (a.U != b.U) return rising ? a.U < b.U : a.U > b.U;
  return rising ? a.X > b.X : a.X < b.X;
}

WalkPoint EllipseShape::QuarterStart(int q) const {
  return (q == 1 || q == 3) ? WalkPoint{q, path_.B1(), path_.A()} : WalkPoint{q, path_.Top(), path_.Par()};
}

WalkPoint EllipseShape::QuarterEnd(int q) const {
  return (q == 1 || q == 3) ? WalkPoint{q, path_.Top(), path_.Par()} : WalkPoint{q, path_.B1(), path_.A()};
}

bool EllipseShape::QuarterEmpty(int q) const {
  return QuarterStart(q) == QuarterEnd(q) && Dropped(QuarterStart(q));
}

WalkPoint EllipseShape::Next(const WalkPoint& from) const {
  WalkPoint p = from;
  // A dropped point is skipped; at most every other quarter start is one.
  for (int guard = 0; guard < 8; ++guard) {
    int64_t lo = 0, hi = 0;
    QuarterRun(p.U, &lo, &hi);
    const bool rising = p.quarter == 1 || p.quarter == 3;
    if (rising && p.X - 2 >= lo) {
      p.X -= 2;
    } else if (!rising && p.X + 2 <= hi) {
      p.X += 2;
    } else if (rising && p.U < path_.Top()) {
      p.U += 2;
      QuarterRun(p.U, &lo, &hi);
      p.X = hi;
    } else if (!rising && p.U > path_.B1()) {
      p.U -= 2;
      QuarterRun(p.U, &lo, &hi);
      p.X = lo;
    } else {
      p = QuarterStart(p.quarter % 4 + 1);
    }
    if (!Dropped(p)) return p;
  }
  return p;
}

WalkPoint EllipseShape::Prev(const WalkPoint& from) const {
  WalkPoint p = from;
  for (int guard = 0; guard < 8; ++guard) {
    int64_t lo = 0, hi = 0;
    QuarterRun(p.U, &lo, &hi);
    const bool rising = p.quarter == 1 || p.quarter == 3;
    if (rising && p.X + 2 <= hi) {
      p.X += 2;
    } else if (!rising && p.X - 2 >= lo) {
      p.X -= 2;
    } else if (rising && p.U > path_.B1()) {
      p.U -= 2;
      QuarterRun(p.U, &lo, &hi);
      p.X = lo;
    } else if (!rising && p.U < path_.Top()) {
      p.U += 2;
      QuarterRun(p.U, &lo, &hi);
      p.X = hi;
    } else {
      p = QuarterEnd(p.quarter == 1 ? 4 : p.quarter - 1);
    }
    if (!Dropped(p)) return p;
  }
  return p;
}

// Within a quarter the walk steps diagonally between rows where the
// quarter path does; across a dropped point it may too.
bool EllipseShape::DiagonalAfter(const WalkPoint& p) const {
  const WalkPoint q = Next(p);
  const int64_t dx = PixelX(q) - PixelX(p), dy = PixelY(q) - PixelY(p);
  return (dx == 1 || dx == -1) && (dy == 1 || dy == -1);
}

namespace {

// A direction from the centre, in the units of the quarter path's points:
// point (X, U) of quarter q points along (+-(X - Par) / 2, +-(U - B1) / 2).
struct Key {
  int64_t x, u;
};

Key KeyOf(const QuarterPath& path, const WalkPoint& p) {
  const int64_t x = (p.X - path.Par()) / 2, u = (p.U - path.B1()) / 2;
  return Key{p.quarter == 1 || p.quarter == 4 ? x : -x, p.quarter <= 2 ? u : -u};
}

// Whether a point of quarter q lies at or after the radial r, both in that
// quarter. A point on the radial counts as after it in the upper quarters
// and as before it in the lower ones; GDI compares so, and a degenerate
// point at the centre meets every radial.
bool AtOrAfter(const Key& k, int q, const Key& r) {
  const Int128 cross = Int128{k.x} * r.u - Int128{k.u} * r.x;
  if (cross == 0) return q <= 2;
  return cross < 0;
}

int QuarterOf(const Key& r) {
  if (r.u >= 0) return r.x >= 0 ? 1 : 2;
  return r.x < 0 ? 3 : 4;
}

template <class Pred>
int64_t FirstTrue(int64_t lo, int64_t hi, Pred pred) {
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid))
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

}  // namespace

WalkPoint EllipseShape::FirstFrom(int64_t x, int64_t y) const {
  Key r{x - FloorDiv(Int128{l_} + r_, 2), FloorDiv(Int128{t_} + b_, 2) - y};
  if (r.x == 0 && r.u == 0) r.x = 1;
  const int q = QuarterOf(r);
  const bool rising = q == 1 || q == 3;
  const int64_t b1 = path_.B1(), top = path_.Top();
  const int64_t rows = (top - b1) / 2 + 1;
  auto rowU = [&](int64_t k) { return rising ? b1 + 2 * k : top - 2 * k; };
  // The last point of each row in walk order settles whether the row holds
  // the answer; the points' directions only grow along a quarter.
  const int64_t k = FirstTrue(0, rows, [&](int64_t i) {
    int64_t lo = 0, hi = 0;
    QuarterRun(rowU(i), &lo, &hi);
    return AtOrAfter(KeyOf(path_, WalkPoint{q, rowU(i), rising ? lo : hi}), q, r);
  });
  if (k < rows) {
    const int64_t u = rowU(k);
    int64_t lo = 0, hi = 0;
    QuarterRun(u, &lo, &hi);
    const int64_t n = (hi - lo) / 2 + 1;
    const int64_t j = FirstTrue(0, n, [&](int64_t i) {
      return AtOrAfter(KeyOf(path_, WalkPoint{q, u, rising ? hi - 2 * i : lo + 2 * i}), q, r);
    });
    const WalkPoint p{q, u, rising ? hi - 2 * j : lo + 2 * j};
    return Dropped(p) ? Next(p) : p;
  }
  // Nothing in the radial's quarter lies after it: the next quarter's first.
  for (int step = 1; step <= 4; ++step) {
    const int next = (q + step - 1) % 4 + 1;
    if (!QuarterEmpty(next)) {
      const WalkPoint p = QuarterStart(next);
      return Dropped(p) ? Next(p) : p;
    }
  }
  return First();
}

namespace {

// Positions along the walk, for the dash patterns of styled pens. The count
// of first-quarter points below a row is summed row by row when the quarter
// has few enough rows; taller ellipses, far beyond any bitmap, take an
// estimate from the path's extent, which keeps dashes dashes.
constexpr int64_t kExactRows = int64_t{1} << 16;

class WalkIndex {
 public:
  explicit WalkIndex(const EllipseShape& e) : shape_(e), path_(e.Path()) {
    const int64_t rows = (path_.Top() - path_.B1()) / 2 + 1;
    exact_ = rows <= kExactRows;
    if (exact_) {
      below_.resize(static_cast<size_t>(rows) + 1);
      for (int64_t k = 0; k < rows; ++k) {
        int64_t lo = 0, hi = 0;
        shape_.QuarterRun(path_.B1() + 2 * k, &lo, &hi);
        below_[static_cast<size_t>(k) + 1] =
            below_[static_cast<size_t>(k)] + static_cast<uint64_t>((hi - lo) / 2 + 1);
      }
    }
    int64_t lo = 0, hi = 0;
    shape_.QuarterRun(path_.Top(), &lo, &hi);
    n1_ = Below(path_.Top()) + static_cast<uint64_t>((hi - lo) / 2 + 1);
    const uint64_t oddWidth = path_.Par() == 0 ? 1 : 0, oddHeight = path_.B1() == 0 ? 1 : 0;
    base_[0] = 0;
    base_[1] = n1_;
    base_[2] = base_[1] + n1_ - oddWidth;
    base_[3] = base_[2] + n1_ - oddHeight;
    total_ = base_[3] + n1_ - oddWidth;
    painted_ = total_ - oddHeight;
  }

  // The position of a point the walk keeps; the closing repeat is last.
  uint64_t Index(const WalkPoint& p) const {
    int64_t lo = 0, hi = 0;
    shape_.QuarterRun(p.U, &lo, &hi);
    const uint64_t rank = Below(p.U) + static_cast<uint64_t>((hi - p.X) / 2);
    const uint64_t oddWidth = path_.Par() == 0 ? 1 : 0, oddHeight = path_.B1() == 0 ? 1 : 0;
    switch (p.quarter) {
      case 1:
        return rank;
      case 2:
        return base_[1] + (n1_ - 1 - rank) - oddWidth;
      case 3:
        return base_[2] + rank - oddHeight;
      default:
        return base_[3] + (n1_ - 1 - rank) - oddWidth;
    }
  }
  uint64_t Total() const { return total_; }
  // Points a cosmetic pen paints round the whole walk.
  uint64_t Painted() const { return painted_; }

 private:
  uint64_t Below(int64_t u) const {
    if (exact_) return below_[static_cast<size_t>((u - path_.B1()) / 2)];
    int64_t lo = 0, hi = 0;
    shape_.QuarterRun(u, &lo, &hi);
    const uint64_t across = static_cast<uint64_t>((path_.A() - hi) / 2);
    const uint64_t up = static_cast<uint64_t>((u - path_.B1()) / 2);
    return across + up - std::min(across, up) / 2;
  }

  const EllipseShape& shape_;
  const QuarterPath& path_;
  bool exact_ = false;
  std::vector<uint64_t> below_;
  uint64_t n1_ = 0, total_ = 0, painted_ = 0;
  uint64_t base_[4] = {};
};

// The part of a walk an arc covers: from s up to, not including, a (or
// including it, for the polyline a wide pen strokes, which for s == a is
// the single point).
struct WalkRange {
  WalkPoint s, a;
  bool Contains(const WalkPoint& p, bool withEnd) const {
    if (s == a) return withEnd && p == s;
    const bool afterStart = !EllipseShape::Before(p, s);
    const bool beforeEnd = EllipseShape::Before(p, a) || (withEnd && p == a);
    return EllipseShape::Before(a, s) ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
  }
};

// Paints [x0, x1] of row y with a paint, clipped to the bitmap.
void PaintRun(BitmapObj& bmp, int64_t y, int64_t x0, int64_t x1, const Paint& paint, int rop2) {
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, bmp.width - 1);
  if (x0 <= x1)
    FillSpan(bmp, static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1 + 1), paint, rop2);
}

// Visible rows of [top, bottom).
void VisibleRows(const BitmapObj& bmp, int64_t top, int64_t bottom, int64_t* y0, int64_t* y1) {
  *y0 = std::max<int64_t>(top, 0);
  *y1 = std::min<int64_t>(bottom, bmp.height) - 1;
}

// The walk's points on visible row y, clipped to the bitmap's columns:
// visit(point, x) for each, in the order the walk from `from` reaches them.
// Only the middle row of an odd height holds a pixel twice, and there the
// later visit must land last (an opaque dash gap over a dash, say).
template <class Visit>
void ForVisiblePoints(const EllipseShape& e, const BitmapObj& bmp, int64_t y, const WalkPoint& from,
                      std::vector<EllipseShape::Run>* runs, std::vector<std::pair<WalkPoint, int64_t>>* row,
                      Visit visit) {
  e.RowRuns(y, runs);
  const int64_t c = e.Left() + e.Right() - 1;
  row->clear();
  for (const EllipseShape::Run& run : *runs) {
    const bool right = run.quarter == 1 || run.quarter == 4;
    int64_t x0 = right ? (run.lo + c) / 2 : (c - run.hi) / 2;
    int64_t x1 = right ? (run.hi + c) / 2 : (c - run.lo) / 2;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, bmp.width - 1);
    for (int64_t x = x0; x <= x1; ++x)
      row->push_back({WalkPoint{run.quarter, run.U, right ? 2 * x - c : c - 2 * x}, x});
  }
  if (runs->size() > 2) {
    // Points before `from` come round at the end of the walk.
    auto later = [&](const std::pair<WalkPoint, int64_t>& a, const std::pair<WalkPoint, int64_t>& b) {
      const bool wa = EllipseShape::Before(a.first, from), wb = EllipseShape::Before(b.first, from);
      if (wa != wb) return wb;
      return EllipseShape::Before(a.first, b.first);
    };
    std::stable_sort(row->begin(), row->end(), later);
  }
  for (const auto& [p, x] : *row) visit(p, x);
}

// Pens wider than this stroke the ring between the ellipses of the box
// grown and shrunk by half the width: the polyline below costs the width
// per row.
constexpr int64_t kMaxStrokedWidth = 1024;

struct Span {
  int64_t lo, hi;
};

// Sorts and merges spans into disjoint ones.
void Merge(std::vector<Span>* spans) {
  std::sort(spans->begin(), spans->end(), [](const Span& p, const Span& q) { return p.lo < q.lo; });
  size_t out = 0;
  for (size_t i = 0; i < spans->size();) {
    Span s = (*spans)[i];
    for (++i; i < spans->size() && (*spans)[i].lo <= s.hi + 1; ++i) s.hi = std::max(s.hi, (*spans)[i].hi);
    (*spans)[out++] = s;
  }
  spans->resize(out);
}

// A wide pen's stroke along the walk (or the part of it in range) as a
// polyline: the pen's round cap on every point, and the band of every
// diagonal step, whose corners reach past the caps. Straight steps add
// nothing the caps do not cover. rowSpans(y, spans) receives each visible
// row's merged spans.
template <class RowSpans>
void StrokeWalk(const EllipseShape& e, const PenStroke& pen, int64_t w, const std::optional<WalkRange>& range,
                RowSpans rowSpans) {
  const BitmapObj& bmp = pen.Target();
  // Cap rows: a cap centred on row cy covers rows cy - w/2 .. cy - w/2 + w - 1.
  const int64_t above = w / 2, below = w - 1 - w / 2;
  std::vector<Span> cap(static_cast<size_t>(w));
  const EllipseShape disc(-above, -above, w - above, w - above);
  for (int64_t d = 0; d < w; ++d) {
    int64_t lo = 0, hi = -1;
    if (!disc.Extent(d - above, &lo, &hi)) hi = lo - 1;
    cap[static_cast<size_t>(d)] = Span{lo, hi};
  }
  // Bands of diagonal steps reach a row or two past the caps.
  const int64_t margin = w + 2;
  int64_t y0 = 0, y1 = 0;
  VisibleRows(bmp, e.Top() - margin, e.Bottom() + margin, &y0, &y1);
  if (y0 > y1) return;
  // The runs of every source row that reaches a visible row, computed once.
  const int64_t s0 = std::max(e.Top(), y0 - margin), s1 = std::min(e.Bottom() - 1, y1 + margin);
  std::vector<std::vector<EllipseShape::Run>> runs(static_cast<size_t>(std::max<int64_t>(0, s1 - s0 + 1)));
  for (int64_t ys = s0; ys <= s1; ++ys) e.RowRuns(ys, &runs[static_cast<size_t>(ys - s0)]);

  const int64_t c = e.Left() + e.Right() - 1;
  const int64_t width = bmp.width;
  auto inRange = [&](const WalkPoint& p) { return !range || range->Contains(p, true); };
  std::vector<Span> spans;
  for (int64_t y = y0; y <= y1; ++y) {
    spans.clear();
    for (int64_t ys = std::max(s0, y - below); ys <= std::min(s1, y + above); ++ys) {
      const Span d = cap[static_cast<size_t>(y - ys + above)];
      if (d.lo > d.hi) continue;
      for (const EllipseShape::Run& run : runs[static_cast<size_t>(ys - s0)]) {
        const bool right = run.quarter == 1 || run.quarter == 4;
        auto xOf = [&](int64_t X) { return right ? (X + c) / 2 : (c - X) / 2; };
        // Only caps whose row span meets the bitmap matter.
        const int64_t xa = std::max(std::min(xOf(run.lo), xOf(run.hi)), -d.hi);
        const int64_t xb = std::min(std::max(xOf(run.lo), xOf(run.hi)), width - 1 - d.lo);
        if (xa > xb) continue;
        if (!range) {
          spans.push_back(Span{xa + d.lo, xb + d.hi});
          continue;
        }
        // The range cuts a run at most where it starts and ends.
        auto pointAt = [&](int64_t x) {
          return WalkPoint{run.quarter, run.U, right ? 2 * x - c : c - 2 * x};
        };
        std::vector<int64_t> cuts{xa, xb + 1};
        for (const WalkPoint& p : {range->s, range->a}) {
          if (p.quarter != run.quarter || p.U != run.U) continue;
          const int64_t px = xOf(p.X);
          cuts.push_back(px);
          cuts.push_back(px + 1);
        }
        std::sort(cuts.begin(), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
          const int64_t from = std::max(cuts[i], xa), to = std::min(cuts[i + 1] - 1, xb);
          if (from <= to && inRange(pointAt(from))) spans.push_back(Span{from + d.lo, to + d.hi});
        }
      }
    }
    // Diagonal steps leave a row's last point; their bands reach about half
    // the width beyond either end.
    for (int64_t ys = std::max(s0, y - above - 2); ys <= std::min(s1, y + above + 2); ++ys) {
      for (const EllipseShape::Run& run : runs[static_cast<size_t>(ys - s0)]) {
        const bool rising = run.quarter == 1 || run.quarter == 3;
        const WalkPoint p{run.quarter, run.U, rising ? run.lo : run.hi};
        if (!e.DiagonalAfter(p)) continue;
        const WalkPoint q = e.Next(p);
        if (range && (!inRange(p) || !inRange(q) || p == range->a)) continue;
        const int64_t px = e.PixelX(p), qx = e.PixelX(q);
        if (std::max(px, qx) < -w - 2 || std::min(px, qx) > width + w + 2) continue;
        int64_t lo = 0, hi = 0;
        if (WideBandRow(px, e.PixelY(p), qx, e.PixelY(q), w, y, &lo, &hi)) spans.push_back(Span{lo, hi});
      }
    }
    Merge(&spans);
    rowSpans(y, spans);
  }
}

// The ring of a very wide pen: between the ellipses of the box grown and
// shrunk by half the width.
template <class RowSpans>
void RingBetween(const EllipseShape& e, const PenStroke& pen, int64_t w, RowSpans rowSpans) {
  const int64_t above = w / 2, below = w - 1 - w / 2;
  const EllipseShape outer(e.Left() - above, e.Top() - above, e.Right() + below, e.Bottom() + below);
  std::optional<EllipseShape> inner;
  if (e.Right() - e.Left() > w && e.Bottom() - e.Top() > w)
    inner.emplace(e.Left() + below + 1, e.Top() + below + 1, e.Right() - above - 1, e.Bottom() - above - 1);
  int64_t y0 = 0, y1 = 0;
  VisibleRows(pen.Target(), outer.Top(), outer.Bottom(), &y0, &y1);
  std::vector<Span> spans;
  for (int64_t y = y0; y <= y1; ++y) {
    spans.clear();
    int64_t ol = 0, orr = 0, il = 0, ir = 0;
    if (outer.Extent(y, &ol, &orr)) {
      if (inner && inner->Extent(y, &il, &ir)) {
        spans.push_back(Span{ol, il - 1});
        spans.push_back(Span{ir + 1, orr});
      } else {
        spans.push_back(Span{ol, orr});
      }
    }
    rowSpans(y, spans);
  }
}

template <class RowSpans>
void StrokeWide(const EllipseShape& e, const PenStroke& pen, const std::optional<WalkRange>& range,
                RowSpans rowSpans) {
  const int64_t w = pen.Width();
  if (w > kMaxStrokedWidth && !range)
    RingBetween(e, pen, w, rowSpans);
  else
    StrokeWalk(e, pen, std::min(w, kMaxStrokedWidth), range, rowSpans);
}

// GDI strokes an inside-frame pen along the ellipse of the box shrunk so
// that the stroke stays within the box.
EllipseShape PenPath(const PenStroke& pen, int64_t l, int64_t t, int64_t r, int64_t b) {
  if (!pen.InsideFrame() || !pen.IsWide()) return EllipseShape(l, t, r, b);
  const int64_t w = pen.Width();
  int64_t nl = l + w / 2, nt = t + w / 2, nr = r - (w - 1) / 2, nb = b - (w - 1) / 2;
  if (nr <= nl) {
    nl = l + (r - l - 1) / 2;
    nr = nl + 1;
  }
  if (nb <= nt) {
    nt = t + (b - t - 1) / 2;
    nb = nt + 1;
  }
  return EllipseShape(nl, nt, nr, nb);
}

// Sets n >= 1 bytes from each of the places given to the pixel of fill
// (every byte alike). Outline runs are mostly a few pixels long, so two
// overlapping stores of a width that fits cover each without a call; the
// runs of one quarter row share their length and so the choice.
template <class... Places>
inline void SetBytes(int64_t n, uint64_t fill, Places... at) {
  if (n == 1) {
    ((*at = static_cast<uint8_t>(fill)), ...);
  } else if (n <= 4) {
    const uint16_t v = static_cast<uint16_t>(fill);
    ((std::memcpy(at, &v, 2), std::memcpy(at + n - 2, &v, 2)), ...);
  } else if (n <= 8) {
    const uint32_t v = static_cast<uint32_t>(fill);
    ((std::memcpy(at, &v, 4), std::memcpy(at + n - 4, &v, 4)), ...);
  } else if (n <= 16) {
    ((std::memcpy(at, &fill, 8), std::memcpy(at + n - 8, &fill, 8)), ...);
  } else {
    (std::memset(at, static_cast<uint8_t>(fill), static_cast<size_t>(n)), ...);
  }
}

// The quarter rows uFrom..uTo of a solid copy onto 8-bit rows, when every column of the box lies on the
// bitmap: the four runs of each quarter row written straight from the row table.
void CopyQuarterRows(const EllipseShape& e, BitmapObj& bmp, uint8_t pixel, int64_t uFrom, int64_t uTo,
                     int64_t y0, int64_t y1) {
  if (uFrom > uTo) return;
  const QuarterRows::Row* row = e.QuarterTable() + (uFrom - e.Path().B1()) / 2;
  const int64_t a = e.Right() - e.Left() - 1, m = e.Top() + e.Bottom() - 1;
  const uint64_t fill = pixel * 0x0101010101010101ull;
  // Quarter row U lies on rows (m - U) / 2 and (m + U) / 2, which move a
  // row apart with each step of U; both are seen up to the nearer limit.
  const ptrdiff_t step = bmp.bottomUp ? -static_cast<ptrdiff_t>(bmp.stride) : bmp.stride;
  const int64_t upTo = std::min(uTo, m - 2 * y0), downTo = std::min(uTo, 2 * y1 - m);
  uint8_t* up = uFrom <= upTo ? bmp.Row(static_cast<int>((m - uFrom) / 2)) + e.Left() : nullptr;
  uint8_t* down = uFrom <= downTo ? bmp.Row(static_cast<int>((m + uFrom) / 2)) + e.Left() : nullptr;
  // A run covers X = lo..hi of the same parity as a, 0 <= lo <= hi <= a:
  // columns (a + lo) / 2 on the right and (a - hi) / 2 on the left, all
  // halves exact and none negative.
  struct Columns {
    int64_t right, left, n;
  };
  auto columns = [a](const QuarterRows::Row& r) {
    const uint64_t lo = static_cast<uint64_t>(r.lo), hi = static_cast<uint64_t>(r.hi);
    const uint64_t ua = static_cast<uint64_t>(a);
    return Columns{static_cast<int64_t>((ua + lo) >> 1), static_cast<int64_t>((ua - hi) >> 1),
                   static_cast<int64_t>(((hi - lo) >> 1) + 1)};
  };
  int64_t U = uFrom;
  for (; U <= upTo && U <= downTo; U += 2, ++row, up -= step, down += step) {
    const Columns c = columns(*row);
    SetBytes(c.n, fill, up + c.right, up + c.left, down + c.right, down + c.left);
  }
  for (; U <= upTo; U += 2, ++row, up -= step) {
    const Columns c = columns(*row);
    SetBytes(c.n, fill, up + c.right, up + c.left);
  }
  for (; U <= downTo; U += 2, ++row, down += step) {
    const Columns c = columns(*row);
    SetBytes(c.n, fill, down + c.right, down + c.left);
  }
}

// A solid pen paints every point alike, so the order of the visits does not
// matter, only how often each pixel is painted: each run is a span. Rows
// are taken a quarter row at a time, which serves a row above the middle
// and its mirror below; only the first and last quarter rows hold the
// points the walk drops or repeats, and go through the general row runs.
void SolidOutline(const EllipseShape& e, const PenStroke& pen, int64_t y0, int64_t y1) {
  if (y0 > y1) return;
  BitmapObj& bmp = pen.Target();
  const int rop2 = pen.Rop2();
  const int64_t c = e.Left() + e.Right() - 1, m = e.Top() + e.Bottom() - 1;
  // On 8-bit pixels the common operations go straight to the bytes: a copy
  // (overlay and replace), NOT (complement) and XOR.
  const bool bytes =
      blit::FastPaths() && bmp.bpp == 8 && (rop2 == R2_COPYPEN || rop2 == R2_NOT || rop2 == R2_XORPEN);
  const uint8_t pixel = static_cast<uint8_t>(pen.PenPaint().pixel & 0xFF);
  auto span = [&](int64_t y, int64_t x0, int64_t x1) {
    if (!bytes) {
      PaintRun(bmp, y, x0, x1, pen.PenPaint(), rop2);
      return;
    }
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, bmp.width - 1);
    if (x0 > x1) return;
    uint8_t* line = bmp.Row(static_cast<int>(y));
    if (rop2 == R2_NOT) {
      for (int64_t x = x0; x <= x1; ++x) line[x] = static_cast<uint8_t>(~line[x]);
    } else if (rop2 == R2_XORPEN) {
      for (int64_t x = x0; x <= x1; ++x) line[x] = static_cast<uint8_t>(line[x] ^ pixel);
    } else if (x1 - x0 <= 1) {
      // Most runs are a pixel or two, too short for a call to memset.
      line[x0] = line[x1] = pixel;
    } else {
      std::memset(line + x0, pixel, static_cast<size_t>(x1 - x0 + 1));
    }
  };
  // The common copy of a solid pen: the same writes as span, without asking
  // for the operation and the row at every run.
  const bool copy = bytes && rop2 == R2_COPYPEN;
  const int64_t lastColumn = bmp.width - 1;
  auto copyRun = [&](uint8_t* line, int64_t x0, int64_t x1) {
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, lastColumn);
    if (x0 > x1) return;
    if (x1 - x0 <= 1) {
      line[x0] = line[x1] = pixel;
    } else {
      std::memset(line + x0, pixel, static_cast<size_t>(x1 - x0 + 1));
    }
  };
  auto copySpans = [&](uint8_t* line, int64_t rl, int64_t rh, int64_t ll, int64_t lh) {
    copyRun(line, rl, rh);
    copyRun(line, ll, lh);
  };
  auto generalRow = [&](int64_t y) {
    e.ForRowRuns(y, [&](EllipseShape::Run run) {
      const bool right = run.quarter == 1 || run.quarter == 4;
      // The closing repeat is the last point of the fourth quarter.
      if (run.quarter == 4 && run.U == 0 && e.IsClosingRepeat(WalkPoint{4, 0, run.hi})) run.hi -= 2;
      if (run.lo > run.hi) return;
      span(y, right ? (run.lo + c) / 2 : (c - run.hi) / 2, right ? (run.hi + c) / 2 : (c - run.lo) / 2);
    });
  };
  // Row y lies on quarter row |m - 2y|; the visible rows cover these.
  const int64_t u0 = m - 2 * y0, u1 = m - 2 * y1;
  const int64_t b1 = e.Path().B1(), top = e.Path().Top();
  const int64_t uLo = std::max(b1, u0 >= 0 && u1 <= 0 ? b1 : std::min(std::abs(u0), std::abs(u1)));
  const int64_t uHi = std::min(top, std::max(std::abs(u0), std::abs(u1)));
  auto generalRows = [&](int64_t U) {
    const int64_t up = (m - U) / 2, down = (m + U) / 2;
    if (up >= y0 && up <= y1) generalRow(up);
    if (down >= y0 && down <= y1 && down != up) generalRow(down);
  };
  if (copy && e.Left() >= 0 && e.Right() <= bmp.width && e.QuarterTable()) {
    // A copy leaves a pixel the same however often the walk visits it: the
    // points it drops or repeats need no care, and the rows may go in any
    // order.
    CopyQuarterRows(e, bmp, pixel, uLo, uHi, y0, y1);
    return;
  }
  for (int64_t U = uLo; U <= uHi; U += 2) {
    const int64_t up = (m - U) / 2, down = (m + U) / 2;
    const bool upSeen = up >= y0 && up <= y1, downSeen = down >= y0 && down <= y1 && down != up;
    if (U == b1 || U == top) {
      generalRows(U);
      continue;
    }
    int64_t lo = 0, hi = 0;
    e.QuarterRun(U, &lo, &hi);
    if (copy) {
      // Both halves of both rows, each clipped once, written as bytes.
      const int64_t rl = (lo + c) / 2, rh = (hi + c) / 2, ll = (c - hi) / 2, lh = (c - lo) / 2;
      if (upSeen) copySpans(bmp.Row(static_cast<int>(up)), rl, rh, ll, lh);
      if (downSeen) copySpans(bmp.Row(static_cast<int>(down)), rl, rh, ll, lh);
      continue;
    }
    for (const int64_t y : {up, down}) {
      if (!(y == up ? upSeen : downSeen)) continue;
      span(y, (lo + c) / 2, (hi + c) / 2);
      span(y, (c - hi) / 2, (c - lo) / 2);
    }
  }
}

}  // namespace

void DrawEllipse(PenStroke& pen, const Paint& brush, int64_t l, int64_t t, int64_t r, int64_t b) {
  BitmapObj& bmp = pen.Target();
  const int rop2 = pen.Rop2();
  const EllipseShape e(l, t, r, b);
  int64_t y0 = 0, y1 = 0;
  const bool wide = pen.IsWide() && !pen.IsNull();

  if (wide) {
    // The brush fills what the ring leaves of the ellipse the pen strokes.
    const EllipseShape path = PenPath(pen, l, t, r, b);
    StrokeWide(path, pen, std::nullopt, [&](int64_t y, const std::vector<Span>& ring) {
      for (const Span& s : ring) PaintRun(bmp, y, s.lo, s.hi, pen.PenPaint(), rop2);
      int64_t xl = 0, xr = 0;
      if (brush.none || e.Thin() || !path.Extent(y, &xl, &xr)) return;
      int64_t from = xl;
      for (const Span& s : ring) {
        if (s.hi < from) continue;
        if (s.lo > xr) break;
        PaintRun(bmp, y, from, std::min(xr, s.lo - 1), brush, rop2);
        from = s.hi + 1;
      }
      if (from <= xr) PaintRun(bmp, y, from, xr, brush, rop2);
    });
    if (!brush.none && e.Thin()) {
      VisibleRows(bmp, t, b - 1, &y0, &y1);
      for (int64_t y = y0; y <= y1; ++y) PaintRun(bmp, y, l, r - 2, brush, rop2);
    }
    return;
  }

  // The brush covers the whole ellipse and the pen then goes over its
  // outline, as in GDI, where R2_XORPEN shows the brush under the outline.
  // A box one or two pixels thin loses its right and bottom edges to the
  // brush, as Rectangle's does.
  if (!brush.none) {
    VisibleRows(bmp, t, e.Thin() ? b - 1 : b, &y0, &y1);
    for (int64_t y = y0; y <= y1; ++y) {
      int64_t xl = l, xr = r - 2;
      if (e.Thin() || e.Extent(y, &xl, &xr)) PaintRun(bmp, y, xl, xr, brush, rop2);
    }
  }
  if (pen.IsNull() || e.Empty()) return;
  VisibleRows(bmp, t, b, &y0, &y1);
  if (e.Narrow()) {
    // One or two columns: GDI outlines the box.
    for (int64_t y = y0; y <= y1; ++y)
      for (int64_t x = std::max<int64_t>(l, 0); x <= std::min<int64_t>(r - 1, bmp.width - 1); ++x)
        pen.PlotAt(static_cast<int>(x), static_cast<int>(y), static_cast<uint64_t>(y - t));
    return;
  }
  std::vector<EllipseShape::Run> runs;
  if (!pen.IsStyled()) {
    SolidOutline(e, pen, y0, y1);
    return;
  }
  WalkIndex index(e);
  std::vector<std::pair<WalkPoint, int64_t>> row;
  for (int64_t y = y0; y <= y1; ++y) {
    ForVisiblePoints(e, bmp, y, e.First(), &runs, &row, [&](const WalkPoint& p, int64_t x) {
      if (e.IsClosingRepeat(p)) return;
      pen.PlotAt(static_cast<int>(x), static_cast<int>(y), index.Index(p));
    });
  }
}

void DrawArc(PenStroke& pen, int64_t l, int64_t t, int64_t r, int64_t b, POINT start, POINT end) {
  if (pen.IsNull()) return;
  BitmapObj& bmp = pen.Target();
  const EllipseShape e = PenPath(pen, l, t, r, b);
  if (e.Empty()) return;
  const WalkPoint s = e.FirstFrom(start.x, start.y), stop = e.FirstFrom(end.x, end.y);
  const WalkRange range{s, e.Prev(stop)};

  if (pen.IsWide()) {
    // A polyline of one point draws nothing; the walk's dropped repeat of
    // a point still counts as a second one.
    if (range.s == range.a && !e.FollowsDropped(stop)) return;
    StrokeWide(e, pen, range, [&](int64_t y, const std::vector<Span>& spans) {
      for (const Span& sp : spans) PaintRun(bmp, y, sp.lo, sp.hi, pen.PenPaint(), pen.Rop2());
    });
    return;
  }
  if (range.s == range.a) return;

  std::optional<WalkIndex> index;
  uint64_t first = 0;
  if (pen.IsStyled()) {
    index.emplace(e);
    first = index->Index(s);
  }
  // The pattern runs from the arc's start; the closing repeat, never
  // painted, takes no position.
  auto position = [&](const WalkPoint& p) -> uint64_t {
    if (!index) return 0;
    const uint64_t i = index->Index(p);
    uint64_t pos = (i + index->Total() - first) % index->Total();
    if (i < first && index->Total() != index->Painted()) --pos;
    return pos;
  };
  int64_t y0 = 0, y1 = 0;
  VisibleRows(bmp, e.Top(), e.Bottom(), &y0, &y1);
  std::vector<EllipseShape::Run> runs;
  std::vector<std::pair<WalkPoint, int64_t>> row;
  for (int64_t y = y0; y <= y1; ++y) {
    ForVisiblePoints(e, bmp, y, s, &runs, &row, [&](const WalkPoint& p, int64_t x) {
      if (e.IsClosingRepeat(p) || !range.Contains(p, false)) return;
      pen.PlotAt(static_cast<int>(x), static_cast<int>(y), position(p));
    });
  }
}

}  // namespace soft
