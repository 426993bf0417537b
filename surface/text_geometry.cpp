#include "surface/text_geometry.h"

#include <utility>

#include "surface/wrap_arith.h"

namespace {

// Seven tenths, as the diagonal glyph boxes are measured.
int32_t Diag(int32_t v) {
  return DivWrap(MulWrap(v, 14), 20);
}

}  // namespace

int32_t DirectionStep(int32_t degrees) {
  int32_t d = degrees % 360;
  if (d < 0) d += 360;
  return d - d % 45;
}

CPoint32 CharAdvance(const CTextState& text, int32_t t) {
  const int32_t w = text.displayCellWidth;
  const int32_t n = SubWrap(0, w);
  switch (DirectionStep(t)) {
    case 45:
      return {w, n};
    case 90:
      return {0, n};
    case 135:
      return {n, n};
    case 180:
      return {n, 0};
    case 225:
      return {n, w};
    case 270:
      return {0, w};
    case 315:
      return {w, w};
    default:
      return {text.spacingX, text.spacingY};
  }
}

int32_t GlyphEscapement(int32_t uw, int32_t uh, int32_t d) {
  const int column = uw == 8 && uh == 10 ? 0 : uw == 8 && uh == 20 ? 1 : 2;
  static constexpr int32_t kDiagonal[4][3] = {
      {300, 200, 300}, {1350, 1400, 1450}, {2200, 2100, 2100}, {3150, 3250, 3300}};
  switch (d) {
    case 45:
      return kDiagonal[0][column];
    case 135:
      return kDiagonal[1][column];
    case 225:
      return kDiagonal[2][column];
    case 315:
      return kDiagonal[3][column];
    default:
      return 10 * d;
  }
}

CGlyphBox BaseGlyphBox(int32_t uw) {
  return uw == 8 ? CGlyphBox{8, 11} : CGlyphBox{16, 22};
}

CGlyphBox GlyphBitmapSize(CGlyphBox base, int32_t d) {
  if (d == 90 || d == 270) return {base.height, base.width};
  if (d % 90 == 45) {
    const int32_t side = Diag(base.width + base.height) + 1;
    return {side, side};
  }
  return base;
}

CPoint32 GlyphOrigin(CGlyphBox base, int32_t d) {
  const int32_t bw = base.width, bh = base.height;
  switch (d) {
    case 45:
      return {0, Diag(bw)};
    case 90:
      return {-2, bw - 1};
    case 135:
      return {Diag(bw), Diag(bh + bw)};
    case 180:
      return {bw == 8 ? 8 : bw - 3 + 2, bh};
    case 225:
      return {Diag(bh + bw), Diag(bh) + 2};
    case 270:
      return {bw == 8 ? 11 : bw + 6, 0};
    case 315:
      return {Diag(bh), 0};
    default:
      return {0, 0};
  }
}

CGlyphRect DestinationSize(int32_t pageWidth, int32_t pageHeight, const CTextState& text) {
  const int32_t uw = text.unitCellWidth, uh = text.unitCellHeight;
  CGlyphRect r;
  if (uw == 8) {
    const CGlyphBox base = BaseGlyphBox(uw);
    r.width = ScaleToPage(pageWidth, base.width + 2, 800);
    r.height = ScaleToPage(pageHeight, base.height, 480);
    if (uh == 20) r.height = MulWrap(r.height, 2);
  } else {
    r.width = ScaleToPage(pageWidth, AddWrap(DivWrap(MulWrap(uw, 9), 8), 1), 800);
    r.height = ScaleToPage(pageHeight, uh, 480);
  }
  return r;
}

void AdjustDestination(int32_t d, CGlyphRect& r) {
  switch (d) {
    case 45:
      r.y = SubWrap(r.y, r.width);
      r.width = MulWrap(r.width, 2), r.height = MulWrap(r.height, 2);
      break;
    case 90:
      r.y = SubWrap(r.y, r.width);
      std::swap(r.width, r.height);
      break;
    case 135:
      r.x = SubWrap(r.x, r.width);
      r.y = SubWrap(r.y, AddWrap(r.height, r.width));
      r.width = MulWrap(r.width, 2), r.height = MulWrap(r.height, 2);
      break;
    case 180:
      r.x = SubWrap(r.x, r.width);
      r.y = SubWrap(r.y, r.height);
      break;
    case 225:
      r.x = SubWrap(r.x, AddWrap(r.height, r.width));
      r.y = SubWrap(r.y, r.height);
      r.width = MulWrap(r.width, 2), r.height = MulWrap(r.height, 2);
      break;
    case 270:
      r.x = SubWrap(r.x, r.height);
      std::swap(r.width, r.height);
      break;
    case 315:
      r.x = SubWrap(r.x, r.height);
      r.width = MulWrap(r.width, 2), r.height = MulWrap(r.height, 2);
      break;
    default:
      break;
  }
}

CPoint32 LineStep(int32_t pageWidth, int32_t pageHeight, const CTextState& text, int32_t d) {
  const int32_t uw = text.unitCellWidth, uh = text.unitCellHeight;
  CGlyphRect r;
  if (uw == 8) {
    const CGlyphBox base = BaseGlyphBox(uw);
    r.width = ScaleToPage(pageWidth, base.width, 800);
    r.height = ScaleToPage(pageHeight, base.height, 480);
    if (uh == 20) r.height = MulWrap(r.height, 2);
  } else {
    r.width = ScaleToPage(pageWidth, uw, 800);
    r.height = ScaleToPage(pageHeight, uh, 480);
  }
  AdjustDestination(d, r);
  return {DivWrap(MulWrap(r.width, 800), pageWidth), DivWrap(MulWrap(r.height, 480), pageHeight)};
}

CPoint32 LineFeedOffset(int32_t t, CPoint32 step) {
  const int32_t lx = step.x, ly = step.y;
  switch (t) {
    case 45:
      return {Diag(lx), Diag(ly)};
    case 90:
      return {lx, 0};
    case 135:
      return {Diag(lx), SubWrap(0, Diag(ly))};
    case 180:
      return {0, SubWrap(0, ly)};
    case 225:
      return {SubWrap(0, Diag(lx)), SubWrap(0, Diag(ly))};
    case 270:
      return {SubWrap(0, lx), 0};
    case 315:
      return {SubWrap(0, Diag(lx)), Diag(ly)};
    default:
      return {0, ly};
  }
}
