// Window DCs and painting: the update region (one bounding rectangle),
// invalidation and validation, BeginPaint/EndPaint and UpdateWindow.
#include <algorithm>

#include "platform/soft/window.h"

namespace soft {
namespace {

// Recorded invalidations are for tests; a long run keeps only the newest.
constexpr size_t kMaxRecorded = size_t{1} << 16;

void Record(WindowObj& w, const RECT& r) {
  if (w.invalidations.size() >= kMaxRecorded)
    w.invalidations.erase(w.invalidations.begin(), w.invalidations.begin() + kMaxRecorded / 2);
  w.invalidations.push_back(r);
}

RECT ClientOf(const WindowObj& w) {
  return RECT{0, 0, w.Width(), w.Height()};
}

// Takes a validated rectangle out of the bounding rectangle where the
// result is still one rectangle; a hole in the middle leaves it as it is.
RECT Subtract(const RECT& u, const RECT& v) {
  const bool spansWidth = v.left <= u.left && v.right >= u.right;
  const bool spansHeight = v.top <= u.top && v.bottom >= u.bottom;
  if (spansWidth && spansHeight) return RECT{0, 0, 0, 0};
  RECT r = u;
  if (spansWidth) {
    if (v.top <= u.top && v.bottom > u.top)
      r.top = v.bottom;
    else if (v.bottom >= u.bottom && v.top < u.bottom)
      r.bottom = v.top;
  } else if (spansHeight) {
    if (v.left <= u.left && v.right > u.left)
      r.left = v.right;
    else if (v.right >= u.right && v.left < u.right)
      r.right = v.left;
  }
  return RectEmpty(r) ? RECT{0, 0, 0, 0} : r;
}

void InvalidateAll(BOOL erase) {
  for (HWND hwnd : AllWindows()) InvalidateRect(hwnd, nullptr, erase);
}

}  // namespace

bool RectEmpty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

RECT IntersectRects(const RECT& a, const RECT& b) {
  const RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  return RectEmpty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT UnionRects(const RECT& a, const RECT& b) {
  if (RectEmpty(a)) return b;
  if (RectEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

void AddToUpdate(WindowObj& w, const RECT& client, bool erase) {
  const RECT r = IntersectRects(client, ClientOf(w));
  if (RectEmpty(r)) return;
  w.update = UnionRects(w.update, r);
  if (erase) w.erase = true;
}

}  // namespace soft

using namespace soft;

extern "C" {

HDC WINAPI GetDC(HWND hWnd) {
  if (!hWnd) return CreateDisplayDC(nullptr);
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return nullptr;
  if (!(w->cls->style & CS_OWNDC)) return CreateDisplayDC(hWnd);
  if (!GetDCObj(w->ownDC)) w->ownDC = CreateDisplayDC(hWnd);
  return w->ownDC;
}

// Any window or screen DC is released, whatever window is named with it;
// a class DC of its own stays with its window.
int WINAPI ReleaseDC(HWND, HDC hDC) {
  DCObj* dc = GetDCObj(hDC);
  if (!dc || dc->kind == DCObj::Kind::Memory) return 0;
  WindowObj* w = GetWindowObj(dc->hwnd);
  if (w && w->ownDC == hDC) return 1;
  return DeleteDC(hDC) ? 1 : 0;
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  if (!hWnd) {  // Win32 invalidates every window
    InvalidateAll(bErase);
    return TRUE;
  }
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return FALSE;
  const RECT r = lpRect ? *lpRect : ClientOf(*w);
  Record(*w, r);
  AddToUpdate(*w, r, bErase != FALSE);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
  if (!hWnd) {  // documented to invalidate and redraw every window
    InvalidateAll(TRUE);
    return TRUE;
  }
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return FALSE;
  w->update = lpRect ? Subtract(w->update, *lpRect) : RECT{0, 0, 0, 0};
  if (RectEmpty(w->update)) w->erase = false;
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return FALSE;
  if (bErase && w->erase && !RectEmpty(w->update)) {
    HDC hdc = GetDC(hWnd);
    const LRESULT erased = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseDC(hWnd, hdc);
    if (!(w = GetWindowObj(hWnd))) return FALSE;
    if (erased) w->erase = false;
  }
  const bool pending = !RectEmpty(w->update);
  if (lpRect) *lpRect = pending ? w->update : RECT{0, 0, 0, 0};
  return pending ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return FALSE;
  if (!RectEmpty(w->update)) SendMessageA(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w || !lpPaint) return nullptr;
  HDC hdc = GetDC(hWnd);
  if (!hdc) return nullptr;
  GetDCObj(hdc)->fromBeginPaint = true;
  if (ThreadCaret().owner == hWnd && HideCaret(hWnd)) ++w->caretHiddenByPaint;
  bool erased = false;
  if (w->erase && !RectEmpty(w->update))
    erased = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) != 0;
  if (!(w = GetWindowObj(hWnd))) {  // the erase handler destroyed the window
    ReleaseDC(hWnd, hdc);
    return nullptr;
  }
  *lpPaint = PAINTSTRUCT{};
  lpPaint->hdc = hdc;
  lpPaint->rcPaint = RectEmpty(w->update) ? RECT{0, 0, 0, 0} : w->update;
  lpPaint->fErase = w->erase && !erased ? TRUE : FALSE;
  w->update = RECT{0, 0, 0, 0};
  w->erase = false;
  return hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  WindowObj* w = GetWindowObj(hWnd);
  if (w && w->caretHiddenByPaint > 0) {
    --w->caretHiddenByPaint;
    ShowCaret(hWnd);
  }
  if (!lpPaint) return TRUE;
  DCObj* dc = GetDCObj(lpPaint->hdc);
  if (dc && dc->fromBeginPaint && dc->hwnd == hWnd) {
    dc->fromBeginPaint = false;
    ReleaseDC(hWnd, lpPaint->hdc);
  }
  return TRUE;
}

}  // extern "C"
