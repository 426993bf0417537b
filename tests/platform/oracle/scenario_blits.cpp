// Blits: ternary raster operations, colour/mono conversions, PatBlt,
// StretchBlt modes and mirroring, StretchDIBits, GetDIBits and ScrollDC.
#include <cstdio>
#include <cstring>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

struct Rop3Name {
  DWORD code;
  const char* name;
};
#define ROP3(code) \
  { code, #code }
const Rop3Name kRop3[] = {
    ROP3(SRCCOPY),    ROP3(SRCPAINT),   ROP3(SRCAND),      ROP3(SRCINVERT),
    ROP3(SRCERASE),   ROP3(NOTSRCCOPY), ROP3(NOTSRCERASE), ROP3(MERGECOPY),
    ROP3(MERGEPAINT), ROP3(PATCOPY),    ROP3(PATPAINT),    ROP3(PATINVERT),
    ROP3(DSTINVERT),  ROP3(BLACKNESS),  ROP3(WHITENESS),   ROP3(0x00B8074A),
    ROP3(0x00E20746), ROP3(0x00AC0744), ROP3(0x00960169),  {0x00CC0000, "0x00CC0000 (low word 0)"},
};
#undef ROP3

// A small picture with a border, four coloured quadrants and a diagonal, so
// that offsets, clipping and mirroring show.
void PaintSource(Canvas& s) {
  const int w = s.width(), h = s.height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      COLORREF c = x < w / 2 ? (y < h / 2 ? kRed : kBlue) : (y < h / 2 ? kGreen : kMagenta);
      if (x == 0 || y == 0) c = kYellow;
      if (x == y) c = kBlack;
      s.Put(x, y, c);
    }
  }
}

}  // namespace

// With pattern f0, source cc and destination aa in a channel, the result in
// that channel is the operation's truth-table byte.
ORACLE_SCENARIO(bitblt_rop3_color) {
  const COLORREF p = RGB(0xF0, 0x0F, 0x3C), s = RGB(0xCC, 0x33, 0x5A), d = RGB(0xAA, 0x55, 0x66);
  Appendf(out, "pattern %s source %s dest %s\n", Hex(p).c_str(), Hex(s).c_str(), Hex(d).c_str());
  Canvas src(4, 2, s);
  Canvas dst(4, 2, d);
  Selected<HBRUSH> brush(dst.dc(), CreateSolidBrush(p));
  for (const auto& r : kRop3) {
    dst.Fill(d);
    BOOL ok = BitBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, r.code);
    Appendf(out, "%-24s ok=%d %s %s\n", r.name, ok, Hex(dst.At(0, 0)).c_str(), Hex(dst.At(3, 1)).c_str());
  }
}

// On 1-bit bitmaps pixel i of eight has pattern bit i>>2, source bit i>>1
// and destination bit i, so the row read left to right spells the
// operation's truth table from bit 0.
ORACLE_SCENARIO(bitblt_rop3_mono) {
  HBITMAP pat = MonoFromArt(
      {"####....", "####....", "####....", "####....", "####....", "####....", "####....", "####...."});
  HBITMAP srcBmp = MonoFromArt({"##..##.."});
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSrc = SelectObject(src, srcBmp);
  HDC dst = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreatePatternBrush(pat);
  HGDIOBJ oldBrush = SelectObject(dst, brush);
  out += "pixel i: pattern bit i>>2, source bit i>>1, dest bit i&1; result bits for i = 0..7\n";
  for (const auto& r : kRop3) {
    HBITMAP dstBmp = MonoFromArt({"#.#.#.#."});
    HGDIOBJ oldDst = SelectObject(dst, dstBmp);
    BOOL ok = BitBlt(dst, 0, 0, 8, 1, src, 0, 0, r.code);
    std::string bits;
    for (int x = 0; x < 8; ++x) bits += GetPixel(dst, x, 0) == kWhite ? '1' : '0';
    Appendf(out, "%-24s ok=%d %s\n", r.name, ok, bits.c_str());
    SelectObject(dst, oldDst);
    DeleteObject(dstBmp);
  }
  SelectObject(dst, oldBrush);
  DeleteObject(brush);
  DeleteDC(dst);
  SelectObject(src, oldSrc);
  DeleteDC(src);
  DeleteObject(srcBmp);
  DeleteObject(pat);
}

