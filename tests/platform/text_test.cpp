// Fonts and text of the soft platform: placement of the character cells,
// turned text, background modes, colours, measurements and the font cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/soft/fontcache.h"
#include "platform/soft/inspect.h"
#include "platform/soft/objects.h"
#include "platform/win32.h"

namespace {

constexpr uint32_t kBlank = 0;    // static black, what the test bitmaps start as
constexpr uint32_t kInk = 255;    // static white
constexpr uint32_t kPaper = 249;  // static red

LOGFONTA LibraryFont(LONG height, LONG escapement = 0, const char* face = "Courier New") {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfEscapement = escapement;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
  bool Empty() const { return left > right; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// A memory DC on a bitmap of its own, white text on red, as the library
// draws characters.
class TextDC {
 public:
  TextDC(int w, int h, int bpp = 8, const LOGFONTA* lf = nullptr, int bkMode = OPAQUE) {
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateBitmap(w, h, 1, bpp, nullptr);
    oldBmp_ = SelectObject(dc_, bmp_);
    SetTextColor(dc_, RGB(255, 255, 255));
    SetBkColor(dc_, RGB(255, 0, 0));
    SetBkMode(dc_, bkMode);
    if (lf) UseFont(lf);
  }
  ~TextDC() {
    UseFont(nullptr);
    SelectObject(dc_, oldBmp_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  void UseFont(const LOGFONTA* lf) {
    if (font_) {
      SelectObject(dc_, oldFont_);
      DeleteObject(font_);
      font_ = nullptr;
    }
    if (lf) {
      font_ = CreateFontIndirectA(lf);
      oldFont_ = SelectObject(dc_, font_);
    }
  }
  HDC dc() const { return dc_; }
  soft::BitmapObj& bits() const { return *soft::GetBitmap(bmp_); }
  uint32_t At(int x, int y) const { return bits().Get(x, y); }
  void Fill(uint32_t v) {
    for (int y = 0; y < bits().height; ++y)
      for (int x = 0; x < bits().width; ++x) bits().Set(x, y, v);
  }
  Box BoxOf(uint32_t value) const {
    Box b;
    for (int y = 0; y < bits().height; ++y) {
      for (int x = 0; x < bits().width; ++x) {
        if (At(x, y) != value) continue;
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
    }
    return b;
  }
  int Count(uint32_t value) const {
    const std::vector<uint32_t> p = soft::inspect::ReadBitmap(bmp_).pixels;
    return static_cast<int>(std::count(p.begin(), p.end(), value));
  }
  SIZE Extent(const char* s) const {
    SIZE sz{};
    GetTextExtentPoint32A(dc_, s, static_cast<int>(std::strlen(s)), &sz);
    return sz;
  }
  TEXTMETRICA Metrics() const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm;
  }
  BOOL Out(int x, int y, const char* s) { return TextOutA(dc_, x, y, s, static_cast<int>(std::strlen(s))); }

 private:
  HDC dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ oldBmp_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
};

TEST(Text, GlyphDotsLieInsideTheCellBoxAtTheReferencePoint) {
  const struct {
    const char* behaviour;
    LONG height;
    const char* text;
  } rows[] = {{"small letters with descenders", -11, "gjpqy|[]"}, {"shading size", -8, "#@"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.behaviour);
    const LOGFONTA lf = LibraryFont(row.height);
    TextDC t(120, 60, 8, &lf, TRANSPARENT);
    ASSERT_TRUE(t.Out(10, 7, row.text));
    const SIZE ext = t.Extent(row.text);
    const Box ink = t.BoxOf(kInk);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 7);
    EXPECT_LT(ink.right, 10 + ext.cx);
    EXPECT_LT(ink.bottom, 7 + ext.cy);
  }
}

TEST(Text, TopAlignmentPutsTheBaselineAscentBelowTheReferencePoint) {
  const LOGFONTA lf = LibraryFont(-22);
  TextDC t(60, 40, 8, &lf);
  t.Out(5, 3, "H");
  EXPECT_EQ(t.BoxOf(kInk).bottom, 3 + t.Metrics().tmAscent - 1) << "H sits on the baseline";
}

TEST(Text, NegativeHeightsAreTheEmPositiveOnesTheCellAndWidthsTheAverage) {
  const LOGFONTA em = LibraryFont(-11);
  TextDC t(60, 40, 8, &em, TRANSPARENT);
  t.Out(2, 2, "|");
  const int bar = t.BoxOf(kInk).Height();
  EXPECT_GE(bar, 10);
  EXPECT_LE(bar, 13);
  const TEXTMETRICA tm = t.Metrics();
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmHeight, 11);
  EXPECT_LE(tm.tmHeight, 13);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11) << "the em is what was asked";
  const LOGFONTA cell = LibraryFont(20);
  t.UseFont(&cell);
  EXPECT_EQ(t.Metrics().tmHeight, 20);
  EXPECT_EQ(t.Extent("ab").cy, 20);
  LOGFONTA wide = LibraryFont(-11);
  wide.lfWidth = 14;
  t.UseFont(&wide);
  EXPECT_EQ(t.Metrics().tmAveCharWidth, 14);
  EXPECT_NEAR(t.Extent("abcd").cx, 56, 4);
}

TEST(Text, CourierNewIsFixedPitchAndExtentsAddUp) {
  const LOGFONTA lf = LibraryFont(-11);
  TextDC t(10, 10, 8, &lf);
  const TEXTMETRICA tm = t.Metrics();
  EXPECT_EQ(tm.tmPitchAndFamily & 0x01, 0) << "Win32 clears TMPF_FIXED_PITCH for fixed-pitch fonts";
  EXPECT_EQ(t.Extent("iiii").cx, t.Extent("WWWW").cx);
  EXPECT_EQ(t.Extent("iiii").cx, 4 * tm.tmAveCharWidth);
  EXPECT_EQ(t.Extent("").cx, 0);
}

TEST(Text, TurnsCounterclockwiseAboutTheReferencePoint) {
  const struct {
    const char* behaviour;
    LONG escapement;
    bool horizontal;  // an upright stroke becomes a horizontal one
    int dx, dy;       // which side of the reference point the text lies on
  } rows[] = {{"a quarter turn runs up", 900, true, 1, -1},  // the other turns: text_geometry scenarios
              {"minus a quarter is three quarters", -900, true, -1, 1}};
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    const LOGFONTA lf = LibraryFont(-22, c.escapement);
    TextDC one(80, 80, 8, &lf, TRANSPARENT), two(80, 80, 8, &lf, TRANSPARENT);
    one.Out(40, 40, "l");
    two.Out(40, 40, "ll");
    const Box ink = one.BoxOf(kInk), both = two.BoxOf(kInk);
    ASSERT_FALSE(ink.Empty());
    EXPECT_EQ(ink.Width() > ink.Height(), c.horizontal);
    // The second character follows along the turned baseline, on the same side.
    const int along = c.horizontal ? both.Height() - ink.Height() : both.Width() - ink.Width();
    EXPECT_EQ(along, two.Extent("l").cx);
    for (const Box& b : {ink, both}) {
      EXPECT_TRUE(c.dx > 0 ? b.left >= 40 : b.right < 40);
      EXPECT_TRUE(c.dy > 0 ? b.top >= 40 : b.bottom < 40);
    }
  }
}

TEST(Text, ObliqueTextStaysInItsTurnedCell) {
  const LOGFONTA lf = LibraryFont(-22, 450);
  TextDC t(80, 80, 8, &lf);
  t.Out(20, 60, "Hg");
  const SIZE ext = t.Extent("Hg");
  const double r = 0.70710678;
  int inked = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 80; ++x) {
      if (t.At(x, y) == kBlank) continue;
      ++inked;
      const double px = x + 0.5 - 20, py = y + 0.5 - 60;
      const double u = px * r - py * r, v = px * r + py * r;
      EXPECT_GT(u, -1.0) << x << "," << y;
      EXPECT_LT(u, ext.cx + 1.0) << x << "," << y;
      EXPECT_GT(v, -1.0) << x << "," << y;
      EXPECT_LT(v, ext.cy + 1.0) << x << "," << y;
    }
  }
  EXPECT_NEAR(inked, ext.cx * ext.cy, ext.cx + ext.cy) << "the cells are filled, turned";
}

