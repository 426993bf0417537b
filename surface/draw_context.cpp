// The operations through which command parsers reach the surface.
#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

void CDrawContext::Line(int x1, int y1, int x2, int y2) {
  if (surface && state) surface->DrawVector(state, x1, y1, x2, y2);
}

void CDrawContext::DrawChar(char ch) {
  if (surface && state) surface->DrawTextChar(state, text, ch);
}

void CDrawContext::Circle(int x1, int y1, int x2, int y2) {
  if (surface && state) surface->DrawCircle(state, x1, y1, x2, y2);
}

void CDrawContext::Arc(int x1, int y1, int x2, int y2, int angle, int negative, int move) {
  if (!surface || !state || !state->active || angle == 0) return;
  if (negative) angle = SubWrap(0, angle);
  const POINT end = (state->active->shading.flags & kShadingOn)
                        ? surface->DrawShadedArc(state, x1, y1, x2, y2, angle)
                        : surface->DrawArc(state, x1, y1, x2, y2, angle);
  if (!move) return;
  state->x = end.x;
  state->y = end.y;
  UpdateCursor();
}

void CDrawContext::Curve(CCurvePointList* list, int closed) {
  if (surface && state) surface->DrawCurve(state, list, closed);
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
