#include "platform/soft/quarter.h"

#include <algorithm>
#include <cmath>

#include "platform/soft/geom.h"

namespace soft {
namespace {

// Below this the stepper's error terms, products of four coordinates, fit
// 128 bits exactly. Larger boxes come only from coordinates near the 32-bit
// limits, where the continuous curve rounded to pixels serves.
constexpr int64_t kExactLimit = int64_t{1} << 30;

// The crossover walk needs two or three steps; the bound only guards
// against a stuck walk.
constexpr int kMaxWalk = 64;

Int128 Sq(int64_t v) {
  return Int128{v} * v;
}

}  // namespace

QuarterPath::QuarterPath(uint64_t width, uint64_t height)
    : a_(static_cast<int64_t>(width - 1)),
      bb_(static_cast<int64_t>(height - 1)),
      par_(a_ & 1),
      b1_(bb_ & 1),
      exact_(a_ < kExactLimit && bb_ < kExactLimit) {
  if (!exact_ || bb_ == 0 || a_ == 0) {
    // One row, one column, or the continuous curve: the walk ends on the
    // box's top row.
    top_ = exact_ && a_ == 0 ? b1_ : bb_;
    return;
  }
  // The first column right of the 45-degree point: from there right, every
  // column's run ends where the stepper first allows an inward step.
  const Int128 a2 = Sq(a_), sum = a2 + Sq(bb_);
  int64_t x = static_cast<int64_t>(ISqrt(static_cast<uint64_t>(a2 * a2 / sum))) + 1;
  if (((x - par_) & 1) != 0) ++x;
  while (x - 2 >= par_ && Sq(x - 2) * sum > a2 * a2) x -= 2;
  while (x < a_ && !(Sq(x) * sum > a2 * a2)) x += 2;
  firstDirectColumn_ = std::min(x, a_);

  // The walk ends where it first reaches the last column, or higher if it
  // climbs that column. It arrives there from the column before, which it
  // leaves where the stepper first allows; left of the crossover it arrives
  // on the first row whose leave column is the last one.
  int64_t arrive = b1_;
  if (par_ + 2 <= a_ && par_ + 2 >= firstDirectColumn_) {
    const int64_t from = LeaveRow(par_ + 2);
    arrive = StepsUp(par_ + 2, from) ? from + 2 : from;
  } else if (par_ + 2 <= a_) {
    int64_t lo = 0, hi = (bb_ - b1_) / 2 + 1;
    while (lo < hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      if (LeaveColumn(b1_ + 2 * mid) <= par_)
        hi = mid;
      else
        lo = mid + 1;
    }
    arrive = b1_ + 2 * lo;
  }
  top_ = std::max(arrive, LeaveRow(par_));
}

// The stepper at (X, U) looks at the pixel diagonally in, D = (X-2, U+2),
// and its neighbours V = (X, U+2) and H = (X-2, U), with F(X, U) = B^2 X^2 +
// A^2 U^2 - A^2 B^2 negative inside: it steps up when F(D) + F(H) <= 0 and
// in when F(D) + F(V) >= 0, both at once being a diagonal step.
bool QuarterPath::StepsUp(int64_t X, int64_t U) const {
  const Int128 a2 = Sq(a_), b2 = Sq(bb_);
  return 2 * b2 * Sq(X - 2) + a2 * (Sq(U + 2) + Sq(U)) - 2 * a2 * b2 <= 0;
}

bool QuarterPath::StepsIn(int64_t X, int64_t U) const {
  const Int128 a2 = Sq(a_), b2 = Sq(bb_);
  return b2 * (Sq(X - 2) + Sq(X)) + 2 * a2 * Sq(U + 2) - 2 * a2 * b2 >= 0;
}

int64_t QuarterPath::LeaveColumn(int64_t U) const {
  const Int128 a2 = Sq(a_), b2 = Sq(bb_);
  const Int128 room = 2 * a2 * b2 - a2 * (Sq(U + 2) + Sq(U));
  if (bb_ == 0 || room < 0) return par_ - 2;
  // Stepping up needs 2 B^2 (X - 2)^2 <= room.
  const int64_t m = static_cast<int64_t>(ISqrt(static_cast<uint64_t>(room / (2 * b2))));
  int64_t x = 2 + m;
  if (((x - par_) & 1) != 0) {
    if (m == 0) return par_ - 2;
    --x;
  }
  return x;
}

int64_t QuarterPath::LeaveRow(int64_t X) const {
  const Int128 a2 = Sq(a_), b2 = Sq(bb_);
  const Int128 room = 2 * a2 * b2 - b2 * (Sq(X - 2) + Sq(X));
  if (room <= 0 || a_ == 0) return b1_;
  // Stepping in needs 2 A^2 (U + 2)^2 >= room.
  int64_t k = static_cast<int64_t>(ISqrt(static_cast<uint64_t>(room / (2 * a2))));
  while (2 * a2 * Sq(k) < room) ++k;
  int64_t u = std::max(b1_, k - 2);
  if (((u - b1_) & 1) != 0) ++u;
  return u;
}

int64_t QuarterPath::ColumnAt(int64_t U) const {
  if (U == b1_) return a_;
  // Column X is still occupied on row U when the stepper refused to step in
  // from it on row U - 2: B^2 ((X - 1)^2 + 1) < A^2 (B^2 - U^2).
  const Int128 b2 = Sq(bb_);
  const Int128 room = Sq(a_) * (b2 - Sq(U)) - b2;
  if (room < 1) return par_ - 2;
  const int64_t m = static_cast<int64_t>(ISqrt(static_cast<uint64_t>((room - 1) / b2)));
  int64_t x = 1 + m;
  if (((x - par_) & 1) != 0) {
    if (m == 0) return par_ - 2;
    --x;
  }
  return std::min(x, a_);
}

// Above the 45-degree point every row is left from the column where the
// stepper first allows an upward step.
bool QuarterPath::RowDirect(int64_t U) const {
  return U >= b1_ && Sq(U) * (Sq(a_) + Sq(bb_)) > Sq(bb_) * Sq(bb_);
}

int64_t QuarterPath::WalkTo(int64_t X, int64_t U, int64_t target) const {
  for (int i = 0; i < kMaxWalk && U < target && X >= par_; ++i) {
    const bool up = StepsUp(X, U), in = StepsIn(X, U);
    if (up && in) {
      X -= 2;
      U += 2;
    } else if (up) {
      U = std::max(U + 2, std::min(LeaveRow(X), target));
    } else if (in) {
      X = LeaveColumn(U);
    } else {
      break;
    }
  }
  return X;
}

int64_t QuarterPath::Hi(int64_t U) const {
  if (U == b1_) return a_;
  if (RowDirect(U - 2)) {
    const int64_t from = LeaveColumn(U - 2);
    if (from < par_) return par_ - 2;
    return StepsIn(from, U - 2) ? from - 2 : from;
  }
  const int64_t column = ColumnAt(U);
  if (column >= firstDirectColumn_) return column;
  return WalkTo(firstDirectColumn_, LeaveRow(firstDirectColumn_), U);
}

bool QuarterPath::RawRun(int64_t U, int64_t* lo, int64_t* hi) const {
  if (!exact_) {
    // The continuous quarter, each run reaching from where the curve
    // crosses the row's lower edge to where it crosses its upper edge.
    if (bb_ == 0 || U > bb_) {
      *hi = a_;
      *lo = par_;
      return U == b1_;
    }
    auto at = [&](int64_t v) {
      const long double t = static_cast<long double>(v) / static_cast<long double>(bb_);
      const long double x = static_cast<long double>(a_) * std::sqrt(std::max(0.0L, 1 - t * t));
      int64_t k = static_cast<int64_t>(std::min(std::floor(x + 0.5L), static_cast<long double>(a_)));
      if (((k - par_) & 1) != 0) --k;
      return std::max(k, par_);
    };
    *hi = U == b1_ ? a_ : at(U - 1);
    *lo = U >= bb_ ? par_ : std::min(*hi, at(U + 1));
    return true;
  }
  *hi = Hi(U);
  if (*hi < par_) return false;
  const int64_t leave = LeaveColumn(U);
  *lo = leave < par_ ? par_ : std::min(leave, *hi);
  return true;
}

void QuarterPath::Run(int64_t U, int64_t* lo, int64_t* hi) const {
  if (exact_ && a_ == 0) {
    *lo = *hi = 0;
    return;
  }
  if (!RawRun(U, lo, hi)) *lo = *hi = par_;
  if (U == top_) *lo = par_;
}

}  // namespace soft
