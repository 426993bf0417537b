// A test host's instance as the surface sees it; pixels as ReGIS indices.
#pragma once

#include <gtest/gtest.h>

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

inline Edges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
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
  explicit SurfaceWindow(COLORREF background = RGB(0, 0, 0)) : testHost(WithBackground(background)) {
    testHost.Pump();  // the first paint leaves updates suspended: the tests start with them allowed
    surface->redrawSuspended = 0;
    inspect::ClearInvalidations(window);
  }

  CGraphicsState* State() { return context->state; }
  CWriteControls& W() { return *context->state->active; }
  void MoveTo(int x, int y) { State()->x = x, State()->y = y; }
  void Line(int x1, int y1, int x2, int y2) { surface->DrawVector(State(), x1, y1, x2, y2); }
  std::vector<Edges> Invalidated() const {
    std::vector<Edges> out;
    for (const RECT& r : inspect::Invalidations(window)) out.push_back(EdgesOf(r));
    return out;
  }
  inspect::Image Page(int page = 1) const { return inspect::ReadBitmap(surface->pageBitmap[page - 1]); }
  uint32_t PageIndex(int page, int x, int y) const { return Page(page).At(x, y); }
  COLORREF PageColour(int page, int x, int y) const { return Page(page).RgbAt(x, y); }

  uint32_t Stored(int i) const { return StoredIndex(surface, i); }
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
  int Count(int i, int page = 1) const {
    const uint32_t stored = Stored(i);
    int n = 0;
    for (uint32_t p : Page(page).pixels) n += p == stored;
    return n;
  }
  void Paint(int i, RECT r, int page = 1) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(i));
    FillRect(surface->pageDC[page - 1], &r, brush);
    DeleteObject(brush);
  }

  CTestHost testHost;  // its callbacks record the pages the host was told were erased
  KXREG_HOST* host = testHost.Host();
  KXREG_SCREEN* screen = testHost.Screen();
  KXREG_SETTINGS* settings = screen->settings;
  HWND window = testHost.Window();
  CGrDrv* surface = testHost.Surface();
  CGraphicsContext* context = testHost.Context();

 private:
  static CTestHost::Options WithBackground(COLORREF background) {
    CTestHost::Options options;
    options.background = background;
    return options;
  }
};

}  // namespace surface_test