// Clipping to both bitmaps and an overlapping copy within one bitmap.
ORACLE_SCENARIO(bitblt_geometry) {
  Canvas src(12, 10);
  PaintSource(src);
  Canvas dst(48, 28);
  BitBlt(dst.dc(), 1, 1, 12, 10, src.dc(), 0, 0, SRCCOPY);
  BitBlt(dst.dc(), -4, 16, 12, 10, src.dc(), 0, 0, SRCCOPY);  // off the left edge
  BitBlt(dst.dc(), 15, 1, 10, 10, src.dc(), 6, 4, SRCCOPY);   // source runs past its edge
  BitBlt(dst.dc(), 15, 14, 8, 8, src.dc(), -3, -2, SRCCOPY);  // source starts before its edge
  BitBlt(dst.dc(), 42, 22, 12, 10, src.dc(), 0, 0, SRCCOPY);  // off the bottom right
  BitBlt(dst.dc(), 28, 1, 12, 10, src.dc(), 0, 0, SRCCOPY);
  BitBlt(dst.dc(), 30, 3, 12, 10, dst.dc(), 28, 1, SRCCOPY);  // overlapping, down and right
  BitBlt(dst.dc(), 0, 12, 14, 3, dst.dc(), 1, 1, SRCCOPY);    // overlapping rows, left
  dst.Dump(out, "copies: plain, clipped left, source past edge, source before edge, clipped, overlapping");
}

// Colour to mono: 1 where the source equals the source DC's background
// colour, exactly, whatever the destination's colours.
ORACLE_SCENARIO(bitblt_color_to_mono) {
  Canvas src(16, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const COLORREF cols[] = {kRed, kGreen, kBlue, kWhite};
      src.Put(x, y, cols[((x + (y / 4) * 2) / 4) % 4]);
    }
  HBITMAP mono = CreateBitmap(48, 8, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, mono);
  SetTextColor(dc, kRed);
  SetBkColor(dc, kBlue);
  SetBkColor(src.dc(), kGreen);
  BitBlt(dc, 0, 0, 16, 8, src.dc(), 0, 0, SRCCOPY);
  SetBkColor(src.dc(), kWhite);
  BitBlt(dc, 16, 0, 16, 8, src.dc(), 0, 0, SRCCOPY);
  SetBkColor(src.dc(), RGB(0, 254, 0));
  BitBlt(dc, 32, 0, 16, 8, src.dc(), 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  out += "source columns of 4: red green blue white, rows 4-7 shifted by 8\n";
  DumpMono(out, "source bk green | white | #00fe00", mono);
  DeleteObject(mono);
}

// Mono to colour: 0 bits take the destination's text colour, 1 bits its
// background colour, then the raster operation applies.
ORACLE_SCENARIO(bitblt_mono_to_color) {
  HBITMAP mono = MonoFromArt({"##..##..##..##..", "##..##..##..##..", "################", "................",
                              "#.#.#.#.#.#.#.#.", "........########"});
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSrc = SelectObject(src, mono);
  SetTextColor(src, kGreen);  // the source DC's colours play no part
  SetBkColor(src, kMagenta);
  Canvas dst(52, 6, kYellow);
  SetTextColor(dst.dc(), kRed);
  SetBkColor(dst.dc(), kBlue);
  BitBlt(dst.dc(), 0, 0, 16, 6, src, 0, 0, SRCCOPY);
  BitBlt(dst.dc(), 18, 0, 16, 6, src, 0, 0, SRCAND);
  SetTextColor(dst.dc(), kBlack);
  SetBkColor(dst.dc(), kWhite);
  BitBlt(dst.dc(), 36, 0, 16, 6, src, 0, 0, SRCINVERT);
  SelectObject(src, oldSrc);
  DeleteDC(src);
  DeleteObject(mono);
  dst.Dump(out, "red/blue SRCCOPY | red/blue SRCAND | black/white SRCINVERT, over yellow", kYellow);
}

// A 1-bit DIB section carries its own colour table (green, yellow here);
// whether a blit to colour uses it or the destination's text and background
// colours is what this records.
ORACLE_SCENARIO(bitblt_monodib_to_color) {
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
  } info{};
  info.h.biSize = sizeof(BITMAPINFOHEADER);
  info.h.biWidth = 8;
  info.h.biHeight = -4;
  info.h.biPlanes = 1;
  info.h.biBitCount = 1;
  info.c[0] = RGBQUAD{0, 255, 0, 0};
  info.c[1] = RGBQUAD{0, 255, 255, 0};
  void* bits = nullptr;
  HBITMAP dib =
      CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    out += "CreateDIBSection of a 1-bit DIB failed\n";
    return;
  }
  const uint8_t rows[4] = {0xF0, 0xCC, 0xAA, 0x0F};
  for (int y = 0; y < 4; ++y) static_cast<uint8_t*>(bits)[y * 4] = rows[y];
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSrc = SelectObject(src, dib);
  Canvas dst(18, 4);
  SetTextColor(dst.dc(), kRed);
  SetBkColor(dst.dc(), kBlue);
  BitBlt(dst.dc(), 0, 0, 8, 4, src, 0, 0, SRCCOPY);
  StretchBlt(dst.dc(), 10, 0, 8, 4, src, 0, 0, 8, 4, SRCCOPY);
  SelectObject(src, oldSrc);
  DeleteDC(src);
  DeleteObject(dib);
  dst.Dump(out, "1-bit DIB (table green, yellow; rows f0 cc aa 0f), dest red/blue: BitBlt | StretchBlt");
}

