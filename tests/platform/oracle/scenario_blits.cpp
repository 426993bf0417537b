// Blits: ternary raster operations, colour/mono conversions, PatBlt, StretchBlt modes and mirroring,
// StretchDIBits, GetDIBits and ScrollDC.
#include <array>
#include <cstring>

#include "tests/platform/oracle/scenarios.h"

namespace oracle {
namespace {

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

// A small picture with a border, four coloured quadrants and a diagonal, so that offsets, clipping and
// mirroring show.
void PaintSource(Canvas& s) {
  const int w = s.width(), h = s.height();
  s.Paint([&](int x, int y) {
    if (x == y) return kBlack;
    if (x == 0 || y == 0) return kYellow;
    return x < w / 2 ? (y < h / 2 ? kRed : kBlue) : (y < h / 2 ? kGreen : kMagenta);
  });
}

// Each row: destination x, y, w, h, then source x, y, w, h.
void StretchAll(HDC dst, HDC src, std::initializer_list<std::array<int, 8>> calls) {
  for (auto& k : calls) StretchBlt(dst, k[0], k[1], k[2], k[3], src, k[4], k[5], k[6], k[7], SRCCOPY);
}

void StretchEnlarge(std::string& out, int mode, const char* label) {
  Canvas src(6, 4), dst(64, 28);
  PaintSource(src);
  SetStretchBltMode(dst.dc(), mode);
  // 13x9, 18x12, mirrored across, flipped by the source, rotated half a turn, same size, part of the source.
  StretchAll(dst.dc(), src.dc(),
             {{1, 1, 13, 9, 0, 0, 6, 4},
              {16, 1, 18, 12, 0, 0, 6, 4},
              {49, 1, -13, 9, 0, 0, 6, 4},
              {1, 14, 13, 9, 0, 4, 6, -4},
              {29, 23, -13, -9, 0, 0, 6, 4},
              {36, 14, 6, 4, 0, 0, 6, 4},
              {44, 14, 17, 3, 1, 1, 4, 2}});
  dst.Dump(out, label);
}

// One row per mode: 5x4, 7x5, 8x6 and a mirrored 7x5 from the whole 16x12 source.
void ShrinkInEveryMode(HDC dst, HDC src) {
  for (int m : {0, 1, 2}) {
    SetStretchBltMode(dst, m == 0 ? BLACKONWHITE : m == 1 ? WHITEONBLACK : COLORONCOLOR);
    const int y = 1 + 7 * m;
    StretchAll(dst, src,
               {{1, y, 5, 4, 0, 0, 16, 12},
                {8, y, 7, 5, 0, 0, 16, 12},
                {17, y, 8, 6, 0, 0, 16, 12},
                {34, y, -7, 5, 0, 0, 16, 12}});
  }
}

std::string RectText(const RECT* r) {
  if (!r) return "null";
  std::string s;
  Appendf(s, "%ld,%ld-%ld,%ld", long(r->left), long(r->top), long(r->right), long(r->bottom));
  return s;
}

void PaintScrollArt(Canvas& c) {
  const COLORREF cols[] = {kRed, kGreen, kBlue, kYellow, kBlack};
  c.Paint([&](int x, int y) { return (x + y) % 7 == 0 ? cols[(x / 4 + y / 3) % 5] : kWhite; });
}

// Which source pixels make each destination pixel. Source pixel i holds all bits but bit i (AND and copy
// modes) or only bit i (OR mode), so the bits a destination pixel lacks or has name the source pixels
// combined into it.
void Sampling(std::string& out, int mode, const char* modeName, bool vertical, int srcFrom, int srcCount,
              int dstLen) {
  const bool orMode = mode == WHITEONBLACK;
  Canvas src(vertical ? 1 : 16, vertical ? 16 : 1),
      dst(vertical ? 1 : 48, vertical ? 48 : 1, orMode ? kBlack : kWhite);
  src.Paint([&](int x, int y) { return FromPixel(orMode ? 1u << (x + y) : 0xFFFFFFu & ~(1u << (x + y))); });
  const int n = dstLen < 0 ? -dstLen : dstLen, at = dstLen < 0 ? n : 0;
  SetStretchBltMode(dst.dc(), mode);
  BOOL ok = vertical ? StretchBlt(dst.dc(), 0, at, 1, dstLen, src.dc(), 0, srcFrom, 1, srcCount, SRCCOPY)
                     : StretchBlt(dst.dc(), at, 0, dstLen, 1, src.dc(), srcFrom, 0, srcCount, 1, SRCCOPY);
  Appendf(out, "%s %s %d of 16 from %d -> %d: ok=%d", modeName, vertical ? "rows" : "cols", srcCount, srcFrom,
          dstLen, ok);
  for (int k = 0; k < n; ++k) {
    const uint32_t v = ToPixel(vertical ? dst.At(0, k) : dst.At(k, 0)), members = orMode ? v : ~v & 0xFFFF;
    const char* sep = " {";
    for (int i = 0; i < 16; ++i)
      if (members & (1u << i)) Appendf(out, "%s%d", sep, i), sep = ",";
    out += *sep == ' ' ? " {}" : "}";
  }
  out += "\n";
}

}  // namespace

// With pattern f0, source cc and destination aa in a channel, the result in that channel is the operation's
// truth-table byte.
ORACLE_SCENARIO(bitblt_rop3_color) {
  const COLORREF p = RGB(0xF0, 0x0F, 0x3C), s = RGB(0xCC, 0x33, 0x5A), d = RGB(0xAA, 0x55, 0x66);
  Appendf(out, "pattern %s source %s dest %s\n", Hex(p).c_str(), Hex(s).c_str(), Hex(d).c_str());
  Canvas src(4, 2, s), dst(4, 2, d);
  auto brush = Brush(dst.dc(), p);
  for (const auto& r : kRop3) {
    dst.Fill(d);
    BOOL ok = BitBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, r.code);
    Appendf(out, "%-24s ok=%d %s %s\n", r.name, ok, Hex(dst.At(0, 0)).c_str(), Hex(dst.At(3, 1)).c_str());
  }
}

