// A host as a terminal would be: records, window, callbacks, pixel readers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "zizider/zizider.h"

class CGrDrv;

// The stored pixel value that ReGIS colour index i draws on the surface's pages.
uint32_t StoredIndex(CGrDrv* surface, int i);
class CGraphicsContext;
class CGraphicsState;
class CInterpreter;

class CTestHost {
 public:
  struct Options {
    int rows = 24, columns = 80;
    int cellWidth = 10, cellHeight = 20;  // 800 x 480 pixels: one ReGIS unit per pixel
    COLORREF foreground = 0xFFFFFF;
    COLORREF background = 0x000000;
    bool init = true;  // call KXREG_Init(mode 1) at construction
  };

  struct Callback {
    enum Kind { Region, Input, PageErased } kind;
    int code;  // 0 for PageErased
  };

  CTestHost();
  explicit CTestHost(const Options& options);
  ~CTestHost();
  CTestHost(const CTestHost&) = delete;
  CTestHost& operator=(const CTestHost&) = delete;

  KXREG_HOST* Host() { return host_.get(); }
  KXREG_SCREEN* Screen() { return screen_.get(); }
  HWND Window() const { return window_; }
  const Options& options() const { return options_; }

  int Init(int mode = 1) { return KXREG_Init(Host(), options_.foreground, options_.background, mode); }
  int Erase() { return KXREG_Erase(Host()); }
  int Feed(const std::string& text) { return KXREG_HandleNextString(Host(), text.c_str()); }
  // Removes and dispatches every queued message (paints included), as the
  // host's message loop would. A WM_QUIT is recorded, not acted on.
  void Pump();

  // Stored pixel values of page 1 or 2; UINT32_MAX off the page.
  uint32_t PageIndex(int x, int y, int page = 1);
  soft::inspect::Image PageImage(int page = 1);
  soft::inspect::Image WindowImage() { return soft::inspect::ReadWindow(window_); }

  void SetSetting(uint32_t bit, bool on = true) {
    settings_->flags = on ? settings_->flags | bit : settings_->flags & ~bit;
  }
  bool Setting(uint32_t bit) const { return (settings_->flags & bit) != 0; }

  // The library's objects, through the record's slots.
  CGrDrv* Surface() { return host_->grDrv; }
  CGraphicsContext* Context() { return host_->context; }
  CGraphicsState* State();
  CInterpreter* Interpreter() { return host_->interpreter; }

  // Makes the window's long 0 null, as a host tearing down would.
  void DetachWindow() { SetWindowLongPtrA(window_, 0, 0); }
  void AttachWindow() { SetWindowLongPtrA(window_, 0, reinterpret_cast<LONG_PTR>(host_.get())); }

  std::vector<Callback> callbacks;
  int paints = 0;
  bool quitSeen = false;
  int quitCode = 0;
  // Called first for every message the window receives; returning true
  // means handled. Tests use it to re-enter the library while it pumps.
  std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> onMessage;
  // Called after each callback is recorded, to act as a host would from it.
  std::function<void(const Callback&)> onCallback;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void KXREG_CALLBACK OnRegion(HWND window, int code);
  static void KXREG_CALLBACK OnInput(HWND window, int code);
  static void KXREG_CALLBACK OnPageErased(KXREG_SCREEN* screen);
  static CTestHost* FromWindow(HWND window);
  void Record(const Callback& callback);

  Options options_;
  std::unique_ptr<KXREG_SETTINGS> settings_;
  std::unique_ptr<KXREG_SCREEN> screen_;
  std::unique_ptr<KXREG_HOST> host_;
  HWND window_ = nullptr;
};
