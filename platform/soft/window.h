// USER inside the soft platform: window classes, windows with their client
// framebuffer and update region, the per-thread caret, the cursor, and the
// hooks the message queue, painting and inspection share.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/soft/objects.h"

namespace soft {

struct WindowClass {
  ATOM atom = 0;
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::vector<uint8_t> extra;  // cbClsExtra
  int liveWindows = 0;         // a class cannot be unregistered while it has windows
};

struct WindowObj : Object {
  WindowObj() : Object(ObjType::Window) {}
  std::shared_ptr<WindowClass> cls;
  std::thread::id thread;  // whose queue receives its messages
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;
  HMENU menu = nullptr;
  LONG style = 0;  // WS_VISIBLE is the visibility
  LONG exStyle = 0;
  LONG_PTR userData = 0;
  std::string title;
  RECT rect{};  // relative to the parent's client area; a window has no frame, so this is the client too
  std::unique_ptr<BitmapObj> framebuffer;
  HDC ownDC = nullptr;         // CS_OWNDC classes keep one DC for the window's life
  std::vector<uint8_t> extra;  // cbWndExtra, widened so that index 0 holds a pointer
  RECT update{};               // bounding rectangle of the update region, empty when valid
  bool erase = false;
  std::vector<RECT> invalidations;  // for inspect::Invalidations
  bool destroying = false;
  int caretHiddenByPaint = 0;

  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
};

inline WindowObj* GetWindowObj(HWND hwnd) {
  return LookupAs<WindowObj>(hwnd, ObjType::Window);
}

// Every live window, oldest first.
std::vector<HWND> AllWindows();
// The same handles without a copy, valid until a window is made or destroyed.
const std::set<uintptr_t>& LiveWindowHandles();

// A zero-filled 8-bit device bitmap (the display format), or nullptr when
// it cannot be had; the allocator of objects.cpp is private to it.
std::unique_ptr<BitmapObj> NewDisplayBitmap(int width, int height);

// The primary screen's size in pixels, as the system metrics report it.
SIZE& ScreenSize();

bool RectEmpty(const RECT& r);
RECT IntersectRects(const RECT& a, const RECT& b);
RECT UnionRects(const RECT& a, const RECT& b);

// Adds to the update region without recording an InvalidateRect call: the
// system's own invalidations (showing, resizing).
void AddToUpdate(WindowObj& w, const RECT& client, bool erase);

// The caret of the calling thread.
struct CaretInfo {
  HWND owner = nullptr;
  HBITMAP bitmap = nullptr;
  int x = 0, y = 0, width = 0, height = 0;
  int hideCount = 0;  // shown when zero
};
CaretInfo& ThreadCaret();
void DestroyCaretOf(HWND hwnd);

// A cursor resource as registered through AddCursorResource.
struct CursorResource {
  std::string name;
  int width = 0, height = 0, hotX = 0, hotY = 0;
  std::vector<uint8_t> andMask, xorMask;
};
const CursorResource* FindCursorResource(LPCSTR name);  // by name or "#id", without case
std::string ResourceKey(LPCSTR name);

HCURSOR CurrentCursorHandle();
void ForgetCursor(HCURSOR cursor);  // a destroyed cursor stops being current

// Drops the posted messages of a window that is going away.
void FlushWindowMessages(HWND hwnd);

// Recorded message boxes.
struct MessageBoxEntry {
  HWND owner;
  std::string text, caption;
  UINT type;
};
std::vector<MessageBoxEntry> RecordedMessageBoxes();
void ClearRecordedMessageBoxes();
void SetMessageBoxEcho(bool on);

}  // namespace soft