// On 1-bit bitmaps pixel i of eight has pattern bit i>>2, source bit i>>1 and destination bit i, so the row
// read left to right spells the operation's truth table from bit 0.
ORACLE_SCENARIO(bitblt_rop3_mono) {
  HBRUSH brush = PatternBrush(std::vector<const char*>(8, "####...."));
  MemDC src(MonoFromArt({"##..##.."}));
  out += "pixel i: pattern bit i>>2, source bit i>>1, dest bit i&1; result bits for i = 0..7\n";
  for (const auto& r : kRop3) {
    MemDC dst(MonoFromArt({"#.#.#.#."}));
    SelectObject(dst.dc(), brush);
    BOOL ok = BitBlt(dst.dc(), 0, 0, 8, 1, src.dc(), 0, 0, r.code);
    std::string bits;
    for (int x = 0; x < 8; ++x) bits += GetPixel(dst.dc(), x, 0) == kWhite ? '1' : '0';
    Appendf(out, "%-24s ok=%d %s\n", r.name, ok, bits.c_str());
  }
  DeleteObject(brush);
}

// Clipping to both bitmaps and an overlapping copy within one bitmap.
ORACLE_SCENARIO(bitblt_geometry) {
  Canvas src(12, 10), dst(48, 28);
  PaintSource(src);
  // x, y, w, h, source x, y, and 1 to copy within the destination.
  const int copies[][7] = {{1, 1, 12, 10, 0, 0, 0},   {-4, 16, 12, 10, 0, 0, 0}, {15, 1, 10, 10, 6, 4, 0},
                           {15, 14, 8, 8, -3, -2, 0}, {42, 22, 12, 10, 0, 0, 0}, {28, 1, 12, 10, 0, 0, 0},
                           {30, 3, 12, 10, 28, 1, 1}, {0, 12, 14, 3, 1, 1, 1}};
  for (auto& k : copies)
    BitBlt(dst.dc(), k[0], k[1], k[2], k[3], k[6] ? dst.dc() : src.dc(), k[4], k[5], SRCCOPY);
  dst.Dump(out, "copies: plain, clipped left, source past edge, source before edge, clipped, overlapping");
}

