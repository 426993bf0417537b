// The per-window drawing objects, wired to each other and to the surface.
#include "surface/graphics_context.h"

CGraphicsContext::CGraphicsContext(CGrDrv* surface_)
    : surface(surface_), state(&graphicsState), text(&textCtx) {
  graphicsState.permanent = &permanent_;
  graphicsState.active = &active_;
  graphicsState.surface = surface_;
  permanent_.surface = surface_;
  active_.surface = surface_;
  draw.surface = surface_;
  draw.state = &graphicsState;
  draw.text = &textCtx;
}
