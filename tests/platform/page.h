// A memory DC on an 8-bit bitmap of the display's format, cleared to white,
// for the soft platform's pixel tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/win32.h"

namespace platform_test {

using Pixels = std::vector<std::pair<int, int>>;
using Art = std::vector<std::string>;

constexpr uint32_t kBlack = 0, kWhite = 255, kRed = 249;

// A memory DC on an 8-bit bitmap of the display's format, cleared to white.
// Pens and brushes made through it are deleted with it.
class Page {
 public:
  Page(int w, int h) : w_(w), h_(h) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    oldBmp_ = SelectObject(dc_, bmp_);
    oldPen_ = GetCurrentObject(dc_, OBJ_PEN);
    oldBrush_ = GetCurrentObject(dc_, OBJ_BRUSH);
    PatBlt(dc_, 0, 0, w, h, WHITENESS);
  }
  ~Page() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldBmp_);
    for (HGDIOBJ o : owned_) DeleteObject(o);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  void Pen(int style, int width, COLORREF colour = RGB(0, 0, 0)) {
    Own(SelectObject(dc_, CreatePen(style, width, colour)), OBJ_PEN);
  }
  void Brush(COLORREF colour) { Own(SelectObject(dc_, CreateSolidBrush(colour)), OBJ_BRUSH); }
  void NoBrush() { SelectObject(dc_, GetStockObject(NULL_BRUSH)); }
  void NoPen() { SelectObject(dc_, GetStockObject(NULL_PEN)); }

  soft::inspect::Image Image() const { return soft::inspect::ReadBitmap(bmp_); }
  uint32_t Index(int x, int y) const { return Image().At(x, y); }
  // '#' black, '.' white, 'r' red, '*' any other index.
  Art Picture() const {
    const soft::inspect::Image img = soft::inspect::ReadBitmap(bmp_);
    Art rows;
    for (int y = 0; y < h_; ++y) {
      std::string row;
      for (int x = 0; x < w_; ++x) {
        const uint32_t v = img.At(x, y);
        row += v == kBlack ? '#' : v == kWhite ? '.' : v == kRed ? 'r' : '*';
      }
      rows.push_back(row);
    }
    return rows;
  }
  Art Rows(int y0, int y1) const {
    const Art all = Picture();
    return Art(all.begin() + y0, all.begin() + y1 + 1);
  }
  int Black() const {
    int n = 0;
    for (const std::string& row : Picture()) n += static_cast<int>(std::count(row.begin(), row.end(), '#'));
    return n;
  }
  // Pixels that are no longer white, row by row.
  Pixels Changed() const {
    const soft::inspect::Image img = soft::inspect::ReadBitmap(bmp_);
    Pixels out;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (img.At(x, y) != kWhite) out.push_back({x, y});
    return out;
  }

 private:
  // SelectObject hands back the previous object; the new one is current now.
  void Own(HGDIOBJ previous, UINT type) {
    owned_.push_back(GetCurrentObject(dc_, type));
    (void)previous;
  }
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ oldBmp_, oldPen_, oldBrush_;
  std::vector<HGDIOBJ> owned_;
};

}  // namespace platform_test
