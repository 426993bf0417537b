// The process-wide colour map and the colour arithmetic of ReGIS: percent
// components, DEC-style HLS (hue 0 blue, 120 red, 240 green) and the
// searches for the nearest map entry and the nearest static colour.
#include "surface/colour_map.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "surface/wrap_arith.h"

const CColour kDefaultColourMap[kColourMapSize] = {
    {0, 0, 0},    {20, 20, 80}, {80, 13, 13}, {20, 80, 20}, {80, 20, 80}, {20, 80, 80},
    {80, 80, 20}, {53, 53, 53}, {26, 26, 26}, {33, 33, 60}, {60, 26, 26}, {33, 60, 33},
    {60, 33, 60}, {33, 60, 60}, {60, 60, 33}, {80, 80, 80},
};

const CColour kStandardColours[kColourMapSize] = {
    {0, 0, 0},    {20, 20, 80}, {80, 13, 13}, {20, 80, 20}, {80, 20, 80}, {20, 80, 80},
    {80, 80, 20}, {53, 53, 53}, {26, 26, 26}, {33, 33, 60}, {60, 26, 26}, {33, 60, 33},
    {60, 33, 60}, {33, 60, 60}, {60, 60, 33}, {80, 80, 80},
};

namespace {

struct WorkingMap {
  CColour entries[kColourMapSize];
  WorkingMap() {
    for (int i = 0; i < kColourMapSize; ++i) entries[i] = kDefaultColourMap[i];
  }
};

WorkingMap& TheWorkingMap() {
  static WorkingMap map;
  return map;
}

// pct(v) of the HLS conversion: v x 100 + 1, truncated toward zero, at most
// 100. Values no int can hold (huge lightness or saturation) saturate
// instead of converting out of range.
int32_t PercentOfComponent(float v) {
  const float scaled = v * 100.0f + 1.0f;
  if (std::isnan(scaled)) return 0;
  if (scaled >= 101.0f) return 100;
  if (scaled <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(scaled);
}

// A logical palette description of the given colours, without flags.
std::vector<uint8_t> PaletteDescription(const CColour* colours, int count) {
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + static_cast<size_t>(count) * sizeof(PALETTEENTRY));
  auto* description = reinterpret_cast<LOGPALETTE*>(buffer.data());
  description->palVersion = 0x300;
  description->palNumEntries = static_cast<WORD>(count);
  for (int i = 0; i < count; ++i) {
    PALETTEENTRY& e = description->palPalEntry[i];
    e.peRed = static_cast<BYTE>(PercentToComponent(colours[i].red));
    e.peGreen = static_cast<BYTE>(PercentToComponent(colours[i].green));
    e.peBlue = static_cast<BYTE>(PercentToComponent(colours[i].blue));
    e.peFlags = 0;
  }
  return buffer;
}

}  // namespace

CColour* WorkingColourMap() {
  return TheWorkingMap().entries;
}

void ResetColourMap() {
  for (int i = 0; i < kColourMapSize; ++i) WorkingColourMap()[i] = kDefaultColourMap[i];
}

int ColourLetterIndex(char letter) {
  switch (letter) {
    case 'D':
      return 0;
    case 'B':
      return 1;
    case 'R':
      return 2;
    case 'G':
      return 3;
    case 'M':
      return 4;
    case 'C':
      return 5;
    case 'Y':
      return 6;
    case 'W':
      return 15;
    default:
      return -1;
  }
}

int32_t PercentToComponent(int32_t percent) {
  return DivWrap(MulWrap(percent, 255), 100) & 0xFF;
}

int32_t ComponentToPercent(uint32_t component) {
  return static_cast<int32_t>((component * 100u) / 255u);
}

COLORREF ColourToRgb(const CColour& c) {
  return RGB(PercentToComponent(c.red), PercentToComponent(c.green), PercentToComponent(c.blue));
}

CColour RgbToColour(COLORREF rgb) {
  return CColour{ComponentToPercent(GetRValue(rgb)), ComponentToPercent(GetGValue(rgb)),
                 ComponentToPercent(GetBValue(rgb))};
}

float HueValue(float m1, float m2, float hue) {
  if (hue > 360.0f) hue -= 360.0f;
  if (hue < 0.0f) hue += 360.0f;
  if (hue < 60.0f) return m1 + (m2 - m1) * hue / 60.0f;
  if (hue < 180.0f) return m2;
  if (hue < 240.0f) return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
  return m1;
}

CColour HlsToRgb(int hue, int lightness, int saturation) {
  const float h = static_cast<float>(hue);
  const float l = static_cast<float>(lightness) / 100.0f;
  const float s = static_cast<float>(saturation) / 100.0f;
  const float m2 = l > 0.5f ? s + l - s * l : (s + 1.0f) * l;
  const float m1 = 2.0f * l - m2;
  if (s == 0.0f) return CColour{lightness, lightness, lightness};
  return CColour{PercentOfComponent(HueValue(m1, m2, h)), PercentOfComponent(HueValue(m1, m2, h - 120.0f)),
                 PercentOfComponent(HueValue(m1, m2, h + 120.0f))};
}

int NearestMapIndex(int red, int green, int blue) {
  std::vector<uint8_t> description = PaletteDescription(WorkingColourMap(), kColourMapSize);
  HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(description.data()));
  if (!palette) return 0;
  const UINT index = GetNearestPaletteIndex(
      palette, RGB(PercentToComponent(red), PercentToComponent(green), PercentToComponent(blue)));
  DeleteObject(palette);
  return index < static_cast<UINT>(kColourMapSize) ? static_cast<int>(index) : 0;
}

COLORREF NearestStaticColour(HDC windowDC, COLORREF colour) {
  if (!(GetDeviceCaps(windowDC, RASTERCAPS) & RC_PALETTE)) return colour;
  const int size = GetDeviceCaps(windowDC, SIZEPALETTE);
  if (size < 20) return colour;
  PALETTEENTRY statics[20] = {};
  GetSystemPaletteEntries(windowDC, 0, 10, statics);
  GetSystemPaletteEntries(windowDC, static_cast<UINT>(size - 10), 10, statics + 10);
  int32_t best = 200000;
  COLORREF result = colour;
  for (const PALETTEENTRY& e : statics) {
    const int32_t dr = e.peRed - static_cast<int32_t>(GetRValue(colour));
    const int32_t dg = e.peGreen - static_cast<int32_t>(GetGValue(colour));
    const int32_t db = e.peBlue - static_cast<int32_t>(GetBValue(colour));
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < best) {
      best = distance;
      result = RGB(e.peRed, e.peGreen, e.peBlue);
    }
  }
  return result;
}