ORACLE_SCENARIO(patblt_rops) {
  Canvas c(60, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 60; ++x) c.Put(x, y, y >= 10 && y < 14 ? kRed : (x / 3) % 2 ? kBlack : kWhite);
  HBITMAP art = MonoFromArt(
      {"##......", "##......", "##......", "########", "........", "........", "....##..", "....##.."});
  SetTextColor(c.dc(), kGreen);
  SetBkColor(c.dc(), kBlue);
  HBRUSH brush = CreatePatternBrush(art);
  HGDIOBJ old = SelectObject(c.dc(), brush);
  struct {
    DWORD rop;
    int x, y, w, h;
  } cases[] = {
      {PATCOPY, 0, 0, 12, 12},      {PATINVERT, 12, 0, 12, 12},    {DSTINVERT, 24, 0, 12, 12},
      {BLACKNESS, 36, 0, 12, 12},   {WHITENESS, 48, 0, 12, 12},    {0x000F0001, 0, 12, 12, 12},
      {0x00A000C9, 12, 12, 12, 12}, {PATINVERT, 36, 24, -12, -12}, {PATCOPY, 48, 12, 12, 0},
      {0x005F00E9, 48, 12, 12, 12},
  };
  for (auto& k : cases) {
    BOOL ok = PatBlt(c.dc(), k.x, k.y, k.w, k.h, k.rop);
    Appendf(out, "PatBlt %d,%d %dx%d rop %08lx ok=%d\n", k.x, k.y, k.w, k.h,
            static_cast<unsigned long>(k.rop), ok);
  }
  SelectObject(c.dc(), old);
  DeleteObject(brush);
  DeleteObject(art);
  c.Dump(out, "pattern green-on-blue over 3px stripes and a red band", RGB(1, 2, 3));
}

namespace {

void StretchEnlarge(std::string& out, int mode, const char* label) {
  Canvas src(6, 4);
  PaintSource(src);
  Canvas dst(64, 28);
  SetStretchBltMode(dst.dc(), mode);
  StretchBlt(dst.dc(), 1, 1, 13, 9, src.dc(), 0, 0, 6, 4, SRCCOPY);
  StretchBlt(dst.dc(), 16, 1, 18, 12, src.dc(), 0, 0, 6, 4, SRCCOPY);
  StretchBlt(dst.dc(), 36 + 13, 1, -13, 9, src.dc(), 0, 0, 6, 4, SRCCOPY);        // mirrored across
  StretchBlt(dst.dc(), 1, 14, 13, 9, src.dc(), 0, 4, 6, -4, SRCCOPY);             // flipped by the source
  StretchBlt(dst.dc(), 16 + 13, 14 + 9, -13, -9, src.dc(), 0, 0, 6, 4, SRCCOPY);  // rotated half a turn
  StretchBlt(dst.dc(), 36, 14, 6, 4, src.dc(), 0, 0, 6, 4, SRCCOPY);              // same size
  StretchBlt(dst.dc(), 44, 14, 17, 3, src.dc(), 1, 1, 4, 2, SRCCOPY);             // part of the source
  dst.Dump(out, label);
}

}  // namespace

