// Fonts and text of the soft platform: fallbacks, extreme arguments and the font cache's bounds. Where the
// glyphs land and the metrics are compared with a real GDI in golden_test.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/soft/fontcache.h"
#include "tests/platform/page.h"

namespace {

using platform_test::Page;

constexpr uint32_t kBlank = 0;    // static black, what the pages start as
constexpr uint32_t kInk = 255;    // static white
constexpr uint32_t kPaper = 249;  // static red

LOGFONTA LibraryFont(LONG height, LONG escapement = 0, const char* face = "Courier New") {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfEscapement = escapement;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

// White text on red on a black page, as the library draws characters.
class TextPage : public Page {
 public:
  explicit TextPage(int w, int h, int bkMode = TRANSPARENT, int bpp = 8) : Page(w, h, bpp, kBlank) {
    SetTextColor(dc(), RGB(255, 255, 255));
    SetBkColor(dc(), RGB(255, 0, 0));
    SetBkMode(dc(), bkMode);
  }
  SIZE Extent(const char* s) const {
    SIZE sz{};
    GetTextExtentPoint32A(dc(), s, static_cast<int>(std::strlen(s)), &sz);
    return sz;
  }
  TEXTMETRICA Metrics() const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc(), &tm);
    return tm;
  }
  BOOL Out(int x, int y, const char* s) { return TextOutA(dc(), x, y, s, static_cast<int>(std::strlen(s))); }
};

TEST(Text, UnknownFacesTheStockFontAndNoFontsAtAllStillSucceed) {
  TextPage t(60, 30), stock(60, 30);  // a fresh DC holds the system font
  t.Font(LibraryFont(-11, 0, "No Such Face Anywhere"));
  t.Out(0, 0, "Hi");
  EXPECT_GT(t.Count(kInk), 0);
  stock.Out(0, 0, "Hi");
  for (const char* face :
       {"System", "Fixedsys", "Terminal", "Courier", "Lucida Console", "Courier New Bold"}) {
    t.Font(LibraryFont(-11, 0, face));              // stock and fixed faces by name, a style in the name
    EXPECT_TRUE(t.Out(0, 0, "H\x80\x95")) << face;  // code page 1252's extra characters
  }
  EXPECT_GT(stock.Count(kInk), 0);
  EXPECT_EQ(stock.Metrics().tmHeight, 16);

  soft::FontCache& cache = soft::FontCache::Get();
  auto fontsAvailable = [&](bool on) {
    auto lock = cache.Lock();
    cache.SetFontsAvailable(on);
  };
  fontsAvailable(false);
  TextPage none(40, 30);
  none.Font(LibraryFont(-11));
  EXPECT_NE(GetCurrentObject(none.dc(), OBJ_FONT), nullptr);
  EXPECT_TRUE(none.Out(0, 0, "Hi"));
  EXPECT_EQ(none.Count(kInk), 0) << "draws nothing";
  EXPECT_GT(none.Extent("Hi").cx, 0);
  fontsAvailable(true);
}

TEST(Text, HugeCoordinatesRectanglesAndFontParametersDrawSafely) {
  TextPage t(40, 30, OPAQUE);
  for (LONG esc : {0, 450, 900}) {
    t.Font(LibraryFont(-22, esc));
    EXPECT_TRUE(t.Out(INT_MIN, 0, "HH"));
    EXPECT_TRUE(t.Out(INT_MAX - 3, INT_MAX - 3, "HH"));
    EXPECT_TRUE(t.Out(INT_MIN, 10, std::string(100000, 'W').c_str()));
  }
  EXPECT_EQ(t.Count(kBlank), 40 * 30) << "text far outside the bitmap draws nothing";
  const RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  SetBkMode(t.dc(), TRANSPARENT);
  EXPECT_TRUE(ExtTextOutA(t.dc(), 0, 0, ETO_OPAQUE, &huge, nullptr, 0, nullptr));
  EXPECT_EQ(t.Count(kPaper), 40 * 30) << "ETO_OPAQUE fills even in transparent mode";

  LOGFONTA lf = LibraryFont(INT_MIN, INT_MIN);
  lf.lfWidth = INT_MIN;
  t.Font(lf);
  EXPECT_TRUE(t.Out(20, 15, "W"));
  lf = LibraryFont(INT_MAX, 450, "DejaVu Math TeX Gyre");
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = TRUE;
  t.Font(lf);
  EXPECT_TRUE(t.Out(0, 0, "Wg"));
  const TEXTMETRICA tm = t.Metrics();
  EXPECT_EQ(tm.tmUnderlined + tm.tmStruckOut, 2 * 0xFF);
  SetTextAlign(t.dc(), TA_UPDATECP | TA_CENTER);
  MoveToEx(t.dc(), 5, 6, nullptr);
  t.Out(0, 0, "ab");
  POINT cp{};
  EXPECT_TRUE(GetCurrentPositionEx(t.dc(), &cp) && cp.x == 5 && cp.y == 6)
      << "centred text leaves the position";
  EXPECT_TRUE(tm.tmHeight > 0 && tm.tmMaxCharWidth >= tm.tmAveCharWidth);
}

TEST(Text, CreatingAndDeletingAFontPerCharacterStaysBounded) {
  TextPage t(16, 24, OPAQUE, 1);
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
  EXPECT_TRUE(s.instances <= 64 && s.glyphs <= 1024 && s.glyphBytes <= 8u << 20 && s.faces <= 8)
      << s.instances << " instances, " << s.glyphs << " glyphs of " << s.glyphBytes << " bytes, " << s.faces
      << " faces";
}

}  // namespace
