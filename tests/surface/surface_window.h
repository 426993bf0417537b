// A terminal window as the surface sees it, for the surface's own tests: a
// window whose long 0 holds a host record, the host's screen and settings
// records, and a CGrDrv with its graphics context set up the way an
// instance is created (pages, palette, background, foreground, erase).
#pragma once

#include <memory>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "zizider/zizider.h"

namespace surface_test {

struct Geometry {
  int rows = 24, columns = 80, cellWidth = 10, cellHeight = 20;
};

// Messages the window procedure saw, and the screen records the host was
// told about.
struct HostLog {
  std::vector<UINT> messages;
  std::vector<KXREG_SCREEN*> pagesErased;
};

inline HostLog& Log() {
  static HostLog log;
  return log;
}

class SurfaceWindow {
 public:
  explicit SurfaceWindow(Geometry g = Geometry{}, COLORREF foreground = RGB(255, 255, 255),
                         COLORREF background = RGB(0, 0, 0));
  ~SurfaceWindow();
  SurfaceWindow(const SurfaceWindow&) = delete;
  SurfaceWindow& operator=(const SurfaceWindow&) = delete;

  CGraphicsState* State() { return context->state; }
  // The stored palette index of a page pixel, and the colour it shows.
  uint32_t PageIndex(int page, int x, int y) const;
  COLORREF PageColour(int page, int x, int y) const;

  std::unique_ptr<KXREG_SETTINGS> settings{new KXREG_SETTINGS()};
  std::unique_ptr<KXREG_SCREEN> screen{new KXREG_SCREEN()};
  std::unique_ptr<KXREG_HOST> host{new KXREG_HOST()};
  HWND window = nullptr;
  std::unique_ptr<CGrDrv> surface;
  std::unique_ptr<CGraphicsContext> context;
};

// Drains the thread's queue so that one test's leftovers do not reach the
// next.
inline void DrainQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) DispatchMessageA(&msg);
  }
}

namespace detail {

inline constexpr char kClassName[] = "ZiziderSurfaceTest";

inline void KXREG_CALLBACK PageErased(KXREG_SCREEN* screen) {
  Log().pagesErased.push_back(screen);
}

inline LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Log().messages.push_back(msg);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

inline void RegisterOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.cbWndExtra = static_cast<int>(sizeof(void*));
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  registered = true;
}

}  // namespace detail

inline SurfaceWindow::SurfaceWindow(Geometry g, COLORREF foreground, COLORREF background) {
  detail::RegisterOnce();
  DrainQueue();
  ResetColourMap();
  window =
      CreateWindowExA(0, detail::kClassName, "surface", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                      g.columns * g.cellWidth, g.rows * g.cellHeight, nullptr, nullptr, nullptr, nullptr);
  screen->settings = settings.get();
  screen->pumpWindow = window;
  host->screen = screen.get();
  host->window = window;
  host->rows = g.rows;
  host->columns = g.columns;
  host->cellWidth = g.cellWidth;
  host->cellHeight = g.cellHeight;
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(host.get()));

  surface = std::make_unique<CGrDrv>();
  context = std::make_unique<CGraphicsContext>(surface.get());
  surface->foregroundColour = foreground;
  surface->backgroundColour = background;
  surface->SetTermParm(window, g.rows, g.columns, g.cellWidth, g.cellHeight, 1);
  surface->SetTermParm(window, g.rows, g.columns, g.cellWidth, g.cellHeight, 2);
  surface->window = window;
  surface->pageErasedCallback = detail::PageErased;
  surface->CreateMapPalette(State());
  surface->SetBackgroundEntry(background);
  surface->SetUpForeground(State());
  State()->flags |= kOutputCursorOn;
  surface->EraseAllPages(State());

  DrainQueue();
  soft::inspect::ClearInvalidations(window);
  Log() = HostLog{};
}

inline SurfaceWindow::~SurfaceWindow() {
  context.reset();
  surface.reset();
  if (window) {
    SetWindowLongPtrA(window, 0, 0);
    DestroyWindow(window);
  }
  DrainQueue();
  ResetColourMap();
}

inline uint32_t SurfaceWindow::PageIndex(int page, int x, int y) const {
  return soft::inspect::ReadBitmap(surface->pageBitmap[page - 1]).At(x, y);
}

inline COLORREF SurfaceWindow::PageColour(int page, int x, int y) const {
  return soft::inspect::ReadBitmap(surface->pageBitmap[page - 1]).RgbAt(x, y);
}

}  // namespace surface_test
