// The operations through which command parsers reach the surface.
#include "surface/graphics_context.h"
#include "surface/grdrv.h"

void CDrawContext::Line(int x1, int y1, int x2, int y2) {
  if (surface && state) surface->DrawVector(state, x1, y1, x2, y2);
}

void CDrawContext::UpdateCursor() {
  if (surface && state) surface->UpdateGraphicsCaret(state);
}

void CDrawContext::BeginFill() {
  if (surface) surface->BeginFill(state);
}

void CDrawContext::EndFill() {
  if (!surface) return;
  surface->FillPolygon(state);
  surface->DiscardFill();
}

void CDrawContext::DiscardFill() {
  if (surface) surface->DiscardFill();
}
