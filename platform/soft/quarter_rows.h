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

  // The rows of path, the quarter of a width x height box.
  QuarterRows(const QuarterPath& path, uint64_t width, uint64_t height);

  // As path.Run, for rows B1 <= U <= Top.
  void Run(const QuarterPath& path, int64_t U, int64_t* lo, int64_t* hi) const {
    if (!table_) {
      path.Run(U, lo, hi);
      return;
    }
    const Row& row = (*table_)[static_cast<size_t>((U - path.B1()) / 2)];
    *lo = row.lo;
    *hi = row.hi;
  }

 private:
  struct Row {
    int64_t lo, hi;
  };
  static constexpr size_t kKeptRows = 1024, kKeptTables = 256;  // at most 4 MiB kept
  static void Build(const QuarterPath& path, uint64_t width, uint64_t height, std::vector<Row>* table);
  // Row (U - B1) / 2, shared by boxes of one size; null when the box is too large.
  std::shared_ptr<const std::vector<Row>> table_;
};

}  // namespace soft
