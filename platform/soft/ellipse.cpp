#include "platform/soft/ellipse.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/soft/geom.h"

namespace soft {

EllipseShape::EllipseShape(int64_t left, int64_t top, int64_t right, int64_t bottom)
    : l_(left), t_(top), r_(right), b_(bottom) {
  const uint64_t w = static_cast<uint64_t>(right - left), h = static_cast<uint64_t>(bottom - top);
  single_ = w == 1 && h == 1;
  semiA_ = w - 1;
  semiB_ = h - 1;
  huge_ = w > UINT32_MAX || h > UINT32_MAX;
  a2_ = huge_ ? 0 : semiA_ * semiA_;
  b2_ = huge_ ? 0 : semiB_ * semiB_;
  parity_ = (w + 1) & 1;
  middle_ = (h + 1) & 1;
}

uint64_t EllipseShape::WidestOffset(uint64_t ay) const {
  // The middle row spans the box, and every row holds the centre column(s).
  if (ay == middle_) return semiA_;
  uint64_t k = parity_;
  if (!huge_) {
    // Across rows: K^2 B^2 + (ay - 1)^2 A^2 + 2 A^2 < A^2 B^2.
    const uint64_t acrossRows = b2_ - (ay - 1) * (ay - 1);  // ay >= 2 here, and ay <= B
    if (acrossRows > 2) {
      const UInt128 room = UInt128{a2_} * (acrossRows - 2);
      if (room > 0) k = std::max(k, ISqrt(static_cast<uint64_t>((room - 1) / b2_)));
    }
    // Across columns: (K - 1)^2 B^2 + ay^2 A^2 < A^2 B^2.
    const UInt128 room = UInt128{a2_} * (b2_ - ay * ay);
    if (room > 0) k = std::max(k, 1 + ISqrt(static_cast<uint64_t>((room - 1) / b2_)));
  } else {
    // Only a wide pen's ring grows a box past 32 bits; there the squares
    // outgrow 128 bits and the nearest pixel is close enough.
    const long double a = static_cast<long double>(semiA_), b = static_cast<long double>(semiB_);
    const long double y = static_cast<long double>(ay);
    const long double edge = a * std::sqrt(std::max(0.0L, (b - y) * (b + y))) / b;
    k = std::max(k, static_cast<uint64_t>(std::ceil(edge)));
  }
  k = std::min(k, semiA_);
  if (((k ^ parity_) & 1) != 0) --k;
  return k;
}

bool EllipseShape::Row(int64_t y, int64_t* xl, int64_t* xr) const {
  if (y < t_ || y >= b_ || single_) return false;
  const int64_t yy = 2 * y + 1 - (t_ + b_);
  const int64_t k = static_cast<int64_t>(WidestOffset(static_cast<uint64_t>(yy < 0 ? -yy : yy)));
  *xl = (l_ + r_ - 1 - k) / 2;
  *xr = (l_ + r_ - 1 + k) / 2;
  return true;
}

namespace {

// Ranges up to this many rows are summed row by row.
constexpr int64_t kExactRows = 256;
// Rows on either side of the steep/flat boundary that are summed row by row.
constexpr int64_t kBoundaryRows = 64;

// First i in [lo, hi) for which pred turns true (pred is monotone), or hi.
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

// One row of the cosmetic outline: the ellipse's pixels [xl, xr] and the
// outline runs [xl, leftEnd] and [rightStart, xr]. A row whose outer
// neighbour is empty, or whose runs meet, is outline throughout: then
// leftEnd = xr and the right run is empty.
struct OutlineRow {
  bool any = false;
  int64_t xl = 0, xr = -1, leftEnd = -1, rightStart = 0;
};

OutlineRow OutlineAt(const EllipseShape& e, int64_t y) {
  OutlineRow o;
  if (!e.Row(y, &o.xl, &o.xr)) return o;
  o.any = true;
  // Rows narrow away from the middle, so only the outer neighbour row can
  // leave a pixel's upper or lower neighbour outside.
  const int64_t outer = e.PixelU(y) >= 0 ? y - 1 : y + 1;
  int64_t oxl = 0, oxr = -1;
  if (e.Row(outer, &oxl, &oxr)) {
    o.leftEnd = std::max(o.xl, oxl - 1);
    o.rightStart = std::min(o.xr, oxr + 1);
    if (o.rightStart > o.leftEnd) return o;
  }
  o.leftEnd = o.xr;
  o.rightStart = o.xr + 1;
  return o;
}

// Directions about the centre, in doubled coordinates with U upwards, ordered
// counterclockwise from angle 0 (pointing right).
struct Direction {
  int64_t x, u;
};
Direction Dir(int64_t x, int64_t u) {
  return (x == 0 && u == 0) ? Direction{1, 0} : Direction{x, u};
}
int Half(Direction d) {
  return (d.u > 0 || (d.u == 0 && d.x > 0)) ? 0 : 1;
}
bool AngleLess(Direction a, Direction b) {
  const int ha = Half(a), hb = Half(b);
  if (ha != hb) return ha < hb;
  return Int128{a.x} * b.u - Int128{a.u} * b.x > 0;
}

// The directions counterclockwise from start up to, not including, end.
struct AngleRange {
  Direction start, end;
  bool full, wraps;
  AngleRange(Direction s, Direction e) : start(s), end(e) {
    full = !AngleLess(s, e) && !AngleLess(e, s);
    wraps = AngleLess(e, s);
  }
  bool Contains(Direction d) const {
    if (full) return true;
    const bool afterStart = !AngleLess(d, start), beforeEnd = AngleLess(d, end);
    return wraps ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
  }
};

// Positions along the cosmetic outline, for the dash pattern of a styled
// pen. The outline is walked counterclockwise from the rightmost pixel of the
// middle: first the upper half (right quarter from the middle up, then left
// quarter from the top down), then the lower half, which mirrors the upper
// one through the centre. Counting the pixels of a range of rows is done
// without visiting them, so positions cost the same for a huge ellipse.
class OutlineChain {
 public:
  explicit OutlineChain(const EllipseShape& e) : e_(e) {
    cc_ = FloorDiv(Int128{e.Left()} + e.Right() - 1, 2);
    oddWidth_ = ((e.Right() - e.Left()) & 1) != 0;
    ymU_ = FloorDiv(Int128{e.Top()} + e.Bottom() - 1, 2);
    ymL_ = e.PixelU(ymU_) == 0 ? ymU_ - 1 : ymU_;
    int64_t xl = 0, xr = 0;
    yf_ = FirstTrue(e.Top(), ymU_, [&](int64_t y) { return e.Row(y, &xl, &xr); });
    yz_ = yf_;
    if (oddWidth_) yz_ = std::max(yf_, FirstTrue(yf_, ymU_ + 1, [&](int64_t y) { return XL(y) != cc_; }) - 1);
    n1_ = SumR(yf_, ymU_);
    upper_ = n1_ + SumL(yf_, ymL_);
  }

