// The host's records as the surface and the interpreter reach them: through
// window long 0 of a window, which holds the host record, and from there the
// screen record and its settings. Any of them may be gone while messages are
// pumped.
#pragma once

#include "platform/win32.h"
#include "zizider/zizider.h"

KXREG_HOST* HostOfWindow(HWND window);
KXREG_SCREEN* ScreenOfWindow(HWND window);
// The settings flag word of the window's host, or nullptr.
uint32_t* SettingsFlagsOfWindow(HWND window);

// Clears and reports the host's abort request.
bool TakeAbortRequest(uint32_t* settingsFlags);

enum class PumpResult {
  Empty,    // the queue is empty
  Lost,     // the window's host record or screen record is gone
  Aborted,  // the host asked to abort (the request is consumed)
  Quit,     // a WM_QUIT was removed; quitCode holds its exit code
};

// When a removed WM_QUIT is noticed: after the host records and the abort
// bit were checked (the input pump and the timed delay), or before them (the
// refresh during a replay), so that a quit seen while the window is gone
// is still handed back.
enum class PumpOrder { ChecksFirst, QuitFirst };

// Removes and dispatches every queued message of the thread, checking the
// host records reached through the window before each one. On Quit the quit
// message is not re-posted: the caller decides. removed, when given, counts
// the messages taken off the queue (the quit included).
PumpResult PumpMessages(HWND window, int* quitCode, PumpOrder order = PumpOrder::ChecksFirst,
                        int* removed = nullptr);
