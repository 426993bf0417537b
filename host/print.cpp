// The host's print request: the output page onto the host's device context.
#include "host/instance.h"
#include "surface/grdrv.h"

extern "C" {

KXREG_API int KXREG_Print(KXREG_HOST* host, HDC printer, int width, int height, int fromRow, int toRow,
                          int fromCol, int toCol) {
  CGrDrv* surface = SurfaceOf(host);
  if (!surface || !ContextOf(host)) return 1;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  KXREG_OutCursor(host, 4);
  surface->PrintPage(StateOf(host), printer, width, height, fromRow, toRow, fromCol, toCol);
  KXREG_OutCursor(host, 8);
  SetCursor(previous);
  return 0;
}

}  // extern "C"
