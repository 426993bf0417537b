// The soft platform's core: handles, bitmaps and the palette display.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

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
      !AnimatePalette(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 1, &entry)};
  for (size_t i = 0; i < std::size(answered); ++i) EXPECT_TRUE(answered[i]) << "call " << i;
  ReleaseDC(nullptr, screen);
}

TEST(Handles, SelectedBitmapCannotBeDeletedButAPenIsDeletedWhenDeselected) {
  const size_t before = soft::inspect::LiveHandles();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(8, 8, 1, 1, nullptr);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  EXPECT_FALSE(DeleteObject(bmp));
  HPEN pen = CreatePen(PS_DOT, 1, 0);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)) << "still selected, still alive";
  SelectObject(dc, oldPen);
  EXPECT_EQ(GetObjectType(pen), 0u);
  SelectObject(dc, oldBmp);
  EXPECT_TRUE(DeleteObject(bmp));
  DeleteDC(dc);
  EXPECT_EQ(soft::inspect::LiveHandles(), before);
}

TEST(Handles, FreedObjectMemoryIsReusedExceptUnderTheSanitizer) {
  struct Small : CPooled {
    char bytes[40];
  };
  struct Large : CPooled {
    char bytes[600];
  };
  auto* small = new Small;
  auto* large = new Large;
  const void* smallAt = small;
  delete small;
  delete large;
  auto* again = new (std::nothrow) Small;
  auto* largeAgain = new Large;
#ifdef ZIZIDER_BLOCK_POOL_OFF
  EXPECT_DEATH(static_cast<void>(*static_cast<volatile char*>(const_cast<void*>(smallAt))), "use-after-free");
#else
  EXPECT_EQ(again, smallAt) << "the freed block of the class serves the next object";
#endif
  EXPECT_NE(static_cast<const void*>(again), static_cast<const void*>(largeAgain));
  delete again;
  delete largeAgain;
}

TEST(Bitmaps, CompatibleFormatFollowsTheDC) {
  HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
  const auto format = [](HBITMAP b) {  // width, bits per pixel, row bytes
    BITMAP bm{};
    const int size = GetObjectA(b, sizeof bm, &bm);
    DeleteObject(b);
    return std::vector<int>{size == sizeof bm ? bm.bmWidth : -1, bm.bmBitsPixel, bm.bmWidthBytes};
  };
  // A fresh memory DC holds a 1 x 1 mono bitmap; device bitmap rows are word-aligned; an empty size gives
  // a 1 x 1 mono bitmap.
  EXPECT_EQ(format(CreateCompatibleBitmap(mem, 10, 3)), (std::vector<int>{10, 1, 2}));
  EXPECT_EQ(format(CreateCompatibleBitmap(screen, 10, 3)), (std::vector<int>{10, 8, 10}));
  EXPECT_EQ(format(CreateCompatibleBitmap(screen, 0, 5)), (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(CreateCompatibleBitmap(screen, 1 << 30, 1 << 30), nullptr) << "absurd sizes fail, never allocate";
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

TEST(Palette, StaticColoursSitAtBothEnds) {
  std::vector<PALETTEENTRY> sys = soft::inspect::SystemPalette();
  ASSERT_EQ(sys.size(), 256u);
  auto rgb = [&](int i) { return RGB(sys[i].peRed, sys[i].peGreen, sys[i].peBlue); };
  EXPECT_EQ(std::vector<COLORREF>({rgb(0), rgb(9), rgb(249), rgb(255)}),
            std::vector<COLORREF>({RGB(0, 0, 0), RGB(166, 202, 240), RGB(255, 0, 0), RGB(255, 255, 255)}));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(std::vector<int>({GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE,
                              GetDeviceCaps(screen, SIZEPALETTE), GetDeviceCaps(screen, BITSPIXEL)}),
            std::vector<int>({RC_PALETTE, 256, 8}));
  ReleaseDC(nullptr, screen);
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

TEST(Palette, AnimatingAReservedEntryRecoloursWhatWasDrawn) {
  Page page(2, 1);
  HPALETTE pal = MakePalette({{0, 0, 0, PC_RESERVED}, {10, 10, 10, 0}});
  SelectPalette(page.dc(), pal, FALSE);
  RealizePalette(page.dc());
  SetPixel(page.dc(), 0, 0, PALETTEINDEX(0));
  SetPixel(page.dc(), 1, 0, PALETTEINDEX(1));
  const PALETTEENTRY repaint[] = {{255, 128, 0, PC_RESERVED}, {1, 2, 3, PC_RESERVED}};
  EXPECT_TRUE(AnimatePalette(pal, 0, 2, repaint));
  soft::inspect::Image img = page.Image();
  EXPECT_EQ(img.At(0, 0), 10u) << "the pixel keeps its index";
  EXPECT_EQ(img.RgbAt(0, 0), RGB(255, 128, 0)) << "and shows the new colour";
  EXPECT_EQ(img.RgbAt(1, 0), RGB(10, 10, 10)) << "entries without PC_RESERVED do not animate";
  SelectPalette(page.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteObject(pal);
}

TEST(Palette, NearestIndexPrefersTheLowestOnTies) {
  HPALETTE pal = MakePalette({{0, 0, 0, 0}, {100, 100, 100, 0}, {100, 100, 100, 0}, {200, 200, 200, 0}});
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(100, 100, 100)), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(150, 150, 150)), 1u) << "equidistant from 1 and 3";
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(151, 150, 150)), 3u);
  DeleteObject(pal);
  EXPECT_EQ(GetNearestPaletteIndex(pal, 0), CLR_INVALID);
}

}  // namespace