  uint64_t Length() const { return 2 * upper_; }

  // The position of outline pixel x of row y.
  uint64_t IndexOf(int64_t x, int64_t y) {
    const int64_t px = e_.PixelX(x), pu = e_.PixelU(y);
    if (pu > 0 || (pu == 0 && px >= 0)) return UpperIndex(x, y);
    return upper_ + UpperIndex(e_.Left() + e_.Right() - 1 - x, e_.Top() + e_.Bottom() - 1 - y);
  }

  // The position of the first outline pixel whose direction is d or
  // counterclockwise after it.
  uint64_t FirstFrom(Direction d) {
    if (Half(d) == 0) return FirstInUpper(d) % Length();
    return (upper_ + FirstInUpper(Direction{-d.x, -d.u})) % Length();
  }

 private:
  int64_t XL(int64_t y) const {
    int64_t xl = 0, xr = 0;
    e_.Row(y, &xl, &xr);
    return xl;
  }
  const OutlineRow& Outline(int64_t y) {
    if (!rowCached_ || rowY_ != y) {
      row_ = OutlineAt(e_, y);
      rowY_ = y;
      rowCached_ = true;
    }
    return row_;
  }
  // First pixel of the right quarter on upper row y (the centre pixel counts
  // to it on the middle row).
  int64_t RightQuarterStart(int64_t y) const { return e_.PixelU(y) == 0 && oddWidth_ ? cc_ : cc_ + 1; }

  // Outline pixels of upper row y left of the centre (the centre column
  // included), and right of it.
  uint64_t CountL(int64_t y) {
    const OutlineRow& o = Outline(y);
    return static_cast<uint64_t>(std::min(o.leftEnd, cc_) - o.xl + 1);
  }
  uint64_t CountR(int64_t y) { return CountL(y) - (ZeroColumnRows(y, y) != 0 ? 1 : 0); }
  // Rows in [ya, yb] above the middle whose outline holds the centre column.
  uint64_t ZeroColumnRows(int64_t ya, int64_t yb) const {
    if (!oddWidth_) return 0;
    ya = std::max(ya, yf_);
    yb = std::min({yb, yz_, ymL_});
    return ya <= yb ? static_cast<uint64_t>(yb - ya + 1) : 0;
  }

