// Text geometry only: where the glyph dots and the opaque cell land around
// the reference point for each height and escapement, and the metrics. The
// dots themselves are not compared, since the font engines and fonts differ.
#include <cstring>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kUntouched = RGB(0x12, 0x34, 0x56);
const COLORREF kInk = RGB(0, 0, 0);
const COLORREF kCell = RGB(255, 255, 255);
const int kRef = 48;  // reference point in a 96 x 96 canvas
const char kText[] = "Hg";

HFONT MakeFont(const char* face, int height, int escapement) {
  LOGFONTA lf;
  std::memset(&lf, 0, sizeof lf);  // as the library fills it
  lf.lfHeight = height;
  lf.lfEscapement = escapement;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

struct Box {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -(1 << 30), y1 = -(1 << 30);
  bool empty() const { return x1 < x0; }
  void Add(int x, int y) {
    x0 = x < x0 ? x : x0;
    y0 = y < y0 ? y : y0;
    x1 = x + 1 > x1 ? x + 1 : x1;
    y1 = y + 1 > y1 ? y + 1 : y1;
  }
  std::string Text() const {
    if (empty()) return "none";
    std::string s;
    Appendf(s, "%d %d %d %d", x0 - kRef, y0 - kRef, x1 - kRef, y1 - kRef);
    return s;
  }
};

// Ink: pixels in neither the untouched nor the cell colour (anti-aliased
// edges count as ink). Cell: every pixel the call touched.
void Measure(const Canvas& c, Box* ink, Box* cell) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      const COLORREF p = c.At(x, y);
      if (p == kUntouched) continue;
      cell->Add(x, y);
      if (p != kCell) ink->Add(x, y);
    }
}

void Metrics(std::string& out, HDC dc) {
  TEXTMETRICA tm{};
  BOOL ok = GetTextMetricsA(dc, &tm);
  std::string line;
  Appendf(line, "metrics ok=%d height %ld ascent %ld descent %ld avecw %ld maxcw %ld", ok,
          static_cast<long>(tm.tmHeight), static_cast<long>(tm.tmAscent), static_cast<long>(tm.tmDescent),
          static_cast<long>(tm.tmAveCharWidth), static_cast<long>(tm.tmMaxCharWidth));
  AppendTolerant(out, 1, line);
  // Win32's TMPF_FIXED_PITCH bit is set for variable pitch fonts.
  Appendf(out, "pitch bit %d family %02x\n", tm.tmPitchAndFamily & 1, tm.tmPitchAndFamily & 0xF0);
  SIZE sz{};
  ok = GetTextExtentPoint32A(dc, kText, 2, &sz);
  line.clear();
  Appendf(line, "extent \"%s\" ok=%d %ld %ld", kText, ok, static_cast<long>(sz.cx), static_cast<long>(sz.cy));
  AppendTolerant(out, 1, line);
  SIZE one{};
  GetTextExtentPoint32A(dc, "H", 1, &one);
  line.clear();
  Appendf(line, "extent \"H\" %ld %ld", static_cast<long>(one.cx), static_cast<long>(one.cy));
  AppendTolerant(out, 1, line);
}

// Glyph rasterisers differ by a pixel at edges (hinting, rounding of the
// rotated origin), so box edges and metrics are compared within +-1.
void TextGeometry(std::string& out, int height) {
  Appendf(out, "\"Courier New\" height %d, text \"%s\", TA_TOP|TA_LEFT, OPAQUE, black on white\n", height,
          kText);
  Canvas c(96, 96, kUntouched);
  SetTextColor(c.dc(), kInk);
  SetBkColor(c.dc(), kCell);
  SetBkMode(c.dc(), OPAQUE);
  SetTextAlign(c.dc(), TA_TOP | TA_LEFT);
  {
    Selected<HFONT> font(c.dc(), MakeFont("Courier New", height, 0));
    Metrics(out, c.dc());
  }
  for (int esc : {0, 450, 900, 1800, 2700, 3150}) {
    Selected<HFONT> font(c.dc(), MakeFont("Courier New", height, esc));
    for (int ext = 0; ext < 2; ++ext) {
      c.Fill(kUntouched);
      BOOL ok = ext ? ExtTextOutA(c.dc(), kRef, kRef, 0, nullptr, kText, 2, nullptr)
                    : TextOutA(c.dc(), kRef, kRef, kText, 2);
      Box ink, cell;
      Measure(c, &ink, &cell);
      std::string line;
      Appendf(line, "esc %4d %s ok=%d ink %s", esc, ext ? "ExtTextOutA" : "TextOutA   ", ok,
              ink.Text().c_str());
      // Wine leaves the opaque background of rotated text partly or wholly
      // unpainted where Windows fills the turned cell, so only the upright
      // cell is recorded.
      if (esc == 0) Appendf(line, " cell %s", cell.Text().c_str());
      AppendTolerant(out, 1, line);
    }
  }
}

}  // namespace