ORACLE_SCENARIO(stretchblt_enlarge) {
  out += "6x4 source: yellow top/left border, black diagonal, quadrants red green / blue magenta\n";
  StretchEnlarge(out, COLORONCOLOR,
                 "COLORONCOLOR: 13x9, 18x12, mirrored 13x9 / src-flipped, both, 1:1, part");
  StretchEnlarge(out, BLACKONWHITE, "BLACKONWHITE, same calls");
}

namespace {

// 16 x 12 white source with one-pixel black lines, a red 2x2 dot and a
// yellow column, shrunk to three sizes and mirrored in each mode.
void ShrinkSourceArt(Canvas& s) {
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      COLORREF c = kWhite;
      if (x == 5 || y == 7 || x == 2 * y) c = kBlack;
      if ((x == 10 || x == 11) && (y == 2 || y == 3)) c = kRed;
      if (x == 14) c = kYellow;
      s.Put(x, y, c);
    }
}

// One row per mode: 5x4, 7x5, 8x6 and a mirrored 7x5 from the whole 16x12 source.
void ShrinkInEveryMode(HDC dst, HDC src) {
  const int modes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR};
  const struct { int x, w, h; } shrinks[] = {{1, 5, 4}, {8, 7, 5}, {17, 8, 6}, {27 + 7, -7, 5}};
  for (int m = 0; m < 3; ++m) {
    SetStretchBltMode(dst, modes[m]);
    for (const auto& k : shrinks) StretchBlt(dst, k.x, 1 + 7 * m, k.w, k.h, src, 0, 0, 16, 12, SRCCOPY);
  }
}

}  // namespace

ORACLE_SCENARIO(stretchblt_shrink) {
  Canvas src(16, 12);
  ShrinkSourceArt(src);
  src.Dump(out, "source");
  Canvas dst(36, 22, RGB(1, 2, 3));
  ShrinkInEveryMode(dst.dc(), src.dc());
  dst.Dump(out, "rows BLACKONWHITE, WHITEONBLACK, COLORONCOLOR: 5x4, 7x5, 8x6, mirrored 7x5", RGB(1, 2, 3));
}

ORACLE_SCENARIO(stretchblt_shrink_mono) {
  HBITMAP srcBmp = MonoFromArt({
      "#....#.........#",
      "..#..#.........#",
      "....##..........",
      ".....##.........",
      ".....#..#.......",
      ".....#....#.....",
      ".....#......#...",
      "################",
      ".....#..........",
      ".....#..........",
      ".....#..........",
      ".....#..........",
  });
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSrc = SelectObject(src, srcBmp);
  HBITMAP dstBmp = CreateBitmap(36, 22, 1, 1, nullptr);
  HDC dst = CreateCompatibleDC(nullptr);
  HGDIOBJ oldDst = SelectObject(dst, dstBmp);
  PatBlt(dst, 0, 0, 36, 22, WHITENESS);
  ShrinkInEveryMode(dst, src);
  SelectObject(dst, oldDst);
  DeleteDC(dst);
  SelectObject(src, oldSrc);
  DeleteDC(src);
  DumpMono(out, "source", srcBmp);
  DumpMono(out, "rows BLACKONWHITE, WHITEONBLACK, COLORONCOLOR: 5x4, 7x5, 8x6, mirrored 7x5", dstBmp);
  DeleteObject(dstBmp);
  DeleteObject(srcBmp);
}

