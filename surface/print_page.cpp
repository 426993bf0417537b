// CGrDrv::PrintPage: the output page, through a packed bitmap with the
// instance's colours, stretched onto the host's device context.
#include <cstdint>

#include "surface/bitmap_to_dib.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/print_layout.h"

void CGrDrv::PrintPage(CGraphicsState* state, HDC target, int width, int height, int fromRow, int toRow,
                       int fromCol, int toCol) {
  if (!state) return;
  const int slot = OutputSlot(state);
  HDC dc = pageDC[slot];
  HBITMAP bitmap = pageBitmap[slot];
  if (!dc || !palette || !bitmap) return;
  HPALETTE previous = SelectPalette(dc, palette, FALSE);

  const CPrintPageGeometry page{rows, cellWidth, cellHeight, pageWidth, pageHeight};
  const CPrintRows printed = PrintRows(rows, fromRow, toRow);
  const CPrintRect source = PrintSource(page, printed, fromCol, toCol);
  // The whole page goes into the packed bitmap, whatever part is printed.
  HGLOBAL dib = source.w != 0 && source.h != 0 ? BitmapToDib(bitmap, palette) : nullptr;
  if (dib) {
    const CPrintRect d =
        PrintDestination(page, printed, source, toCol, width, height, hardCopyOffsetX, hardCopyOffsetY);
    if (auto* info = static_cast<BITMAPINFO*>(GlobalLock(dib))) {
      const uint8_t* bits = reinterpret_cast<const uint8_t*>(info) + info->bmiHeader.biSize +
                            DibColourCount(info->bmiHeader) * sizeof(RGBQUAD);
      StretchDIBits(target, d.x, d.y, d.w, d.h, source.x, source.y, source.w, source.h, bits, info,
                    DIB_RGB_COLORS, SRCCOPY);
      GlobalUnlock(dib);
    }
    // The offset belongs to the hard copy that set it.
    hardCopyOffsetX = 0;
    hardCopyOffsetY = 0;
    GlobalFree(dib);
  }
  if (previous) SelectPalette(dc, previous, FALSE);
}
