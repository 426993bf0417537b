#include "host/display_window.h"

#include <set>

#include "surface/wrap_arith.h"

namespace {

constexpr char kClassName[] = "ZiziderDisplay";

// The windows made here; every other window belongs to a host.
std::set<HWND>& OwnWindows() {
  static std::set<HWND> windows;
  return windows;
}

bool Owned(HWND window) {
  return window && OwnWindows().count(window) != 0;
}

int GraphicsWidth(const KXREG_HOST* host) {
  return MulWrap(host->columns, host->cellWidth);
}

int GraphicsHeight(const KXREG_HOST* host) {
  return MulWrap(host->rows, host->cellHeight);
}

}  // namespace

bool AdoptDisplayWindow(KXREG_HOST* host) {
  if (!host || host->window) return true;
  WNDCLASSA cls{};
  // Nothing is shown: a paint only validates, the host reads the page.
  cls.lpfnWndProc = &DefWindowProcA;
  cls.cbWndExtra = static_cast<int>(sizeof(void*));
  cls.lpszClassName = kClassName;
  RegisterClassA(&cls);  // registered already after the first window
  HWND window = CreateWindowExA(0, kClassName, "zizider", WS_POPUP, 0, 0, GraphicsWidth(host),
                                GraphicsHeight(host), nullptr, nullptr, nullptr, nullptr);
  if (!window) return false;
  OwnWindows().insert(window);
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(host));
  host->window = window;
  if (host->screen && !host->screen->pumpWindow) host->screen->pumpWindow = window;
  return true;
}

void ResizeDisplayWindow(KXREG_HOST* host) {
  if (!host || !Owned(host->window)) return;
  SetWindowPos(host->window, nullptr, 0, 0, GraphicsWidth(host), GraphicsHeight(host),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReleaseDisplayWindow(KXREG_HOST* host) {
  if (!host || !Owned(host->window)) return;
  HWND window = host->window;
  OwnWindows().erase(window);
  if (host->screen && host->screen->pumpWindow == window) host->screen->pumpWindow = nullptr;
  host->window = nullptr;
  SetWindowLongPtrA(window, 0, 0);
  DestroyWindow(window);
}
