// A terminal window as the surface sees it, for the surface's own tests: a
// window whose long 0 holds a host record, the host's screen and settings
// records, and a CGrDrv with its graphics context set up the way an instance
// is created (pages, palette, background, foreground, erase). Page pixels
// read back as stored values, colours or ReGIS colour indices.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "support/test_host.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "zizider/zizider.h"

namespace surface_test {

namespace inspect = soft::inspect;
using Edges = std::vector<LONG>;

struct Geometry {
  int rows = 24, columns = 80, cellWidth = 10, cellHeight = 20;
};

// Messages the window procedure saw, and the screen records the host was told about.
struct HostLog {
  std::vector<UINT> messages;
  std::vector<KXREG_SCREEN*> pagesErased;
};
inline HostLog& Log() {
  static HostLog log;
  return log;
}

// Drains the thread's queue so that one test's leftovers do not reach the next.
inline void DrainQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

inline LRESULT CALLBACK LoggingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Log().messages.push_back(msg);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
inline void KXREG_CALLBACK LogPageErased(KXREG_SCREEN* screen) {
  Log().pagesErased.push_back(screen);
}

inline std::vector<Edges> InvalidatedIn(HWND window) {
  std::vector<Edges> out;
  for (const RECT& r : inspect::Invalidations(window)) out.push_back({r.left, r.top, r.right, r.bottom});
  return out;
}

// Runs an action that must raise exactly one stop box with the text and caption.
template <typename Action>
void ExpectStopBox(Action action, const std::string& text, const std::string& caption, HWND owner) {
  inspect::ClearMessageBoxes();
  inspect::EchoMessageBoxes(false);
  action();
  const auto boxes = inspect::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, text);
  EXPECT_EQ(boxes[0].caption, caption);
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(boxes[0].owner, owner);
  inspect::ClearMessageBoxes();
  inspect::EchoMessageBoxes(true);
}

class SurfaceWindow {
 public:
  explicit SurfaceWindow(Geometry g = Geometry{}, COLORREF foreground = RGB(255, 255, 255),
                         COLORREF background = RGB(0, 0, 0)) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = LoggingWindowProc;
      wc.cbWndExtra = static_cast<int>(sizeof(void*));
      wc.lpszClassName = "ZiziderSurfaceTest";
      return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    DrainQueue();
    ResetColourMap();
    window =
        CreateWindowExA(0, "ZiziderSurfaceTest", "surface", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                        g.columns * g.cellWidth, g.rows * g.cellHeight, nullptr, nullptr, nullptr, nullptr);
    screen->settings = settings.get();
    screen->pumpWindow = window;
    host->screen = screen.get();
    host->window = window;
    host->rows = g.rows, host->columns = g.columns, host->cellWidth = g.cellWidth;
    host->cellHeight = g.cellHeight;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(host.get()));
    surface->foregroundColour = foreground;
    surface->backgroundColour = background;
    for (int page : {1, 2}) surface->SetTermParm(window, g.rows, g.columns, g.cellWidth, g.cellHeight, page);
    surface->window = window;
    surface->pageErasedCallback = LogPageErased;
    surface->CreateMapPalette(State());
    surface->SetBackgroundEntry(background);
    surface->SetUpForeground(State());
    State()->flags |= kOutputCursorOn;
    surface->EraseAllPages(State());
    DrainQueue();
    inspect::ClearInvalidations(window);
    Log() = HostLog{};
  }
  ~SurfaceWindow() {
    context.reset();
    surface.reset();
    SetWindowLongPtrA(window, 0, 0);
    DestroyWindow(window);
    DrainQueue();
    ResetColourMap();
  }
  SurfaceWindow(const SurfaceWindow&) = delete;
  SurfaceWindow& operator=(const SurfaceWindow&) = delete;

  CGraphicsState* State() { return context->state; }
  CWriteControls& W() { return *context->state->active; }
  void MoveTo(int x, int y) { State()->x = x, State()->y = y; }
  void Line(int x1, int y1, int x2, int y2) { surface->DrawVector(State(), x1, y1, x2, y2); }
  std::vector<Edges> Invalidated() const { return InvalidatedIn(window); }
  inspect::Image Page(int page = 1) const { return inspect::ReadBitmap(surface->pageBitmap[page - 1]); }
  uint32_t PageIndex(int page, int x, int y) const { return Page(page).At(x, y); }
  COLORREF PageColour(int page, int x, int y) const { return Page(page).RgbAt(x, y); }

  uint32_t Stored(int i) const { return StoredIndex(surface.get(), i); }
  // The ReGIS indices along a page row from x0 (inclusive) to x1 (exclusive),
  // -1 for a value no index draws.
  std::vector<int> Row(int y, int x0, int x1, int page = 1) const {
    const inspect::Image img = Page(page);
    uint32_t stored[16];
    for (int i = 0; i < 16; ++i) stored[i] = Stored(i);
    std::vector<int> row;
    for (int x = x0; x < x1; ++x) {
      row.push_back(-1);
      for (int i = 0; i < 16 && row.back() < 0; ++i)
        if (stored[i] == img.At(x, y)) row.back() = i;
    }
    return row;
  }
  int Index(int x, int y, int page = 1) const { return Row(y, x, x + 1, page)[0]; }
  // How many pixels of a page hold ReGIS index i.
  int Count(int i, int page = 1) const {
    const uint32_t stored = Stored(i);
    int n = 0;
    for (uint32_t p : Page(page).pixels) n += p == stored;
    return n;
  }
  // Paints a page rectangle in ReGIS colour index i.
  void Paint(int i, RECT r, int page = 1) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(i));
    FillRect(surface->pageDC[page - 1], &r, brush);
    DeleteObject(brush);
  }

  std::unique_ptr<KXREG_SETTINGS> settings{new KXREG_SETTINGS()};
  std::unique_ptr<KXREG_SCREEN> screen{new KXREG_SCREEN()};
  std::unique_ptr<KXREG_HOST> host{new KXREG_HOST()};
  HWND window = nullptr;
  std::unique_ptr<CGrDrv> surface{new CGrDrv()};
  std::unique_ptr<CGraphicsContext> context{new CGraphicsContext(surface.get())};
};

}  // namespace surface_test
