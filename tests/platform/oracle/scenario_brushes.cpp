// Pattern brushes and their origin, and the sixteen binary raster operations on colour and monochrome
// targets.
#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

// An "F" with no symmetry, so a shifted or mirrored pattern shows.
const std::vector<const char*> kPatternArt = {
    "########", "#.......", "#.......", "######..", "#.......", "#.......", "#.......", "........",
};

// The sixteen binary raster operations, R2_BLACK (1) to R2_WHITE (16).
const char* const kRop2[] = {"R2_BLACK",      "R2_NOTMERGEPEN", "R2_MASKNOTPEN", "R2_NOTCOPYPEN",
                             "R2_MASKPENNOT", "R2_NOT",         "R2_XORPEN",     "R2_NOTMASKPEN",
                             "R2_MASKPEN",    "R2_NOTXORPEN",   "R2_NOP",        "R2_MERGENOTPEN",
                             "R2_COPYPEN",    "R2_MERGEPENNOT", "R2_MERGEPEN",   "R2_WHITE"};

}  // namespace

// The pattern's 0 bits take the text colour and 1 bits the background colour; the brush origin moves the
// pattern. The origin is set once before and once after the brush is selected, since GDI documents it as
// applying to the next brush selected.
ORACLE_SCENARIO(pattern_brush_origin) {
  HBRUSH brush = PatternBrush(kPatternArt);
  Canvas c(40, 24);
  Colors(c.dc(), kRed, kBlue);
  SelectObject(c.dc(), brush);
  PatBlt(c.dc(), 0, 0, 20, 12, PATCOPY);
  SetBrushOrgEx(c.dc(), 3, 2, nullptr);  // after selection
  PatBlt(c.dc(), 20, 0, 20, 12, PATCOPY);
  RECT r{0, 12, 20, 24};
  FillRect(c.dc(), &r, brush);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  SetBrushOrgEx(c.dc(), 5, 1, nullptr);  // before selection
  SelectObject(c.dc(), brush);
  SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Rectangle(c.dc(), 20, 12, 40, 24);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  c.Dump(
      out,
      "PatBlt org 0,0 | PatBlt org 3,2 / FillRect org 3,2 | null-pen Rectangle org 5,1; red text, blue bk");
  DeleteObject(brush);
}

// On a monochrome target: does a mono pattern follow the DC's text and background colours (white on black
// would invert it) or keep its bits?
ORACLE_SCENARIO(pattern_brush_mono) {
  MemDC dc(CreateBitmap(24, 10, 1, 1, nullptr));
  Selected brush(dc.dc(), PatternBrush(kPatternArt));
  PatBlt(dc.dc(), 0, 0, 12, 10, PATCOPY);
  Colors(dc.dc(), kWhite, kBlack);
  PatBlt(dc.dc(), 12, 0, 12, 10, PATCOPY);
  dc.DumpMono(out, "left default colours, right white text on black");
}

// Pen colour f0 0f 55 over black, white and 33 66 cc stripes; each result is the bitwise operation on the
// pixel values.
ORACLE_SCENARIO(rop2_all) {
  Canvas c(48, 16);
  c.Paint([](int x, int) { return x < 16 ? kBlack : x < 32 ? kWhite : RGB(0x33, 0x66, 0xCC); });
  auto pen = Pen(c.dc(), PS_SOLID, 1, RGB(0xF0, 0x0F, 0x55));
  for (int i = 0; i < 16; ++i) {
    SetROP2(c.dc(), R2_BLACK + i);
    Segments(c.dc(), {{0, i, 48, i}});
  }
  out += "pen #f00f55 over stripes #000000 | #ffffff | #3366cc\n";
  for (int i = 0; i < 16; ++i)
    Appendf(out, "%-15s %s %s %s\n", kRop2[i], Hex(c.At(8, i)).c_str(), Hex(c.At(24, i)).c_str(),
            Hex(c.At(40, i)).c_str());
  // The line must cover every column of its row; count the columns where the result differs from its stripe's
  // first column.
  int ragged = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) ragged += c.At(x, y) != c.At(x / 16 * 16, y);
  Appendf(out, "pixels differing within a stripe: %d\n", ragged);
}

ORACLE_SCENARIO(rop2_mono) {
  out += "ROP2 on a 1-bit bitmap: dest 0,1 under a black pen | under a white pen (K=0 W=1)\n";
  for (int i = 0; i < 16; ++i) {
    MemDC m(MonoFromArt({"#.", "#."}));
    const HDC dc = m.dc();
    SetROP2(dc, R2_BLACK + i);
    auto black = Pen(dc, PS_SOLID, 1, kBlack);
    Segments(dc, {{0, 0, 2, 0}});
    auto white = Pen(dc, PS_SOLID, 1, kWhite);
    Segments(dc, {{0, 1, 2, 1}});
    auto bit = [&](int x, int y) {
      return GetPixel(dc, x, y) == kWhite ? 'W' : GetPixel(dc, x, y) == kBlack ? 'K' : '?';
    };
    Appendf(out, "%-15s %c %c | %c %c\n", kRop2[i], bit(0, 0), bit(1, 0), bit(0, 1), bit(1, 1));
  }
}

// Brushes and pens of shapes go through the ROP2 as well.
ORACLE_SCENARIO(rop2_shapes) {
  Canvas c(48, 24);
  c.Paint([](int x, int) { return (x / 4) % 2 ? kBlack : kWhite; });
  auto red = Brush(c.dc(), kRed);
  SetROP2(c.dc(), R2_XORPEN);
  Rectangle(c.dc(), 1, 1, 15, 11);
  SetROP2(c.dc(), R2_NOT);
  Ellipse(c.dc(), 17, 1, 31, 11);
  SetROP2(c.dc(), R2_MASKPEN);
  Poly(c.dc(), {{33, 1}, {46, 6}, {33, 11}});
  SetROP2(c.dc(), R2_MERGEPENNOT);
  Rectangle(c.dc(), 1, 13, 15, 23);
  SetROP2(c.dc(), R2_NOTXORPEN);
  Ellipse(c.dc(), 17, 13, 31, 23);
  c.Dump(out, "red brush, black pen over 4px stripes: XORPEN NOT MASKPEN / MERGEPENNOT NOTXORPEN", kOdd);
}

// With R2_XORPEN a black pen leaves white alone and a red brush turns it cyan, so the picture shows whether
// the fill also runs under the outline.
ORACLE_SCENARIO(rop2_xor_shapes) {
  Canvas c(64, 16);
  auto red = Brush(c.dc(), kRed);
  SetROP2(c.dc(), R2_XORPEN);
  Rectangle(c.dc(), 1, 1, 15, 11);
  Ellipse(c.dc(), 17, 1, 31, 11);
  Poly(c.dc(), {{33, 1}, {46, 6}, {33, 11}});
  Ellipse(c.dc(), 48, 1, 55, 6);
  Rectangle(c.dc(), 57, 1, 60, 4);
  c.Dump(out,
         "R2_XORPEN, black pen, red brush: rectangle, ellipse, triangle, small ellipse, small rectangle");
}

}  // namespace oracle
