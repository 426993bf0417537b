// The caret: one per thread, state only (owner, shape, position, hide
// count). Nothing draws it; the terminal host does.
#include <climits>

#include "platform/soft/window.h"

namespace soft {
namespace {

// HideCaret and ShowCaret with a null window mean the caret of this thread.
CaretInfo* CaretFor(HWND hwnd) {
  CaretInfo& c = ThreadCaret();
  if (!c.owner || (hwnd && hwnd != c.owner)) return nullptr;
  return &c;
}

}  // namespace

CaretInfo& ThreadCaret() {
  thread_local CaretInfo caret;
  return caret;
}

void DestroyCaretOf(HWND hwnd) {
  CaretInfo& c = ThreadCaret();
  if (c.owner == hwnd) c = CaretInfo{};
}

}  // namespace soft

using namespace soft;

extern "C" {

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
  if (!GetWindowObj(hWnd)) return FALSE;
  CaretInfo c;
  c.owner = hWnd;
  c.bitmap = hBitmap;
  if (const BitmapObj* bmp = GetBitmap(hBitmap)) {  // a bitmap caret has the bitmap's size
    nWidth = bmp->width;
    nHeight = bmp->height;
  }
  // Zero means the system's border width and height, one pixel here.
  c.width = nWidth > 0 ? nWidth : 1;
  c.height = nHeight > 0 ? nHeight : 1;
  c.hideCount = 1;  // a new caret starts hidden
  ThreadCaret() = c;
  return TRUE;
}

BOOL WINAPI DestroyCaret(void) {
  CaretInfo& c = ThreadCaret();
  if (!c.owner) return FALSE;
  c = CaretInfo{};
  return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd) {
  CaretInfo* c = CaretFor(hWnd);
  if (!c) return FALSE;
  if (c->hideCount > 0) --c->hideCount;
  return TRUE;
}

BOOL WINAPI HideCaret(HWND hWnd) {
  CaretInfo* c = CaretFor(hWnd);
  if (!c) return FALSE;
  if (c->hideCount < INT_MAX) ++c->hideCount;
  return TRUE;
}

BOOL WINAPI SetCaretPos(int X, int Y) {
  CaretInfo& c = ThreadCaret();
  if (!c.owner) return FALSE;
  c.x = X;
  c.y = Y;
  return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  const CaretInfo& c = ThreadCaret();
  *lpPoint = POINT{c.x, c.y};
  return c.owner ? TRUE : FALSE;
}

}  // extern "C"
