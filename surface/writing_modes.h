// Writing modes and patterns: the pen style of a line pattern, the shading
// brushes, and the two compositions that put overlay shading and partial
// plane masks onto a page.
#pragma once

#include <array>
#include <cstdint>

#include "platform/win32.h"
#include "surface/write_controls.h"

constexpr int kStandardPatterns = 10;

// The standard line patterns, first pixel in the most significant bit.
extern const std::array<uint8_t, kStandardPatterns> kLinePatternBits;

// The rows of the shading brushes, one 32-byte entry per standard pattern:
// eight little-endian words, word r 0xFF when bit r of the pattern (from the
// most significant) is set. Handed unchanged to CreateBitmap(8, 8, 1, 1).
using CBrushRows = std::array<uint8_t, 32>;
extern const std::array<CBrushRows, kStandardPatterns> kPatternBrushBits;

// The cosmetic pen style lines of a pattern are drawn with; any index
// outside the standard ones draws solid.
int PenStyleForPattern(int pattern);

// The brush that fills shaded areas, for the caller to delete: the null
// stock brush when shading is off and nothing forces a fill, else the
// shading character's glyph, the pattern's rows or a solid colour.
HBRUSH MakeFillBrush(HDC dc, const CShading& shading, int pattern, COLORREF colour, int force);

// Overlay composition: inside rect (page pixels; the whole page when null)
// the page goes back to the saved picture except where the primitive left a
// pixel in colour. savedOrigin is the page pixel at the saved bitmap's (0, 0)
// when only part of the page was saved.
void MergeOverlay(HDC pageDC, HDC savedDC, int width, int height, COLORREF colour, const RECT* rect = nullptr,
                  POINT savedOrigin = POINT{0, 0});

// Plane-mask composition: inside rect (page pixels; the whole page when
// null) every pixel the primitive set to colour takes the saved pixel's
// index with the masked planes replaced by colour's.
void MergePlanes(HDC pageDC, HDC savedDC, int width, int height, const RECT* rect, COLORREF colour,
                 uint8_t planeMask, HPALETTE palette, POINT savedOrigin = POINT{0, 0});
