#include "host/splash.h"

#include "host/instance.h"
#include "zizider/zizider.h"

namespace {

constexpr char kSplashClass[] = "SplashScr";
constexpr char kSplashBitmap[] = "SplashScrBmp";

// One splash per process.
HWND g_window = nullptr;
HBITMAP g_bitmap = nullptr;
int g_width = 0, g_height = 0;
int g_left = 0, g_top = 0;

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc && g_bitmap) {
    HDC memory = CreateCompatibleDC(dc);
    if (memory) {
      HGDIOBJ previous = SelectObject(memory, g_bitmap);
      BitBlt(dc, 0, 0, g_width, g_height, memory, 0, 0, SRCCOPY);
      SelectObject(memory, previous);
      DeleteDC(memory);
    }
  }
  EndPaint(window, &ps);
  return 0;
}

}  // namespace

POINT SplashPosition(int screenWidth, int screenHeight, int width, int height) {
  return POINT{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

void CreateSplash() {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const HINSTANCE module = ModuleInstance();

  WNDCLASSA wc{};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = SplashProc;
  wc.hInstance = module;
  wc.lpszClassName = kSplashClass;
  if (!RegisterClassA(&wc)) return;

  g_bitmap = LoadBitmapA(module, kSplashBitmap);
  if (!g_bitmap) return;
  BITMAP bm{};
  GetObjectA(g_bitmap, sizeof(bm), &bm);
  g_width = bm.bmWidth;
  g_height = bm.bmHeight;
  const POINT at = SplashPosition(screenWidth, screenHeight, g_width, g_height);
  g_left = at.x;
  g_top = at.y;

  // The bitmap stays loaded when the window cannot be made; the host's
  // KXREG_DeleteSplash frees it.
  g_window = CreateWindowExA(0, kSplashClass, "", WS_POPUP | WS_VISIBLE, g_left, g_top, g_width, g_height,
                             nullptr, nullptr, module, nullptr);
  if (!g_window) return;
  ShowWindow(g_window, SW_SHOWNORMAL);
  UpdateWindow(g_window);
  SetWindowPos(g_window, HWND_TOPMOST, g_left, g_top, g_width, g_height, 0);
}

HWND SplashWindow() {
  return g_window;
}

extern "C" {

KXREG_API void KXREG_DeleteSplash(void) {
  if (g_window) DestroyWindow(g_window);
  if (g_bitmap) DeleteObject(g_bitmap);
  g_window = nullptr;
  g_bitmap = nullptr;
}

}  // extern "C"
