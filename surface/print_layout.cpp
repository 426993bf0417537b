#include "surface/print_layout.h"

#include <algorithm>

#include "surface/wrap_arith.h"

namespace {

// a x b / c, product first.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  return DivWrap(MulWrap(a, b), c);
}

}  // namespace

CPrintRows PrintRows(int32_t rows, int32_t fromRow, int32_t toRow) {
  CPrintRows r;
  r.top = std::max(SubWrap(SubWrap(rows, toRow), 2), 0);
  r.bottom = std::min(SubWrap(rows, fromRow), SubWrap(rows, 1));
  return r;
}

CPrintRect PrintSource(const CPrintPageGeometry& page, CPrintRows rows, int32_t fromCol, int32_t toCol) {
  CPrintRect s;
  s.x = std::max(MulWrap(page.cellWidth, SubWrap(fromCol, 1)), 0);
  s.y = std::max(MulWrap(page.cellHeight, SubWrap(SubWrap(page.rows, 1), rows.bottom)), 0);
  s.w = MulWrap(page.cellWidth, AddWrap(SubWrap(toCol, fromCol), 3));
  if (AddWrap(s.x, s.w) > page.width) s.w = SubWrap(page.width, s.x);
  s.h = MulWrap(page.cellHeight, AddWrap(SubWrap(rows.bottom, rows.top), 1));
  return s;
}

CPrintRect PrintDestination(const CPrintPageGeometry& page, CPrintRows rows, const CPrintRect& source,
                            int32_t toCol, int32_t width, int32_t height, int32_t offsetX, int32_t offsetY) {
  const int32_t sw = source.w, sh = source.h;
  CPrintRect d;
  if (offsetX == 0 && offsetY == 0) {
    d.w = width;
    d.h = MulDiv(sh, width, sw);
    if (d.h > height) {
      d.h = height;
      d.w = MulDiv(height, sw, sh);
    }
    return d;
  }
  // The offset moves the picture right and down by its share of the paper,
  // which the picture then gives up; the result is scaled from the page
  // width (or height) to the printed columns (or rows).
  const int32_t W = page.width, H = page.height;
  const int32_t oxp = MulDiv(W, offsetX, 800);
  const int32_t oyp = MulDiv(offsetY, H, 480);
  const int32_t kx = MulWrap(page.cellWidth, toCol);
  const int32_t ky = MulWrap(page.cellHeight, AddWrap(rows.bottom, 1));
  const int32_t a = MulDiv(oxp, width, AddWrap(oxp, sw));
  const int32_t w1 = SubWrap(width, a);
  const int32_t h1 = MulDiv(sh, w1, sw);
  d.x = MulDiv(a, kx, W);
  d.y = MulDiv(DivWrap(MulWrap(h1, oyp), sh), kx, W);
  d.w = MulDiv(w1, kx, W);
  d.h = MulDiv(h1, kx, W);
  if (AddWrap(d.y, d.h) > height) {
    const int32_t b = MulDiv(height, oyp, AddWrap(oyp, sh));
    const int32_t h2 = SubWrap(height, b);
    const int32_t w2 = MulDiv(h2, sw, sh);
    d.x = MulDiv(DivWrap(MulWrap(oxp, w2), sw), ky, H);
    d.y = MulDiv(b, ky, H);
    d.w = MulDiv(w2, ky, H);
    d.h = MulDiv(h2, ky, H);
  }
  return d;
}
