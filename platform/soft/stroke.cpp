#include "platform/soft/stroke.h"

#include <algorithm>

#include "platform/soft/palette.h"

namespace soft {
namespace {

constexpr int kMaxPenWidth = 1 << 24;

// Dash and gap lengths in pixels of the cosmetic styles, a dash first,
// ended by 0.
uint32_t StyleMask(int style, uint32_t* period) {
  static const uint8_t kDash[] = {18, 6, 0}, kDot[] = {3, 3, 0}, kDashDot[] = {9, 6, 3, 6, 0},
                       kDashDotDot[] = {9, 3, 3, 3, 3, 3, 0};
  const uint8_t* runs = nullptr;
  switch (style) {
    case PS_DASH:
      runs = kDash;
      break;
    case PS_DOT:
      runs = kDot;
      break;
    case PS_DASHDOT:
      runs = kDashDot;
      break;
    case PS_DASHDOTDOT:
      runs = kDashDotDot;
      break;
    default:
      *period = 0;
      return 0;
  }
  uint32_t mask = 0, pos = 0;
  for (int i = 0; runs[i] != 0; ++i)
    for (uint32_t n = 0; n < runs[i]; ++n, ++pos)
      if (i % 2 == 0) mask |= 1u << pos;
  *period = pos;
  return mask;
}

const PenObj& SelectedPen(const DCObj& dc) {
  static const PenObj fallback;  // a black cosmetic pen, for a DC whose pen vanished
  if (const PenObj* pen = dc.penObj) return *pen;
  if (const PenObj* pen = GetPen(Stock(BLACK_PEN))) return *pen;
  return fallback;
}

}  // namespace

PenStroke::PenStroke(const DCObj& dc, BitmapObj& target) : target_(target) {
  const PenObj& pen = SelectedPen(dc);
  const int style = pen.style & 0xF;
  null_ = style == PS_NULL;
  // Wider pens cover any bitmap all the same, and the pen's geometry stays
  // well inside 64-bit products.
  width_ = std::clamp(pen.width, 1, kMaxPenWidth);
  insideFrame_ = style == PS_INSIDEFRAME;
  rop2_ = dc.rop2;
  pen_ = SolidPaint(dc, target, pen.color);
  if (width_ == 1) onMask_ = StyleMask(style, &period_);
  if (period_ != 0 && dc.bkMode == OPAQUE) {
    opaqueGaps_ = true;
    bkPixel_ = ColorToPixel(dc, target, dc.bkColor);
  }
}

void PenStroke::Skip(uint64_t positions) {
  if (period_ != 0) phase_ = static_cast<uint32_t>((phase_ + positions % period_) % period_);
}

void PenStroke::Plot(int x, int y) {
  PlotAt(x, y, phase_);
  if (period_ != 0 && ++phase_ == period_) phase_ = 0;
}

void PenStroke::PlotAt(int x, int y, uint64_t position) const {
  const uint32_t phase = period_ == 0 ? 0 : static_cast<uint32_t>(position % period_);
  if (On(phase))
    PlotPixel(target_, x, y, pen_.pixel, rop2_);
  else if (opaqueGaps_)
    PlotPixel(target_, x, y, bkPixel_, rop2_);
}

void PenStroke::Span(int y, int x0, int x1) const {
  FillSpan(target_, y, x0, x1, pen_, rop2_);
}

}  // namespace soft
