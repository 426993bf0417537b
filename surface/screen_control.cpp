// The draw-context operations of the screen command that act on the whole
// screen: scrolling, erasing and waiting.
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

void CDrawContext::ScrollToPosition(int x, int y) {
  if (!surface || !state) return;
  surface->ScrollPage(state, SubWrap(state->x, x), SubWrap(state->y, y));
}

void CDrawContext::EraseScreen() {
  if (!surface) return;
  // An erase must reach the page even while the host suspends redraws.
  surface->redrawSuspended = 0;
  surface->ClearScreenPage(state, 1);
  surface->redrawSuspended = 1;
}

int CDrawContext::TimedDelay(uint32_t ticks) {
  if (!surface) return 1;
  // The user must see what was drawn before the pause.
  surface->redrawSuspended = 0;
  surface->InvalidateWindow(FALSE);
  surface->redrawSuspended = 1;
  surface->HideGraphicsCaret();
  if (!surface->Delay(ticks)) return 0;
  if (surface->caretCreated) surface->ShowGraphicsCaret(state);
  return 1;
}
