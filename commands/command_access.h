// How command parsers reach the drawing state of their window: the graphics
// state for the current position and the writing controls, the draw context
// for everything that changes the surface. Every accessor tolerates an
// interpreter without a context, which then draws and moves nothing.
#pragma once

#include "interp/interpreter.h"
#include "surface/graphics_context.h"
#include "surface/text_state.h"

inline CGraphicsState* GraphicsStateOf(CInterpreter& interp) {
  return interp.context ? interp.context->state : nullptr;
}

inline CDrawContext* DrawContextOf(CInterpreter& interp) {
  return interp.context ? &interp.context->draw : nullptr;
}

inline CWriteControls* ActiveControlsOf(CInterpreter& interp) {
  CGraphicsState* state = GraphicsStateOf(interp);
  return state ? state->active : nullptr;
}

inline CPoint32 CurrentPositionOf(CInterpreter& interp) {
  CGraphicsState* state = GraphicsStateOf(interp);
  return state ? CPoint32{state->x, state->y} : CPoint32{};
}

// The pixel-vector multiplier of the active writing controls.
inline int ActiveMultiplierOf(CInterpreter& interp) {
  CWriteControls* active = ActiveControlsOf(interp);
  return active ? active->pixelMultiplier : 1;
}

// The current position becomes the point and the graphics cursor follows.
inline void MoveCurrentPosition(CInterpreter& interp, CPoint32 point) {
  CGraphicsState* state = GraphicsStateOf(interp);
  if (!state) return;
  state->x = point.x;
  state->y = point.y;
  if (CDrawContext* draw = DrawContextOf(interp)) draw->UpdateCursor();
}

inline void DrawLine(CInterpreter& interp, CPoint32 from, CPoint32 to) {
  if (CDrawContext* draw = DrawContextOf(interp)) draw->Line(from.x, from.y, to.x, to.y);
}
