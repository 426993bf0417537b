// The terminal side of the library: the three records a terminal lays out
// for one window, the window itself (its long 0 points at the host record,
// its paint handler repaints through KXREG_Refresh), and the calls a
// terminal makes in their order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "zizider/zizider.h"

class CHostWindow {
 public:
  struct Geometry {
    int columns = 80, rows = 24;
    int cellWidth = 10, cellHeight = 20;
  };

  explicit CHostWindow(const Geometry& geometry);
  ~CHostWindow();  // KXREG_Erase, then the window goes
  CHostWindow(const CHostWindow&) = delete;
  CHostWindow& operator=(const CHostWindow&) = delete;

  // Creates the window and calls KXREG_Init; the error is one line.
  bool Open(COLORREF foreground, COLORREF background, std::string* error);

  // A terminal whose window changed size: the new grid goes into the host
  // record, the pages are made again (KXREG_Reset) and redrawn from the
  // journal (KXREG_RefreshFromBuf).
  void Resize(const Geometry& geometry, COLORREF foreground, COLORREF background);

  // KXREG_HandleNextString: 0 processed, 1 refused or interrupted.
  int Feed(const char* string);
  // Invalidates the whole client area and lets the paint handler run.
  void Repaint();

  KXREG_HOST* host() { return host_.get(); }
  HWND window() const { return window_; }
  const Geometry& geometry() const { return geometry_; }
  // The settings flag word, where an abort is requested.
  uint32_t* settingsFlags() { return &settings_->flags; }

  // Page 1 or 2 as KXREG_GetMemDC numbers them; the client area.
  soft::inspect::Image ReadPage(int page);
  soft::inspect::Image ReadWindow();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void KXREG_CALLBACK OnRegion(HWND window, int code);
  static void KXREG_CALLBACK OnInput(HWND window, int code);
  static void KXREG_CALLBACK OnPageErased(KXREG_SCREEN* screen);

  Geometry geometry_;
  std::unique_ptr<KXREG_SETTINGS> settings_;
  std::unique_ptr<KXREG_SCREEN> screen_;
  std::unique_ptr<KXREG_HOST> host_;
  HWND window_ = nullptr;
  bool initialised_ = false;
};
