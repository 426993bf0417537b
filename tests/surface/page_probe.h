// Reading and preparing page pixels in ReGIS colour indices, for the tests
// of the writing modes and the line primitives.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "surface_window.h"

namespace surface_test {

// The stored pixel value that ReGIS colour index i draws on a page.
inline uint32_t StoredIndex(SurfaceWindow& w, int i) {
  HDC dc = CreateCompatibleDC(w.surface->pageDC[0]);
  HBITMAP bitmap = CreateCompatibleBitmap(w.surface->pageDC[0], 1, 1);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HPALETTE oldPalette = SelectPalette(dc, w.surface->palette, FALSE);
  SetPixel(dc, 0, 0, PALETTEINDEX(i));
  const uint32_t stored = soft::inspect::ReadBitmap(bitmap).At(0, 0);
  SelectPalette(dc, oldPalette, FALSE);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return stored;
}

// The ReGIS index a page pixel holds, -1 for a value no index draws.
inline int RegisIndexAt(SurfaceWindow& w, int page, int x, int y) {
  const uint32_t stored = w.PageIndex(page, x, y);
  for (int i = 0; i < 16; ++i) {
    if (StoredIndex(w, i) == stored) return i;
  }
  return -1;
}

// Paints a page rectangle in ReGIS colour index i.
inline void PaintIndex(SurfaceWindow& w, int i, RECT r, int page = 1) {
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(i));
  FillRect(w.surface->pageDC[page - 1], &r, brush);
  DeleteObject(brush);
}

// The ReGIS indices along a page row from x0 (inclusive) to x1 (exclusive).
inline std::vector<int> RowIndices(SurfaceWindow& w, int y, int x0, int x1, int page = 1) {
  const soft::inspect::Image img = soft::inspect::ReadBitmap(w.surface->pageBitmap[page - 1]);
  uint32_t stored[16];
  for (int i = 0; i < 16; ++i) stored[i] = StoredIndex(w, i);
  std::vector<int> row;
  for (int x = x0; x < x1; ++x) {
    int found = -1;
    for (int i = 0; i < 16 && found < 0; ++i) {
      if (stored[i] == img.At(x, y)) found = i;
    }
    row.push_back(found);
  }
  return row;
}

}  // namespace surface_test
