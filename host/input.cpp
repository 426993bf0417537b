// Received ReGIS strings, the redraw from the journal (or from the host's
// recorded 4010 vectors) and the clearing of both.
#include "host/coordinates.h"
#include "host/instance.h"
#include "interp/interpreter.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "surface/host_link.h"

namespace {

// 4010 lines redrawn between two yields to the message loop.
constexpr size_t k4010Yield = 100;

// Redraws the host's 4010 picture from its recorded vectors. False when the
// instance went away or the user stopped it while messages were pumped.
bool Redraw4010Vectors(KXREG_HOST* host, CGrDrv* surface) {
  const CTekSpace space{surface->vectors.width, surface->vectors.height};
  // Indexes, not iterators: a message dispatched while yielding may add
  // lines or empty the list.
  size_t drawn = 0;
  for (size_t i = 0; i < surface->vectors.Entries().size(); ++i) {
    const C4010Vector v = surface->vectors.Entries()[i];
    CGraphicsState* state = StateOf(host);
    surface->hostPenWidth = static_cast<int>(v.pen & 0xFF);
    surface->hostPenStyle = static_cast<int>((v.pen >> 8) & 0xFF);
    const POINT from = TekToRegis(POINT{v.x1, v.y1}, space);
    const POINT to = TekToRegis(POINT{v.x2, v.y2}, space);
    state->x = to.x;
    state->y = to.y;
    surface->Draw4010Line(state, from.x, from.y, to.x, to.y, 0);
    if (++drawn % k4010Yield != 0) continue;
    if (!surface->RefreshWithMessages(state) || SurfaceOf(host) != surface || !StateOf(host)) return false;
  }
  if (drawn == 0) return true;
  return surface->RefreshWithMessages(StateOf(host)) && SurfaceOf(host) == surface;
}

}  // namespace

extern "C" {

KXREG_API int KXREG_HandleNextString(KXREG_HOST* host, const char* string) {
  if (!string || !InstanceComplete(host)) return 1;
  host->graphicsData = 1;
  KXREG_OutCursor(host, 4);
  const HWND pumpWindow = host->screen ? host->screen->pumpWindow : nullptr;
  if (TakeAbortRequest(SettingsFlagsOf(host))) return 1;
  CInterpreter* interpreter = InterpreterOf(host);
  if (interpreter->flags & kFlagReplaying) return 1;

  interpreter->HandleString(string);
  KXREG_OutCursor(host, 8);

  int quitCode = 0;
  switch (PumpMessages(pumpWindow, &quitCode)) {
    case PumpResult::Empty:
      return 0;
    case PumpResult::Quit:
      // The host's own message loop must still see the quit.
      PostQuitMessage(quitCode);
      return 1;
    case PumpResult::Lost:
    case PumpResult::Aborted:
    default:
      return 1;
  }
}

KXREG_API int KXREG_RefreshFromBuf(KXREG_HOST* host) {
  if (!InstanceComplete(host)) return 1;
  CGrDrv* surface = SurfaceOf(host);
  if (host->rows != surface->rows || host->columns != surface->columns ||
      host->cellWidth != surface->cellWidth || host->cellHeight != surface->cellHeight)
    return 1;
  CGraphicsState* state = StateOf(host);
  if (!state) return 1;
  const uint32_t cursorOn = state->flags & kOutputCursorOn;
  if (SettingOn(host, KXREG_SETTING_GRAPHICS_CURSOR)) KXREG_OutCursor(host, 1);

  if (!SettingOn(host, KXREG_SETTING_4010_MODE)) {
    CInterpreter* interpreter = InterpreterOf(host);
    const int suspended = surface->redrawSuspended;
    // Draw into the page only; the window gets one copy at the end.
    surface->redrawSuspended = 1;
    const int complete = interpreter->Replay();
    if (SurfaceOf(host) != surface || InterpreterOf(host) != interpreter) return 1;
    surface->redrawSuspended = suspended;
    if (!complete) return 1;
    surface->redrawSuspended = 0;
    surface->InvalidateWindow(TRUE);
    surface->redrawSuspended = suspended;
  } else if (!Redraw4010Vectors(host, surface)) {
    return 1;
  }

  state = StateOf(host);
  if (!state) return 1;
  state->flags = (state->flags & ~kOutputCursorOn) | cursorOn;
  if (SettingOn(host, KXREG_SETTING_GRAPHICS_CURSOR)) KXREG_OutCursor(host, 10);
  return 0;
}

KXREG_API int KXREG_ClearParserBuf(KXREG_HOST* host) {
  if (!SettingOn(host, KXREG_SETTING_4010_MODE)) {
    CInterpreter* interpreter = InterpreterOf(host);
    if (!interpreter) return 1;
    interpreter->journal.Clear();
    host->graphicsData = 0;
    return 0;
  }
  CGrDrv* surface = SurfaceOf(host);
  if (!surface) return 1;
  surface->vectors.Clear();
  return 0;
}

}  // extern "C"
