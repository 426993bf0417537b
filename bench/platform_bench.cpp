// Throughput of the soft platform's hot paths: short lines, whole-page
// pattern blits, one-glyph text with a font made per character, and the
// small blits of the compositions and of glyph placement.
#include <benchmark/benchmark.h>

#include "platform/win32.h"

namespace {

struct Page {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  Page(int w, int h) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bmp = CreateCompatibleBitmap(screen, w, h);
    old = SelectObject(dc, bmp);
    ReleaseDC(nullptr, screen);
  }
  ~Page() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
};

void BM_LineTo100(benchmark::State& state) {
  Page page(800, 480);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(page.dc, pen);
  int i = 0;
  for (auto _ : state) {
    const int x = (i * 37) % 700, y = (i * 53) % 380;
    MoveToEx(page.dc, x, y, nullptr);
    LineTo(page.dc, x + 100, y + (i % 100));
    ++i;
  }
  SelectObject(page.dc, old);
  DeleteObject(pen);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LineTo100);

void BM_PatBltPage(benchmark::State& state) {
  Page page(800, 480);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(page.dc, brush);
  for (auto _ : state) PatBlt(page.dc, 0, 0, 800, 480, PATCOPY);
  SelectObject(page.dc, old);
  DeleteObject(brush);
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 800 * 480);
}
BENCHMARK(BM_PatBltPage);

// The library draws each ReGIS character this way: a fresh font, an 8 x 11
// monochrome glyph bitmap, three characters written opaque.
void BM_GlyphWithFontPerCall(benchmark::State& state) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP glyph = CreateBitmap(8, 11, 1, 1, nullptr);
  HGDIOBJ oldBmp = SelectObject(dc, glyph);
  RECT box{0, 0, 8, 11};
  char text[3] = {'.', 'A', '.'};
  int i = 0;
  for (auto _ : state) {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfEscapement = (i % 8) * 450;
    const char face[] = "Courier New";
    for (size_t k = 0; k < sizeof face; ++k) lf.lfFaceName[k] = face[k];
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    text[1] = static_cast<char>('A' + i % 26);
    ExtTextOutA(dc, -8, -2, ETO_OPAQUE, &box, text, 3, nullptr);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ++i;
  }
  SelectObject(dc, oldBmp);
  DeleteObject(glyph);
  DeleteDC(dc);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GlyphWithFontPerCall);

// A bitmap of the page's format (or monochrome) in a memory DC.
struct Scratch {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  Scratch(HDC page, int w, int h, bool mono) {
    dc = CreateCompatibleDC(page);
    bmp = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(page, w, h);
    old = SelectObject(dc, bmp);
  }
  ~Scratch() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
};

// One step of a plane-mask merge on a 9 x 9 box: the mask of one palette
// index, expanded into a colour bitmap and ORed into the page copy.
void BM_MergeStep9x9(benchmark::State& state) {
  Page page(800, 480);
  Scratch saved(page.dc, 9, 9, false), mask(page.dc, 9, 9, true), index(page.dc, 9, 9, false),
      copy(page.dc, 9, 9, false);
  SetTextColor(index.dc, RGB(0, 0, 0));
  int i = 0;
  for (auto _ : state) {
    SetBkColor(saved.dc, PALETTEINDEX(i & 15));
    BitBlt(mask.dc, 0, 0, 9, 9, saved.dc, 0, 0, SRCCOPY);
    SetBkColor(index.dc, PALETTEINDEX((i & 10) | 1));
    BitBlt(index.dc, 0, 0, 9, 9, mask.dc, 0, 0, SRCCOPY);
    BitBlt(copy.dc, 0, 0, 9, 9, index.dc, 0, 0, SRCPAINT);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MergeStep9x9);

// A loaded-alphabet glyph (8 x 10, monochrome) stretched into a 10 x 22 mask
// and put on the page through the transparent copy of four blits.
void BM_GlyphPlacement(benchmark::State& state) {
  Page page(800, 480);
  Scratch glyph(page.dc, 8, 10, true), mask(page.dc, 10, 22, true), saved(page.dc, 10, 22, false);
  int i = 0;
  for (auto _ : state) {
    const int x = (i * 37) % 780, y = (i * 53) % 450;
    StretchBlt(mask.dc, 0, 0, 10, 22, glyph.dc, 0, 0, 8, 10, SRCCOPY);
    BitBlt(saved.dc, 0, 0, 10, 22, page.dc, x, y, SRCCOPY);
    SetTextColor(saved.dc, RGB(0, 0, 0));
    SetBkColor(saved.dc, RGB(255, 255, 255));
    BitBlt(saved.dc, 0, 0, 10, 22, mask.dc, 0, 0, SRCAND);
    SetBkColor(page.dc, RGB(0, 0, 0));
    BitBlt(page.dc, x, y, 10, 22, mask.dc, 0, 0, SRCCOPY);
    BitBlt(page.dc, x, y, 10, 22, saved.dc, 0, 0, SRCPAINT);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GlyphPlacement);

}  // namespace
