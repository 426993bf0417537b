// Blits and DIBs of the soft platform on palette-index and monochrome bitmaps, read back pixel by pixel. What
// a real GDI draws on true colour bitmaps is compared in golden_test.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/soft/blitter.h"
#include "platform/soft/inspect.h"
#include "platform/soft/palette.h"
#include "tests/platform/oracle/scenarios.h"
#include "tests/platform/page.h"

namespace {

using oracle::Colors;
using oracle::Header;
using platform_test::kBlue;
using platform_test::kRed;
using platform_test::kWhite;
using platform_test::Page;
using platform_test::Values;

struct DibInfo {
  BITMAPINFOHEADER h;
  RGBQUAD colours[256];
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

class Blit : public ::testing::Test {
 protected:
  void SetUp() override { soft::ResetSystemPalette(); }
};

TEST_F(Blit, BlitsSurviveExtremeCoordinates) {
  Page src(4, 4, 8, 0), dst(6, 6, 8, 0);
  EXPECT_TRUE(BitBlt(dst.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, src.dc(), INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_TRUE(BitBlt(dst.dc(), INT_MAX, 0, INT_MIN, 6, src.dc(), 0, 0, SRCCOPY));
  EXPECT_TRUE(PatBlt(dst.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, WHITENESS));
  EXPECT_EQ(dst.Index(0, 0), 0u);
  EXPECT_TRUE(StretchBlt(dst.dc(), INT_MIN, 0, INT_MAX, 6, src.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 6, 6, src.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst.dc(), 5, 5, INT_MIN, INT_MIN, src.dc(), 0, 0, 3, 3, SRCCOPY));
}

TEST_F(Blit, BadHandlesFailAndOperationsWithoutASourceOrPatternNeedNone) {
  Page page(4, 4, 8, 0);
  HDC stale = CreateCompatibleDC(nullptr);
  DeleteDC(stale);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  RECT update{1, 1, 1, 1};
  DibInfo bi{Header(1, 1, 16), {}};  // 16 bits: not a format we read
  const auto dib = [&](BITMAPINFOHEADER h) { return bi.h = h, bi.get(); };
  uint32_t pixel = 0;
  HDC dc = page.dc();
  const auto draw = [&](BITMAPINFO* info, UINT usage = DIB_RGB_COLORS, bool bits = true, int w = 1) {
    return StretchDIBits(dc, 0, 0, w, 1, 0, 0, 1, 1, bits ? &pixel : nullptr, info, usage, SRCCOPY);
  };
  const auto read = [&](BITMAPINFO* info, UINT start = 0, int lines = 1, UINT usage = DIB_RGB_COLORS) {
    return GetDIBits(dc, page.bmp(), start, static_cast<UINT>(lines), &pixel, info, usage);
  };
  BITMAPINFOHEADER small = Header(1, 1, 8), rle = Header(1, 1, 8), none = Header(1, 1, 8);
  small.biSize = 8;
  rle.biCompression = 1;  // run-length encoded
  none.biBitCount = 0;
  const bool failed[] = {
      !BitBlt(stale, 0, 0, 1, 1, dc, 0, 0, SRCCOPY),
      !BitBlt(dc, 0, 0, 1, 1, stale, 0, 0, SRCCOPY),
      !BitBlt(dc, 0, 0, 1, 1, reinterpret_cast<HDC>(pen), 0, 0, SRCCOPY),
      !PatBlt(stale, 0, 0, 1, 1, PATCOPY),
      !PatBlt(dc, 0, 0, 2, 2, SRCCOPY),  // PatBlt has no source
      !StretchBlt(dc, 0, 0, 2, 2, stale, 0, 0, 1, 1, SRCCOPY),
      !ScrollDC(stale, 1, 1, nullptr, nullptr, nullptr, nullptr),
      ScrollDC(dc, 0, 0, nullptr, nullptr, nullptr, &update) && update.right == 0,
      GetDIBits(dc, reinterpret_cast<HBITMAP>(pen), 0, 1, nullptr, bi.get(), DIB_RGB_COLORS) == 0,
      GetDIBits(stale, page.bmp(), 0, 1, nullptr, bi.get(), DIB_RGB_COLORS) == 0,
      draw(bi.get()) == 0,
      draw(nullptr) == 0,
      draw(dib(small)) == 0,
      draw(dib(rle)) == 0,
      draw(dib(Header(0, 1, 8))) == 0,
      draw(dib(Header(1, INT32_MIN, 8))) == 0,
      draw(dib(Header(1, 1, 8)), 7) == 0,
      draw(dib(Header(1, 1, 8)), DIB_RGB_COLORS, false) == 0,
      draw(dib(Header(1, 1, 8)), DIB_RGB_COLORS, true, 0) == 0,
      read(dib(small)) == 0,
      read(dib(Header(1, 1, 8)), 0, 1, 7) == 0,
      read(dib(none)) == 0,  // no depth to write in
      read(dib(rle)) == 0,
      read(dib(Header(0, 1, 8))) == 0,
      read(dib(Header(4, 1, 8)), 4) == 0,
      read(dib(Header(4, 1, 8)), 0, 0) == 0};
  for (size_t i = 0; i < std::size(failed); ++i) EXPECT_TRUE(failed[i]) << "call " << i;
  DeleteObject(pen);
  EXPECT_TRUE(BitBlt(page.dc(), 0, 0, 1, 1, nullptr, 0, 0, WHITENESS));
  EXPECT_EQ(page.Index(0, 0), 0xFFu);
  page.NoBrush();
  ASSERT_TRUE(PatBlt(page.dc(), 0, 0, 4, 4, PATCOPY));
  EXPECT_EQ(page.Index(0, 0), 0xFFu) << "a null brush paints nothing";
  ASSERT_TRUE(PatBlt(page.dc(), 0, 0, 1, 1, DSTINVERT));
  EXPECT_EQ(page.Index(0, 0), 0u) << "operations without a pattern ignore the null brush";
}

TEST_F(Blit, StretchDIBitsTakesColourTablesAndShrinksByMode) {
  DibInfo bi{Header(4, -1, 8), {RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}}};  // red, blue
  const uint8_t pixels[4] = {1, 0, 1, 0};
  Page page(4, 1);
  ASSERT_EQ(StretchDIBits(page.dc(), 0, 0, 4, 1, 0, 0, 4, 1, pixels, bi.get(), DIB_RGB_COLORS, SRCCOPY), 1);
  EXPECT_EQ(page.Image().pixels, (Values{kBlue, kRed, kBlue, kRed}));
  EXPECT_EQ(StretchDIBits(page.dc(), 0, 0, 1, 1, 0, 0, 1, 1, nullptr, bi.get(), DIB_RGB_COLORS, BLACKNESS), 1)
      << "an operation without a source needs no bits";
  EXPECT_EQ(page.Index(0, 0), 0u);
  bi = DibInfo{Header(4, -1, 8), {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}};  // black, white
  for (uint32_t keep : {0u, kWhite}) {
    SetStretchBltMode(page.dc(), keep ? WHITEONBLACK : BLACKONWHITE);
    ASSERT_EQ(StretchDIBits(page.dc(), 0, 0, 2, 1, 0, 0, 4, 1, pixels, bi.get(), DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(page.Index(1, 0), keep) << "shrinking keeps black, or white under WHITEONBLACK";
  }
}

TEST_F(Blit, GetDIBitsRoundTripsAPageInBothRowOrders) {
  Page page(5, 3);
  for (int i = 0; i < 15; ++i) page.Set(i % 5, i / 5, static_cast<uint32_t>(i / 5 * 40 + i % 5 * 3));
  DibInfo bi{};
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  HDC dc = page.dc();
  ASSERT_NE(GetDIBits(dc, page.bmp(), 0, 0, nullptr, bi.get(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(std::vector<LONG>({bi.h.biWidth, bi.h.biHeight, bi.h.biBitCount, LONG(bi.h.biSizeImage)}),
            std::vector<LONG>({5, 3, 8, 8 * 3}))
      << "rows of a DIB are padded to four bytes";

  std::vector<uint8_t> bits(8 * 3, 0xEE);
  ASSERT_EQ(GetDIBits(dc, page.bmp(), 0, 3, bits.data(), bi.get(), DIB_RGB_COLORS), 3);
  EXPECT_EQ(bits[0] + bits[8 * 2 + 4] * 256, 2 * 40 + 4 * 3 * 256)
      << "a bottom-up DIB starts with the bottom row";
  EXPECT_EQ(bi.colours[kRed].rgbRed + bi.colours[9].rgbBlue, 255 + 240)
      << "the table is the display's palette";

  bi.h.biHeight = -3;
  ASSERT_EQ(GetDIBits(dc, page.bmp(), 1, 5, bits.data(), bi.get(), DIB_RGB_COLORS), 2)
      << "lines beyond the bitmap are not copied";
  EXPECT_EQ(bits[0], 1 * 40) << "a top-down DIB counts scan lines from the top";

  bi.h.biHeight = 3;
  ASSERT_EQ(GetDIBits(dc, page.bmp(), 0, 3, bits.data(), bi.get(), DIB_RGB_COLORS), 3);
  Page copy(5, 3);
  ASSERT_EQ(StretchDIBits(copy.dc(), 0, 0, 5, 3, 0, 0, 5, 3, bits.data(), bi.get(), DIB_RGB_COLORS, SRCCOPY),
            3);
  EXPECT_EQ(copy.Image().pixels, page.Image().pixels);

  page.Set(0, 0, kRed), page.Set(1, 0, 7),
      page.Set(2, 0, 1);  // 7 is light grey (192, 192, 192), 1 dark red (128, 0, 0)
  bi.h = Header(3, -1, 32);
  uint32_t rgb[3] = {};
  ASSERT_EQ(GetDIBits(dc, page.bmp(), 0, 1, rgb, bi.get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(Values(rgb, rgb + 3), (Values{0xFF0000u, 0xC0C0C0u, 0x800000u}));
  bi.h.biBitCount = 1;
  ASSERT_EQ(GetDIBits(dc, page.bmp(), 0, 1, bits.data(), bi.get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(bits[0] & 0xE0, 0x40) << "each pixel goes to the nearer of black and white";
  EXPECT_EQ(bi.colours[1].rgbGreen, 255);
  ASSERT_EQ(GetDIBits(dc, page.bmp(), 0, 1, bits.data(), bi.get(), DIB_PAL_COLORS), 1);
  EXPECT_EQ(bits[0] & 0xE0, 0xE0) << "the DC's palette has dark red at 1, nearer to all three than black";
  Page rgbPage(1, 1, 32, 0xFF0000);
  bi.h = Header(1, 1, 8);
  ASSERT_EQ(GetDIBits(rgbPage.dc(), rgbPage.bmp(), 0, 1, bits.data(), bi.get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(bits[0], kRed) << "an RGB bitmap read as 8 bits takes the nearest display colour";
}

// The shortcuts for common blits (row copies, monochrome packed and expanded by bytes, colour
// masks, remembered stretch mappings and mask colours) give what the general path gives: random blits and
// stretches between monochrome, palette and RGB bitmaps, some stored bottom-up, each run both ways from the
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
      Page src(sw, sh, sd, 0), dst(dw, dh, dd, 0);
      // Some bitmaps keep their last row first, as DIB sections do.
      soft::GetBitmap(src.bmp())->bottomUp = (seed & 1) != 0;
      soft::GetBitmap(dst.bmp())->bottomUp = (seed & 2) != 0;
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) src.Set(x, y, values[fill() % 8] & soft::PixelMask(sd));
      for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) dst.Set(x, y, values[fill() % 8] & soft::PixelMask(dd));
      Colors(dst.dc(), colour[0], colour[1]);
      Colors(src.dc(), colour[2], colour[3]);
      HDC from = within ? dst.dc() : src.dc();
      auto keep = [&] {
        for (uint32_t v : soft::inspect::ReadDC(dst.dc()).pixels) result[fast] += std::to_string(v) + ' ';
      };
      if (stretch) {
        // The second source differs by one pixel; the third is the first again, as remembered stretches would
        // see it.
        for (int k = 0; k < 3; ++k, keep()) {
          if (k) src.Set(g[0] & 1, 0, src.Index(g[0] & 1, 0) ^ 1);
          StretchBlt(dst.dc(), g[0], g[1], g[2], g[3], from, g[4], g[5], g[6], g[7], rop);
        }
      } else {
        BitBlt(dst.dc(), g[0], g[1], g[2], g[3], from, g[4], g[5], rop);
        keep();
      }
    }
    EXPECT_EQ(result[0], result[1]) << "round " << round << ": " << sd << " to " << dd << " bits, rop "
                                    << std::hex << rop;
  }
  soft::blit::SetFastPaths(true);
}

}  // namespace
