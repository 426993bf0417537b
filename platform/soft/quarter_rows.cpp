#include "platform/soft/quarter_rows.h"

#include <cstdint>
#include <unordered_map>
#include <utility>

namespace soft {

QuarterRows::QuarterRows(uint64_t width, uint64_t height) {
  const bool stepped = width <= kMaxSide && height <= kMaxSide && width != 0 && height != 0;
  if (!stepped) {
    shape_ = std::make_shared<const Shape>(width, height);
    return;
  }
  // Pages draw the same few sizes over and over (circles of a radius), so
  // the paths and tables of boxes up to kKeptRows rows are kept per size.
  thread_local std::unordered_map<uint64_t, std::shared_ptr<const Shape>> kept;
  const uint64_t key = width << 20 | height;
  if (const auto it = kept.find(key); it != kept.end()) {
    shape_ = it->second;
    return;
  }
  auto shape = std::make_shared<const Shape>(width, height);
  shape_ = shape;
  if (shape->rows.size() > kKeptRows) return;
  if (kept.size() >= kKeptTables) kept.clear();
  kept.emplace(key, std::move(shape));
}

// GDI's stepper in its incremental form: from the right end of the middle
// it steps in when twice the error reaches the x increment and up when it
// stays below the y increment, until it passes the centre column.
QuarterRows::Shape::Shape(uint64_t width, uint64_t height) : path(width, height) {
  if (width > kMaxSide || height > kMaxSide || width == 0 || height == 0) return;
  std::vector<Row>& table = rows;
  const int64_t w = static_cast<int64_t>(width), a = w - 1, b = static_cast<int64_t>(height) - 1;
  const int64_t odd = b & 1;
  const size_t count = static_cast<size_t>((path.Top() - path.B1()) / 2 + 1);
  // Rows the walk never reaches keep the run the closed form gives them.
  constexpr int64_t kUnseen = INT64_MIN;
  table.assign(count, Row{kUnseen, kUnseen});
  int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a, err = dx + dy + odd * a * a;
  const int64_t stepX = 8 * b * b, stepY = 8 * a * a;
  for (int64_t x = a, k = 0; x >= w / 2 && k < static_cast<int64_t>(count);) {
    const int64_t X = 2 * x - a;
    Row& row = table[static_cast<size_t>(k)];
    if (row.hi == kUnseen) row.hi = X;
    row.lo = X;
    const int64_t e2 = 2 * err;
    if (e2 >= dx) {
      --x;
      dx += stepX;
      err += dx;
    }
    if (e2 <= dy) {
      ++k;
      dy += stepY;
      err += dy;
    }
  }
  for (size_t k = 0; k < count; ++k)
    if (table[k].hi == kUnseen) path.Run(path.B1() + 2 * static_cast<int64_t>(k), &table[k].lo, &table[k].hi);
  table.back().lo = path.Par();
}

}  // namespace soft
