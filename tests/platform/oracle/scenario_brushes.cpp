// Pattern brushes and their origin, and the sixteen binary raster operations
// on colour and monochrome targets.
#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// An "F" with no symmetry, so a shifted or mirrored pattern shows.
const std::vector<const char*> kPatternArt = {
    "########", "#.......", "#.......", "######..", "#.......", "#.......", "#.......", "........",
};

struct Rop2Name {
  int code;
  const char* name;
};
#define ROP2(code) \
  { code, #code }
const Rop2Name kRop2[] = {
    ROP2(R2_BLACK),      ROP2(R2_NOTMERGEPEN), ROP2(R2_MASKNOTPEN), ROP2(R2_NOTCOPYPEN),
    ROP2(R2_MASKPENNOT), ROP2(R2_NOT),         ROP2(R2_XORPEN),     ROP2(R2_NOTMASKPEN),
    ROP2(R2_MASKPEN),    ROP2(R2_NOTXORPEN),   ROP2(R2_NOP),        ROP2(R2_MERGENOTPEN),
    ROP2(R2_COPYPEN),    ROP2(R2_MERGEPENNOT), ROP2(R2_MERGEPEN),   ROP2(R2_WHITE),
};
#undef ROP2

}  // namespace

// The pattern's 0 bits take the text colour and 1 bits the background
// colour; the brush origin moves the pattern. The origin is set once before
// and once after the brush is selected, since GDI documents it as applying
// to the next brush selected.
ORACLE_SCENARIO(pattern_brush_origin) {
  HBITMAP art = MonoFromArt(kPatternArt);
  HBRUSH brush = CreatePatternBrush(art);
  Canvas c(40, 24);
  SetTextColor(c.dc(), kRed);
  SetBkColor(c.dc(), kBlue);
  HGDIOBJ old = SelectObject(c.dc(), brush);
  PatBlt(c.dc(), 0, 0, 20, 12, PATCOPY);
  SetBrushOrgEx(c.dc(), 3, 2, nullptr);  // after selection
  PatBlt(c.dc(), 20, 0, 20, 12, PATCOPY);
  RECT r{0, 12, 20, 24};
  FillRect(c.dc(), &r, brush);
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  SetBrushOrgEx(c.dc(), 5, 1, nullptr);  // before selection
  SelectObject(c.dc(), brush);
  HGDIOBJ oldPen = SelectObject(c.dc(), GetStockObject(NULL_PEN));
  Rectangle(c.dc(), 20, 12, 40, 24);
  SelectObject(c.dc(), oldPen);
  SelectObject(c.dc(), old);
  DeleteObject(brush);
  DeleteObject(art);
  c.Dump(
      out,
      "PatBlt org 0,0 | PatBlt org 3,2 / FillRect org 3,2 | null-pen Rectangle org 5,1; red text, blue bk");
}

// On a monochrome target: does a mono pattern follow the DC's text and
// background colours (white on black would invert it) or keep its bits?
ORACLE_SCENARIO(pattern_brush_mono) {
  HBITMAP art = MonoFromArt(kPatternArt);
  HBRUSH brush = CreatePatternBrush(art);
  HBITMAP target = CreateBitmap(24, 10, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBmp = SelectObject(dc, target);
  HGDIOBJ old = SelectObject(dc, brush);
  PatBlt(dc, 0, 0, 12, 10, PATCOPY);
  SetTextColor(dc, kWhite);
  SetBkColor(dc, kBlack);
  PatBlt(dc, 12, 0, 12, 10, PATCOPY);
  SelectObject(dc, old);
  SelectObject(dc, oldBmp);
  DeleteDC(dc);
  DumpMono(out, "left default colours, right white text on black", target);
  DeleteObject(target);
  DeleteObject(brush);
  DeleteObject(art);
}

// Pen colour f0 0f 55 over black, white and 33 66 cc stripes; each result is
// the bitwise operation on the pixel values.
ORACLE_SCENARIO(rop2_all) {
  Canvas c(48, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) c.Put(x, y, x < 16 ? kBlack : x < 32 ? kWhite : RGB(0x33, 0x66, 0xCC));
  Selected<HPEN> pen(c.dc(), CreatePen(PS_SOLID, 1, RGB(0xF0, 0x0F, 0x55)));
  for (int i = 0; i < 16; ++i) {
    SetROP2(c.dc(), kRop2[i].code);
    MoveToEx(c.dc(), 0, i, nullptr);
    LineTo(c.dc(), 48, i);
  }
  SetROP2(c.dc(), R2_COPYPEN);
  out += "pen #f00f55 over stripes #000000 | #ffffff | #3366cc\n";
  for (int i = 0; i < 16; ++i) {
    Appendf(out, "%-15s %s %s %s\n", kRop2[i].name, Hex(c.At(8, i)).c_str(), Hex(c.At(24, i)).c_str(),
            Hex(c.At(40, i)).c_str());
  }
  // The line must cover every column of its row; count the columns where the
  // result differs from its stripe's first column.
  int ragged = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) ragged += c.At(x, y) != c.At(x / 16 * 16, y);
  Appendf(out, "pixels differing within a stripe: %d\n", ragged);
}

