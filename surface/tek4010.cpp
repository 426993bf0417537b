// The host's Tektronix 4010 line and point, drawn on page 1 with the host's
// own colours, pen and writing mode rather than the ReGIS writing controls.
#include <algorithm>

#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

namespace {

constexpr int kLineMargin = 6;  // pixels kept beyond a line's ends when updating the window

}  // namespace

RECT Tek4010LineUpdateRect(int x1, int y1, int x2, int y2, int penWidth) {
  RECT r{std::min(x1, x2), std::min(y1, y2), AddWrap(std::max(x1, x2), kLineMargin),
         AddWrap(std::max(y1, y2), kLineMargin)};
  if (x2 < x1) r.left = SubWrap(r.left, kLineMargin);
  if (y2 < y1) r.top = SubWrap(r.top, kLineMargin);
  if (penWidth > 1) {
    r.left = SubWrap(r.left, 1);
    r.top = SubWrap(r.top, 1);
    r.right = AddWrap(r.right, 1);
    r.bottom = AddWrap(r.bottom, 1);
  }
  return r;
}

void CGrDrv::Draw4010Line(CGraphicsState* /*state*/, int x1, int y1, int x2, int y2, int update) {
  HDC dc = pageDC[0];
  if (!IsWindow(window) || !dc) return;
  const bool complement = hostWritingMode == 2;
  const int oldRop = complement ? SetROP2(dc, R2_NOT) : 0;
  const COLORREF colour = hostWritingMode == 1 ? backgroundColour : foregroundColour;
  HPEN pen = CreatePen(hostPenStyle, hostPenWidth, colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  SetBkColor(dc, backgroundColour);

  const int px1 = PixelX(x1), py1 = PixelY(y1);
  const int px2 = PixelX(x2), py2 = PixelY(y2);
  MoveToEx(dc, px1, py1, nullptr);
  LineTo(dc, px2, py2);

  if (update) {
    const RECT r = Tek4010LineUpdateRect(SubWrap(px1, scrollX), SubWrap(py1, scrollY), SubWrap(px2, scrollX),
                                         SubWrap(py2, scrollY), hostPenWidth);
    InvalidateRect(window, &r, FALSE);
    UpdateWindow(window);
  }

  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (complement) SetROP2(dc, oldRop);
}

void CGrDrv::Draw4010Point(CGraphicsState* state, int update) {
  HDC dc = pageDC[0];
  if (!state || !IsWindow(window) || !dc) return;
  const int px = PixelX(state->x);
  const int py = PixelY(state->y);
  SetPixel(dc, px, py, foregroundColour);
  if (update) {
    const int wx = SubWrap(px, scrollX);
    const int wy = SubWrap(py, scrollY);
    const RECT r{wx, wy, AddWrap(wx, 1), AddWrap(wy, 1)};
    InvalidateRect(window, &r, FALSE);
    UpdateWindow(window);
  }
}
