// The palette display: the system palette with its static colours, logical
// palettes, realization and animation, device capabilities, and the
// resolution of colour references to pixel values.
#include "platform/soft/palette.h"

#include <algorithm>
#include <array>

namespace soft {
namespace {

constexpr std::array<PALETTEENTRY, kStaticColours> kStatic = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

constexpr int kFirstFree = 10;  // system entries 10..245 take the realized logical palette
constexpr int kFreeEntries = kSystemPaletteSize - kStaticColours;

struct DisplayPalette {
  std::array<PALETTEENTRY, kSystemPaletteSize> entries;
  HPALETTE lastRealized = nullptr;
};

DisplayPalette& Display() {
  static DisplayPalette display = [] {
    DisplayPalette d{};
    for (int i = 0; i < kSystemPaletteSize; ++i) d.entries[i] = PALETTEENTRY{0, 0, 0, 0};
    for (int i = 0; i < kStaticColours; ++i) d.entries[i < 10 ? i : kFreeEntries + i] = kStatic[i];
    return d;
  }();
  return display;
}

COLORREF EntryColor(const PALETTEENTRY& e) {
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

int64_t Distance(COLORREF a, COLORREF b) {
  const int64_t dr = int64_t{GetRValue(a)} - GetRValue(b);
  const int64_t dg = int64_t{GetGValue(a)} - GetGValue(b);
  const int64_t db = int64_t{GetBValue(a)} - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

template <class ColourAt>
int Nearest(COLORREF rgb, int count, ColourAt colourAt) {
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < count; ++i) {
    const int64_t d = Distance(rgb, colourAt(i));
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

COLORREF QuadColor(const RGBQUAD& q) {
  return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

int NearestInTable(const std::vector<RGBQUAD>& table, COLORREF rgb) {
  return Nearest(rgb, static_cast<int>(table.size()), [&](int i) { return QuadColor(table[i]); });
}

// The system index a logical palette entry stands on.
// Asked for a pen or brush colour at every primitive, so it stays inline.
[[gnu::always_inline]] inline int SystemIndexOf(const PaletteObj& pal, size_t entry) {
  if (entry >= pal.entries.size()) entry = 0;
  if (pal.entries.empty()) return 0;
  if (entry < pal.systemIndex.size() && pal.systemIndex[entry] >= 0) return pal.systemIndex[entry];
  return NearestSystemIndex(EntryColor(pal.entries[entry]));
}

COLORREF ToRgb32(COLORREF rgb) {  // COLORREF (0x00BBGGRR) to a 32-bit pixel (0x00RRGGBB)
  return (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

}  // namespace

PALETTEENTRY* SystemPalette() {
  return Display().entries.data();
}

void ResetSystemPalette() {
  DisplayPalette& d = Display();
  for (auto& e : d.entries) e = PALETTEENTRY{0, 0, 0, 0};
  for (int i = 0; i < kStaticColours; ++i) d.entries[i < 10 ? i : kFreeEntries + i] = kStatic[i];
  d.lastRealized = nullptr;
}

int NearestSystemIndex(COLORREF rgb, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kSystemPaletteSize);
  if (first >= last) return 0;
  const PALETTEENTRY* sys = SystemPalette();
  return first + Nearest(rgb, last - first, [&](int i) { return EntryColor(sys[first + i]); });
}

int NearestStaticIndex(COLORREF rgb) {
  // The static colours never change, and blits ask for the same few colours
  // (black and white masks) again and again: remember recent answers.
  struct Slot {
    COLORREF rgb = 0xFFFFFFFF;  // no colour: the top byte is cleared below
    int index = 0;
  };
  thread_local Slot recent[16];
  rgb &= 0xFFFFFF;  // only the colour counts
  Slot& slot = recent[(rgb ^ (rgb >> 8) ^ (rgb >> 16)) & 15];
  if (slot.rgb == rgb) return slot.index;
  const int i = Nearest(rgb, kStaticColours, [](int k) { return EntryColor(kStatic[k]); });
  slot = Slot{rgb, i < 10 ? i : kFreeEntries + i};
  return slot.index;
}

namespace {
int g_displayBpp = 8;
}  // namespace

int DisplayBitsPerPixel() {
  return g_displayBpp;
}
void SetDisplayBitsPerPixel(int bpp) {
  g_displayBpp = bpp == 32 ? 32 : 8;
}

COLORREF PixelToColor(const BitmapObj& bmp, uint32_t pixel) {
  switch (bmp.bpp) {
    case 32:
      return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    case 8:
      if (bmp.dib) return pixel < bmp.colorTable.size() ? QuadColor(bmp.colorTable[pixel]) : 0;
      return EntryColor(SystemPalette()[pixel & 0xFF]);
    default:
      if (bmp.dib && bmp.colorTable.size() >= 2) return QuadColor(bmp.colorTable[pixel & 1]);
      return pixel & 1 ? RGB(255, 255, 255) : RGB(0, 0, 0);
  }
}

uint32_t RgbToPixel(const BitmapObj& bmp, COLORREF rgb) {
  rgb &= 0xFFFFFF;
  switch (bmp.bpp) {
    case 32:
      return ToRgb32(rgb);
    case 8:
      return bmp.dib ? NearestInTable(bmp.colorTable, rgb) : NearestSystemIndex(rgb);
    default:
      if (bmp.dib && bmp.colorTable.size() >= 2) return NearestInTable(bmp.colorTable, rgb);
      return Distance(rgb, RGB(255, 255, 255)) < Distance(rgb, RGB(0, 0, 0)) ? 1 : 0;
  }
}

COLORREF ResolveColor(const DCObj& dc, COLORREF color) {
  const PaletteObj* pal = GetPalette(dc.palette);
  switch (color >> 24) {
    case 0x01: {
      if (!pal || pal->entries.empty()) return 0;
      const size_t i = color & 0xFFFF;
      return EntryColor(pal->entries[i < pal->entries.size() ? i : 0]);
    }
    case 0x02: {
      if (!pal || pal->entries.empty()) return color & 0xFFFFFF;
      const int i = Nearest(color & 0xFFFFFF, static_cast<int>(pal->entries.size()),
                            [&](int k) { return EntryColor(pal->entries[k]); });
      return EntryColor(pal->entries[i]);
    }
    default:
      return color & 0xFFFFFF;
  }
}

uint32_t ColorToPixel(const DCObj& dc, const BitmapObj& target, COLORREF color) {
  if (target.bpp != 8 || target.dib) return RgbToPixel(target, ResolveColor(dc, color));
  // A device bitmap of the palette display holds system palette indices.
  // Plain colours need no palette, and masks are made with them all the
  // time, so the palette is looked up only for the others.
  switch (color >> 24) {
    case 0x01: {
      const PaletteObj* pal = GetPalette(dc.palette);
      return pal ? SystemIndexOf(*pal, color & 0xFFFF) : 0;
    }
    case 0x02: {
      const PaletteObj* pal = GetPalette(dc.palette);
      if (!pal || pal->entries.empty()) return NearestStaticIndex(color & 0xFFFFFF);
      const int i = Nearest(color & 0xFFFFFF, static_cast<int>(pal->entries.size()),
                            [&](int k) { return EntryColor(pal->entries[k]); });
      return SystemIndexOf(*pal, i);
    }
    default:
      return NearestStaticIndex(color & 0xFFFFFF);
  }
}

}  // namespace soft

using namespace soft;

extern "C" {

HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) {
  if (!plpal || plpal->palNumEntries == 0) return nullptr;
  auto pal = std::make_unique<PaletteObj>();
  pal->entries.assign(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
  pal->systemIndex.assign(pal->entries.size(), -1);
  return As<HPALETTE>(Register(std::move(pal)));
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || !GetPalette(hPal)) return nullptr;
  HPALETTE previous = dc->palette;
  dc->palette = hPal;
  if (previous != hPal) {
    // Only the count: a palette deleted while selected stays until its DC goes.
    if (Object* o = Lookup(hPal)) ++o->selections;
    if (Object* o = Lookup(previous); o && o->selections > 0) --o->selections;
  }
  dc->paletteBackground = bForceBkgd != FALSE;
  return previous;
}

UINT WINAPI RealizePalette(HDC hdc) {
  DCObj* dc = GetDCObj(hdc);
  PaletteObj* pal = dc ? GetPalette(dc->palette) : nullptr;
  if (!pal) return GDI_ERROR;
  if (pal->stock) return 0;  // the default palette is the static colours
  DisplayPalette& d = Display();
  UINT changed = 0;
  // The palette's vectors by reference: the loops then make no checks of the
  // palette object itself per entry.
  const std::vector<PALETTEENTRY>& entries = pal->entries;
  std::vector<int>& systemIndex = pal->systemIndex;
  if (dc->paletteBackground) {
    // A background palette takes what the system palette already offers.
    for (size_t k = 0; k < entries.size(); ++k) systemIndex[k] = NearestSystemIndex(EntryColor(entries[k]));
  } else {
    for (size_t k = 0; k < entries.size(); ++k) {
      const PALETTEENTRY& e = entries[k];
      if (e.peFlags & PC_EXPLICIT) {
        systemIndex[k] = (e.peRed | (e.peGreen << 8)) & 0xFF;
        continue;
      }
      if (k >= static_cast<size_t>(kFreeEntries)) {
        systemIndex[k] = NearestSystemIndex(EntryColor(e));
        continue;
      }
      const int s = kFirstFree + static_cast<int>(k);
      PALETTEENTRY& sys = d.entries[s];
      if (sys.peRed != e.peRed || sys.peGreen != e.peGreen || sys.peBlue != e.peBlue) ++changed;
      sys = PALETTEENTRY{e.peRed, e.peGreen, e.peBlue, 0};
      systemIndex[k] = s;
    }
    d.lastRealized = dc->palette;
  }
  pal->realized = true;
  return changed;
}

BOOL WINAPI AnimatePalette(HPALETTE hPal, UINT iStartIndex, UINT cEntries, const PALETTEENTRY* ppe) {
  PaletteObj* pal = GetPalette(hPal);
  if (!pal || pal->stock || !ppe) return FALSE;
  DisplayPalette& d = Display();
  const size_t end = std::min<size_t>(pal->entries.size(), size_t{iStartIndex} + cEntries);
  for (size_t k = iStartIndex; k < end; ++k) {
    if (!(pal->entries[k].peFlags & PC_RESERVED)) continue;  // only reserved entries animate
    const PALETTEENTRY& e = ppe[k - iStartIndex];
    pal->entries[k] = PALETTEENTRY{e.peRed, e.peGreen, e.peBlue, pal->entries[k].peFlags};
    if (hPal == d.lastRealized && pal->systemIndex[k] >= kFirstFree &&
        pal->systemIndex[k] < kFirstFree + kFreeEntries)
      d.entries[pal->systemIndex[k]] = PALETTEENTRY{e.peRed, e.peGreen, e.peBlue, 0};
  }
  return TRUE;
}

UINT WINAPI GetNearestPaletteIndex(HPALETTE h, COLORREF color) {
  PaletteObj* pal = GetPalette(h);
  if (!pal || pal->entries.empty()) return CLR_INVALID;
  return static_cast<UINT>(Nearest(color & 0xFFFFFF, static_cast<int>(pal->entries.size()),
                                   [&](int k) { return EntryColor(pal->entries[k]); }));
}

UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, PALETTEENTRY* pPalEntries) {
  PaletteObj* pal = GetPalette(hpal);
  if (!pal) return 0;
  if (!pPalEntries) return static_cast<UINT>(pal->entries.size());
  if (iStart >= pal->entries.size()) return 0;
  const UINT n = std::min<UINT>(cEntries, static_cast<UINT>(pal->entries.size()) - iStart);
  std::copy_n(pal->entries.begin() + iStart, n, pPalEntries);
  return n;
}

UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT iStart, UINT cEntries, PALETTEENTRY* pPalEntries) {
  if (!GetDCObj(hdc)) return 0;
  if (!pPalEntries) return kSystemPaletteSize;
  if (iStart >= static_cast<UINT>(kSystemPaletteSize)) return 0;
  const UINT n = std::min<UINT>(cEntries, kSystemPaletteSize - iStart);
  std::copy_n(SystemPalette() + iStart, n, pPalEntries);
  return n;
}

// Every DC reports the display's capabilities: an 8-bit palette device, or
// a 32-bit true-colour one without a palette.
int WINAPI GetDeviceCaps(HDC hdc, int index) {
  if (!GetDCObj(hdc)) return 0;
  if (DisplayBitsPerPixel() == 32) {
    switch (index) {
      case BITSPIXEL:
        return 32;
      case NUMCOLORS:
        return -1;
      case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
      case SIZEPALETTE:
      case NUMRESERVED:
        return 0;
      case COLORRES:
        return 24;
      default:
        break;
    }
  }
  switch (index) {
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZSIZE:
      return 338;
    case VERTSIZE:
      return 270;
    case HORZRES:
      return 1280;
    case VERTRES:
      return 1024;
    case BITSPIXEL:
      return 8;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return kStaticColours;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_PALETTE | RC_DIBTODEV | RC_STRETCHBLT |
             RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case SIZEPALETTE:
      return kSystemPaletteSize;
    case NUMRESERVED:
      return kStaticColours;
    case COLORRES:
      return 18;
    default:
      return 0;
  }
}

}  // extern "C"
