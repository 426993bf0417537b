// The display's palette model: the 256-entry system palette, logical
// palettes and their realization, and the resolution of a COLORREF to the
// pixel value it gets on a given bitmap.
#pragma once

#include <cstdint>

#include "platform/soft/objects.h"

namespace soft {

constexpr int kSystemPaletteSize = 256;
constexpr int kStaticColours = 20;  // 10 at each end of the system palette

PALETTEENTRY* SystemPalette();

// Bits per pixel of the display: 8 (the palette display, by default) or 32
// (true colour, where colours are stored as RGB and palettes only name them).
int DisplayBitsPerPixel();
void SetDisplayBitsPerPixel(int bpp);
void ResetSystemPalette();  // back to the static colours, the rest black

// The colour a pixel of the bitmap shows.
COLORREF PixelToColor(const BitmapObj& bmp, uint32_t pixel);

// The pixel value a colour reference draws with on the target of the DC.
// PALETTEINDEX goes through the DC's selected palette, an RGB value to the
// nearest static colour, PALETTERGB to the nearest entry of the palette.
uint32_t ColorToPixel(const DCObj& dc, const BitmapObj& target, COLORREF color);

// The plain RGB colour a colour reference stands for in the DC.
COLORREF ResolveColor(const DCObj& dc, COLORREF color);

// The pixel nearest to an RGB colour in a bitmap's own format.
uint32_t RgbToPixel(const BitmapObj& bmp, COLORREF rgb);

// Index of the least squared RGB distance among the system palette entries
// [first, last), lowest index on ties.
int NearestSystemIndex(COLORREF rgb, int first = 0, int last = kSystemPaletteSize);
int NearestStaticIndex(COLORREF rgb);

}  // namespace soft
