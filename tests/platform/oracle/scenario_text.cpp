// Text geometry only: where the glyph dots and the opaque cell land around
// the reference point for each height and escapement, and the metrics. The
// dots themselves are not compared, since the font engines and fonts differ.
// Glyph rasterisers differ by a pixel at edges (hinting, rounding of the
// rotated origin), so box edges and metrics are compared within +-1.
#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kUntouched = RGB(0x12, 0x34, 0x56);
const int kRef = 48;  // reference point in a 96 x 96 canvas
const char kText[] = "Hg";

// Ink: pixels in neither the untouched nor the (white) cell colour, so
// anti-aliased edges count as ink. Cell: every pixel the call touched.
std::string InkAndCell(const Canvas& c, const char* ink, const char* cell) {
  Box boxes[2];
  Bounds(c, kUntouched, kWhite, &boxes[1], &boxes[0]);
  std::string s;
  for (int i = 0; i < (cell ? 2 : 1); ++i) {
    const Box& b = boxes[i];
    Appendf(s, " %s ", i ? cell : ink);
    if (b.x1 < b.x0)
      s += "none";
    else
      Appendf(s, "%d %d %d %d", b.x0 - kRef, b.y0 - kRef, b.x1 - kRef, b.y1 - kRef);
  }
  return s;
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
  SIZE sz{}, one{};
  ok = GetTextExtentPoint32A(dc, kText, 2, &sz);
  GetTextExtentPoint32A(dc, "H", 1, &one);
  line.clear();
  Appendf(line, "extent \"%s\" ok=%d %ld %ld", kText, ok, static_cast<long>(sz.cx), static_cast<long>(sz.cy));
  AppendTolerant(out, 1, line);
  line.clear();
  Appendf(line, "extent \"H\" %ld %ld", static_cast<long>(one.cx), static_cast<long>(one.cy));
  AppendTolerant(out, 1, line);
}

void TextGeometry(std::string& out, int height) {
  Appendf(out, "\"Courier New\" height %d, text \"%s\", TA_TOP|TA_LEFT, OPAQUE, black on white\n", height,
          kText);
  Canvas c(96, 96, kUntouched);
  Colors(c.dc(), kBlack, kWhite);
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
      std::string line;
      // Wine leaves the opaque background of rotated text partly or wholly
      // unpainted where Windows fills the turned cell, so only the upright
      // cell is recorded.
      Appendf(line, "esc %4d %s ok=%d%s", esc, ext ? "ExtTextOutA" : "TextOutA   ", ok,
              InkAndCell(c, "ink", esc == 0 ? "cell" : nullptr).c_str());
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
  Colors(c.dc(), kBlack, kWhite);
  Selected<HFONT> font(c.dc(), MakeFont("Courier New", -11, 0));
  const RECT wide{kRef - 3, kRef - 2, kRef + 30, kRef + 20}, narrow{kRef + 2, kRef + 2, kRef + 9, kRef + 6};
  const struct {
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
    std::string line;
    Appendf(line, "%s: ok=%d%s", k.what, ok, InkAndCell(c, "ink", "touched").c_str());
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
