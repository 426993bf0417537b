// The first-quadrant path of GDI's ellipse. GDI walks the quarter of the
// outline from the right end of the middle to the top with an error-driven
// stepper (the ellipse-in-a-rectangle form of the midpoint algorithm) and
// mirrors it into the other quarters. This class gives the walk row by row
// in closed form, so that a row costs the same however large the ellipse.
//
// Coordinates are doubled and relative to the box centre, so that they are
// integers for even and odd sizes alike: pixel x of a box [l, r) has
// X = 2x + 1 - (l + r), pixel y of [t, b) has U = (t + b) - (2y + 1), U
// growing upwards. The walk starts at (A, B1) and ends at (Par, Top); X keeps
// the parity of A and U that of B1.
#pragma once

#include <cstdint>

namespace soft {

class QuarterPath {
 public:
  // A box of width x height pixels, each at least 1.
  QuarterPath(uint64_t width, uint64_t height);

  int64_t A() const { return a_; }
  int64_t Par() const { return par_; }
  int64_t B1() const { return b1_; }
  int64_t Top() const { return top_; }

  // The walk visits row U (B1 <= U <= Top, U of B1's parity) from X = *hi
  // down to X = *lo in steps of 2.
  void Run(int64_t U, int64_t* lo, int64_t* hi) const;

 private:
  // The run without the top row's clamp; false past the end of the walk.
  bool RawRun(int64_t U, int64_t* lo, int64_t* hi) const;
  int64_t Hi(int64_t U) const;
  // The last column from which the walk may step up on row U, or Par - 2.
  int64_t LeaveColumn(int64_t U) const;
  // The first row on which the walk may step in from column X.
  int64_t LeaveRow(int64_t X) const;
  // The rightmost column the walk has not yet left below row U, or Par - 2.
  int64_t ColumnAt(int64_t U) const;
  bool RowDirect(int64_t U) const;
  bool StepsUp(int64_t X, int64_t U) const;
  bool StepsIn(int64_t X, int64_t U) const;
  int64_t WalkTo(int64_t X, int64_t U, int64_t target) const;

  int64_t a_, bb_, par_, b1_, top_ = 0;
  int64_t firstDirectColumn_ = 0;
  bool exact_;
};

}  // namespace soft
