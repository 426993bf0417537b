// The host's window: scrolling, redraw control, repainting and the cursors.
#include "host/instance.h"
#include "host/mouse_cursor.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

// "Leave this axis unchanged" in KXREG_SetScrollPos.
constexpr int kScrollUnchanged = 0xFFFF;

// ReGIS units of one text line (24 lines in 480).
constexpr int kLineFeedUnits = 20;

enum CursorCode {
  kCursorRemove = 1,
  kCursorInstall = 2,
  kCursorHide = 4,
  kCursorShow = 8,
  kCursorInstallAfterRefresh = 10,
};

// In 4010 mode the cursors are shown only when the host asks for them there.
bool CursorsSuppressed(const KXREG_HOST* host) {
  return SettingOn(host, KXREG_SETTING_4010_MODE) && !SettingOn(host, KXREG_SETTING_CURSOR_IN_4010);
}

}  // namespace

extern "C" {

KXREG_API int KXREG_LineFeed(KXREG_HOST* host) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface || !ContextOf(host)) return 1;
  surface->ScrollPage(StateOf(host), 0, -kLineFeedUnits);
  return 0;
}

KXREG_API int KXREG_SetScrollRange(KXREG_HOST* host, int horizontal, int vertical) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface) return 1;
  surface->horzScrollRange = horizontal;
  surface->vertScrollRange = vertical;
  return 0;
}

KXREG_API int KXREG_SetScrollPos(KXREG_HOST* host, int horizontal, int vertical) {
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !state) return 1;
  if (horizontal != kScrollUnchanged) surface->SetHorzScroll(horizontal, state);
  if (vertical != kScrollUnchanged) surface->SetVertScroll(vertical, state);
  return 0;
}

KXREG_API int KXREG_SetRedraw(KXREG_HOST* host, BOOL redraw) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface) return 1;
  surface->redrawSuspended = redraw ? 0 : 1;
  return 0;
}

KXREG_API int KXREG_Refresh(KXREG_HOST* host, HDC dc, int left, int top, int right, int bottom) {
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !state) return 1;
  surface->redrawSuspended = 0;
  surface->CopyToWindow(dc, state, left, top, right, bottom);
  // After a repaint the window waits for the host's next SetRedraw.
  surface->redrawSuspended = 1;
  return 0;
}

KXREG_API int KXREG_RefreshPixels(KXREG_HOST* host, uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0 || !SurfaceOf(host) || !StateOf(host)) return 1;
  // The repaint goes into a top-down 32-bit bitmap as it would into a window
  // DC, so the host sees what a window would show, colour-map animation included.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
  int result = 1;
  if (dc && bits) {
    HGDIOBJ previous = SelectObject(dc, bitmap);
    result = KXREG_Refresh(host, dc, 0, 0, width, height);
    SelectObject(dc, previous);
    const auto* from = static_cast<const uint32_t*>(bits);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) pixels[i] = from[i] & 0x00FFFFFFu;
  }
  if (dc) DeleteDC(dc);
  if (bitmap) DeleteObject(bitmap);
  return result;
}

KXREG_API int KXREG_OutCursor(KXREG_HOST* host, int code) {
  if (!ContextOf(host)) return 1;
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !state) return 0;
  switch (code & 0xFFFF) {
    case kCursorRemove:
      RemoveRegisCursor(*surface);
      if (surface->caretCreated) {
        surface->HideGraphicsCaret();
        surface->DestroyGraphicsCaret();
      }
      break;
    case kCursorInstall:
    case kCursorInstallAfterRefresh:
      if (CursorsSuppressed(host)) break;
      if (!surface->mouseCursor) InstallRegisCursor(*surface);
      surface->CreateGraphicsCaret();
      surface->ShowGraphicsCaret(state);
      break;
    case kCursorHide:
      if (surface->caretCreated) surface->HideGraphicsCaret();
      break;
    case kCursorShow:
      if (CursorsSuppressed(host)) break;
      if (state->OutputCursorOn() && surface->caretCreated) surface->ShowGraphicsCaret(state);
      break;
    default:
      break;
  }
  return 0;
}

}  // extern "C"
