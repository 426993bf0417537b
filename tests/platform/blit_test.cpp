// Blits, DIBs and scrolling of the soft platform: BitBlt, PatBlt, StretchBlt,
// StretchDIBits, GetDIBits and ScrollDC, checked by reading pixels back.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/soft/blitter.h"
#include "platform/soft/inspect.h"
#include "platform/soft/objects.h"
#include "platform/soft/palette.h"
#include "platform/win32.h"

namespace {

constexpr uint32_t kRed = 249, kBlue = 252, kWhite = 255;  // static colours of the display
using Pixels = std::vector<uint32_t>;

BITMAPINFOHEADER Header(int width, int height, int bpp) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biCompression = BI_RGB;
  return h;
}

// A BITMAPINFO with room for a full colour table.
struct DibInfo {
  BITMAPINFOHEADER h;
  RGBQUAD colours[256];
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// A memory DC holding a bitmap of the given format: a device bitmap of 1 or
// 8 bits, or a top-down 32-bit DIB section.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  int w, h;
  Canvas(int width, int height, int bpp) : w(width), h(height) {
    dc = CreateCompatibleDC(nullptr);
    if (bpp == 32) {
      BITMAPINFO bi{Header(width, -height, 32), {}};
      void* bits = nullptr;
      bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    } else {
      bmp = CreateBitmap(width, height, 1, static_cast<UINT>(bpp), nullptr);
    }
    old = SelectObject(dc, bmp);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  void Put(int x, int y, uint32_t v) { soft::GetBitmap(bmp)->Set(x, y, v); }
  void Fill(uint32_t v) { Load(Pixels(static_cast<size_t>(w * h), v)); }
  // Row-major values from the top left.
  void Load(const Pixels& values) {
    for (size_t i = 0; i < values.size(); ++i)
      Put(static_cast<int>(i) % w, static_cast<int>(i) / w, values[i]);
  }
  // base + y * w + x everywhere.
  void Ramp(uint32_t base = 0) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Put(x, y, base + static_cast<uint32_t>(y * w + x));
  }
  uint32_t At(int x, int y) const { return soft::GetBitmap(bmp)->Get(x, y); }
  Pixels Row(int y) const {
    Pixels r;
    for (int x = 0; x < w; ++x) r.push_back(At(x, y));
    return r;
  }
};

// A brush selected into a DC for the life of the object.
struct Selected {
  HDC dc;
  HGDIOBJ brush, old;
  Selected(HDC d, HGDIOBJ b) : dc(d), brush(b), old(SelectObject(d, b)) {}
  ~Selected() {
    SelectObject(dc, old);
    DeleteObject(brush);
  }
};

// A pattern brush made from an 8 x 8 bitmap of the given depth.
HBRUSH PatternBrush(int bpp, uint32_t (*pixel)(int x, int y)) {
  HBITMAP pat = CreateBitmap(8, 8, 1, static_cast<UINT>(bpp), nullptr);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) soft::GetBitmap(pat)->Set(x, y, pixel(x, y));
  HBRUSH brush = CreatePatternBrush(pat);
  DeleteObject(pat);
  return brush;
}

class Blit : public ::testing::Test {
 protected:
  void SetUp() override { soft::ResetSystemPalette(); }
};

constexpr uint32_t P = 0xF0, S = 0xCC, D = 0xAA;  // operand indices whose bits cover every combination