ORACLE_SCENARIO(rop2_mono) {
  out += "ROP2 on a 1-bit bitmap: dest 0,1 under a black pen | under a white pen (K=0 W=1)\n";
  HDC dc = CreateCompatibleDC(nullptr);
  for (const auto& r : kRop2) {
    HBITMAP bmp = MonoFromArt({"#.", "#."});
    HGDIOBJ old = SelectObject(dc, bmp);
    SetROP2(dc, r.code);
    HPEN black = CreatePen(PS_SOLID, 1, kBlack), white = CreatePen(PS_SOLID, 1, kWhite);
    HGDIOBJ oldPen = SelectObject(dc, black);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 2, 0);
    SelectObject(dc, white);
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, 2, 1);
    SelectObject(dc, oldPen);
    DeleteObject(black);
    DeleteObject(white);
    auto bit = [&](int x, int y) {
      return GetPixel(dc, x, y) == kWhite ? 'W' : GetPixel(dc, x, y) == kBlack ? 'K' : '?';
    };
    Appendf(out, "%-15s %c %c | %c %c\n", r.name, bit(0, 0), bit(1, 0), bit(0, 1), bit(1, 1));
    SelectObject(dc, old);
    DeleteObject(bmp);
  }
  SetROP2(dc, R2_COPYPEN);
  DeleteDC(dc);
}

// Brushes and pens of shapes go through the ROP2 as well.
ORACLE_SCENARIO(rop2_shapes) {
  Canvas c(48, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 48; ++x) c.Put(x, y, (x / 4) % 2 ? kBlack : kWhite);
  {
    Selected<HBRUSH> red(c.dc(), CreateSolidBrush(kRed));
    SetROP2(c.dc(), R2_XORPEN);
    Rectangle(c.dc(), 1, 1, 15, 11);
    SetROP2(c.dc(), R2_NOT);
    Ellipse(c.dc(), 17, 1, 31, 11);
    SetROP2(c.dc(), R2_MASKPEN);
    const POINT tri[] = {{33, 1}, {46, 6}, {33, 11}};
    Polygon(c.dc(), tri, 3);
    SetROP2(c.dc(), R2_MERGEPENNOT);
    Rectangle(c.dc(), 1, 13, 15, 23);
    SetROP2(c.dc(), R2_NOTXORPEN);
    Ellipse(c.dc(), 17, 13, 31, 23);
    SetROP2(c.dc(), R2_COPYPEN);
  }
  c.Dump(out, "red brush, black pen over 4px stripes: XORPEN NOT MASKPEN / MERGEPENNOT NOTXORPEN",
         RGB(1, 2, 3));
}

// With R2_XORPEN a black pen leaves white alone and a red brush turns it
// cyan, so the picture shows whether the fill also runs under the outline.
ORACLE_SCENARIO(rop2_xor_shapes) {
  Canvas c(64, 16);
  {
    Selected<HBRUSH> red(c.dc(), CreateSolidBrush(kRed));
    SetROP2(c.dc(), R2_XORPEN);
    Rectangle(c.dc(), 1, 1, 15, 11);
    Ellipse(c.dc(), 17, 1, 31, 11);
    const POINT tri[] = {{33, 1}, {46, 6}, {33, 11}};
    Polygon(c.dc(), tri, 3);
    Ellipse(c.dc(), 48, 1, 55, 6);
    Rectangle(c.dc(), 57, 1, 60, 4);
    SetROP2(c.dc(), R2_COPYPEN);
  }
  c.Dump(out,
         "R2_XORPEN, black pen, red brush: rectangle, ellipse, triangle, small ellipse, small rectangle");
}

}  // namespace oracle
