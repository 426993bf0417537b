// Window classes and windows: creation and destruction, visibility and
// geometry, window and class longs, and the client framebuffer each window
// draws into.
#include "platform/soft/window.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <set>

#include "platform/soft/palette.h"
#include "platform/soft/raster.h"

namespace soft {
namespace {

constexpr int kDefaultWidth = 800, kDefaultHeight = 600;
// A side of 8192 keeps a framebuffer at 64 MiB whatever size a caller asks for.
constexpr int kMaxSide = 8192;
// Positions stay far enough from the LONG limits that right and bottom never overflow.
constexpr int kMaxPosition = 1 << 28;
constexpr int kCursorSize = 32;
// Code written for 32 bits keeps a pointer in the 4 bytes at index 0; here
// index 0 takes a whole pointer and every later index moves up by the rest.
constexpr size_t kPointerPad = sizeof(LONG_PTR) - sizeof(LONG);

struct ClassTable {
  std::vector<std::shared_ptr<WindowClass>> classes;
  unsigned nextAtom = 0xC000;  // where Win32 starts string atoms
};

ClassTable& Classes() {
  static ClassTable* table = new ClassTable;  // outlives static destruction like the handle table
  return *table;
}

std::set<uintptr_t>& WindowSet() {
  static std::set<uintptr_t>* windows = new std::set<uintptr_t>;
  return *windows;
}

bool SameName(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

// Finds a class by name or atom, preferring one registered by the instance.
std::shared_ptr<WindowClass> FindClass(LPCSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  std::shared_ptr<WindowClass> any;
  for (const auto& cls : Classes().classes) {
    const bool match = IS_INTRESOURCE(name) ? cls->atom == LOWORD(name) : SameName(cls->name, name);
    if (!match) continue;
    if (cls->instance == instance) return cls;
    if (!any) any = cls;
  }
  return any;
}

int Clamp(int v, int lo, int hi) {
  return v < lo ? lo : v > hi ? hi : v;
}

bool IsOwnThread(const WindowObj& w) {
  return w.thread == std::this_thread::get_id();
}

// Window longs at byte offsets >= 0.
bool ExtraFits(const WindowObj& w, int index, size_t size) {
  if (index < 0 || static_cast<int64_t>(index) + 4 > w.cls->wndExtra) return false;
  const size_t at = index < 4 ? static_cast<size_t>(index) : static_cast<size_t>(index) + kPointerPad;
  return at + size <= w.extra.size();
}

uint8_t* ExtraAt(WindowObj& w, int index) {
  return w.extra.data() + (index < 4 ? static_cast<size_t>(index) : static_cast<size_t>(index) + kPointerPad);
}

template <class T>
T ReadExtra(WindowObj& w, int index) {
  T v{};
  if (ExtraFits(w, index, sizeof(T))) std::memcpy(&v, ExtraAt(w, index), sizeof(T));
  return v;
}

template <class T>
T SwapExtra(WindowObj& w, int index, T value) {
  if (!ExtraFits(w, index, sizeof(T))) return 0;
  T previous;
  std::memcpy(&previous, ExtraAt(w, index), sizeof(T));
  std::memcpy(ExtraAt(w, index), &value, sizeof(T));
  return previous;
}

template <class T>
T SwapClassExtra(WindowClass& c, int index, T value) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(T) > c.extra.size()) return 0;
  T previous;
  std::memcpy(&previous, c.extra.data() + index, sizeof(T));
  std::memcpy(c.extra.data() + index, &value, sizeof(T));
  return previous;
}

template <class T>
T ReadClassExtra(const WindowClass& c, int index) {
  T v{};
  if (index >= 0 && static_cast<size_t>(index) + sizeof(T) <= c.extra.size())
    std::memcpy(&v, c.extra.data() + index, sizeof(T));
  return v;
}

LONG_PTR ProcValue(WNDPROC proc) {
  return reinterpret_cast<LONG_PTR>(proc);
}

// The window's screen position: the sum of its own and its ancestors' origins.
POINT ScreenOrigin(HWND hwnd) {
  int64_t x = 0, y = 0;
  for (WindowObj* w = GetWindowObj(hwnd); w; w = GetWindowObj(w->parent)) {
    x += w->rect.left;
    y += w->rect.top;
  }
  auto fit = [](int64_t v) {
    return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
  };
  return POINT{fit(x), fit(y)};
}

// Sends the messages that tell a window of its new size or position.
void NotifySize(HWND hwnd) {
  if (WindowObj* w = GetWindowObj(hwnd)) SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(w->Width(), w->Height()));
}
void NotifyMove(HWND hwnd) {
  if (WindowObj* w = GetWindowObj(hwnd))
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
}