  // Sums of CountL and CountR over upper rows [ya, yb].
  uint64_t SumL(int64_t ya, int64_t yb) {
    ya = std::max(ya, yf_);
    if (ya > yb) return 0;
    uint64_t sum = 0;
    if (ya == yf_) {
      sum += CountL(yf_);
      ++ya;
    }
    return ya > yb ? sum : sum + StepSum(ya, yb);
  }
  uint64_t SumR(int64_t ya, int64_t yb) { return SumL(ya, yb) - ZeroColumnRows(ya, yb); }

  // Below the top row, an upper row's left outline reaches from its own left
  // end to just short of the row above's: max(1, xl(y-1) - xl(y)) pixels.
  uint64_t RowByRow(int64_t ya, int64_t yb) const {
    uint64_t sum = 0;
    int64_t prev = XL(ya - 1);
    for (int64_t y = ya; y <= yb; ++y) {
      const int64_t cur = XL(y);
      sum += static_cast<uint64_t>(std::max<int64_t>(1, prev - cur));
      prev = cur;
    }
    return sum;
  }
  // Where the boundary moves a pixel or more per row every row moves by at
  // least one, so the counts telescope; where it moves less than a pixel per
  // row every row holds exactly one. Rows near the change are counted one by
  // one, which keeps the sum exact whatever the rounding of the slope.
  uint64_t StepSum(int64_t ya, int64_t yb) const {
    if (yb - ya < kExactRows) return RowByRow(ya, yb);
    const int64_t k = FirstTrue(ya, yb + 1, [&](int64_t y) { return Slope(y) < 1; });
    const int64_t k0 = std::max(ya, k - kBoundaryRows), k1 = std::min(yb, k + kBoundaryRows);
    uint64_t sum = RowByRow(k0, k1);
    if (k0 > ya) sum += static_cast<uint64_t>(XL(ya - 1) - XL(k0 - 1));
    if (k1 < yb) sum += static_cast<uint64_t>(yb - k1);
    return sum;
  }
  // How far the real left boundary moves between rows y - 1 and y.
  long double Slope(int64_t y) const {
    const long double w = static_cast<long double>(e_.SemiA());
    const long double h = static_cast<long double>(e_.SemiB());
    const long double yy = static_cast<long double>(-e_.PixelU(y));  // <= 0
    const long double s1 = std::sqrt((h - yy) * (h + yy)), s2 = std::sqrt((h + 2 - yy) * (h - 2 + yy));
    return 2 * w * (1 - yy) / (h * (s1 + s2));
  }

  // Positions before upper row y's pixels in the right quarter (b1, rows
  // below y up to the middle) and in the left quarter (b2, rows above y).
  void Bases(int64_t y, uint64_t* b1, uint64_t* b2) {
    if (basesCached_ && y == baseY_ + 1) {
      b2_ += CountL(baseY_);
      b1_ -= CountR(y);
    } else if (basesCached_ && y == baseY_ - 1) {
      b2_ -= CountL(y);
      b1_ += CountR(baseY_);
    } else if (!basesCached_ || y != baseY_) {
      b1_ = SumR(y + 1, ymU_);
      b2_ = SumL(yf_, y - 1);
    }
    basesCached_ = true;
    baseY_ = y;
    *b1 = b1_;
    *b2 = b2_;
  }

  uint64_t UpperIndex(int64_t x, int64_t y) {
    uint64_t b1 = 0, b2 = 0;
    Bases(y, &b1, &b2);
    const OutlineRow& o = Outline(y);
    if (x >= RightQuarterStart(y)) return b1 + static_cast<uint64_t>(o.xr - x);
    return n1_ + b2 + static_cast<uint64_t>(std::min(o.leftEnd, cc_) - x);
  }

  Direction PixelDir(int64_t x, int64_t y) const { return Dir(e_.PixelX(x), e_.PixelU(y)); }

