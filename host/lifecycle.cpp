// Creating, resetting and deleting the three per-window objects.
#include <memory>
#include <new>

#include "host/display_window.h"
#include "host/instance.h"
#include "host/mouse_cursor.h"
#include "interp/interpreter.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"

namespace {

template <class T, class... Args>
std::unique_ptr<T> TryMake(Args&&... args) {
  try {
    return std::unique_ptr<T>(new T(std::forward<Args>(args)...));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// Pages sized to the host's text grid; page 2 only when the state has two.
void SetUpPages(KXREG_HOST* host, CGrDrv& surface, const CGraphicsState& state) {
  surface.SetTermParm(host->window, host->rows, host->columns, host->cellWidth, host->cellHeight, 1);
  if (state.pages > 1)
    surface.SetTermParm(host->window, host->rows, host->columns, host->cellWidth, host->cellHeight, 2);
  surface.window = host->window;
}

// The palette from the working colour map with the host's colours exact.
void SetUpColours(CGrDrv& surface, CGraphicsState* state) {
  HPALETTE palette = surface.CreateMapPalette(state);
  if (palette) surface.palette = palette;
  surface.SetBackgroundEntry(surface.backgroundColour);
  surface.SetUpForeground(state);
}

void ReleasePages(CGrDrv& surface, const CGraphicsState* state) {
  surface.ReleasePage(1);
  if (state && state->pages > 1) surface.ReleasePage(2);
}

}  // namespace

extern "C" {

KXREG_API int KXREG_Init(KXREG_HOST* host, COLORREF foreground, COLORREF background, int mode) {
  if (!host) return 1;
  const bool keepExisting = mode == 0 || mode == 2;
  if (SurfaceOf(host)) {
    if (keepExisting) return 0;
    // A new set replaces the old one; the old objects must not outlive it.
    KXREG_Erase(host);
  }
  if (!AdoptDisplayWindow(host)) return 1;

  std::unique_ptr<CGrDrv> surface = TryMake<CGrDrv>();
  std::unique_ptr<CGraphicsContext> context = surface ? TryMake<CGraphicsContext>(surface.get()) : nullptr;
  std::unique_ptr<CInterpreter> interpreter = context ? TryMake<CInterpreter>(context.get()) : nullptr;
  if (!interpreter) {
    ReleaseDisplayWindow(host);
    return 1;
  }
  surface->foregroundColour = foreground;
  surface->backgroundColour = background;

  CGrDrv& drv = *surface;
  CGraphicsState* state = context->state;
  host->grDrv = surface.release();
  host->context = context.release();
  host->interpreter = interpreter.release();

  SetUpPages(host, drv, *state);
  drv.regionCallback = host->regionCallback;
  drv.inputCallback = host->inputCallback;
  drv.pageErasedCallback = host->pageErasedCallback;
  if (mode == 1 || mode == 3) ResetColourMap();
  SetUpColours(drv, state);
  state->flags |= kOutputCursorOn;
  drv.EraseAllPages(state);
  InstallRegisCursor(drv);
  if (uint32_t* settings = SettingsFlagsOf(host)) *settings &= ~KXREG_SETTING_ABORT;
  return 0;
}

KXREG_API int KXREG_Reset(KXREG_HOST* host, COLORREF foreground, COLORREF background, int /*reserved*/,
                          int /*ignored*/) {
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !ContextOf(host) || !state) return 1;
  surface->foregroundColour = foreground;
  surface->backgroundColour = background;
  const uint32_t cursorOn = state->flags & kOutputCursorOn;
  KXREG_OutCursor(host, 1);
  ReleasePages(*surface, state);
  if (surface->palette) {
    DeleteObject(surface->palette);
    surface->palette = nullptr;
  }
  ResizeDisplayWindow(host);
  SetUpPages(host, *surface, *state);
  SetUpColours(*surface, state);
  surface->EraseAllPages(state);
  state->flags = (state->flags & ~kOutputCursorOn) | cursorOn;
  KXREG_OutCursor(host, 2);
  return 0;
}

KXREG_API int KXREG_Erase(KXREG_HOST* host) {
  if (!host) return 0;
  // Slots are cleared before the objects go, so that a message dispatched
  // while they are torn down finds no half-deleted instance.
  std::unique_ptr<CInterpreter> interpreter(host->interpreter);
  std::unique_ptr<CGraphicsContext> context(host->context);
  std::unique_ptr<CGrDrv> surface(host->grDrv);
  host->interpreter = nullptr;
  host->context = nullptr;
  host->grDrv = nullptr;

  interpreter.reset();
  if (context) {
    if (surface) {
      surface->HideGraphicsCaret();
      surface->DestroyGraphicsCaret();
      ReleasePages(*surface, context->state);
    }
    context.reset();
  }
  if (surface) {
    RemoveRegisCursor(*surface);
    surface.reset();
  }
  ReleaseDisplayWindow(host);
  return 0;
}

KXREG_API int KXREG_ClearPage(KXREG_HOST* host) {
  CGrDrv* surface = SurfaceOf(host);
  CGraphicsState* state = StateOf(host);
  if (!surface || !ContextOf(host) || !state) return 1;
  const int suspended = surface->redrawSuspended;
  surface->redrawSuspended = 0;
  surface->ClearScreenPage(state, 1);
  // The host's page-erased callback may have torn the instance down.
  surface = SurfaceOf(host);
  if (!surface) return 0;
  surface->redrawSuspended = suspended;
  surface->vectors.Clear();
  KXREG_ClearParserBuf(host);
  return 0;
}

}  // extern "C"
