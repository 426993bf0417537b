#include "tools/zizider/host_window.h"

namespace {

constexpr char kClassName[] = "ZiziderRenderHost";
// Far more messages than one repaint produces; a queue that never empties
// must not hang the program.
constexpr int kMaxPumped = 100000;

}  // namespace

CHostWindow::CHostWindow(const Geometry& geometry)
    : geometry_(geometry),
      settings_(std::make_unique<KXREG_SETTINGS>()),
      screen_(std::make_unique<KXREG_SCREEN>()),
      host_(std::make_unique<KXREG_HOST>()) {}

CHostWindow::~CHostWindow() {
  if (initialised_) KXREG_Erase(host_.get());
  if (window_) {
    SetWindowLongPtrA(window_, 0, 0);
    DestroyWindow(window_);
    MSG msg;
    for (int i = 0; i < kMaxPumped && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    }
  }
}

bool CHostWindow::Open(COLORREF foreground, COLORREF background, std::string* error) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = &CHostWindow::WindowProc;
  cls.cbWndExtra = static_cast<int>(sizeof(void*));
  cls.lpszClassName = kClassName;
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  RegisterClassA(&cls);  // a second host in the process finds it registered

  const int width = geometry_.columns * geometry_.cellWidth;
  const int height = geometry_.rows * geometry_.cellHeight;
  window_ = CreateWindowExA(0, kClassName, "zizider render", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                            nullptr, nullptr, nullptr, nullptr);
  if (!window_) {
    *error = "cannot create the host window";
    return false;
  }

  screen_->settings = settings_.get();
  screen_->pumpWindow = window_;
  screen_->field64 = geometry_.rows;
  host_->screen = screen_.get();
  host_->window = window_;
  host_->rows = geometry_.rows;
  host_->columns = geometry_.columns;
  host_->cellWidth = geometry_.cellWidth;
  host_->cellHeight = geometry_.cellHeight;
  host_->regionCallback = &CHostWindow::OnRegion;
  host_->inputCallback = &CHostWindow::OnInput;
  host_->pageErasedCallback = &CHostWindow::OnPageErased;
  SetWindowLongPtrA(window_, 0, reinterpret_cast<LONG_PTR>(host_.get()));

  if (KXREG_Init(host_.get(), foreground, background, 1) != 0) {
    *error = "the library could not create its objects for the window";
    return false;
  }
  initialised_ = true;
  return true;
}

void CHostWindow::Resize(const Geometry& geometry, COLORREF foreground, COLORREF background) {
  if (!initialised_) return;
  geometry_ = geometry;
  SetWindowPos(window_, nullptr, 0, 0, geometry.columns * geometry.cellWidth,
               geometry.rows * geometry.cellHeight, SWP_NOZORDER | SWP_NOMOVE);
  screen_->field64 = geometry.rows;
  host_->rows = geometry.rows;
  host_->columns = geometry.columns;
  host_->cellWidth = geometry.cellWidth;
  host_->cellHeight = geometry.cellHeight;
  KXREG_Reset(host_.get(), foreground, background, 0, 0);
  KXREG_RefreshFromBuf(host_.get());
}

int CHostWindow::Feed(const char* string) {
  return KXREG_HandleNextString(host_.get(), string);
}

void CHostWindow::Repaint() {
  InvalidateRect(window_, nullptr, FALSE);
  MSG msg;
  for (int i = 0; i < kMaxPumped && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

soft::inspect::Image CHostWindow::ReadPage(int page) {
  return soft::inspect::ReadDC(KXREG_GetMemDC(host_.get(), page));
}

soft::inspect::Image CHostWindow::ReadWindow() {
  return soft::inspect::ReadWindow(window_);
}

LRESULT CALLBACK CHostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    auto* host = reinterpret_cast<KXREG_HOST*>(GetWindowLongPtrA(window, 0));
    if (host && dc)
      KXREG_Refresh(host, dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A terminal would mark text cells for a hard copy, answer a report or redraw
// its text here; a picture on disk needs none of it.
void KXREG_CALLBACK CHostWindow::OnRegion(HWND, int) {}
void KXREG_CALLBACK CHostWindow::OnInput(HWND, int) {}
void KXREG_CALLBACK CHostWindow::OnPageErased(KXREG_SCREEN*) {}
