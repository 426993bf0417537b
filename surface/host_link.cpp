// The way from a window to the host's records, and the message pump that
// every long operation of the library runs while it waits.
#include "surface/host_link.h"

KXREG_HOST* HostOfWindow(HWND window) {
  if (!window) return nullptr;
  return reinterpret_cast<KXREG_HOST*>(GetWindowLongPtrA(window, 0));
}

KXREG_SCREEN* ScreenOfWindow(HWND window) {
  KXREG_HOST* host = HostOfWindow(window);
  return host ? host->screen : nullptr;
}

uint32_t* SettingsFlagsOfWindow(HWND window) {
  KXREG_SCREEN* screen = ScreenOfWindow(window);
  if (!screen || !screen->settings) return nullptr;
  return &screen->settings->flags;
}

bool TakeAbortRequest(uint32_t* settingsFlags) {
  if (!settingsFlags || !(*settingsFlags & KXREG_SETTING_ABORT)) return false;
  *settingsFlags &= ~KXREG_SETTING_ABORT;
  return true;
}

PumpResult PumpMessages(HWND window, int* quitCode, PumpOrder order, int* removed) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (removed) ++*removed;
    const bool quit = msg.message == WM_QUIT;
    if (quit && order == PumpOrder::QuitFirst) {
      if (quitCode) *quitCode = static_cast<int>(msg.wParam);
      return PumpResult::Quit;
    }
    // The host may have torn the window down from a message dispatched just
    // before; nothing it owned may be touched then.
    if (!HostOfWindow(window) || !ScreenOfWindow(window)) return PumpResult::Lost;
    if (TakeAbortRequest(SettingsFlagsOfWindow(window))) return PumpResult::Aborted;
    if (quit) {
      if (quitCode) *quitCode = static_cast<int>(msg.wParam);
      return PumpResult::Quit;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return PumpResult::Empty;
}
