// Handing a hard-copy region to the host: the screen command's H option
// ends here.
#include "surface/hard_copy_region.h"

#include "surface/graphics_context.h"
#include "surface/grdrv.h"
#include "surface/host_link.h"
#include "surface/wrap_arith.h"

bool IsWholeScreenHardCopy(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return x1 < 1 && y1 < 1 && x2 >= 799 && y2 >= 439;
}

CHardCopyCells HardCopyCells(int32_t pageWidth, int32_t pageHeight, int32_t cellWidth, int32_t cellHeight,
                             int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  CHardCopyCells cells;
  cells.firstColumn = DivWrap(ScaleToPage(pageWidth, x1, 800), cellWidth);
  cells.lastColumn = SubWrap(DivWrap(ScaleToPage(pageWidth, x2, 800), cellWidth), 1);
  cells.firstRow = DivWrap(ScaleToPage(pageHeight, y1, 480), cellHeight);
  cells.lastRow = SubWrap(DivWrap(ScaleToPage(pageHeight, y2, 480), cellHeight), 1);
  return cells;
}

void CGrDrv::MarkHardCopyRegion(int x1, int y1, int x2, int y2) {
  // The callback belongs to the host, which may tear this surface down from
  // it; only copies are used afterwards.
  const HWND target = window;
  const KXREG_RegionCallback callback = regionCallback;
  if (!IsWholeScreenHardCopy(x1, y1, x2, y2)) {
    if (KXREG_SCREEN* screen = ScreenOfWindow(target)) {
      const CHardCopyCells cells =
          HardCopyCells(pageWidth, pageHeight, cellWidth, cellHeight, x1, y1, x2, y2);
      screen->hardCopy[0] = cells.firstColumn;
      screen->hardCopy[1] = cells.firstRow;
      screen->hardCopy[2] = cells.lastColumn;
      screen->hardCopy[3] = cells.lastRow;
      screen->hardCopy[4] = 1;
    }
  }
  if (callback) callback(target, 1);
  if (KXREG_SCREEN* screen = ScreenOfWindow(target)) {
    for (int i = 0; i < 4; ++i) screen->hardCopy[i] = kHardCopyUnused;
  }
}

void CDrawContext::HardCopy(int x1, int y1, int x2, int y2) {
  if (!surface) return;
  // Printing reads the offset from the surface; it is handed over only now.
  surface->hardCopyOffsetX = hardCopyOffset.x;
  surface->hardCopyOffsetY = hardCopyOffset.y;
  surface->MarkHardCopyRegion(x1, y1, x2, y2);
}
