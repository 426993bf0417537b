#include "platform/soft/quarter_rows.h"

#include <cstdint>
#include <map>
#include <utility>

namespace soft {

// GDI's stepper in its incremental form: from the right end of the middle
// it steps in when twice the error reaches the x increment and up when it
// stays below the y increment, until it passes the centre column.
QuarterRows::QuarterRows(const QuarterPath& path, uint64_t width, uint64_t height) {
  if (width > kMaxSide || height > kMaxSide || width == 0 || height == 0) return;
  // Pages draw the same few sizes over and over (circles of a radius), so
  // the tables of boxes up to kKeptRows rows are kept per size.
  using Key = std::pair<uint64_t, uint64_t>;
  thread_local std::map<Key, std::shared_ptr<const std::vector<Row>>> kept;
  const Key key{width, height};
  if (const auto it = kept.find(key); it != kept.end()) {
    table_ = it->second;
    return;
  }
  auto table = std::make_shared<std::vector<Row>>();
  Build(path, width, height, table.get());
  table_ = table;
  if (table->size() > kKeptRows) return;
  if (kept.size() >= kKeptTables) kept.clear();
  kept.emplace(key, std::move(table));
}

void QuarterRows::Build(const QuarterPath& path, uint64_t width, uint64_t height, std::vector<Row>* out) {
  std::vector<Row>& table = *out;
  const int64_t w = static_cast<int64_t>(width), a = w - 1, b = static_cast<int64_t>(height) - 1;
  const int64_t odd = b & 1;
  const size_t rows = static_cast<size_t>((path.Top() - path.B1()) / 2 + 1);
  // Rows the walk never reaches keep the run the closed form gives them.
  constexpr int64_t kUnseen = INT64_MIN;
  table.assign(rows, Row{kUnseen, kUnseen});
  int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (odd + 1) * a * a, err = dx + dy + odd * a * a;
  const int64_t stepX = 8 * b * b, stepY = 8 * a * a;
  for (int64_t x = a, k = 0; x >= w / 2 && k < static_cast<int64_t>(rows);) {
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
  for (size_t k = 0; k < rows; ++k)
    if (table[k].hi == kUnseen) path.Run(path.B1() + 2 * static_cast<int64_t>(k), &table[k].lo, &table[k].hi);
  table.back().lo = path.Par();
}

}  // namespace soft
