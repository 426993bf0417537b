#include "platform/soft/polygon.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/soft/geom.h"

namespace soft {
namespace {

// A non-horizontal edge, stored top to bottom; it covers rows [y0, y1).
struct Edge {
  int64_t x0, y0, x1, y1;
  int winding;  // +1 for an edge drawn downwards, -1 upwards
  // The first pixel at or right of the edge on row y; no division for an
  // upright edge, the sides of every rectangle.
  int64_t CrossingAt(int64_t y) const {
    return x0 == x1 ? x0 : x0 + CeilDiv(Int128{y - y0} * (x1 - x0), y1 - y0);
  }
};

struct Crossing {
  int64_t x;
  int winding;
};

// The lists of one fill, kept from call to call so that a stream of small
// polygons allocates nothing; the lists of a large polygon are given back.
struct Scratch {
  static constexpr size_t kKept = 1024;
  std::vector<Edge> edges;
  std::vector<const Edge*> active;
  std::vector<Crossing> xs;
};

class ScratchLease {
 public:
  ScratchLease() : scratch_(Mine()) {
    scratch_.edges.clear();
    scratch_.active.clear();
    scratch_.xs.clear();
  }
  ~ScratchLease() {
    if (scratch_.edges.capacity() > Scratch::kKept) Scratch().edges.swap(scratch_.edges);
    if (scratch_.active.capacity() > Scratch::kKept) Scratch().active.swap(scratch_.active);
    if (scratch_.xs.capacity() > Scratch::kKept) Scratch().xs.swap(scratch_.xs);
  }
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;
  Scratch& operator*() const { return scratch_; }

 private:
  static Scratch& Mine() {
    static thread_local Scratch scratch;
    return scratch;
  }
  Scratch& scratch_;
};

// Sorts the few edges or crossings of a small polygon in place, by insertion;
// std::sort would move them through memmove calls. The order of equal keys
// changes no pixel: crossings at the same x only split or join spans there.
template <class T, class Less>
void SortFew(std::vector<T>& items, Less less) {
  if (items.size() > 16) {
    std::sort(items.begin(), items.end(), less);
    return;
  }
  for (size_t i = 1; i < items.size(); ++i) {
    const T item = items[i];
    size_t j = i;
    for (; j > 0 && less(item, items[j - 1]); --j) items[j] = items[j - 1];
    items[j] = item;
  }
}

}  // namespace

void FillPolygon(BitmapObj& bmp, const POINT* pts, size_t count, int fillMode, const Paint& paint, int rop2) {
  if (paint.none || count < 3) return;
  const ScratchLease lease;
  std::vector<Edge>& edges = (*lease).edges;
  for (size_t i = 0; i < count; ++i) {
    const POINT a = pts[i], b = pts[(i + 1) % count];
    if (a.y == b.y) continue;
    if (a.y < b.y)
      edges.push_back({a.x, a.y, b.x, b.y, 1});
    else
      edges.push_back({b.x, b.y, a.x, a.y, -1});
  }
  if (edges.empty()) return;
  SortFew(edges, [](const Edge& p, const Edge& q) { return p.y0 < q.y0; });
  int64_t bottom = INT64_MIN;
  for (const Edge& e : edges) bottom = std::max(bottom, e.y1);
  const int64_t y0 = std::max<int64_t>(edges.front().y0, 0);
  const int64_t y1 = std::min<int64_t>(bottom, bmp.height);

  std::vector<const Edge*>& active = (*lease).active;
  std::vector<Crossing>& xs = (*lease).xs;
  const auto byX = [](const Crossing& p, const Crossing& q) { return p.x < q.x; };
  // The spans [from, to) between the crossings, sorted by x, clipped to the
  // bitmap's columns; they never overlap.
  const auto forEachSpan = [&](auto&& fill) {
    const auto span = [&](int64_t from, int64_t to) {
      from = std::max<int64_t>(from, 0);
      to = std::min<int64_t>(to, bmp.width);
      if (from < to) fill(static_cast<int>(from), static_cast<int>(to));
    };
    if (fillMode == WINDING) {
      int winding = 0;
      int64_t start = 0;
      for (const Crossing& c : xs) {
        const int before = winding;
        winding += c.winding;
        if (before == 0 && winding != 0) start = c.x;
        if (before != 0 && winding == 0) span(start, c.x);
      }
    } else {
      for (size_t i = 0; i + 1 < xs.size(); i += 2) span(xs[i].x, xs[i + 1].x);
    }
  };

  // Upright edges all over the same rows, the sides of a rectangle, cross
  // every row at the same places: no edge comes or goes on the way down, and
  // each span is one block.
  const Edge& first = edges.front();
  if (std::all_of(edges.begin(), edges.end(),
                  [&first](const Edge& e) { return e.x0 == e.x1 && e.y0 == first.y0 && e.y1 == first.y1; })) {
    for (const Edge& e : edges) xs.push_back({e.x0, e.winding});
    SortFew(xs, byX);
    forEachSpan([&](int from, int to) {
      FillBlock(bmp, static_cast<int>(y0), static_cast<int>(y1), from, to, paint, rop2);
    });
    return;
  }

  size_t next = 0;
  for (int64_t y = y0; y < y1; ++y) {
    while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->y1 <= y; }),
                 active.end());
    xs.clear();
    for (const Edge* e : active) xs.push_back({e->CrossingAt(y), e->winding});
    SortFew(xs, byX);
    forEachSpan([&](int from, int to) { FillSpan(bmp, static_cast<int>(y), from, to, paint, rop2); });
  }
}

}  // namespace soft