// Colour to mono: 1 where the source equals the source DC's background colour, exactly, whatever the
// destination's colours.
ORACLE_SCENARIO(bitblt_color_to_mono) {
  Canvas src(16, 8);
  const COLORREF cols[] = {kRed, kGreen, kBlue, kWhite}, backgrounds[] = {kGreen, kWhite, RGB(0, 254, 0)};
  src.Paint([&](int x, int y) { return cols[((x + (y / 4) * 2) / 4) % 4]; });
  MemDC dst(CreateBitmap(48, 8, 1, 1, nullptr));
  Colors(dst.dc(), kRed, kBlue);
  for (int i = 0; i < 3; ++i) {
    SetBkColor(src.dc(), backgrounds[i]);
    BitBlt(dst.dc(), 16 * i, 0, 16, 8, src.dc(), 0, 0, SRCCOPY);
  }
  out += "source columns of 4: red green blue white, rows 4-7 shifted by 8\n";
  dst.DumpMono(out, "source bk green | white | #00fe00");
}

// Mono to colour: 0 bits take the destination's text colour, 1 bits its background colour, then the raster
// operation applies.
ORACLE_SCENARIO(bitblt_mono_to_color) {
  MemDC src(MonoFromArt({"##..##..##..##..", "##..##..##..##..", "################", "................",
                         "#.#.#.#.#.#.#.#.", "........########"}));
  Colors(src.dc(), kGreen, kMagenta);  // the source DC's colours play no part
  Canvas dst(52, 6, kYellow);
  Colors(dst.dc(), kRed, kBlue);
  BitBlt(dst.dc(), 0, 0, 16, 6, src.dc(), 0, 0, SRCCOPY);
  BitBlt(dst.dc(), 18, 0, 16, 6, src.dc(), 0, 0, SRCAND);
  Colors(dst.dc(), kBlack, kWhite);
  BitBlt(dst.dc(), 36, 0, 16, 6, src.dc(), 0, 0, SRCINVERT);
  dst.Dump(out, "red/blue SRCCOPY | red/blue SRCAND | black/white SRCINVERT, over yellow", kYellow);
}