// Sets the visibility, sending WM_SHOWWINDOW on a change; a window that
// appears has all of its client area to paint.
bool SetVisible(HWND hwnd, bool show) {
  WindowObj* w = GetWindowObj(hwnd);
  if (!w) return false;
  const bool was = w->Visible();
  if (was == show) return was;
  SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (!(w = GetWindowObj(hwnd))) return was;
  if (show) {
    w->style |= WS_VISIBLE;
    AddToUpdate(*w, RECT{0, 0, w->Width(), w->Height()}, true);
  } else {
    w->style &= ~static_cast<LONG>(WS_VISIBLE);
  }
  return was;
}

// Reallocates the framebuffer, keeping the pixels both sizes share.
bool Resize(WindowObj& w, int width, int height) {
  auto fb = NewDisplayBitmap(width, height);
  if (!fb) return false;
  const int rows = std::min(height, w.framebuffer->height);
  const size_t bytes = static_cast<size_t>(std::min(width, w.framebuffer->width));
  for (int y = 0; y < rows && bytes; ++y) std::memcpy(fb->Row(y), w.framebuffer->Row(y), bytes);
  w.framebuffer = std::move(fb);
  w.rect.right = w.rect.left + width;
  w.rect.bottom = w.rect.top + height;
  return true;
}

// What becomes visible when a window grows, or all of it for a class that
// asks to be redrawn on a change of width or height.
void InvalidateAfterResize(WindowObj& w, int oldWidth, int oldHeight) {
  if (!w.Visible()) return;
  const int width = w.Width(), height = w.Height();
  const bool redrawAll = ((w.cls->style & CS_HREDRAW) && width != oldWidth) ||
                         ((w.cls->style & CS_VREDRAW) && height != oldHeight);
  if (redrawAll) {
    AddToUpdate(w, RECT{0, 0, width, height}, true);
    return;
  }
  if (width > oldWidth) AddToUpdate(w, RECT{oldWidth, 0, width, height}, true);
  if (height > oldHeight) AddToUpdate(w, RECT{0, oldHeight, width, height}, true);
}

// Sends WM_NCDESTROY and frees what the window owns; the handle dies here.
void ReleaseWindow(HWND hwnd) {
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  WindowObj* w = GetWindowObj(hwnd);
  if (!w) return;
  DestroyCaretOf(hwnd);
  FlushWindowMessages(hwnd);
  if (GetDCObj(w->ownDC)) DeleteDC(w->ownDC);
  --w->cls->liveWindows;
  WindowSet().erase(reinterpret_cast<uintptr_t>(hwnd));
  Unregister(hwnd);
}

// Win32 order: WM_DESTROY to the window, then its children are destroyed,
// then WM_NCDESTROY to the window.
void Destroy(HWND hwnd) {
  WindowObj* w = GetWindowObj(hwnd);
  if (!w || w->destroying) return;
  w->destroying = true;
  w->style &= ~static_cast<LONG>(WS_VISIBLE);
  DestroyCaretOf(hwnd);
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  for (HWND child : AllWindows()) {
    WindowObj* c = GetWindowObj(child);
    if (c && c->parent == hwnd) Destroy(child);
  }
  ReleaseWindow(hwnd);
}

}  // namespace

