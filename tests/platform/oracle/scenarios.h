// Scenario programs for comparing the soft platform with a real GDI. Each scenario draws with the Win32
// subset only and prints what it drew as text; the same sources build natively (soft platform) and with mingw
// (real GDI under Wine), and the real GDI's output is kept as golden files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace oracle {

using ScenarioFn = void (*)(std::string& out);
struct Scenario {
  const char* name;
  ScenarioFn fn;
  friend void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }  // test output names it
};
int RegisterScenario(const char* name, ScenarioFn fn);
const std::vector<Scenario>& Scenarios();  // sorted by name
// Scenarios named "info_..." print what depends on the display model (a true colour display under Wine, our
// 8-bit palette display natively); they are listed and recorded but never compared.
bool IsInformational(const Scenario& s);

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0),
               kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0),
               kMagenta = RGB(255, 0, 255), kOdd = RGB(1, 2, 3);

void Appendf(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
std::string Hex(COLORREF c);   // "#rrggbb"
uint32_t ToPixel(COLORREF c);  // 0x00RRGGBB, as in a 32-bit BI_RGB DIB
COLORREF FromPixel(uint32_t p);
BITMAPINFOHEADER Header(int width, int height, int bpp);
struct MonoInfo {  // a 1-bit DIB's header and colour table
  BITMAPINFOHEADER h;
  RGBQUAD c[2];
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};
// The 1-bit bitmap of a picture given as rows of '#' (0) and '.' (1), and a pattern brush of one (which keeps
// its own copy).
HBITMAP MonoFromArt(const std::vector<const char*>& rows);
HBRUSH PatternBrush(const std::vector<const char*>& rows);
void Colors(HDC dc, COLORREF text, COLORREF background);
// Makes sure queued drawing has reached the bits of DIB sections.
void Flush();

// A memory DC with a bitmap selected; both are deleted at the end.
class MemDC {
 public:
  explicit MemDC(HBITMAP bitmap);
  ~MemDC();
  MemDC(const MemDC&) = delete;
  HDC dc() const { return dc_; }
  // A 1-bit bitmap read back through GetDIBits (deselected meanwhile): '#' for 0, '.' for 1, with the colour
  // table GetDIBits reports.
  void DumpMono(std::string& out, const char* label) const;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

// A top-down 32-bit DIB section in its own memory DC.
class Canvas : public MemDC {
 public:
  Canvas(int width, int height, COLORREF fill = kWhite);
  int width() const { return width_; }
  int height() const { return height_; }
  void Fill(COLORREF c);
  COLORREF At(int x, int y) const;
  template <class F>
  void Paint(F colourAt) {
    Flush();
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) bits_[size_t(y) * width_ + x] = ToPixel(colourAt(x, y));
  }
  // Rows of one letter per pixel, background '.', with a legend from letters to colours in order of first
  // appearance. Pure black, white and the six primaries and secondaries keep fixed letters (K W R G B Y C M)
  // so that a wrong pixel does not reletter the rest of a diff; others get a, b, c, ...
  void Dump(std::string& out, const char* label, COLORREF background = kWhite) const;

 private:
  Canvas(int width, int height, COLORREF fill, void* bits);
  uint32_t* bits_;
  int width_, height_;
};

// Selects a freshly made object into a DC for the scope and deletes it after.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_, old_;
};
inline Selected Pen(HDC dc, int style, int width, COLORREF c) {
  return {dc, CreatePen(style, width, c)};
}
inline Selected Brush(HDC dc, COLORREF c) {
  return {dc, CreateSolidBrush(c)};
}

struct Segment {
  int x0, y0, x1, y1;
};
void Segments(HDC dc, std::initializer_list<Segment> lines);  // MoveToEx and LineTo each
void Path(HDC dc, std::initializer_list<POINT> points);       // MoveToEx, then LineTo each
BOOL Poly(HDC dc, std::initializer_list<POINT> points);       // Polygon
BOOL Lines(HDC dc, std::initializer_list<POINT> points);      // Polyline

}  // namespace oracle

// Defines and registers a scenario: ORACLE_SCENARIO(lines_basic) { ... out ... }
#define ORACLE_SCENARIO(name)                                                                           \
  static void OracleScenario_##name(std::string& out);                                                  \
  static const int oracle_registered_##name = ::oracle::RegisterScenario(#name, OracleScenario_##name); \
  static void OracleScenario_##name(std::string& out)
// A scenario that is one call: ORACLE_SCENARIO_CALL(wide_pen_3, WideLines(out, 3));
#define ORACLE_SCENARIO_CALL(name, ...) \
  ORACLE_SCENARIO(name) {               \
    __VA_ARGS__;                        \
  }