namespace {

BITMAPINFOHEADER Header(int w, int h, int bpp) {
  BITMAPINFOHEADER b{};
  b.biSize = sizeof b;
  b.biWidth = w;
  b.biHeight = h;
  b.biPlanes = 1;
  b.biBitCount = static_cast<WORD>(bpp);
  b.biCompression = BI_RGB;
  return b;
}

uint32_t Px(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

}  // namespace

// The same 4x3 picture (top row red red green green, then blue blue yellow
// yellow, then black white black white) stored bottom-up and top-down must
// land the same way up; a source rectangle of a bottom-up DIB counts its y
// from the bottom row.
ORACLE_SCENARIO(stretchdibits) {
  const COLORREF pic[3][4] = {
      {kRed, kRed, kGreen, kGreen}, {kBlue, kBlue, kYellow, kYellow}, {kBlack, kWhite, kBlack, kWhite}};
  uint32_t up[12], down[12];
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      down[y * 4 + x] = Px(pic[y][x]);
      up[(2 - y) * 4 + x] = Px(pic[y][x]);
    }
  BITMAPINFO biUp{}, biDown{};
  biUp.bmiHeader = Header(4, 3, 32);
  biDown.bmiHeader = Header(4, -3, 32);
  Canvas c(56, 16, RGB(1, 2, 3));
  struct Call {
    const char* what;
    int x, y, w, h, sx, sy, sw, sh;
    bool topDown;
  } calls[] = {
      {"1:1 bottom-up", 1, 1, 4, 3, 0, 0, 4, 3, false},
      {"1:1 top-down", 7, 1, 4, 3, 0, 0, 4, 3, true},
      {"8x6 bottom-up", 13, 1, 8, 6, 0, 0, 4, 3, false},
      {"8x6 top-down", 23, 1, 8, 6, 0, 0, 4, 3, true},
      {"src 1,1 2x2 bottom-up", 33, 1, 2, 2, 1, 1, 2, 2, false},
      {"src 1,1 2x2 top-down", 37, 1, 2, 2, 1, 1, 2, 2, true},
      {"mirrored 8x6 bottom-up", 41 + 8, 1, -8, 6, 0, 0, 4, 3, false},
      {"3x2 shrink bottom-up", 51, 1, 3, 2, 0, 0, 4, 3, false},
  };
  for (auto& k : calls) {
    int lines = StretchDIBits(c.dc(), k.x, k.y, k.w, k.h, k.sx, k.sy, k.sw, k.sh, k.topDown ? down : up,
                              k.topDown ? &biDown : &biUp, DIB_RGB_COLORS, SRCCOPY);
    Appendf(out, "%s: returned %d\n", k.what, lines);
  }
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
  } mono{};
  mono.h = Header(8, 2, 1);
  mono.c[0] = RGBQUAD{0, 255, 0, 0};                           // green
  mono.c[1] = RGBQUAD{255, 0, 255, 0};                         // magenta
  const uint8_t monoBits[8] = {0x0F, 0, 0, 0, 0xC3, 0, 0, 0};  // bottom row first
  int lines = StretchDIBits(c.dc(), 1, 9, 8, 2, 0, 0, 8, 2, monoBits, reinterpret_cast<BITMAPINFO*>(&mono),
                            DIB_RGB_COLORS, SRCCOPY);
  Appendf(out, "1-bit 1:1: returned %d\n", lines);
  lines = StretchDIBits(c.dc(), 11, 9, 16, 4, 0, 0, 8, 2, monoBits, reinterpret_cast<BITMAPINFO*>(&mono),
                        DIB_RGB_COLORS, SRCCOPY);
  Appendf(out, "1-bit 16x4: returned %d\n", lines);
  c.Dump(out, "calls above in order; 1-bit (table green, magenta; top row c3, bottom 0f) below",
         RGB(1, 2, 3));
}

namespace {

std::string HexBytes(const uint8_t* p, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) Appendf(s, "%s%02x", i ? " " : "", p[i]);
  return s;
}

}  // namespace