const std::set<uintptr_t>& LiveWindowHandles() {
  return WindowSet();
}

std::vector<HWND> AllWindows() {
  std::vector<HWND> out;
  out.reserve(WindowSet().size());
  for (uintptr_t h : WindowSet()) out.push_back(reinterpret_cast<HWND>(h));
  return out;
}

std::unique_ptr<BitmapObj> NewDisplayBitmap(int width, int height) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  try {
    const int bpp = DisplayBitsPerPixel();
    auto bmp = std::make_unique<BitmapObj>(width, height, bpp);
    bmp->stride = ((width * bpp + 15) / 16) * 2;  // device bitmaps pad rows to 16 bits
    if (!bmp->storage.Allocate(static_cast<size_t>(bmp->stride) * height)) return nullptr;
    bmp->bits = bmp->storage.data();
    return bmp;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

SIZE& ScreenSize() {
  static SIZE size{1280, 1024};
  return size;
}

BitmapObj* WindowFramebuffer(HWND hwnd) {
  WindowObj* w = GetWindowObj(hwnd);
  return w ? w->framebuffer.get() : nullptr;
}

}  // namespace soft

using namespace soft;

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || IS_INTRESOURCE(wc->lpszClassName)) return 0;
  if (wc->cbClsExtra < 0 || wc->cbWndExtra < 0 || wc->cbClsExtra > 4096 || wc->cbWndExtra > 4096) return 0;
  ClassTable& table = Classes();
  for (const auto& cls : table.classes)
    if (cls->instance == wc->hInstance && SameName(cls->name, wc->lpszClassName)) return 0;
  if (table.nextAtom > 0xFFFF) return 0;
  auto cls = std::make_shared<WindowClass>();
  cls->atom = static_cast<ATOM>(table.nextAtom++);
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->wndExtra = wc->cbWndExtra;
  cls->instance = wc->hInstance;
  cls->icon = wc->hIcon;
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  cls->extra.assign(static_cast<size_t>(wc->cbClsExtra), 0);
  table.classes.push_back(cls);
  return cls->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance) {
  std::shared_ptr<WindowClass> cls = FindClass(lpClassName, hInstance);
  if (!cls || cls->liveWindows > 0) return FALSE;
  auto& classes = Classes().classes;
  classes.erase(std::remove(classes.begin(), classes.end(), cls), classes.end());
  return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  std::shared_ptr<WindowClass> cls = FindClass(lpClassName, hInstance);
  if (!cls) return nullptr;
  if (hWndParent && !GetWindowObj(hWndParent)) return nullptr;
  if ((dwStyle & WS_CHILD) && !hWndParent) return nullptr;
  if (X == CW_USEDEFAULT) X = Y = 0;
  if (nWidth == CW_USEDEFAULT) {
    nWidth = kDefaultWidth;
    nHeight = kDefaultHeight;
  }
  X = Clamp(X, -kMaxPosition, kMaxPosition);
  Y = Clamp(Y, -kMaxPosition, kMaxPosition);
  nWidth = Clamp(nWidth, 0, kMaxSide);
  nHeight = Clamp(nHeight, 0, kMaxSide);

  auto win = std::make_unique<WindowObj>();
  win->framebuffer = NewDisplayBitmap(nWidth, nHeight);
  if (!win->framebuffer) return nullptr;
  win->cls = cls;
  win->thread = std::this_thread::get_id();
  win->proc = cls->proc;
  win->instance = hInstance;
  win->parent = hWndParent;
  win->menu = hMenu;
  win->style = static_cast<LONG>(dwStyle & ~static_cast<DWORD>(WS_VISIBLE));
  win->exStyle = static_cast<LONG>(dwExStyle);
  win->title = lpWindowName ? lpWindowName : "";
  win->rect = RECT{X, Y, X + nWidth, Y + nHeight};
  win->extra.assign(static_cast<size_t>(cls->wndExtra) + kPointerPad, 0);
  HWND hwnd = As<HWND>(Register(std::move(win)));
  WindowSet().insert(reinterpret_cast<uintptr_t>(hwnd));
  ++cls->liveWindows;

  CREATESTRUCTA cs{
      lpParam,      hInstance,   hMenu,    hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
      lpWindowName, lpClassName, dwExStyle};
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (GetWindowObj(hwnd)) ReleaseWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  NotifySize(hwnd);
  NotifyMove(hwnd);
  if (dwStyle & WS_VISIBLE) SetVisible(hwnd, true);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  WindowObj* w = GetWindowObj(hWnd);
  // Only the thread that made a window may destroy it, as in Win32.
  if (!w || w->destroying || !IsOwnThread(*w)) return FALSE;
  Destroy(hWnd);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
  return GetWindowObj(hWnd) ? TRUE : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  switch (Msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      // Without clipping regions, erasing keeps to the update rectangle.
      DCObj* dc = GetDCObj(reinterpret_cast<HDC>(wParam));
      BitmapObj* target = Target(dc);
      BrushObj* brush = GetBrush(w->cls->background);
      if (!dc || !target || !brush) return 0;
      const RECT client{0, 0, w->Width(), w->Height()};
      const RECT area = RectEmpty(w->update) ? client : IntersectRects(w->update, client);
      const Paint paint = BrushPaint(*dc, *target, brush);
      for (int y = area.top; y < area.bottom; ++y)
        FillSpan(*target, y, area.left, area.right, paint, R2_COPYPEN);
      return 1;
    }
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_SETCURSOR: {
      // A parent may claim the cursor for its children first.
      if (w->parent && SendMessageA(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (!(w = GetWindowObj(hWnd)) || !w->cls->cursor) return FALSE;
      SetCursor(w->cls->cursor);
      return TRUE;
    }
    default:
      return 0;
  }
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  if (!GetWindowObj(hWnd)) return FALSE;
  return SetVisible(hWnd, nCmdShow != SW_HIDE) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return FALSE;
  for (; w; w = GetWindowObj(w->parent))
    if (!w->Visible()) return FALSE;
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return FALSE;
  bool moved = false, sized = false;
  // Windows keep no stacking order here; only the topmost band is recorded.
  if (!(uFlags & SWP_NOZORDER)) {
    if (hWndInsertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
    if (hWndInsertAfter == HWND_NOTOPMOST) w->exStyle &= ~static_cast<LONG>(WS_EX_TOPMOST);
  }
  if (!(uFlags & SWP_NOMOVE)) {
    X = Clamp(X, -kMaxPosition, kMaxPosition);
    Y = Clamp(Y, -kMaxPosition, kMaxPosition);
    moved = X != w->rect.left || Y != w->rect.top;
    const int width = w->Width(), height = w->Height();
    w->rect = RECT{X, Y, X + width, Y + height};
  }
  if (!(uFlags & SWP_NOSIZE)) {
    cx = Clamp(cx, 0, kMaxSide);
    cy = Clamp(cy, 0, kMaxSide);
    const int oldWidth = w->Width(), oldHeight = w->Height();
    if (cx != oldWidth || cy != oldHeight) {
      if (!Resize(*w, cx, cy)) return FALSE;
      // The update region cannot reach outside the new client area.
      w->update = IntersectRects(w->update, RECT{0, 0, cx, cy});
      InvalidateAfterResize(*w, oldWidth, oldHeight);
      sized = true;
    }
  }
  if (uFlags & SWP_SHOWWINDOW) SetVisible(hWnd, true);
  if (uFlags & SWP_HIDEWINDOW) SetVisible(hWnd, false);
  if (moved) NotifyMove(hWnd);
  if (sized) NotifySize(hWnd);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w || !lpRect) return FALSE;
  *lpRect = RECT{0, 0, w->Width(), w->Height()};
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w || !lpRect) return FALSE;
  const POINT origin = ScreenOrigin(hWnd);
  *lpRect = RECT{origin.x, origin.y, origin.x + w->Width(), origin.y + w->Height()};
  return TRUE;
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return ReadExtra<LONG>(*w, nIndex);
  switch (nIndex) {
    case GWL_WNDPROC:  // a truncated code pointer could only crash whoever called it back
      return sizeof(LONG_PTR) == sizeof(LONG) ? static_cast<LONG>(ProcValue(w->proc)) : 0;
    case GWL_HINSTANCE:
      return static_cast<LONG>(reinterpret_cast<LONG_PTR>(w->instance));
    case GWL_ID:
      return static_cast<LONG>(reinterpret_cast<LONG_PTR>(w->menu));
    case GWL_STYLE:
      return w->style;
    case GWL_EXSTYLE:
      return w->exStyle;
    case GWL_USERDATA:
      return static_cast<LONG>(w->userData);
    default:
      return 0;
  }
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return SwapExtra<LONG>(*w, nIndex, dwNewLong);
  if (nIndex == GWL_WNDPROC && sizeof(LONG_PTR) != sizeof(LONG)) return 0;
  return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return ReadExtra<LONG_PTR>(*w, nIndex);
  switch (nIndex) {
    case GWLP_WNDPROC:
      return ProcValue(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_ID:
      return reinterpret_cast<LONG_PTR>(w->menu);
    case GWL_STYLE:
      return w->style;
    case GWL_EXSTYLE:
      return w->exStyle;
    case GWLP_USERDATA:
      return w->userData;
    default:
      return 0;
  }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return SwapExtra<LONG_PTR>(*w, nIndex, dwNewLong);
  const LONG_PTR previous = GetWindowLongPtrA(hWnd, nIndex);
  switch (nIndex) {
    case GWLP_WNDPROC:
      if (!dwNewLong) return 0;
      w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
      break;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
      break;
    case GWL_ID:
      w->menu = reinterpret_cast<HMENU>(dwNewLong);
      break;
    case GWL_STYLE:
      w->style = static_cast<LONG>(dwNewLong);
      break;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<LONG>(dwNewLong);
      break;
    case GWLP_USERDATA:
      w->userData = dwNewLong;
      break;
    default:
      return 0;
  }
  return previous;
}

// Handles are below 2^31, so a cursor survives the 32-bit class long.
DWORD WINAPI GetClassLongA(HWND hWnd, int nIndex) {
  return static_cast<DWORD>(GetClassLongPtrA(hWnd, nIndex));
}

DWORD WINAPI SetClassLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return static_cast<DWORD>(SwapClassExtra<LONG>(*w->cls, nIndex, dwNewLong));
  return static_cast<DWORD>(
      SetClassLongPtrA(hWnd, nIndex, static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong))));
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hWnd, int nIndex) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return static_cast<ULONG_PTR>(ReadClassExtra<LONG_PTR>(*w->cls, nIndex));
  if (nIndex == GCLP_HCURSOR) return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
  return 0;
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  WindowObj* w = GetWindowObj(hWnd);
  if (!w) return 0;
  if (nIndex >= 0) return static_cast<ULONG_PTR>(SwapClassExtra<LONG_PTR>(*w->cls, nIndex, dwNewLong));
  if (nIndex != GCLP_HCURSOR) return 0;
  const ULONG_PTR previous = reinterpret_cast<ULONG_PTR>(w->cls->cursor);
  w->cls->cursor = reinterpret_cast<HCURSOR>(dwNewLong);
  return previous;
}

int WINAPI GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSCREEN:
      return ScreenSize().cx;
    case SM_CYSCREEN:
      return ScreenSize().cy;
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return kCursorSize;
    default:
      return 0;
  }
}

}  // extern "C"
