// Small exports that read (or, for the smoothing flag, replace) one field.
#include "host/instance.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

extern "C" {

KXREG_API HDC KXREG_GetMemDC(KXREG_HOST* host, int page) {
  const CGrDrv* surface = SurfaceOf(host);
  if (!surface) return nullptr;
  return surface->pageDC[page == 1 ? 0 : 1];
}

KXREG_API HPALETTE KXREG_GetPalette(KXREG_HOST* host) {
  const CGrDrv* surface = SurfaceOf(host);
  return surface ? surface->palette : nullptr;
}

KXREG_API int KXREG_GetCurPageNum(KXREG_HOST* host) {
  const CGraphicsState* state = StateOf(host);
  if (!SurfaceOf(host) || !state) return -1;
  return state->outputPage + 1;
}

KXREG_API int KXREG_DrawInitialText(KXREG_HOST* host) {
  const CGrDrv* surface = SurfaceOf(host);
  return surface && surface->initialText ? 1 : 0;
}

KXREG_API int KXREG_SetSmooth(KXREG_HOST* host, int smooth) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface) return 1;
  const int previous = surface->smooth;
  surface->smooth = smooth;
  return previous;
}

}  // extern "C"