// Reading a 13x5 monochrome bitmap back: bottom-up and top-down buffers,
// a band of rows, the header GetDIBits fills in without a buffer, and a
// 32-bit read.
ORACLE_SCENARIO(getdibits_mono) {
  HBITMAP bmp =
      MonoFromArt({"#.##..###...#", "##.##.##.##.#", ".............", "#############", "#...........#"});
  HDC dc = CreateCompatibleDC(nullptr);
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
  } info{};
  info.h = Header(13, 5, 1);
  int r = GetDIBits(dc, bmp, 0, 5, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  Appendf(out, "no buffer: returned %d, biSizeImage %lu, biWidth %ld, biHeight %ld\n", r,
          static_cast<unsigned long>(info.h.biSizeImage), static_cast<long>(info.h.biWidth),
          static_cast<long>(info.h.biHeight));

  uint8_t buf[5 * 4];
  for (int pass = 0; pass < 3; ++pass) {
    std::memset(buf, 0xEE, sizeof buf);
    std::memset(&info, 0, sizeof info);
    info.h = Header(13, pass == 1 ? -5 : 5, 1);
    const UINT start = pass == 2 ? 1 : 0, count = pass == 2 ? 2 : 5;
    r = GetDIBits(dc, bmp, start, count, buf, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    Appendf(out, "%s: returned %d, table %s %s\n",
            pass == 0   ? "bottom-up"
            : pass == 1 ? "top-down"
                        : "bottom-up lines 1..2",
            r, Hex(RGB(info.c[0].rgbRed, info.c[0].rgbGreen, info.c[0].rgbBlue)).c_str(),
            Hex(RGB(info.c[1].rgbRed, info.c[1].rgbGreen, info.c[1].rgbBlue)).c_str());
    // Only the bytes that hold pixels: padding is not ours to judge.
    for (int row = 0; row < 5; ++row) {
      uint8_t b[2] = {buf[row * 4], static_cast<uint8_t>(buf[row * 4 + 1] & 0xF8)};
      Appendf(out, "  row %d: %s\n", row, HexBytes(b, 2).c_str());
    }
  }

  BITMAPINFO info32{};
  info32.bmiHeader = Header(13, -5, 32);
  uint32_t px[13 * 5];
  r = GetDIBits(dc, bmp, 0, 5, px, &info32, DIB_RGB_COLORS);
  Appendf(out, "32-bit top-down: returned %d\n", r);
  for (int y = 0; y < 5; ++y) {
    out += "  ";
    for (int x = 0; x < 13; ++x)
      Appendf(out, " %06lx", static_cast<unsigned long>(px[y * 13 + x] & 0xFFFFFF));
    out += '\n';
  }
  DeleteDC(dc);
  DeleteObject(bmp);
}

namespace {

void PaintScrollArt(Canvas& c) {
  const COLORREF cols[] = {kRed, kGreen, kBlue, kYellow, kBlack};
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) c.Put(x, y, (x + y) % 7 == 0 ? cols[(x / 4 + y / 3) % 5] : kWhite);
}

void Scroll(std::string& out, int dx, int dy, const RECT* scroll, const RECT* clip) {
  Canvas c(32, 16);
  PaintScrollArt(c);
  RECT upd{-1, -1, -1, -1};
  BOOL ok = ScrollDC(c.dc(), dx, dy, scroll, clip, nullptr, &upd);
  auto rc = [](const RECT* r) {
    std::string s;
    if (!r) return std::string("null");
    Appendf(s, "%ld,%ld-%ld,%ld", static_cast<long>(r->left), static_cast<long>(r->top),
            static_cast<long>(r->right), static_cast<long>(r->bottom));
    return s;
  };
  char label[160];
  std::snprintf(label, sizeof label, "ScrollDC by %d,%d scroll %s clip %s", dx, dy, rc(scroll).c_str(),
                rc(clip).c_str());
  // Without a scroll rectangle Wine reports an empty update rectangle for a
  // memory DC, which is its own quirk; the library passes no rectangles and
  // asks for no update, so only the pixels are recorded then.
  if (scroll)
    Appendf(out, "%s: ok=%d update %s\n", label, ok, rc(&upd).c_str());
  else
    Appendf(out, "%s: ok=%d\n", label, ok);
  c.Dump(out, label);
}

}  // namespace

