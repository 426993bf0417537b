// Text geometry only: where the glyph dots and the opaque cell land around the reference point for each
// height and escapement, the metrics, and how far turned glyphs move between calls. The dots themselves are
// not compared, since the font engines and fonts differ. Lines starting "~1 " hold numbers that a comparison
// accepts within +-1: rasterisers differ by a pixel at edges (hinting, rounding of the rotated origin).
#include <algorithm>
#include <cstring>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kUntouched = RGB(0x12, 0x34, 0x56);
const char kText[] = "Hg";

HFONT MakeFont(const char* face, int height, int escapement) {
  LOGFONTA lf;
  std::memset(&lf, 0, sizeof lf);  // as the library fills it
  lf.lfHeight = height;
  lf.lfEscapement = escapement;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// " <name> x0 y0 x1 y1" round the pixels for which `in` holds, relative to the reference point (48, 48), or "
// <name> none".
template <class F>
std::string BoxText(const Canvas& c, const char* name, F in) {
  int b[4] = {1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (in(c.At(x, y)))
        b[0] = std::min(b[0], x), b[1] = std::min(b[1], y), b[2] = std::max(b[2], x + 1), b[3] = y + 1;
  std::string s = std::string(" ") + name;
  if (b[2] < b[0]) return s + " none";
  Appendf(s, " %d %d %d %d", b[0] - 48, b[1] - 48, b[2] - 48, b[3] - 48);
  return s;
}
// Ink: pixels in neither the untouched nor the (white) cell colour, so anti-aliased edges count as ink. Cell:
// every pixel the call touched.
std::string Ink(const Canvas& c) {
  return BoxText(c, "ink", [](COLORREF p) { return p != kUntouched && p != kWhite; });
}
std::string Cell(const Canvas& c, const char* name) {
  return BoxText(c, name, [](COLORREF p) { return p != kUntouched; });
}

void Metrics(std::string& out, HDC dc) {
  TEXTMETRICA tm{};
  BOOL ok = GetTextMetricsA(dc, &tm);
  Appendf(out, "~1 metrics ok=%d height %ld ascent %ld descent %ld avecw %ld maxcw %ld\n", ok,
          long(tm.tmHeight), long(tm.tmAscent), long(tm.tmDescent), long(tm.tmAveCharWidth),
          long(tm.tmMaxCharWidth));
  // Win32's TMPF_FIXED_PITCH bit is set for variable pitch fonts.
  Appendf(out, "pitch bit %d family %02x\n", tm.tmPitchAndFamily & 1, tm.tmPitchAndFamily & 0xF0);
  SIZE sz{}, one{};
  ok = GetTextExtentPoint32A(dc, kText, 2, &sz);
  GetTextExtentPoint32A(dc, "H", 1, &one);
  Appendf(out, "~1 extent \"%s\" ok=%d %ld %ld\n~1 extent \"H\" %ld %ld\n", kText, ok, long(sz.cx),
          long(sz.cy), long(one.cx), long(one.cy));
}

// Wine leaves the opaque background of rotated text partly or wholly unpainted where Windows fills the turned
// cell, so only the upright cell is recorded.
void TextGeometry(std::string& out, int height) {
  Appendf(out, "\"Courier New\" height %d, text \"%s\", TA_TOP|TA_LEFT, OPAQUE, black on white\n", height,
          kText);
  Canvas c(96, 96, kUntouched);  // reference point 48, 48
  Colors(c.dc(), kBlack, kWhite);
  SetBkMode(c.dc(), OPAQUE);
  SetTextAlign(c.dc(), TA_TOP | TA_LEFT);
  {
    Selected font(c.dc(), MakeFont("Courier New", height, 0));
    Metrics(out, c.dc());
  }
  for (int esc : {0, 450, 900, 1800, 2700, 3150}) {
    Selected font(c.dc(), MakeFont("Courier New", height, esc));
    for (int ext = 0; ext < 2; ++ext) {
      c.Fill(kUntouched);
      BOOL ok = ext ? ExtTextOutA(c.dc(), 48, 48, 0, nullptr, kText, 2, nullptr)
                    : TextOutA(c.dc(), 48, 48, kText, 2);
      Appendf(out, "~1 esc %4d %s ok=%d%s%s\n", esc, ext ? "ExtTextOutA" : "TextOutA   ", ok, Ink(c).c_str(),
              esc ? "" : Cell(c, "cell").c_str());
    }
  }
}

}  // namespace

ORACLE_SCENARIO_CALL(text_geometry_8, TextGeometry(out, -8));
ORACLE_SCENARIO_CALL(text_geometry_11, TextGeometry(out, -11));
ORACLE_SCENARIO_CALL(text_geometry_22, TextGeometry(out, -22));

// ETO_OPAQUE fills exactly the given rectangle (and the cell), ETO_CLIPPED cuts the dots at it; transparent
// mode paints dots only.
ORACLE_SCENARIO(text_opaque_rect) {
  Canvas c(96, 96, kUntouched);
  Colors(c.dc(), kBlack, kWhite);
  Selected font(c.dc(), MakeFont("Courier New", -11, 0));
  const RECT wide{45, 46, 78, 68}, narrow{50, 50, 57, 54};
  const struct {
    const char* what;
    UINT options;
    const RECT* rect;
    int mode;
  } cases[] = {{"ETO_OPAQUE wide rect", ETO_OPAQUE, &wide, OPAQUE},
               {"ETO_OPAQUE wide rect, TRANSPARENT mode", ETO_OPAQUE, &wide, TRANSPARENT},
               {"ETO_CLIPPED narrow rect", ETO_CLIPPED, &narrow, OPAQUE},
               {"ETO_OPAQUE|ETO_CLIPPED narrow rect", ETO_OPAQUE | ETO_CLIPPED, &narrow, TRANSPARENT},
               {"no options, TRANSPARENT mode", 0, nullptr, TRANSPARENT}};
  for (auto& k : cases) {
    c.Fill(kUntouched);
    SetBkMode(c.dc(), k.mode);
    BOOL ok = ExtTextOutA(c.dc(), 48, 48, k.options, k.rect, kText, 2, nullptr);
    Appendf(out, "~1 %s: ok=%d%s%s\n", k.what, ok, Ink(c).c_str(), Cell(c, "touched").c_str());
  }
}

// Where turned text lands in whole pixels: how far the ink of the same "H" moves from TA_BASELINE at the
// reference point with another alignment or leading spaces, which is exact even though the font engines draw
// different dots; then where TA_UPDATECP leaves the current position after "Hgx". It pins how the turned
// ascent, descent, advances and string extent are rounded.
ORACLE_SCENARIO(text_turned_placement) {
  const struct {
    const char *what, *text;
    UINT align;
  } shifts[] = {{"", "H", TA_BASELINE},
                {"top", "H", TA_TOP},
                {"bottom", "H", TA_BOTTOM},
                {"pen1", " H", TA_BASELINE},
                {"pen3", "   H", TA_BASELINE},
                {"right", "H", TA_BASELINE | TA_RIGHT},
                {"centre", "H  ", TA_BASELINE | TA_CENTER},
                {"cp", "Hgx", TA_UPDATECP},
                {"cp-right", "Hgx", TA_UPDATECP | TA_RIGHT}};
  out += "\"Courier New\", shifts of the ink of \"H\" from TA_BASELINE at the reference point\n";
  for (int height : {-11, -13, -22})
    for (int esc : {100, 300, 450, 600, 1200, 1350, 2250, 3150}) {
      Canvas c(160, 160);  // reference point 80, 80
      SetTextColor(c.dc(), kBlack);
      SetBkMode(c.dc(), TRANSPARENT);
      Selected font(c.dc(), MakeFont("Courier New", height, esc));
      Appendf(out, "height %d esc %4d:", height, esc);
      POINT base{};
      for (auto& s : shifts) {
        c.Fill(kWhite);
        SetTextAlign(c.dc(), s.align);
        MoveToEx(c.dc(), 80, 80, nullptr);
        TextOutA(c.dc(), 80, 80, s.text, int(std::strlen(s.text)));
        POINT p{1 << 30, 1 << 30};  // the top left corner of the ink, or the current position
        for (int y = 0; y < 160; ++y)
          for (int x = 0; x < 160; ++x)
            if (c.At(x, y) != kWhite) p = POINT{std::min<LONG>(p.x, x), std::min<LONG>(p.y, y)};
        if (s.align & TA_UPDATECP) GetCurrentPositionEx(c.dc(), &p);
        const POINT from = s.align & TA_UPDATECP ? POINT{80, 80} : base;
        if (*s.what) Appendf(out, " %s %ld %ld", s.what, long(p.x - from.x), long(p.y - from.y));
        if (!*s.what) base = p;
      }
      out += '\n';
    }
}

// The library also asks for "Courier New Italic"; which face a GDI picks for that name depends on the
// installed fonts, so this is not compared.
ORACLE_SCENARIO(info_text_italic_face) {
  Canvas c(8, 8);
  Selected font(c.dc(), MakeFont("Courier New Italic", -11, 0));
  Metrics(out, c.dc());
}

// What the display looks like to a memory DC: a true colour display under Wine, our 8-bit palette display
// natively.
ORACLE_SCENARIO(info_display_model) {
  HDC dc = CreateCompatibleDC(nullptr);
  Appendf(out, "BITSPIXEL %d PLANES %d RC_PALETTE %d SIZEPALETTE %d\n", GetDeviceCaps(dc, BITSPIXEL),
          GetDeviceCaps(dc, PLANES), (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0,
          GetDeviceCaps(dc, SIZEPALETTE));
  BITMAP bm{};
  GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
  Appendf(out, "fresh memory DC bitmap %ldx%ld %d bpp\n", long(bm.bmWidth), long(bm.bmHeight),
          bm.bmBitsPixel);
  DeleteDC(dc);
}

}  // namespace oracle
