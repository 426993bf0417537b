// The soft platform's core: handles and the palette display.
#include <gtest/gtest.h>

#include "platform/soft/inspect.h"
#include "platform/soft/palette.h"
#include "platform/win32.h"
#include "tests/platform/page.h"

namespace {

using platform_test::MakePalette;
using platform_test::Page;

TEST(Handles, StaleWrongTypedHandlesAndBadArgumentsFailLikeWin32) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  ASSERT_NE(pen, nullptr);
  EXPECT_TRUE(DeleteObject(pen));
  Page page(4, 4), other(4, 4);
  HDC dc = page.dc(), stale = reinterpret_cast<HDC>(pen), screen = GetDC(nullptr);
  BITMAPINFO tall{{sizeof(BITMAPINFOHEADER), 4, INT32_MIN, 1, 8, BI_RGB, 0, 0, 0, 0, 0}, {}};
  LOGPALETTE empty{0x300, 0, {}};
  PALETTEENTRY entry{};
  LOGPEN lp{};
  SIZE size{};
  TEXTMETRICA tm{};
  HGDIOBJ stockPen = GetStockObject(BLACK_PEN);
  const bool answered[] = {
      !DeleteObject(pen),
      !DeleteDC(stale),
      SelectObject(dc, pen) == nullptr,
      SetTextColor(stale, 0) == CLR_INVALID,
      SelectPalette(dc, reinterpret_cast<HPALETTE>(dc), FALSE) == nullptr,
      GetObjectType(reinterpret_cast<HGDIOBJ>(uintptr_t{0xDEAD0})) == 0,
      GetObjectType(dc) == OBJ_MEMDC,
      CreateCompatibleBitmap(stale, 4, 4) == nullptr,
      CreateCompatibleBitmap(dc, -1, 4) == nullptr,
      CreateCompatibleDC(stale) == nullptr,
      CreateBitmap(4, 4, 2, 1, nullptr) == nullptr,
      CreateBitmap(4, 4, 1, 4, nullptr) == nullptr,
      CreateDIBSection(dc, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0) == nullptr,
      CreateDIBSection(dc, &tall, DIB_RGB_COLORS, nullptr, nullptr, 0) == nullptr,
      CreatePen(PS_INSIDEFRAME + 1, 1, 0) == nullptr,
      CreatePatternBrush(nullptr) == nullptr,
      CreatePalette(&empty) == nullptr,
      GetStockObject(-1) == nullptr,
      GetObjectType(GetStockObject(ANSI_VAR_FONT)) == OBJ_FONT,
      GetObjectType(GetStockObject(SYSTEM_FONT)) == OBJ_FONT,
      GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY,
      GetObjectA(stockPen, -1, &lp) == 0,
      GetObjectA(stockPen, 0, nullptr) == sizeof(LOGPEN),
      DeleteObject(stockPen) && GetObjectType(stockPen) == OBJ_PEN,
      SelectObject(screen, other.bmp()) == nullptr,
      SelectObject(other.dc(), page.bmp()) == nullptr,
      GetCurrentObject(dc, 99) == nullptr,
      SetROP2(dc, 0) == 0 && SetROP2(dc, R2_WHITE + 1) == 0 && GetROP2(stale) == 0,
      SetStretchBltMode(dc, 0) == 0 && SetStretchBltMode(dc, HALFTONE + 1) == 0,
      SetBkMode(dc, 3) == 0,
      SetTextAlign(stale, 0) == GDI_ERROR,
      !SetBrushOrgEx(stale, 0, 0, nullptr),
      RealizePalette(stale) == GDI_ERROR,
      GetSystemPaletteEntries(stale, 0, 1, &entry) == 0,
      GetSystemPaletteEntries(dc, 256, 1, &entry) == 0,
      GetSystemPaletteEntries(dc, 0, 1, nullptr) == 256,
      GetDeviceCaps(stale, BITSPIXEL) == 0,
      !AnimatePalette(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 1, &entry),
      GetNearestPaletteIndex(reinterpret_cast<HPALETTE>(pen), 0) == CLR_INVALID,
      GetDeviceCaps(dc, BITSPIXEL) == 8 && GetDeviceCaps(dc, SIZEPALETTE) == 256,
      CreateCompatibleBitmap(dc, 1 << 30, 1 << 30) == nullptr,  // absurd sizes fail, never allocate
      DeleteObject(CreateCompatibleBitmap(dc, 0, 5)) != 0,      // an empty size gives 1 x 1 mono
      !TextOutA(stale, 0, 0, "a", 1),
      !TextOutA(dc, 0, 0, "a", -1),
      !GetTextExtentPoint32A(stale, "a", 1, &size),
      !GetTextExtentPoint32A(dc, "a", 1, nullptr),
      !GetTextExtentPoint32A(dc, "a", -1, &size),
      !GetTextMetricsA(stale, &tm),
      !GetTextMetricsA(dc, nullptr),
      CreateFontIndirectA(nullptr) == nullptr};
  for (size_t i = 0; i < std::size(answered); ++i) EXPECT_TRUE(answered[i]) << "call " << i;
  ReleaseDC(nullptr, screen);
}

TEST(Handles, SelectedBitmapCannotBeDeletedButAPenIsDeletedWhenDeselected) {
  Page page(8, 8);
  EXPECT_FALSE(DeleteObject(page.bmp()));
  HPEN pen = CreatePen(PS_DOT, 1, 0);
  HGDIOBJ oldPen = SelectObject(page.dc(), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)) << "still selected, still alive";
  SelectObject(page.dc(), oldPen);
  EXPECT_EQ(GetObjectType(pen), 0u);
  HDC mem = CreateCompatibleDC(page.dc());  // a deleted pen held by a DC goes with the DC
  HPEN held = CreatePen(PS_SOLID, 1, 0);
  SelectObject(mem, held);
  EXPECT_TRUE(DeleteObject(held) && DeleteDC(mem));
  EXPECT_EQ(GetObjectType(held), 0u);
}

TEST(Palette, ColourReferencesResolveToSystemIndices) {
  Page page(4, 1);
  HPALETTE pal = MakePalette({{10, 20, 30, PC_RESERVED},
                              {200, 0, 0, PC_RESERVED},
                              {0, 0, 250, PC_RESERVED},
                              {7, 0, 0, PC_EXPLICIT}});
  HPALETTE oldPal = SelectPalette(page.dc(), pal, FALSE);
  RealizePalette(page.dc());
  struct Case {
    const char* name;
    COLORREF colour;
    uint32_t index;
  } cases[] = {
      {"PALETTEINDEX takes the entry's system slot", PALETTEINDEX(1), 11},
      {"an index past the end falls back to entry 0", PALETTEINDEX(40), 10},
      {"RGB goes to the nearest static colour", RGB(250, 5, 5), 249},
      {"PALETTERGB goes to the nearest palette entry", PALETTERGB(0, 0, 200), 12},
      {"PC_EXPLICIT names a system index itself", PALETTEINDEX(3), 7},
  };
  for (const Case& c : cases) {
    SetPixel(page.dc(), 0, 0, c.colour);
    EXPECT_EQ(page.Index(0, 0), c.index) << c.name;
  }
  SelectPalette(page.dc(), oldPal, FALSE);
  DeleteObject(pal);
}

}  // namespace