TEST_F(Blit, NamedRasterOperationsCombinePaletteIndicesBitwise) {
  const struct {
    const char* behaviour;
    DWORD rop;
    uint32_t expected;
  } cases[] = {
      {"SRCCOPY copies the source index", SRCCOPY, S},
      {"SRCAND ands the indices", SRCAND, S & D},
      {"MERGECOPY ands pattern and source", MERGECOPY, P & S},
      {"PATCOPY copies the pattern", PATCOPY, P},
      {"PATPAINT ors pattern, inverted source and destination", PATPAINT, (P | ~S | D) & 0xFF},
      {"DSTINVERT inverts the destination index", DSTINVERT, ~D & 0xFF},
      {"BLACKNESS writes index 0", BLACKNESS, 0},
      {"the destination operation leaves it", 0x00AA0029, D},
  };
  Canvas src(4, 4, 8), dst(4, 4, 8);
  src.Fill(S);
  Selected brush(dst.dc, PatternBrush(8, [](int, int) { return P; }));
  for (const auto& c : cases) {
    dst.Fill(D);
    ASSERT_TRUE(BitBlt(dst.dc, 1, 1, 2, 2, src.dc, 0, 0, c.rop)) << c.behaviour;
    EXPECT_EQ(dst.At(1, 1), c.expected) << c.behaviour;
    EXPECT_EQ(dst.At(2, 2), c.expected) << c.behaviour;
    EXPECT_EQ(dst.At(0, 0), D) << c.behaviour << ": outside the box nothing changes";
    EXPECT_EQ(dst.At(3, 1), D) << c.behaviour << ": the right edge is excluded";
  }
}

