// CGrDrv: the page bitmaps of one terminal window, the page selection and
// window-update rules, erasing, clearing, scrolling, copying to the window
// and the waits that keep the host's message queue moving.
#include "surface/grdrv.h"

#include "surface/graphics_state.h"
#include "surface/host_link.h"
#include "surface/scratch_dcs.h"
#include "surface/wrap_arith.h"

namespace {

// Page 1 is slot 0; every other page number means page 2, as for the host's
// memory-DC query.
int PageSlot(int page) {
  return page == 1 ? 0 : 1;
}

// The copied height: whole character rows only.
int32_t WholeRowsHeight(int32_t height, int32_t cellHeight) {
  return MulWrap(DivWrap(height, cellHeight), cellHeight);
}

}  // namespace

CGrDrv::CGrDrv() = default;

CGrDrv::~CGrDrv() {
  *alive_ = false;
  if (caretCreated) DestroyGraphicsCaret();
  ReleasePage(1);
  ReleasePage(2);
  pointList.reset();
  if (palette) DeleteObject(palette);
  palette = nullptr;
  CScratchDCs::DeleteAll();
}

int CGrDrv::SetTermParm(HWND hwnd, int rows_, int columns_, int cellWidth_, int cellHeight_, int page) {
  rows = rows_;
  columns = columns_;
  cellWidth = cellWidth_;
  cellHeight = cellHeight_;
  pageHeight = MulWrap(rows, cellHeight);
  pageWidth = MulWrap(columns, cellWidth);
  if (!IsWindow(hwnd)) return 0;

  const int slot = PageSlot(page);
  HDC windowDC = GetDC(hwnd);
  if (pageDC[slot]) {
    SelectObject(pageDC[slot], previousBitmap[slot]);
    DeleteObject(pageBitmap[slot]);
    DeleteDC(pageDC[slot]);
    pageDC[slot] = nullptr;
    pageBitmap[slot] = nullptr;
    previousBitmap[slot] = nullptr;
  }
  HDC dc = CreateCompatibleDC(windowDC);
  if (!dc) {
    MessageBoxA(hwnd, "Failed to create MemDC", "CGrDrv::SetTermParm", MB_ICONSTOP);
    ReleaseDC(hwnd, windowDC);
    return 0;
  }
  HBITMAP bitmap = CreateCompatibleBitmap(windowDC, pageWidth, pageHeight);
  if (!bitmap) {
    MessageBoxA(hwnd, "Failed to create Bitmap", "CGrDrv::SetTermParm", MB_ICONSTOP);
    DeleteDC(dc);
    ReleaseDC(hwnd, windowDC);
    return 0;
  }
  previousBitmap[slot] = static_cast<HBITMAP>(SelectObject(dc, bitmap));
  pageDC[slot] = dc;
  pageBitmap[slot] = bitmap;
  ReleaseDC(hwnd, windowDC);
  return 1;
}

void CGrDrv::ReleasePage(int page) {
  const int slot = PageSlot(page);
  if (pageDC[slot]) {
    SelectObject(pageDC[slot], previousBitmap[slot]);
    if (pageBitmap[slot]) DeleteObject(pageBitmap[slot]);
    DeleteDC(pageDC[slot]);
  }
  pageDC[slot] = nullptr;
  pageBitmap[slot] = nullptr;
  previousBitmap[slot] = nullptr;
}

void CGrDrv::EraseAllPages(CGraphicsState* state) {
  if (!state) return;
  const COLORREF colour = PALETTEINDEX(LOWORD(state->background));
  HDC windowDC = GetDC(window);
  HPALETTE oldPalette = nullptr;
  if (windowDC && palette) {
    oldPalette = SelectPalette(windowDC, palette, FALSE);
    RealizePalette(windowDC);
  }
  FillPage(pageDC[0], colour);
  FillPage(pageDC[1], colour);
  if (windowDC) {
    if (oldPalette) SelectPalette(windowDC, oldPalette, FALSE);
    ReleaseDC(window, windowDC);
  }
}

