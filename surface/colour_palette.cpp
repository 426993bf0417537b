// The surface's logical palette: one animatable entry per colour-map entry,
// so that changing a map entry recolours everything already drawn with it.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "surface/colour_map.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"

namespace {

constexpr int kSystemFillEntries = 236;  // the free entries of a 256-colour display

PALETTEENTRY ReservedEntry(COLORREF rgb) {
  return PALETTEENTRY{GetRValue(rgb), GetGValue(rgb), GetBValue(rgb), PC_RESERVED};
}

// A palette description of count entries (the map itself, or the 236 that
// fill the system palette), all animatable.
std::vector<uint8_t> MapPaletteDescription(int count) {
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + static_cast<size_t>(count) * sizeof(PALETTEENTRY));
  auto* description = reinterpret_cast<LOGPALETTE*>(buffer.data());
  description->palVersion = 0x300;
  description->palNumEntries = static_cast<WORD>(count);
  const CColour* map = WorkingColourMap();
  PALETTEENTRY entries[kColourMapSize];
  for (int i = 0; i < kColourMapSize; ++i) entries[i] = ReservedEntry(ColourToRgb(map[i]));
  // The system-filling palette shows the map, then its entries over and over
  // up to entry 219, then the map once more; copied sixteen at a time.
  PALETTEENTRY* out = description->palPalEntry;
  const int cycled = std::min(count, kSystemFillEntries - kColourMapSize);
  for (int k = 0; k < cycled; k += kColourMapSize)
    std::copy_n(entries, std::min(kColourMapSize, cycled - k), out + k);
  std::copy_n(entries, count - cycled, out + cycled);
  return buffer;
}

}  // namespace

HPALETTE CGrDrv::CreateMapPalette(CGraphicsState* /*state*/) {
  HDC windowDC = GetDC(window);

  // A full-size palette realized once fills the free system entries with the
  // map's colours, so that other applications' colours do not linger there.
  std::vector<uint8_t> fill = MapPaletteDescription(kSystemFillEntries);
  if (HPALETTE filler = CreatePalette(reinterpret_cast<const LOGPALETTE*>(fill.data()))) {
    if (windowDC) {
      HPALETTE old = SelectPalette(windowDC, filler, FALSE);
      RealizePalette(windowDC);
      SelectPalette(windowDC, old, FALSE);
    }
    DeleteObject(filler);
  }

  std::vector<uint8_t> map = MapPaletteDescription(kColourMapSize);
  HPALETTE created = CreatePalette(reinterpret_cast<const LOGPALETTE*>(map.data()));
  HPALETTE replaced = palette;
  palette = created;
  if (created) {
    for (HDC dc : pageDC) {
      if (dc) SelectPalette(dc, created, FALSE);
    }
    if (windowDC) {
      HPALETTE old = SelectPalette(windowDC, created, FALSE);
      RealizePalette(windowDC);
      SelectPalette(windowDC, old, FALSE);
    }
  }
  // A palette built again at reset takes the place of the old one, which is
  // no longer selected anywhere.
  if (replaced && replaced != created) DeleteObject(replaced);
  if (windowDC) ReleaseDC(window, windowDC);
  return created;
}

void CGrDrv::SetBackgroundEntry(COLORREF colour) {
  HDC windowDC = GetDC(window);
  const COLORREF c = windowDC ? NearestStaticColour(windowDC, colour) : colour;
  if (palette) {
    HPALETTE old = windowDC ? SelectPalette(windowDC, palette, FALSE) : nullptr;
    const PALETTEENTRY entry = ReservedEntry(c);
    AnimatePalette(palette, 0, 1, &entry);
    if (windowDC && old) SelectPalette(windowDC, old, FALSE);
  }
  if (windowDC) ReleaseDC(window, windowDC);
  WorkingColourMap()[0] = RgbToColour(c);
}

void CGrDrv::SetMapEntry(int index) {
  if (index < 0 || index >= kColourMapSize) return;
  const PALETTEENTRY entry = ReservedEntry(ColourToRgb(WorkingColourMap()[index]));
  redrawSuspended = 0;
  InvalidateWindow(FALSE);
  redrawSuspended = 1;
  if (!palette) return;
  HDC windowDC = GetDC(window);
  HPALETTE old = windowDC ? SelectPalette(windowDC, palette, FALSE) : nullptr;
  AnimatePalette(palette, static_cast<UINT>(index), 1, &entry);
  if (windowDC) {
    if (old) SelectPalette(windowDC, old, FALSE);
    ReleaseDC(window, windowDC);
  }
}

void CGrDrv::SetUpForeground(CGraphicsState* state) {
  if (palette) {
    HDC windowDC = GetDC(window);
    HPALETTE old = windowDC ? SelectPalette(windowDC, palette, FALSE) : nullptr;
    const UINT nearest = GetNearestPaletteIndex(palette, foregroundColour);
    if (nearest < static_cast<UINT>(kColourMapSize)) {
      const PALETTEENTRY entry = ReservedEntry(foregroundColour);
      AnimatePalette(palette, nearest, 1, &entry);
    }
    if (windowDC) {
      if (old) SelectPalette(windowDC, old, FALSE);
      ReleaseDC(window, windowDC);
    }
  }
  if (state && state->permanent) {
    state->permanent->foreground = NearestMapIndex(ComponentToPercent(GetRValue(foregroundColour)),
                                                   ComponentToPercent(GetGValue(foregroundColour)),
                                                   ComponentToPercent(GetBValue(foregroundColour)));
  }
}