  // Searches the upper half, whose directions grow along the walk: first
  // the row, then the pixel within it. Returns upper_ when every pixel of
  // the upper half lies before d.
  uint64_t FirstInUpper(Direction d) {
    auto atOrAfter = [&](int64_t x, int64_t y) { return !AngleLess(PixelDir(x, y), d); };
    // Right quarter: rows from the middle up; a row's last pixel is its leftmost.
    auto rightLo = [&](int64_t y) {
      const OutlineRow& o = Outline(y);
      return std::max(RightQuarterStart(y), o.rightStart <= o.xr ? o.rightStart : o.xl);
    };
    const int64_t firstRow = FirstTrue(yf_, ymU_ + 1, [&](int64_t y) {
      int64_t xl = 0, xr = -1;
      return e_.Row(y, &xl, &xr) && xr >= RightQuarterStart(y);
    });
    const int64_t rows = ymU_ - firstRow + 1;
    const int64_t j = FirstTrue(0, rows, [&](int64_t i) { return atOrAfter(rightLo(ymU_ - i), ymU_ - i); });
    if (j < rows) {
      const int64_t y = ymU_ - j;
      const int64_t xr = Outline(y).xr, lo = rightLo(y);
      const int64_t k = FirstTrue(0, xr - lo + 1, [&](int64_t i) { return atOrAfter(xr - i, y); });
      return UpperIndex(xr - k, y);
    }
    // Left quarter: rows from the top down; a row's last pixel is its leftmost.
    const int64_t i = FirstTrue(yf_, ymL_ + 1, [&](int64_t y) { return atOrAfter(Outline(y).xl, y); });
    if (i > ymL_) return upper_;
    const OutlineRow& o = Outline(i);
    const int64_t hi = std::min(o.leftEnd, cc_), xl = o.xl;
    const int64_t k = FirstTrue(0, hi - xl + 1, [&](int64_t n) { return atOrAfter(hi - n, i); });
    return UpperIndex(hi - k, i);
  }

  const EllipseShape& e_;
  int64_t cc_ = 0;         // the rightmost column left of or on the centre
  bool oddWidth_ = false;  // a centre column exists
  int64_t ymU_ = 0;        // the last row above or on the middle
  int64_t ymL_ = 0;        // the last row strictly above the middle
  int64_t yf_ = 0;         // the first row holding pixels
  int64_t yz_ = 0;         // the last row whose outline holds the centre column (odd widths)
  uint64_t n1_ = 0;        // pixels in the upper right quarter
  uint64_t upper_ = 0;     // pixels in the upper half

