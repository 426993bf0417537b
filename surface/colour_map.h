// The process-wide ReGIS colour map (16 colours in percent RGB), its
// defaults, the standard colours of the colour letters, DEC-style HLS
// conversion and the nearest-entry search.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct CColour {
  int32_t red = 0, green = 0, blue = 0;  // percent
};

constexpr int kColourMapSize = 16;

extern const CColour kDefaultColourMap[kColourMapSize];
extern const CColour kStandardColours[kColourMapSize];

// The working map, shared by every instance of the process.
CColour* WorkingColourMap();
void ResetColourMap();

// The standard-colour index of a colour letter (D B R G M C Y W), -1 for others.
int ColourLetterIndex(char letter);

int32_t PercentToComponent(int32_t percent);  // (percent * 255) / 100, low 8 bits
int32_t ComponentToPercent(uint32_t component);
COLORREF ColourToRgb(const CColour& c);
CColour RgbToColour(COLORREF rgb);

float HueValue(float m1, float m2, float hue);
CColour HlsToRgb(int hue, int lightness, int saturation);

// Index 0..15 of the working-map entry nearest to a colour in percent.
int NearestMapIndex(int red, int green, int blue);

// The static colour of a palette display nearest to a colour; the colour
// itself on other displays.
COLORREF NearestStaticColour(HDC windowDC, COLORREF colour);