// A 1-bit DIB section carries its own colour table (green, yellow here); whether a blit to colour uses it or
// the destination's text and background colours is what this records.
ORACLE_SCENARIO(bitblt_monodib_to_color) {
  MonoInfo info{Header(8, -4, 1), {{0, 255, 0, 0}, {0, 255, 255, 0}}};
  uint8_t* bits = nullptr;
  MemDC src(
      CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
  if (!bits) return void(out += "CreateDIBSection of a 1-bit DIB failed\n");
  bits[0] = 0xF0, bits[4] = 0xCC, bits[8] = 0xAA, bits[12] = 0x0F;
  Canvas dst(18, 4);
  Colors(dst.dc(), kRed, kBlue);
  BitBlt(dst.dc(), 0, 0, 8, 4, src.dc(), 0, 0, SRCCOPY);
  StretchBlt(dst.dc(), 10, 0, 8, 4, src.dc(), 0, 0, 8, 4, SRCCOPY);
  dst.Dump(out, "1-bit DIB (table green, yellow; rows f0 cc aa 0f), dest red/blue: BitBlt | StretchBlt");
}

ORACLE_SCENARIO(patblt_rops) {
  Canvas c(60, 24);
  c.Paint([](int x, int y) { return y >= 10 && y < 14 ? kRed : (x / 3) % 2 ? kBlack : kWhite; });
  Colors(c.dc(), kGreen, kBlue);
  Selected brush(c.dc(), PatternBrush({"##......", "##......", "##......", "########", "........", "........",
                                       "....##..", "....##.."}));
  const long cases[][5] = {{PATCOPY, 0, 0, 12, 12},      {PATINVERT, 12, 0, 12, 12},
                           {DSTINVERT, 24, 0, 12, 12},   {BLACKNESS, 36, 0, 12, 12},
                           {WHITENESS, 48, 0, 12, 12},   {0x000F0001, 0, 12, 12, 12},
                           {0x00A000C9, 12, 12, 12, 12}, {PATINVERT, 36, 24, -12, -12},
                           {PATCOPY, 48, 12, 12, 0},     {0x005F00E9, 48, 12, 12, 12}};  // rop, x, y, w, h
  for (auto& k : cases)
    Appendf(out, "PatBlt %ld,%ld %ldx%ld rop %08lx ok=%d\n", k[1], k[2], k[3], k[4], k[0],
            PatBlt(c.dc(), int(k[1]), int(k[2]), int(k[3]), int(k[4]), DWORD(k[0])));
  c.Dump(out, "pattern green-on-blue over 3px stripes and a red band", kOdd);
}

ORACLE_SCENARIO(stretchblt_enlarge) {
  out += "6x4 source: yellow top/left border, black diagonal, quadrants red green / blue magenta\n";
  StretchEnlarge(out, COLORONCOLOR,
                 "COLORONCOLOR: 13x9, 18x12, mirrored 13x9 / src-flipped, both, 1:1, part");
  StretchEnlarge(out, BLACKONWHITE, "BLACKONWHITE, same calls");
}

// 16 x 12 white source with one-pixel black lines, a red 2x2 dot and a yellow column, shrunk to three sizes
// and mirrored in each mode.
ORACLE_SCENARIO(stretchblt_shrink) {
  Canvas src(16, 12), dst(36, 22, kOdd);
  src.Paint([](int x, int y) {
    if (x == 14) return kYellow;
    if ((x == 10 || x == 11) && (y == 2 || y == 3)) return kRed;
    return x == 5 || y == 7 || x == 2 * y ? kBlack : kWhite;
  });
  src.Dump(out, "source");
  ShrinkInEveryMode(dst.dc(), src.dc());
  dst.Dump(out, "rows BLACKONWHITE, WHITEONBLACK, COLORONCOLOR: 5x4, 7x5, 8x6, mirrored 7x5", kOdd);
}

ORACLE_SCENARIO(stretchblt_shrink_mono) {
  MemDC src(MonoFromArt({"#....#.........#", "..#..#.........#", "....##..........", ".....##.........",
                         ".....#..#.......", ".....#....#.....", ".....#......#...", "################",
                         ".....#..........", ".....#..........", ".....#..........", ".....#.........."}));
  MemDC dst(CreateBitmap(36, 22, 1, 1, nullptr));
  PatBlt(dst.dc(), 0, 0, 36, 22, WHITENESS);
  ShrinkInEveryMode(dst.dc(), src.dc());
  src.DumpMono(out, "source");
  dst.DumpMono(out, "rows BLACKONWHITE, WHITEONBLACK, COLORONCOLOR: 5x4, 7x5, 8x6, mirrored 7x5");
}

// The same 4x3 picture stored bottom-up and top-down must land the same way up; a source rectangle of a
// bottom-up DIB counts its y from the bottom row.
ORACLE_SCENARIO(stretchdibits) {
  const COLORREF pic[3][4] = {
      {kRed, kRed, kGreen, kGreen}, {kBlue, kBlue, kYellow, kYellow}, {kBlack, kWhite, kBlack, kWhite}};
  uint32_t up[12], down[12];
  for (int i = 0; i < 12; ++i) down[i] = up[(2 - i / 4) * 4 + i % 4] = ToPixel(pic[i / 4][i % 4]);
  BITMAPINFO bi[2] = {{Header(4, 3, 32), {}}, {Header(4, -3, 32), {}}};  // bottom-up, top-down
  Canvas c(56, 16, kOdd);
  const struct {
    const char* what;
    int x, y, w, h, sx, sy, sw, sh, topDown;
  } calls[] = {{"1:1 bottom-up", 1, 1, 4, 3, 0, 0, 4, 3, 0},
               {"1:1 top-down", 7, 1, 4, 3, 0, 0, 4, 3, 1},
               {"8x6 bottom-up", 13, 1, 8, 6, 0, 0, 4, 3, 0},
               {"8x6 top-down", 23, 1, 8, 6, 0, 0, 4, 3, 1},
               {"src 1,1 2x2 bottom-up", 33, 1, 2, 2, 1, 1, 2, 2, 0},
               {"src 1,1 2x2 top-down", 37, 1, 2, 2, 1, 1, 2, 2, 1},
               {"mirrored 8x6 bottom-up", 49, 1, -8, 6, 0, 0, 4, 3, 0},
               {"3x2 shrink bottom-up", 51, 1, 3, 2, 0, 0, 4, 3, 0}};
  for (auto& k : calls)
    Appendf(out, "%s: returned %d\n", k.what,
            StretchDIBits(c.dc(), k.x, k.y, k.w, k.h, k.sx, k.sy, k.sw, k.sh, k.topDown ? down : up,
                          &bi[k.topDown], DIB_RGB_COLORS, SRCCOPY));
  MonoInfo mono{Header(8, 2, 1), {{0, 255, 0, 0}, {255, 0, 255, 0}}};  // green, magenta
  const uint8_t monoBits[8] = {0x0F, 0, 0, 0, 0xC3, 0, 0, 0};          // bottom row first
  for (int big = 0; big < 2; ++big)
    Appendf(out, "1-bit %s: returned %d\n", big ? "16x4" : "1:1",
            StretchDIBits(c.dc(), big ? 11 : 1, 9, big ? 16 : 8, big ? 4 : 2, 0, 0, 8, 2, monoBits,
                          mono.get(), DIB_RGB_COLORS, SRCCOPY));
  c.Dump(out, "calls above in order; 1-bit (table green, magenta; top row c3, bottom 0f) below", kOdd);
}

// Reading a 13x5 monochrome bitmap back: the header GetDIBits fills in without a buffer, bottom-up and
// top-down buffers, a band of rows, and a 32-bit read.
ORACLE_SCENARIO(getdibits_mono) {
  HBITMAP bmp =
      MonoFromArt({"#.##..###...#", "##.##.##.##.#", ".............", "#############", "#...........#"});
  HDC dc = CreateCompatibleDC(nullptr);
  MonoInfo info{Header(13, 5, 1), {}};
  int r = GetDIBits(dc, bmp, 0, 5, nullptr, info.get(), DIB_RGB_COLORS);
  Appendf(out, "no buffer: returned %d, biSizeImage %lu, biWidth %ld, biHeight %ld\n", r,
          static_cast<unsigned long>(info.h.biSizeImage), long(info.h.biWidth), long(info.h.biHeight));
  const char* passes[] = {"bottom-up", "top-down", "bottom-up lines 1..2"};
  for (int pass = 0; pass < 3; ++pass) {
    uint8_t buf[5 * 4];
    std::memset(buf, 0xEE, sizeof buf);
    info = MonoInfo{Header(13, pass == 1 ? -5 : 5, 1), {}};
    r = GetDIBits(dc, bmp, pass == 2 ? 1 : 0, pass == 2 ? 2 : 5, buf, info.get(), DIB_RGB_COLORS);
    Appendf(out, "%s: returned %d, table %s %s\n", passes[pass], r,
            Hex(RGB(info.c[0].rgbRed, info.c[0].rgbGreen, info.c[0].rgbBlue)).c_str(),
            Hex(RGB(info.c[1].rgbRed, info.c[1].rgbGreen, info.c[1].rgbBlue)).c_str());
    // Only the bytes that hold pixels: padding is not ours to judge.
    for (int row = 0; row < 5; ++row)
      Appendf(out, "  row %d: %02x %02x\n", row, buf[row * 4], buf[row * 4 + 1] & 0xF8);
  }
  BITMAPINFO info32{Header(13, -5, 32), {}};
  uint32_t px[13 * 5];
  Appendf(out, "32-bit top-down: returned %d\n", GetDIBits(dc, bmp, 0, 5, px, &info32, DIB_RGB_COLORS));
  for (int i = 0; i < 13 * 5; ++i)
    Appendf(out, "%s %06lx%s", i % 13 ? "" : "  ", static_cast<unsigned long>(px[i] & 0xFFFFFF),
            i % 13 == 12 ? "\n" : "");
  DeleteDC(dc);
  DeleteObject(bmp);
}

// The clip rectangle limits both where bits come from and where they go. Without a scroll rectangle Wine
// reports an empty update rectangle for a memory DC, which is its own quirk; the library passes no rectangles
// and asks for no update, so only the pixels are recorded then.
ORACLE_SCENARIO(scrolldc_memory) {
  Canvas before(32, 16);
  PaintScrollArt(before);
  before.Dump(out, "before");
  const RECT scroll{4, 2, 28, 14}, whole{0, 0, 32, 16}, clip{8, 4, 24, 12};
  const struct {
    int dx, dy;
    const RECT *scroll, *clip;
  } cases[] = {
      {5, 3, &scroll, &whole}, {-4, 0, nullptr, nullptr}, {3, -1, &whole, &clip}, {-2, 2, &scroll, &clip}};
  for (auto& k : cases) {
    Canvas c(32, 16);
    PaintScrollArt(c);
    RECT upd{-1, -1, -1, -1};
    BOOL ok = ScrollDC(c.dc(), k.dx, k.dy, k.scroll, k.clip, nullptr, &upd);
    std::string label;
    Appendf(label, "ScrollDC by %d,%d scroll %s clip %s", k.dx, k.dy, RectText(k.scroll).c_str(),
            RectText(k.clip).c_str());
    Appendf(out, "%s: ok=%d%s%s\n", label.c_str(), ok, k.scroll ? " update " : "",
            k.scroll ? RectText(&upd).c_str() : "");
    c.Dump(out, label.c_str());
  }
}

// The pixels StretchBlt picks and, when shrinking, combines: the exact nearest-pixel rule of each mode and of
// mirrored calls.
ORACLE_SCENARIO(stretchblt_sampling) {
  const int modes[] = {COLORONCOLOR, BLACKONWHITE, WHITEONBLACK};
  const char* names[] = {"COLORONCOLOR", "BLACKONWHITE", "WHITEONBLACK"};
  // Vertical?, source from and count, destination length.
  const int cases[][4] = {{0, 0, 16, 1},  {0, 0, 16, 3},   {0, 0, 16, 5},   {0, 0, 16, 7},   {0, 0, 16, 8},
                          {0, 0, 16, 10}, {0, 0, 16, 15},  {0, 0, 16, 17},  {0, 0, 16, 24},  {0, 0, 16, 40},
                          {0, 0, 16, -5}, {0, 0, 16, -24}, {0, 16, -16, 5}, {0, 15, -16, 5}, {0, 0, 6, 13},
                          {0, 0, 6, 18},  {0, 3, 9, 4},    {1, 0, 16, 5},   {1, 0, 6, 13}};
  for (int m = 0; m < 3; ++m)
    for (auto& k : cases) Sampling(out, modes[m], names[m], k[0] != 0, k[1], k[2], k[3]);
}

}  // namespace oracle
