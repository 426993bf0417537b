// Scenario programs for comparing the soft platform with a real GDI. Each
// scenario draws with the Win32 subset only and prints what it drew as text;
// the same sources build natively (soft platform) and with mingw (real GDI
// under Wine), and the real GDI's output is kept as golden files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace oracle {

using ScenarioFn = void (*)(std::string& out);

struct Scenario {
  const char* name;
  ScenarioFn fn;
};

int RegisterScenario(const char* name, ScenarioFn fn);
const std::vector<Scenario>& Scenarios();  // sorted by name

// Scenarios named "info_..." print what depends on the display model (a true
// colour display under Wine, our 8-bit palette display natively); they are
// listed and recorded but never compared.
bool IsInformational(const Scenario& s);

// ---- Writing the output ----

// Appends printf-style text to out.
void Appendf(std::string& out, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// "#rrggbb" of a colour reference.
std::string Hex(COLORREF c);

// A line starting "~N " holds numbers that a comparison accepts within +-N:
// text geometry depends on the rasteriser and hinting of each font engine.
void AppendTolerant(std::string& out, int tolerance, const std::string& line);

// ---- Surfaces ----

// A top-down 32-bit DIB section selected into its own memory DC. Pixels are
// 0x00RRGGBB as in any 32-bit BI_RGB DIB.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Fill(COLORREF c);
  // The colour of a pixel read from the bits, as a COLORREF.
  COLORREF At(int x, int y) const;
  void Put(int x, int y, COLORREF c);
  // Prints the pixels with background as '.'.
  void Dump(std::string& out, const char* label, COLORREF background = RGB(255, 255, 255)) const;
  const uint32_t* bits() const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

// A top-down 32-bit DIB section and its bits.
struct Dib32 {
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  int width = 0, height = 0;
};
Dib32 MakeDib32(int width, int height);

// Rows of one letter per pixel, with a legend from letters to colours in
// order of first appearance. Pure black, white and the six primaries and
// secondaries keep fixed letters (K W R G B Y C M) so that a wrong pixel
// does not reletter the rest of a diff; other colours get a, b, c, ...
void DumpDib32(std::string& out, const char* label, const uint32_t* bits, int width, int height,
               COLORREF background);

// A monochrome bitmap read back through GetDIBits: '#' for 0, '.' for 1,
// with the colour table GetDIBits reports.
void DumpMono(std::string& out, const char* label, HBITMAP bitmap);

// The 1-bit bitmap of a picture given as rows of '#' (0) and '.' (1), in
// CreateBitmap's word-aligned layout.
HBITMAP MonoFromArt(const std::vector<const char*>& rows);

// Makes sure queued drawing has reached the bits of DIB sections.
void Flush();

// Selects a freshly made object into a DC for the scope and deletes it after.
template <class H>
class Selected {
 public:
  Selected(HDC dc, H object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  H get() const { return object_; }

 private:
  HDC dc_;
  H object_;
  HGDIOBJ old_;
};

}  // namespace oracle

// Defines and registers a scenario: ORACLE_SCENARIO(lines_basic) { ... out ... }
#define ORACLE_SCENARIO(name)                                                                           \
  static void OracleScenario_##name(std::string& out);                                                  \
  static const int oracle_registered_##name = ::oracle::RegisterScenario(#name, OracleScenario_##name); \
  static void OracleScenario_##name(std::string& out)
