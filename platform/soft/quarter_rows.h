// The quarter path's runs for every row at once, for the boxes every real
// page draws. Stepping the walk once costs a few additions a point, where
// asking the closed form row by row costs square roots and wide divisions
// on every row, twice over for a filled and outlined ellipse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/soft/quarter.h"

namespace soft {

class QuarterRows {
 public:
  // Boxes up to this many pixels a side are stepped; the error terms then
  // stay far inside 64 bits.
  static constexpr uint64_t kMaxSide = uint64_t{1} << 16;

  struct Row {
    int64_t lo, hi;
  };

  // The quarter path of a width x height box (each at least 1) and its rows.
  QuarterRows(uint64_t width, uint64_t height);

  const QuarterPath& Path() const { return shape_->path; }
  // Row (U - B1) / 2 for every row of the path; null when the box is too
  // large to step and the closed form answers.
  const Row* Table() const { return shape_->rows.empty() ? nullptr : shape_->rows.data(); }

  // As Path().Run, for rows B1 <= U <= Top.
  void Run(int64_t U, int64_t* lo, int64_t* hi) const {
    const Shape& s = *shape_;
    if (s.rows.empty()) {
      s.path.Run(U, lo, hi);
      return;
    }
    const Row& row = s.rows[static_cast<size_t>((U - s.path.B1()) / 2)];
    *lo = row.lo;
    *hi = row.hi;
  }

 private:
  struct Shape {
    Shape(uint64_t width, uint64_t height);
    QuarterPath path;
    std::vector<Row> rows;
  };
  static constexpr size_t kKeptRows = 1024, kKeptTables = 256;  // at most 4 MiB kept
  // Shared by boxes of one size.
  std::shared_ptr<const Shape> shape_;
};

}  // namespace soft