TEST_F(Blit, PaletteAndRgbBitmapsConvertThroughTheColoursPixelsShow) {
  Canvas pal(2, 1, 8), rgb(2, 1, 32), back(2, 1, 8);
  pal.Load({9, kRed});  // 9 is (166, 202, 240)
  ASSERT_TRUE(BitBlt(rgb.dc, 0, 0, 2, 1, pal.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(rgb.Row(0), (Pixels{0xA6CAF0, 0xFF0000}));
  rgb.Put(1, 0, 0xF00000);  // nearest is red
  ASSERT_TRUE(BitBlt(back.dc, 0, 0, 2, 1, rgb.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(back.Row(0), (Pixels{9, kRed}));
}

TEST_F(Blit, PatBltFillsWithTheSelectedBrushAndNormalisesNegativeExtents) {
  Canvas page(10, 10, 8);
  {
    Selected red(page.dc, CreateSolidBrush(RGB(255, 0, 0)));
    ASSERT_TRUE(PatBlt(page.dc, 6, 6, -3, -2, PATCOPY));  // covers x 4..6, y 5..6
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x)
        EXPECT_EQ(page.At(x, y), (x >= 4 && x < 7 && y >= 5 && y < 7) ? kRed : 0u) << x << "," << y;
    EXPECT_FALSE(PatBlt(page.dc, 0, 0, 2, 2, SRCCOPY)) << "PatBlt has no source";
  }
  SelectObject(page.dc, GetStockObject(NULL_BRUSH));
  ASSERT_TRUE(PatBlt(page.dc, 0, 0, 10, 10, PATCOPY));
  EXPECT_EQ(page.At(0, 0), 0u) << "a null brush paints nothing";
  ASSERT_TRUE(PatBlt(page.dc, 0, 0, 1, 1, DSTINVERT));
  EXPECT_EQ(page.At(0, 0), 0xFFu) << "operations without a pattern ignore the null brush";
}

TEST_F(Blit, SolidPatCopyFillsAWholePage) {
  Canvas page(800, 480, 8);
  Selected blue(page.dc, CreateSolidBrush(RGB(0, 0, 255)));
  ASSERT_TRUE(PatBlt(page.dc, 0, 0, 800, 480, PATCOPY));
  EXPECT_EQ(soft::inspect::ReadBitmap(page.bmp).pixels, Pixels(800 * 480, kBlue));
}

TEST_F(Blit, MonochromeCopiesKeepEveryBitAtAnyAlignment) {
  const struct {
    const char* behaviour;
    int dx, sx, n;
  } cases[] = {{"byte aligned", 0, 8, 40},
               {"same bit phase across bytes", 3, 11, 30},
               {"different bit phase", 5, 2, 30},
               {"inside one byte", 1, 9, 5}};
  for (const auto& c : cases) {
    Canvas src(64, 1, 1), dst(64, 1, 1);
    for (int x = 0; x < 64; ++x) src.Put(x, 0, ((x * 5) / 3) & 1);
    dst.Fill(1);
    ASSERT_TRUE(BitBlt(dst.dc, c.dx, 0, c.n, 1, src.dc, c.sx, 0, SRCCOPY));
    for (int x = 0; x < 64; ++x) {
      const bool inside = x >= c.dx && x < c.dx + c.n;
      EXPECT_EQ(dst.At(x, 0), inside ? src.At(x - c.dx + c.sx, 0) : 1u) << c.behaviour << " at " << x;
    }
  }
}

TEST_F(Blit, BlitsClipToBothBitmapsAndSurviveExtremeCoordinates) {
  Canvas src(4, 4, 8), dst(6, 6, 8);
  src.Ramp(10);
  ASSERT_TRUE(BitBlt(dst.dc, -1, 3, 10, 10, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.At(0, 3), 11u) << "source column 1 lands on destination column 0";
  EXPECT_EQ(dst.At(2, 5), 10u + 2 * 4 + 3);
  EXPECT_EQ(dst.At(3, 3), 0u) << "nothing comes from beyond the source";
  EXPECT_TRUE(BitBlt(dst.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src.dc, INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_TRUE(BitBlt(dst.dc, INT_MAX, 0, INT_MIN, 6, src.dc, 0, 0, SRCCOPY));
  EXPECT_TRUE(PatBlt(dst.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, WHITENESS));
  EXPECT_EQ(dst.At(0, 0), 0u);
  EXPECT_TRUE(StretchBlt(dst.dc, INT_MIN, 0, INT_MAX, 6, src.dc, 0, 0, 4, 4, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 6, 6, src.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst.dc, 5, 5, INT_MIN, INT_MIN, src.dc, 0, 0, 3, 3, SRCCOPY));
}

TEST_F(Blit, BadHandlesFailAndPatternOnlyOperationsNeedNoSource) {
  Canvas page(4, 4, 8);
  HDC stale = CreateCompatibleDC(nullptr);
  DeleteDC(stale);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_FALSE(BitBlt(stale, 0, 0, 1, 1, page.dc, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(page.dc, 0, 0, 1, 1, stale, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(page.dc, 0, 0, 1, 1, reinterpret_cast<HDC>(pen), 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(page.dc, 0, 0, 1, 1, nullptr, 0, 0, WHITENESS));
  EXPECT_EQ(page.At(0, 0), 0xFFu);
  EXPECT_FALSE(PatBlt(stale, 0, 0, 1, 1, PATCOPY));
  EXPECT_FALSE(StretchBlt(page.dc, 0, 0, 2, 2, stale, 0, 0, 1, 1, SRCCOPY));
  EXPECT_FALSE(ScrollDC(stale, 1, 1, nullptr, nullptr, nullptr, nullptr));
  BITMAPINFO bi{Header(1, 1, 16), {}};  // 16 bits: not a format we read
  EXPECT_EQ(GetDIBits(page.dc, reinterpret_cast<HBITMAP>(pen), 0, 1, nullptr, &bi, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(stale, page.bmp, 0, 1, nullptr, &bi, DIB_RGB_COLORS), 0);
  uint32_t pixel = 0;
  EXPECT_EQ(StretchDIBits(page.dc, 0, 0, 1, 1, 0, 0, 1, 1, &pixel, &bi, DIB_RGB_COLORS, SRCCOPY), 0);
  DeleteObject(pen);
}

TEST_F(Blit, StretchDIBitsTakesColourTablesAndPaletteIndices) {
  DibInfo bi{Header(4, -1, 8), {RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}}};  // red, blue
  const uint8_t pixels[4] = {1, 0, 1, 0};
  Canvas page(4, 1, 8);
  ASSERT_EQ(StretchDIBits(page.dc, 0, 0, 4, 1, 0, 0, 4, 1, pixels, bi.get(), DIB_RGB_COLORS, SRCCOPY), 1);
  EXPECT_EQ(page.Row(0), (Pixels{kBlue, kRed, kBlue, kRed}));
  // DIB_PAL_COLORS: the table holds indices into the DC's palette (the static colours by default).
  WORD* indices = reinterpret_cast<WORD*>(bi.colours);
  indices[0] = 2;   // (0, 128, 0) is system index 2
  indices[1] = 19;  // the last static colour, white, is system index 255
  ASSERT_EQ(StretchDIBits(page.dc, 0, 0, 4, 1, 0, 0, 4, 1, pixels, bi.get(), DIB_PAL_COLORS, SRCCOPY), 1);
  EXPECT_EQ(page.Row(0), (Pixels{kWhite, 2, kWhite, 2}));
}

TEST_F(Blit, GetDIBitsRoundTripsAPageInBothRowOrders) {
  Canvas page(5, 3, 8);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) page.Put(x, y, static_cast<uint32_t>(y * 40 + x * 3));
  DibInfo bi{};
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  HDC screen = CreateCompatibleDC(nullptr);
  ASSERT_NE(GetDIBits(screen, page.bmp, 0, 0, nullptr, bi.get(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(bi.h.biWidth, 5);
  EXPECT_EQ(bi.h.biHeight, 3);
  EXPECT_EQ(bi.h.biBitCount, 8);
  EXPECT_EQ(bi.h.biSizeImage, 8u * 3) << "rows of a DIB are padded to four bytes";

  std::vector<uint8_t> bits(8 * 3, 0xEE);
  ASSERT_EQ(GetDIBits(screen, page.bmp, 0, 3, bits.data(), bi.get(), DIB_RGB_COLORS), 3);
  EXPECT_EQ(bits[0], 2 * 40) << "a bottom-up DIB starts with the bottom row";
  EXPECT_EQ(bits[8 * 2 + 4], 4 * 3);
  EXPECT_EQ(bi.colours[kRed].rgbRed, 255);
  EXPECT_EQ(bi.colours[kRed].rgbGreen, 0);
  EXPECT_EQ(bi.colours[9].rgbBlue, 240) << "the colour table is the display's palette";

  bi.h.biHeight = -3;
  ASSERT_EQ(GetDIBits(screen, page.bmp, 1, 5, bits.data(), bi.get(), DIB_RGB_COLORS), 2)
      << "lines beyond the bitmap are not copied";
  EXPECT_EQ(bits[0], 1 * 40) << "a top-down DIB counts scan lines from the top";

  bi.h.biHeight = 3;
  ASSERT_EQ(GetDIBits(screen, page.bmp, 0, 3, bits.data(), bi.get(), DIB_RGB_COLORS), 3);
  Canvas copy(5, 3, 8);
  ASSERT_EQ(StretchDIBits(copy.dc, 0, 0, 5, 3, 0, 0, 5, 3, bits.data(), bi.get(), DIB_RGB_COLORS, SRCCOPY),
            3);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(copy.Row(y), page.Row(y)) << "row " << y;
  DeleteDC(screen);
}

TEST_F(Blit, GetDIBitsConvertsToOtherDepths) {
  Canvas page(3, 1, 8);
  page.Load({kRed, 7, 1});  // 7 is light grey (192, 192, 192), 1 dark red (128, 0, 0)
  HDC screen = CreateCompatibleDC(nullptr);
  DibInfo bi{Header(3, -1, 32), {}};
  uint32_t rgb[3] = {};
  ASSERT_EQ(GetDIBits(screen, page.bmp, 0, 1, rgb, bi.get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(Pixels(rgb, rgb + 3), (Pixels{0xFF0000u, 0xC0C0C0u, 0x800000u}));
  bi.h.biBitCount = 1;
  uint8_t bits[4] = {};
  ASSERT_EQ(GetDIBits(screen, page.bmp, 0, 1, bits, bi.get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(bits[0] & 0xE0, 0x40) << "each pixel goes to the nearer of black and white";
  EXPECT_EQ(bi.colours[1].rgbGreen, 255);
  DeleteDC(screen);
}

TEST_F(Blit, NegativeExtentsMirrorOnlyWhenTheSignsDiffer) {
  const struct {
    const char* behaviour;
    int xd, yd, wd, hd, xs, ys, ws, hs;
    Pixels expected;
  } cases[] = {
      {"a negative source width flips horizontally", 0, 0, 2, 2, 1, 0, -2, 2, {2, 1, 4, 3}},
      {"equal signs do not mirror", 2, 2, -2, -2, 2, 2, -2, -2, {1, 2, 3, 4}},
      {"equal negative heights beside a mirrored width", 0, 1, 2, -2, 1, 1, -2, -2, {2, 1, 4, 3}},
  };
  Canvas src(2, 2, 8);
  src.Load({1, 2, 3, 4});
  for (const auto& c : cases) {
    Canvas dst(2, 2, 8);
    ASSERT_TRUE(StretchBlt(dst.dc, c.xd, c.yd, c.wd, c.hd, src.dc, c.xs, c.ys, c.ws, c.hs, SRCCOPY));
    EXPECT_EQ((Pixels{dst.At(0, 0), dst.At(1, 0), dst.At(0, 1), dst.At(1, 1)}), c.expected) << c.behaviour;
  }
  Canvas dst(4, 1, 8), row(4, 1, 8);
  row.Load({1, 2, 3, 4});
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 1, row.dc, 3, 0, -4, 1, SRCCOPY));
  EXPECT_EQ(dst.Row(0), (Pixels{4, 3, 2, 1})) << "a mirrored row reads right to left";
  ASSERT_TRUE(StretchBlt(row.dc, 0, 0, 4, 1, row.dc, 3, 0, -4, 1, SRCCOPY));
  EXPECT_EQ(row.Row(0), (Pixels{4, 3, 2, 1})) << "mirroring a bitmap onto itself";
}

TEST_F(Blit, ScrollDcMovesBitsAndReportsTheUncoveredRectangle) {
  Canvas page(10, 10, 8);
  page.Ramp();
  RECT update{};
  auto updated = [&] { return std::vector<LONG>{update.left, update.top, update.right, update.bottom}; };
  ASSERT_TRUE(ScrollDC(page.dc, 0, -3, nullptr, nullptr, nullptr, &update));
  EXPECT_EQ(page.At(4, 0), 34u);
  EXPECT_EQ(page.At(9, 6), 99u);
  EXPECT_EQ(page.At(4, 8), 84u) << "the uncovered rows keep what they had";
  EXPECT_EQ(updated(), (std::vector<LONG>{0, 7, 10, 10}));

  page.Ramp();
  const RECT scroll{2, 2, 8, 8};
  ASSERT_TRUE(ScrollDC(page.dc, 2, 0, &scroll, &scroll, nullptr, &update));
  EXPECT_EQ(page.At(4, 3), 32u);
  EXPECT_EQ(page.At(7, 3), 35u);
  EXPECT_EQ(page.At(8, 3), 38u) << "the clip rectangle keeps the bits inside";
  EXPECT_EQ(page.At(2, 3), 32u);
  EXPECT_EQ(updated(), (std::vector<LONG>{2, 2, 4, 8}));

  ASSERT_TRUE(ScrollDC(page.dc, 0, 0, nullptr, nullptr, nullptr, &update));
  EXPECT_TRUE(update.left >= update.right || update.top >= update.bottom) << "nothing is uncovered";
}

TEST_F(Blit, MonochromeDibSectionShowsItsColourTableNotTheDcColours) {
  DibInfo bi{Header(4, -1, 1), {RGBQUAD{0x56, 0x34, 0x12, 0}, RGBQUAD{0x77, 0x55, 0x33, 0}}};
  void* bits = nullptr;
  HDC sdc = CreateCompatibleDC(nullptr);
  HBITMAP sbmp = CreateDIBSection(sdc, bi.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(sbmp, nullptr);
  static_cast<uint8_t*>(bits)[0] = 0x50;  // 0 1 0 1
  HGDIOBJ old = SelectObject(sdc, sbmp);
  Canvas dst(4, 1, 32);
  SetTextColor(dst.dc, 0);
  SetBkColor(dst.dc, 0);
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 1, sdc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Row(0), (Pixels{0x123456, 0x335577, 0x123456, 0x335577}));
  SelectObject(sdc, old);
  DeleteObject(sbmp);
  DeleteDC(sdc);
}

// The shortcuts for common blits (row copies, monochrome packed by bytes and
// expanded by nibbles, colour masks, remembered stretch mappings and mask
// colours) give what the general path gives: random blits and stretches
// between monochrome, palette and RGB bitmaps, each run both ways from the
// same pixels.
TEST_F(Blit, FastPathsGiveWhatTheGeneralPathGives) {
  std::mt19937 rng(17);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int depths[] = {1, 8, 1, 8, 32};  // mostly the formats with shortcuts
  const DWORD rops[] = {SRCCOPY, SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, 0x00220326, NOTSRCCOPY};
  const COLORREF colours[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), PALETTEINDEX(0),
                              PALETTEINDEX(3)};
  const uint32_t values[] = {0, 1, 3, 9, 249, 255, 0xFF0000, 0xFFFFFF};
  for (int round = 0; round < 2000; ++round) {
    const bool within = pick(6) == 0, stretch = pick(3) == 0;
    // Half the stretches are monochrome copies, as glyphs are stretched.
    const bool glyph = stretch && pick(2) == 0;
    const int sd = glyph ? 1 : depths[pick(5)], dd = glyph ? 1 : depths[pick(5)];
    const int sw = 1 + pick(40), sh = 1 + pick(8), dw = 1 + pick(40), dh = 1 + pick(8);
    const DWORD rop = glyph ? SRCCOPY : rops[pick(7)];
    const COLORREF colour[4] = {colours[pick(5)], colours[pick(5)], colours[pick(5)], colours[pick(5)]};
    const int g[8] = {pick(dw + 4) - 2, pick(dh + 4) - 2, pick(40) - 4, pick(10) - 2,
                      pick(sw + 4) - 2, pick(sh + 4) - 2, pick(12) - 2, pick(8) - 1};
    const unsigned seed = rng();
    std::string result[2];
    for (int fast = 0; fast < 2; ++fast) {
      soft::blit::SetFastPaths(fast != 0);
      std::mt19937 fill(seed);
      Canvas src(sw, sh, sd), dst(dw, dh, dd);
      for (Canvas* c : {&src, &dst})
        for (int y = 0; y < c->h; ++y)
          for (int x = 0; x < c->w; ++x)
            c->Put(x, y, values[fill() % 8] & soft::PixelMask(c == &src ? sd : dd));
      SetTextColor(dst.dc, colour[0]);
      SetBkColor(dst.dc, colour[1]);
      SetTextColor(src.dc, colour[2]);
      SetBkColor(src.dc, colour[3]);
      HDC from = within ? dst.dc : src.dc;
      auto keep = [&] {
        for (uint32_t v : soft::inspect::ReadDC(dst.dc).pixels) result[fast] += std::to_string(v) + ' ';
      };
      if (stretch) {
        // The second source differs by one pixel; the third is the first
        // again, as remembered stretches would see it.
        for (int k = 0; k < 3; ++k, keep()) {
          if (k) src.Put(g[0] & 1, 0, src.At(g[0] & 1, 0) ^ 1);
          StretchBlt(dst.dc, g[0], g[1], g[2], g[3], from, g[4], g[5], g[6], g[7], rop);
        }
      } else {
        BitBlt(dst.dc, g[0], g[1], g[2], g[3], from, g[4], g[5], rop);
        keep();
      }
    }
    EXPECT_EQ(result[0], result[1]) << "round " << round << ": " << sd << " to " << dd << " bits, rop "
                                    << std::hex << rop;
  }
  soft::blit::SetFastPaths(true);
}

}  // namespace
