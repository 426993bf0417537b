// The ReGIS graphics output cursor: a caret of the terminal window showing a
// cross-hair diamond one cell high and two cells wide, centred on the
// current position, and the host's scroll position that offsets it.
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

HBITMAP CGrDrv::CreateCursorBitmap() {
  if (!pageDC[0]) return nullptr;
  const int w = cellWidth;
  const int h = cellHeight;
  const int m = h / 2;
  HBITMAP bitmap = CreateCompatibleBitmap(pageDC[0], AddWrap(MulWrap(2, w), 1), AddWrap(h, 1));
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(pageDC[0]);
  if (!dc) {
    DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, AddWrap(MulWrap(2, w), 1), AddWrap(h, 1), BLACKNESS);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  const int w2 = MulWrap(2, w);
  const POINT outline[8] = {{w, 0}, {w2, m}, {0, m}, {w2, m}, {w, h}, {0, m}, {w, 0}, {w, h}};
  Polyline(dc, outline, 8);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return bitmap;
}

void CGrDrv::CreateGraphicsCaret() {
  if (caretBitmap) return;
  caretBitmap = CreateCursorBitmap();
  if (!caretBitmap) return;
  CreateCaret(window, caretBitmap, AddWrap(MulWrap(2, cellWidth), 1), AddWrap(cellHeight, 1));
  caretCreated = 1;
}

void CGrDrv::DestroyGraphicsCaret() {
  // The caret belongs to the thread; only one this surface made is destroyed.
  if (caretCreated) DestroyCaret();
  if (caretBitmap) DeleteObject(caretBitmap);
  caretBitmap = nullptr;
  caretCreated = 0;
  caretHidden = 1;
}

void CGrDrv::ShowGraphicsCaret(CGraphicsState* state) {
  if (!state || !state->OutputCursorOn() || !caretCreated || !caretHidden) return;
  const int x = SubWrap(SubWrap(PixelX(state->x), scrollX), cellWidth);
  const int y = SubWrap(SubWrap(PixelY(state->y), scrollY), cellHeight / 2);
  SetCaretPos(x, y);
  ShowCaret(window);
  caretHidden = 0;
}

void CGrDrv::HideGraphicsCaret() {
  if (!caretCreated || caretHidden) return;
  HideCaret(window);
  caretHidden = 1;
}

void CGrDrv::UpdateGraphicsCaret(CGraphicsState* state) {
  if (!state) return;
  if (state->OutputCursorOn()) {
    if (!caretCreated) CreateGraphicsCaret();
    ShowGraphicsCaret(state);
  } else if (caretCreated) {
    HideGraphicsCaret();
  }
}

void CGrDrv::SetHorzScroll(int position, CGraphicsState* state) {
  horzScrollPos = position;
  scrollX = MulWrap(cellWidth, position);
  ShowGraphicsCaret(state);
}

void CGrDrv::SetVertScroll(int position, CGraphicsState* state) {
  vertScrollPos = position;
  scrollY = MulWrap(cellHeight, position);
  ShowGraphicsCaret(state);
}
