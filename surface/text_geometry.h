// The integer geometry of drawn characters: advances, font escapements, the
// glyph bitmap and its origin, the page rectangle a glyph is stretched to
// and the line-feed step, for each of the eight directions.
#pragma once

#include <cstdint>

#include "surface/text_state.h"

struct CGlyphBox {
  int32_t width = 0, height = 0;
};

// A page rectangle: origin and extent in pixels.
struct CGlyphRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// A direction in degrees truncated to a multiple of 45 in 0..315; 360
// (and anything out of range) counts as the equivalent angle.
int32_t DirectionStep(int32_t degrees);

// How the position moves after a character drawn with string direction t.
CPoint32 CharAdvance(const CTextState& text, int32_t t);

// The font escapement, tenths of a degree, for character direction d.
int32_t GlyphEscapement(int32_t uw, int32_t uh, int32_t d);

// The glyph box of the font: 8 x 11 for the unit width 8, else 16 x 22.
CGlyphBox BaseGlyphBox(int32_t uw);
// The monochrome bitmap a glyph of direction d is made in.
CGlyphBox GlyphBitmapSize(CGlyphBox base, int32_t d);
// Where a turned glyph's cell starts inside its bitmap (d not 0).
CPoint32 GlyphOrigin(CGlyphBox base, int32_t d);

// The page extent of a character cell before it is turned, on a W x H page.
CGlyphRect DestinationSize(int32_t pageWidth, int32_t pageHeight, const CTextState& text);
// Moves and resizes the destination of a glyph of direction d.
void AdjustDestination(int32_t d, CGlyphRect& r);

// The ReGIS step of one line feed with character direction d.
CPoint32 LineStep(int32_t pageWidth, int32_t pageHeight, const CTextState& text, int32_t d);
// Where a line feed moves the position and line start, for string
// direction t and the line step.
CPoint32 LineFeedOffset(int32_t t, CPoint32 step);
