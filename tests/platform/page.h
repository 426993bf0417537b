// A memory DC on a bitmap of its own for the soft platform's pixel tests: an 8-bit bitmap of the display's
// format cleared to white unless asked otherwise, a 1-bit one, or a top-down 32-bit DIB section.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/soft/objects.h"
#include "platform/win32.h"

namespace platform_test {

using Values = std::vector<uint32_t>;
using Art = std::vector<std::string>;

constexpr uint32_t kBlack = 0, kWhite = 255, kRed = 249, kBlue = 252;

inline HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  std::vector<BYTE> buf(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) lp->palPalEntry[i] = entries[i];
  return CreatePalette(lp);
}

// Objects selected through it are deleted with it.
class Page {
 public:
  Page(int w, int h, int bpp = 8, uint32_t fill = kWhite) : w_(w), h_(h) {
    dc_ = CreateCompatibleDC(nullptr);
    if (bpp == 32) {
      BITMAPINFO bi{};
      bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      void* bits = nullptr;
      bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    } else {
      bmp_ = CreateBitmap(w, h, 1, static_cast<UINT>(bpp), nullptr);
    }
    for (int type : {OBJ_PEN, OBJ_BRUSH, OBJ_FONT}) old_.push_back(GetCurrentObject(dc_, type));
    old_.push_back(SelectObject(dc_, bmp_));
    Fill(fill);
  }
  ~Page() {
    for (HGDIOBJ o : old_) SelectObject(dc_, o);
    for (HGDIOBJ o : owned_) DeleteObject(o);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  HBITMAP bmp() const { return bmp_; }
  void Use(HGDIOBJ o) {
    SelectObject(dc_, o);
    owned_.push_back(o);
  }
  void Pen(int style, int width, COLORREF colour = RGB(0, 0, 0)) { Use(CreatePen(style, width, colour)); }
  void Brush(COLORREF colour) { Use(CreateSolidBrush(colour)); }
  void Font(const LOGFONTA& lf) { Use(CreateFontIndirectA(&lf)); }
  void NoBrush() { SelectObject(dc_, GetStockObject(NULL_BRUSH)); }

  soft::inspect::Image Image() const { return soft::inspect::ReadBitmap(bmp_); }
  uint32_t Index(int x, int y) const { return soft::GetBitmap(bmp_)->Get(x, y); }
  void Set(int x, int y, uint32_t v) { soft::GetBitmap(bmp_)->Set(x, y, v); }
  void Fill(uint32_t v) {
    for (int i = 0; i < w_ * h_; ++i) Set(i % w_, i / w_, v);
  }
  int Count(uint32_t v) const {
    const Values p = Image().pixels;
    return static_cast<int>(std::count(p.begin(), p.end(), v));
  }
  // '#' black, '.' white, 'r' red, '*' any other index.
  Art Picture() const {
    Art rows(static_cast<size_t>(h_), std::string(static_cast<size_t>(w_), '.'));
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        const uint32_t v = Index(x, y);
        rows[y][x] = v == kBlack ? '#' : v == kWhite ? '.' : v == kRed ? 'r' : '*';
      }
    return rows;
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  std::vector<HGDIOBJ> old_, owned_;
};

}  // namespace platform_test