void CGrDrv::FillPage(HDC dc, COLORREF colour) {
  if (!dc) return;
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  PatBlt(dc, 0, 0, pageWidth, pageHeight, PATCOPY);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

void CGrDrv::ClearScreenPage(CGraphicsState* state, int invalidate) {
  if (!UpdatesAllowed()) return;
  if (!IsWindow(window) || !state) return;
  initialText = 0;
  HDC dc = ScreenDC(state);
  if (dc && palette) {
    HPALETTE oldPalette = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  }
  FillPage(dc, PALETTEINDEX(LOWORD(state->background)));

  // The host keeps its own idea of what the page shows; it hears of the
  // erase only while its screen record is still there.
  if (KXREG_SCREEN* screen = ScreenOfWindow(window)) {
    if (pageErasedCallback) pageErasedCallback(screen);
    if (KXREG_SCREEN* after = ScreenOfWindow(window)) after->field2C = SubWrap(after->field64, 1);
  }

  if (UpdatesAllowed() && invalidate && IsWindow(window)) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
}

void CGrDrv::ScrollPage(CGraphicsState* state, int dx, int dy) {
  if (!state) return;
  HDC dc = ScreenDC(state);
  if (!dc) return;
  const int32_t px = ScaleToPage(pageWidth, dx, 800);
  const int32_t py = ScaleToPage(pageHeight, dy, 480);
  ScrollDC(dc, px, py, nullptr, nullptr, nullptr, nullptr);

  // The uncovered bands, in page coordinates, which are also the window
  // coordinates they are invalidated at.
  RECT bands[2];
  int count = 0;
  if (py < 0) bands[count++] = RECT{0, AddWrap(pageHeight, py), pageWidth, pageHeight};
  if (py > 0) bands[count++] = RECT{0, 0, pageWidth, py};
  if (px < 0) bands[count++] = RECT{AddWrap(pageWidth, px), 0, pageWidth, pageHeight};
  if (px > 0) bands[count++] = RECT{0, 0, px, pageHeight};

  HBRUSH brush = CreateSolidBrush(backgroundColour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  for (int i = 0; i < count; ++i) {
    const RECT& b = bands[i];
    PatBlt(dc, b.left, b.top, SubWrap(b.right, b.left), SubWrap(b.bottom, b.top), PATCOPY);
  }
  SelectObject(dc, oldBrush);
  DeleteObject(brush);

  if (IsWindow(window)) {
    for (int i = 0; i < count; ++i) InvalidateRect(window, &bands[i], FALSE);
    UpdateWindow(window);
  }
}

void CGrDrv::CopyToWindow(HDC windowDC, CGraphicsState* state, int left, int top, int right, int bottom) {
  if (!UpdatesAllowed()) return;
  const int32_t width = SubWrap(right, left);
  const int32_t height = WholeRowsHeight(SubWrap(bottom, top), cellHeight);
  const int32_t sourceX = AddWrap(scrollX, left);
  const int32_t sourceY = AddWrap(scrollY, top);
  if (!windowDC || !state || !palette) return;

  HPALETTE oldWindowPalette = SelectPalette(windowDC, palette, FALSE);
  HDC dc = OutputDC(state);
  if (dc) {
    HPALETTE oldPagePalette = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    BitBlt(windowDC, left, top, width, height, dc, sourceX, sourceY, SRCCOPY);
    if (oldPagePalette) SelectPalette(dc, oldPagePalette, FALSE);
  }
  if (oldWindowPalette) SelectPalette(windowDC, oldWindowPalette, FALSE);
}

int CGrDrv::RefreshWithMessages(CGraphicsState* state) {
  const std::shared_ptr<bool> alive = alive_;
  int quitCode = 0;
  switch (PumpMessages(window, &quitCode, PumpOrder::QuitFirst)) {
    case PumpResult::Empty:
      if (!*alive) return 0;  // erased by the host meanwhile
      break;
    case PumpResult::Lost:
    case PumpResult::Aborted:
      return 0;
    case PumpResult::Quit:
      // The host's own message loop must still see it.
      PostQuitMessage(quitCode);
      return 0;
  }

  const int savedSuspended = redrawSuspended;
  redrawSuspended = 0;
  HDC windowDC = GetDC(window);
  RECT client{};
  GetClientRect(window, &client);
  CopyToWindow(windowDC, state, client.left, client.top, client.right, client.bottom);
  if (windowDC) ReleaseDC(window, windowDC);
  redrawSuspended = savedSuspended;
  return 1;
}

int CGrDrv::Delay(DWORD ticks) {
  const DWORD wait = (ticks * 1000u) / 60u;
  const DWORD start = GetTickCount();
  const std::shared_ptr<bool> alive = alive_;
  const HWND hwnd = window;
  bool lastWasQuit = false;
  int quitCode = 0;
  for (;;) {
    int removed = 0;
    PumpResult result = PumpMessages(hwnd, &quitCode, PumpOrder::ChecksFirst, &removed);
    if (!*alive) {  // erased by the host meanwhile: the wait ends at once
      if (result == PumpResult::Quit || lastWasQuit) PostQuitMessage(quitCode);
      return 0;
    }
    // A host that goes away or asks to stop while its queue stays empty (a
    // signal handler setting the abort bit) must still end a long wait.
    if (result == PumpResult::Empty) {
      if (!HostOfWindow(hwnd) || !ScreenOfWindow(hwnd))
        result = PumpResult::Lost;
      else if (TakeAbortRequest(SettingsFlagsOfWindow(hwnd)))
        result = PumpResult::Aborted;
    }
    if (result == PumpResult::Lost || result == PumpResult::Aborted) {
      if (lastWasQuit) PostQuitMessage(quitCode);
      return 0;
    }
    if (result == PumpResult::Quit) {
      lastWasQuit = true;
    } else if (removed > 0) {
      lastWasQuit = false;
    }
    if (GetTickCount() - start >= wait) break;
  }
  if (lastWasQuit) {
    PostQuitMessage(quitCode);
    return 0;
  }
  return 1;
}

void CGrDrv::InvalidateWindow(BOOL erase) {
  if (!IsWindow(window) || !UpdatesAllowed()) return;
  InvalidateRect(window, nullptr, erase);
  UpdateWindow(window);
}

int CGrDrv::OutputSlot(const CGraphicsState* state) const {
  return !state || state->pages == 1 || state->outputPage == 0 ? 0 : 1;
}

HDC CGrDrv::OutputDC(const CGraphicsState* state) const {
  if (!state) return nullptr;
  return pageDC[OutputSlot(state)];
}

HDC CGrDrv::ScreenDC(const CGraphicsState* state) const {
  if (!state) return nullptr;
  return state->pages == 1 || state->screenPage == 0 ? pageDC[0] : pageDC[1];
}

void CGrDrv::InvalidateDrawn(const CGraphicsState* state, RECT windowRect) {
  if (!state || state->outputPage != state->screenPage || !UpdatesAllowed()) return;
  if (!IsWindow(window)) return;
  InvalidateRect(window, &windowRect, FALSE);
  UpdateWindow(window);
}

int CGrDrv::PixelX(int x) const {
  return ScaleToPage(pageWidth, x, 800);
}

int CGrDrv::PixelY(int y) const {
  return ScaleToPage(pageHeight, y, 480);
}

void CGrDrv::PlotPoint(CGraphicsState* state) {
  if (!state || !state->active || !IsWindow(window)) return;
  HDC dc = OutputDC(state);
  if (!dc) return;
  const int index = (state->active->foreground & state->active->planeMask) & 0xFF;
  const int px = PixelX(state->x);
  const int py = PixelY(state->y);
  SetPixel(dc, px, py, PALETTEINDEX(index));
  const int wx = SubWrap(px, scrollX);
  const int wy = SubWrap(py, scrollY);
  InvalidateDrawn(state, RECT{wx, wy, AddWrap(wx, 1), AddWrap(wy, 1)});
}