// The clip rectangle limits both where bits come from and where they go.
ORACLE_SCENARIO(scrolldc_memory) {
  Canvas c(32, 16);
  PaintScrollArt(c);
  c.Dump(out, "before");
  const RECT scroll{4, 2, 28, 14}, whole{0, 0, 32, 16}, clip{8, 4, 24, 12};
  Scroll(out, 5, 3, &scroll, &whole);
  Scroll(out, -4, 0, nullptr, nullptr);
  Scroll(out, 3, -1, &whole, &clip);
  Scroll(out, -2, 2, &scroll, &clip);
}

namespace {

COLORREF ColorOf(uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Which source pixels make each destination pixel. Source pixel i holds all
// bits but bit i (AND and copy modes) or only bit i (OR mode), so the bits a
// destination pixel lacks or has name the source pixels combined into it.
void Sampling(std::string& out, int mode, const char* modeName, bool vertical, int srcLen, int srcFrom,
              int srcCount, int dstLen) {
  const bool orMode = mode == WHITEONBLACK;
  Canvas src(vertical ? 1 : 16, vertical ? 16 : 1);
  for (int i = 0; i < 16; ++i) {
    const uint32_t v = orMode ? (1u << i) : (0xFFFFFFu & ~(1u << i));
    src.Put(vertical ? 0 : i, vertical ? i : 0, ColorOf(v));
  }
  const int n = dstLen < 0 ? -dstLen : dstLen;
  Canvas dst(vertical ? 1 : 48, vertical ? 48 : 1, orMode ? RGB(0, 0, 0) : RGB(255, 255, 255));
  SetStretchBltMode(dst.dc(), mode);
  const int at = dstLen < 0 ? n : 0;
  BOOL ok = vertical ? StretchBlt(dst.dc(), 0, at, 1, dstLen, src.dc(), 0, srcFrom, 1, srcCount, SRCCOPY)
                     : StretchBlt(dst.dc(), at, 0, dstLen, 1, src.dc(), srcFrom, 0, srcCount, 1, SRCCOPY);
  std::string line;
  Appendf(line, "%s %s %d of %d from %d -> %d: ok=%d", modeName, vertical ? "rows" : "cols", srcCount, srcLen,
          srcFrom, dstLen, ok);
  for (int k = 0; k < n; ++k) {
    const uint32_t v = Px(vertical ? dst.At(0, k) : dst.At(k, 0));
    const uint32_t members = orMode ? v : ~v & 0xFFFF;
    line += " {";
    bool first = true;
    for (int i = 0; i < 16; ++i)
      if (members & (1u << i)) {
        Appendf(line, first ? "%d" : ",%d", i);
        first = false;
      }
    line += "}";
  }
  out += line + "\n";
}

}  // namespace

// The pixels StretchBlt picks and, when shrinking, combines: the exact
// nearest-pixel rule of each mode and of mirrored calls.
ORACLE_SCENARIO(stretchblt_sampling) {
  struct Mode {
    int mode;
    const char* name;
  } modes[] = {
      {COLORONCOLOR, "COLORONCOLOR"}, {BLACKONWHITE, "BLACKONWHITE"}, {WHITEONBLACK, "WHITEONBLACK"}};
  for (auto& m : modes) {
    for (int w : {1, 3, 5, 7, 8, 10, 15, 17, 24, 40}) Sampling(out, m.mode, m.name, false, 16, 0, 16, w);
    Sampling(out, m.mode, m.name, false, 16, 0, 16, -5);
    Sampling(out, m.mode, m.name, false, 16, 0, 16, -24);
    Sampling(out, m.mode, m.name, false, 16, 16, -16, 5);
    Sampling(out, m.mode, m.name, false, 16, 15, -16, 5);
    Sampling(out, m.mode, m.name, false, 16, 0, 6, 13);
    Sampling(out, m.mode, m.name, false, 16, 0, 6, 18);
    Sampling(out, m.mode, m.name, false, 16, 3, 9, 4);
    Sampling(out, m.mode, m.name, true, 16, 0, 16, 5);
    Sampling(out, m.mode, m.name, true, 16, 0, 6, 13);
  }
}

}  // namespace oracle