  bool rowCached_ = false, basesCached_ = false;
  int64_t rowY_ = 0, baseY_ = 0;
  OutlineRow row_;
  uint64_t b1_ = 0, b2_ = 0;
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

// The boxes whose ellipses bound a wide pen's ring: the path runs through
// the centres of the box's edge pixels, and the pen's width is split about
// it as for wide lines; an inside-frame pen's ring ends at the box.
struct RingBoxes {
  int64_t ol, ot, orr, ob;  // outer
  int64_t il, it, ir, ib;   // inner, possibly empty
};
RingBoxes Ring(const PenStroke& pen, int64_t l, int64_t t, int64_t r, int64_t b) {
  const int64_t w = pen.Width(), lo = w / 2, hi = (w + 1) / 2;
  RingBoxes g{};
  if (pen.InsideFrame())
    g = {l, t, r, b, l + w, t + w, r - w, b - w};
  else
    g = {l - lo, t - lo, r + hi - 1, b + hi - 1, l + hi, t + hi, r - 1 - lo, b - 1 - lo};
  return g;
}

// Walks the wide pen's ring row by row: ring(y, x0, x1) for its runs and
// inside(y, x0, x1) for the pixels it encloses.
template <class RingFn, class InsideFn>
void WalkRing(const PenStroke& pen, int64_t l, int64_t t, int64_t r, int64_t b, RingFn ring,
              InsideFn inside) {
  const RingBoxes g = Ring(pen, l, t, r, b);
  if (g.orr <= g.ol || g.ob <= g.ot) return;
  const EllipseShape outer(g.ol, g.ot, g.orr, g.ob);
  std::optional<EllipseShape> inner;
  if (g.ir > g.il && g.ib > g.it) inner.emplace(g.il, g.it, g.ir, g.ib);
  int64_t y0 = 0, y1 = 0;
  VisibleRows(pen.Target(), g.ot, g.ob, &y0, &y1);
  for (int64_t y = y0; y <= y1; ++y) {
    int64_t oxl = 0, oxr = 0, ixl = 0, ixr = 0;
    if (!outer.Row(y, &oxl, &oxr)) continue;
    if (inner && inner->Row(y, &ixl, &ixr)) {
      ring(y, oxl, ixl - 1);
      inside(y, ixl, ixr);
      ring(y, ixr + 1, oxr);
    } else {
      ring(y, oxl, oxr);
    }
  }
}

}  // namespace

void DrawEllipse(PenStroke& pen, const Paint& brush, int64_t l, int64_t t, int64_t r, int64_t b) {
  BitmapObj& bmp = pen.Target();
  const int rop2 = pen.Rop2();
  const EllipseShape e(l, t, r, b);
  int64_t y0 = 0, y1 = 0;
  // The brush covers the whole ellipse and the pen then goes over its
  // outline, as in GDI, where R2_XORPEN shows the brush under the outline.
  // A box one or two pixels thin loses its right and bottom edges to the
  // brush, as Rectangle's does.
  const bool thin = r - l <= 2 || b - t <= 2;
  VisibleRows(bmp, t, thin ? b - 1 : b, &y0, &y1);
  for (int64_t y = y0; y <= y1; ++y) {
    int64_t xl = l, xr = r - 2;
    if (thin || e.Row(y, &xl, &xr)) PaintRun(bmp, y, xl, xr, brush, rop2);
  }
  if (pen.IsNull() || e.Empty()) return;
  if (pen.IsWide()) {
    WalkRing(
        pen, l, t, r, b,
        [&](int64_t y, int64_t x0, int64_t x1) { PaintRun(bmp, y, x0, x1, pen.PenPaint(), rop2); },
        [](int64_t, int64_t, int64_t) {});
    return;
  }
  std::optional<OutlineChain> chain;
  if (pen.IsStyled()) chain.emplace(e);
  auto outline = [&](int64_t y, int64_t x0, int64_t x1) {
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, bmp.width - 1);
    if (x0 > x1) return;
    if (!chain) {
      PaintRun(bmp, y, x0, x1, pen.PenPaint(), rop2);
      return;
    }
    for (int64_t x = x0; x <= x1; ++x)
      pen.PlotAt(static_cast<int>(x), static_cast<int>(y), chain->IndexOf(x, y));
  };
  VisibleRows(bmp, t, b, &y0, &y1);
  for (int64_t y = y0; y <= y1; ++y) {
    const OutlineRow o = OutlineAt(e, y);
    if (!o.any) continue;
    outline(y, o.xl, o.leftEnd);
    outline(y, o.rightStart, o.xr);
  }
}

void DrawArc(PenStroke& pen, int64_t l, int64_t t, int64_t r, int64_t b, POINT start, POINT end) {
  if (pen.IsNull()) return;
  BitmapObj& bmp = pen.Target();
  const EllipseShape e(l, t, r, b);
  if (e.Empty()) return;
  const AngleRange arc(Dir(2 * int64_t{start.x} - (l + r), (t + b) - 2 * int64_t{start.y}),
                       Dir(2 * int64_t{end.x} - (l + r), (t + b) - 2 * int64_t{end.y}));
  auto inArc = [&](int64_t x, int64_t y) { return arc.Contains(Dir(e.PixelX(x), e.PixelU(y))); };

  if (pen.IsWide()) {
    auto ring = [&](int64_t y, int64_t x0, int64_t x1) {
      x0 = std::max<int64_t>(x0, 0);
      x1 = std::min<int64_t>(x1, bmp.width - 1);
      for (int64_t x = x0; x <= x1; ++x)
        if (inArc(x, y)) pen.PlotAt(static_cast<int>(x), static_cast<int>(y), 0);
    };
    WalkRing(pen, l, t, r, b, ring, [](int64_t, int64_t, int64_t) {});
    return;
  }

  std::optional<OutlineChain> chain;
  uint64_t first = 0, length = 0;
  if (pen.IsStyled()) {
    chain.emplace(e);
    length = chain->Length();
    first = chain->FirstFrom(arc.start);
  }
  auto outline = [&](int64_t y, int64_t x0, int64_t x1) {
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, bmp.width - 1);
    for (int64_t x = x0; x <= x1; ++x) {
      if (!inArc(x, y)) continue;
      const uint64_t pos = chain ? (chain->IndexOf(x, y) + length - first) % length : 0;
      pen.PlotAt(static_cast<int>(x), static_cast<int>(y), pos);
    }
  };
  int64_t y0 = 0, y1 = 0;
  VisibleRows(bmp, t, b, &y0, &y1);
  for (int64_t y = y0; y <= y1; ++y) {
    const OutlineRow o = OutlineAt(e, y);
    if (!o.any) continue;
    outline(y, o.xl, o.leftEnd);
    outline(y, o.rightStart, o.xr);
  }
}

}  // namespace soft