TEST(Text, DxGivesTheAdvanceOfEachCharacter) {
  const LOGFONTA lf = LibraryFont(-11);
  TextDC t(80, 30, 8, &lf, TRANSPARENT), one(80, 30, 8, &lf, TRANSPARENT);
  const INT dx[2] = {30, 30};
  ExtTextOutA(t.dc(), 0, 0, 0, nullptr, "||", 2, dx);
  one.Out(0, 0, "|");
  EXPECT_EQ(t.BoxOf(kInk).right - one.BoxOf(kInk).right, 30);
}

TEST(Text, PaletteIndexTextColourGivesThatEntryOfTheRealizedPalette) {
  const LOGFONTA lf = LibraryFont(-11);
  TextDC t(30, 30, 8, &lf);
  std::vector<BYTE> buf(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 16;
  for (int i = 0; i < 16; ++i) lp->palPalEntry[i] = PALETTEENTRY{BYTE(i * 16), 0, 0, PC_RESERVED};
  HPALETTE pal = CreatePalette(lp);
  HPALETTE oldPal = SelectPalette(t.dc(), pal, FALSE);
  RealizePalette(t.dc());
  SetTextColor(t.dc(), PALETTEINDEX(3));
  SetBkColor(t.dc(), PALETTEINDEX(7));
  t.Fill(1);
  SetROP2(t.dc(), R2_XORPEN);  // text ignores the binary raster operation
  t.Out(2, 2, "W");
  EXPECT_GT(t.Count(13), 0);
  EXPECT_GT(t.Count(17), 0);
  EXPECT_EQ(t.Count(13) + t.Count(17), t.Extent("W").cx * t.Extent("W").cy);
  SelectPalette(t.dc(), oldPal, FALSE);
  DeleteObject(pal);
}

TEST(Text, MonochromeBitmapsTakeBlackTextOnWhite) {
  const LOGFONTA lf = LibraryFont(-11);
  TextDC t(20, 20, 1, &lf);
  SetTextColor(t.dc(), RGB(0, 0, 0));
  SetBkColor(t.dc(), RGB(255, 255, 255));
  t.Out(0, 0, "A");
  const SIZE ext = t.Extent("A");
  int ink = 0;
  for (int y = 0; y < ext.cy; ++y)
    for (int x = 0; x < ext.cx; ++x) ink += t.At(x, y) == 0;
  EXPECT_GT(ink, 10);
  EXPECT_EQ(t.Count(1), ext.cx * ext.cy - ink) << "the rest of the cell is white";
}

TEST(Text, StyleNamesAndWeightChangeTheGlyphs) {
  auto inkOf = [](const LOGFONTA& lf) {
    TextDC t(40, 40, 8, &lf, TRANSPARENT);
    t.Out(4, 4, "H");
    return soft::inspect::ReadDC(t.dc()).pixels;
  };
  const auto upright = inkOf(LibraryFont(-22));
  EXPECT_NE(inkOf(LibraryFont(-22, 0, "Courier New Italic")), upright);
  LOGFONTA italic = LibraryFont(-22);
  italic.lfItalic = TRUE;
  EXPECT_EQ(inkOf(italic), inkOf(LibraryFont(-22, 0, "Courier New Italic")));
  LOGFONTA bold = LibraryFont(-22);
  bold.lfWeight = FW_BOLD;
  const auto heavy = inkOf(bold);
  EXPECT_GT(std::count(heavy.begin(), heavy.end(), kInk), std::count(upright.begin(), upright.end(), kInk));
}

TEST(Text, UnknownFacesAndTheStockFontStillDraw) {
  const LOGFONTA lf = LibraryFont(-11, 0, "No Such Face Anywhere");
  TextDC t(60, 30, 8, &lf), stock(60, 30);  // a fresh DC holds the system font
  t.Out(0, 0, "Hi");
  EXPECT_GT(t.Count(kInk), 0);
  stock.Out(0, 0, "Hi");
  EXPECT_GT(stock.Count(kInk), 0);
  EXPECT_EQ(stock.Metrics().tmHeight, 16);
}

TEST(Text, WithoutAnyInstalledFontTextDrawsNothingYetSucceeds) {
  soft::FontCache& cache = soft::FontCache::Get();
  auto fontsAvailable = [&](bool on) {
    auto lock = cache.Lock();
    cache.SetFontsAvailable(on);
  };
  fontsAvailable(false);
  const LOGFONTA lf = LibraryFont(-11);
  TextDC t(40, 30, 8, &lf, TRANSPARENT);
  EXPECT_NE(GetCurrentObject(t.dc(), OBJ_FONT), nullptr);
  EXPECT_TRUE(t.Out(0, 0, "Hi"));
  EXPECT_EQ(t.Count(kInk), 0);
  EXPECT_GT(t.Extent("Hi").cx, 0);
  fontsAvailable(true);
}

TEST(Text, TextFarOutsideTheBitmapCostsNothingAndDrawsNothing) {
  TextDC t(40, 30);
  for (LONG esc : {0, 450, 900}) {
    const LOGFONTA lf = LibraryFont(-22, esc);
    t.UseFont(&lf);
    EXPECT_TRUE(t.Out(INT_MIN, 0, "HH"));
    EXPECT_TRUE(t.Out(INT_MAX - 3, INT_MAX - 3, "HH"));
    EXPECT_TRUE(t.Out(INT_MIN, 10, std::string(100000, 'W').c_str()));
  }
  EXPECT_EQ(t.Count(kBlank), 40 * 30);
}

TEST(Text, BadHandlesAndArgumentsFail) {
  TextDC t(10, 10);
  HDC bogus = reinterpret_cast<HDC>(uintptr_t{0xBAD0});
  SIZE sz{};
  TEXTMETRICA tm{};
  EXPECT_FALSE(TextOutA(bogus, 0, 0, "a", 1));
  EXPECT_FALSE(TextOutA(t.dc(), 0, 0, "a", -1));
  EXPECT_FALSE(GetTextExtentPoint32A(bogus, "a", 1, &sz));
  EXPECT_FALSE(GetTextExtentPoint32A(t.dc(), "a", 1, nullptr));
  EXPECT_FALSE(GetTextMetricsA(bogus, &tm));
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
}

TEST(Text, CreatingAndDeletingAFontPerCharacterStaysBounded) {
  TextDC t(16, 24, 1);
  const size_t handles = soft::inspect::LiveHandles();
  const char* faces[] = {"Courier New", "Courier New Italic"};
  for (int i = 0; i < 10000; ++i) {
    LOGFONTA lf = LibraryFont(i % 3 == 0 ? -22 : -11, (i % 8) * 450, faces[i % 2]);
    lf.lfHeight -= i % 37;  // many sizes, more than the cache holds
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(t.dc(), f);
    const char ch[2] = {static_cast<char>('!' + i % 90), 0};
    ExtTextOutA(t.dc(), 0, 0, ETO_OPAQUE, nullptr, ch, 1, nullptr);
    SelectObject(t.dc(), old);
    DeleteObject(f);
  }
  EXPECT_EQ(soft::inspect::LiveHandles(), handles);
  soft::FontCache& cache = soft::FontCache::Get();
  auto lock = cache.Lock();
  const soft::FontCache::Stats s = cache.CurrentStats();
  EXPECT_LE(s.instances, 64u);
  EXPECT_LE(s.glyphs, 1024u);
  EXPECT_LE(s.glyphBytes, 8u << 20);
  EXPECT_LE(s.faces, 8u);
}

TEST(Text, ExtremeFontParametersDrawSafely) {
  TextDC t(64, 64);
  LOGFONTA lf = LibraryFont(INT_MIN, INT_MIN);
  lf.lfWidth = INT_MIN;
  t.UseFont(&lf);
  EXPECT_TRUE(t.Out(32, 32, "W"));
  lf = LibraryFont(INT_MAX, 450, "DejaVu Math TeX Gyre");
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = TRUE;
  t.UseFont(&lf);
  EXPECT_TRUE(t.Out(0, 0, "Wg"));
  const TEXTMETRICA tm = t.Metrics();
  EXPECT_GT(tm.tmHeight, 0);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
}

TEST(Text, EtoOpaqueFillsTheRectangleEvenInTransparentModeAndAtAnySize) {
  const LOGFONTA lf = LibraryFont(-11);
  TextDC t(40, 30, 8, &lf, TRANSPARENT);
  const RECT r{2, 3, 30, 25};
  ASSERT_TRUE(ExtTextOutA(t.dc(), 5, 5, ETO_OPAQUE, &r, "x", 1, nullptr));
  EXPECT_EQ(t.Count(kPaper) + t.Count(kInk), 28 * 22);
  const Box filled = t.BoxOf(kPaper);
  EXPECT_EQ(std::vector<int>({filled.left, filled.top, filled.right, filled.bottom}),
            std::vector<int>({2, 3, 29, 24}));
  const RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_TRUE(ExtTextOutA(t.dc(), 0, 0, ETO_OPAQUE, &huge, nullptr, 0, nullptr));
  EXPECT_EQ(t.Count(kPaper), 40 * 30);
}

}  // namespace
