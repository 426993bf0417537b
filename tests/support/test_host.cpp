#include "test_host.h"

#include <map>

#include "interp/interpreter.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"

namespace {

constexpr char kClassName[] = "ZiziderTestHost";
// A pump that never empties would hang a test; far more than any test posts.
constexpr int kMaxPumped = 100000;

std::map<HWND, CTestHost*>& Hosts() {
  static std::map<HWND, CTestHost*> hosts;
  return hosts;
}

}  // namespace

uint32_t StoredIndex(CGrDrv* surface, int i) {
  HDC dc = CreateCompatibleDC(surface->pageDC[0]);
  HBITMAP bitmap = CreateCompatibleBitmap(surface->pageDC[0], 1, 1);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HPALETTE oldPalette = SelectPalette(dc, surface->palette, FALSE);
  SetPixel(dc, 0, 0, PALETTEINDEX(i));
  const uint32_t stored = soft::inspect::ReadBitmap(bitmap).At(0, 0);
  SelectPalette(dc, oldPalette, FALSE);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return stored;
}

CTestHost::CTestHost() : CTestHost(Options()) {}

CTestHost::CTestHost(const Options& options)
    : options_(options),
      settings_(std::make_unique<KXREG_SETTINGS>()),
      screen_(std::make_unique<KXREG_SCREEN>()),
      host_(std::make_unique<KXREG_HOST>()) {
  soft::inspect::UseVirtualClock(true);
  soft::inspect::EchoMessageBoxes(false);

  WNDCLASSA cls{};
  cls.lpfnWndProc = &CTestHost::WindowProc;
  cls.cbWndExtra = static_cast<int>(sizeof(void*));
  cls.lpszClassName = kClassName;
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  RegisterClassA(&cls);  // fails harmlessly when an earlier host registered it

  const int width = options.columns * options.cellWidth;
  const int height = options.rows * options.cellHeight;
  window_ = CreateWindowExA(0, kClassName, "test host", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                            nullptr, nullptr, nullptr);
  Hosts()[window_] = this;

  settings_->flags = 0;
  screen_->settings = settings_.get();
  screen_->pumpWindow = window_;
  screen_->field64 = 24;
  host_->screen = screen_.get();
  host_->window = window_;
  host_->rows = options.rows;
  host_->columns = options.columns;
  host_->cellWidth = options.cellWidth;
  host_->cellHeight = options.cellHeight;
  host_->regionCallback = &CTestHost::OnRegion;
  host_->inputCallback = &CTestHost::OnInput;
  host_->pageErasedCallback = &CTestHost::OnPageErased;
  AttachWindow();

  if (options.init) Init(1);
}

CTestHost::~CTestHost() {
  KXREG_Erase(host_.get());
  Hosts().erase(window_);
  DestroyWindow(window_);
  // Messages the test left for the window die with it.
  MSG msg;
  for (int i = 0; i < kMaxPumped && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
  }
}

void CTestHost::Pump() {
  MSG msg;
  for (int i = 0; i < kMaxPumped && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      quitSeen = true;
      quitCode = static_cast<int>(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

soft::inspect::Image CTestHost::PageImage(int page) {
  return soft::inspect::ReadDC(KXREG_GetMemDC(host_.get(), page));
}

uint32_t CTestHost::PageIndex(int x, int y, int page) {
  const soft::inspect::Image image = PageImage(page);
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return UINT32_MAX;
  return image.At(x, y);
}

CGraphicsState* CTestHost::State() {
  return host_->context ? host_->context->state : nullptr;
}

CTestHost* CTestHost::FromWindow(HWND window) {
  auto it = Hosts().find(window);
  return it == Hosts().end() ? nullptr : it->second;
}

LRESULT CALLBACK CTestHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CTestHost* self = FromWindow(window);
  if (self && self->onMessage && self->onMessage(message, wParam, lParam)) return 0;
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (self) {
      ++self->paints;
      KXREG_Refresh(self->host_.get(), dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right,
                    ps.rcPaint.bottom);
    }
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void CTestHost::Record(const Callback& callback) {
  callbacks.push_back(callback);
  if (onCallback) onCallback(callback);
}

void KXREG_CALLBACK CTestHost::OnRegion(HWND window, int code) {
  if (CTestHost* self = FromWindow(window)) self->Record({Callback::Region, code});
}

void KXREG_CALLBACK CTestHost::OnInput(HWND window, int code) {
  if (CTestHost* self = FromWindow(window)) self->Record({Callback::Input, code});
}

void KXREG_CALLBACK CTestHost::OnPageErased(KXREG_SCREEN* screen) {
  for (auto& entry : Hosts())
    if (entry.second->screen_.get() == screen) {
      entry.second->Record({Callback::PageErased, 0});
      break;
    }
}