ORACLE_SCENARIO(text_geometry_8) {
  TextGeometry(out, -8);
}
ORACLE_SCENARIO(text_geometry_11) {
  TextGeometry(out, -11);
}
ORACLE_SCENARIO(text_geometry_22) {
  TextGeometry(out, -22);
}

// ETO_OPAQUE fills exactly the given rectangle (and the cell), ETO_CLIPPED
// cuts the dots at it; transparent mode paints dots only.
ORACLE_SCENARIO(text_opaque_rect) {
  Canvas c(96, 96, kUntouched);
  SetTextColor(c.dc(), kInk);
  SetBkColor(c.dc(), kCell);
  Selected<HFONT> font(c.dc(), MakeFont("Courier New", -11, 0));
  const RECT wide{kRef - 3, kRef - 2, kRef + 30, kRef + 20};
  const RECT narrow{kRef + 2, kRef + 2, kRef + 9, kRef + 6};
  struct {
    const char* what;
    UINT options;
    const RECT* rect;
    int mode;
  } cases[] = {
      {"ETO_OPAQUE wide rect", ETO_OPAQUE, &wide, OPAQUE},
      {"ETO_OPAQUE wide rect, TRANSPARENT mode", ETO_OPAQUE, &wide, TRANSPARENT},
      {"ETO_CLIPPED narrow rect", ETO_CLIPPED, &narrow, OPAQUE},
      {"ETO_OPAQUE|ETO_CLIPPED narrow rect", ETO_OPAQUE | ETO_CLIPPED, &narrow, TRANSPARENT},
      {"no options, TRANSPARENT mode", 0, nullptr, TRANSPARENT},
  };
  for (auto& k : cases) {
    c.Fill(kUntouched);
    SetBkMode(c.dc(), k.mode);
    BOOL ok = ExtTextOutA(c.dc(), kRef, kRef, k.options, k.rect, kText, 2, nullptr);
    Box ink, cell;
    Measure(c, &ink, &cell);
    std::string line;
    Appendf(line, "%s: ok=%d ink %s touched %s", k.what, ok, ink.Text().c_str(), cell.Text().c_str());
    AppendTolerant(out, 1, line);
  }
}

// The library also asks for "Courier New Italic"; which face a GDI picks
// for that name depends on the installed fonts, so this is not compared.
ORACLE_SCENARIO(info_text_italic_face) {
  Canvas c(8, 8);
  Selected<HFONT> font(c.dc(), MakeFont("Courier New Italic", -11, 0));
  Metrics(out, c.dc());
}

// What the display looks like to a memory DC: a true colour display under
// Wine, our 8-bit palette display natively.
ORACLE_SCENARIO(info_display_model) {
  HDC dc = CreateCompatibleDC(nullptr);
  Appendf(out, "BITSPIXEL %d PLANES %d RC_PALETTE %d SIZEPALETTE %d\n", GetDeviceCaps(dc, BITSPIXEL),
          GetDeviceCaps(dc, PLANES), (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0,
          GetDeviceCaps(dc, SIZEPALETTE));
  BITMAP bm{};
  GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
  Appendf(out, "fresh memory DC bitmap %ldx%ld %d bpp\n", static_cast<long>(bm.bmWidth),
          static_cast<long>(bm.bmHeight), bm.bmBitsPixel);
  DeleteDC(dc);
}

}  // namespace oracle
