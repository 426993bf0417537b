#include "host/mouse_cursor.h"

#include "host/instance.h"
#include "surface/grdrv.h"

namespace {

void SetClassCursor(HWND window, HCURSOR cursor) {
#if defined(_WIN32) && !defined(_WIN64)
  SetClassLongA(window, GCL_HCURSOR, reinterpret_cast<LONG>(cursor));
#else
  SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
#endif
}

}  // namespace

void InstallRegisCursor(CGrDrv& surface) {
  if (!surface.mouseCursor) surface.mouseCursor = LoadCursorA(ModuleInstance(), "ReGisCursor");
  SetClassCursor(surface.window, surface.mouseCursor);
  SetCursor(surface.mouseCursor);
}

void RemoveRegisCursor(CGrDrv& surface) {
  if (!surface.mouseCursor) return;
  HCURSOR ibeam = LoadCursorA(nullptr, IDC_IBEAM);
  SetClassCursor(surface.window, ibeam);
  SetCursor(ibeam);
  DestroyCursor(surface.mouseCursor);
  surface.mouseCursor = nullptr;
}
