// The scenario registry and the helpers that turn what a scenario drew into text. Everything here uses only
// the Win32 subset, so the output means the same thing under the soft platform and under a real GDI.
#include "tests/platform/oracle/scenarios.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace oracle {
namespace {

std::vector<Scenario>& Registry() {
  static std::vector<Scenario> registry;
  return registry;
}

// A ruler of column numbers, then one row of letters per pixel row.
template <class F>
void AppendGrid(std::string& out, int width, int height, F letterAt) {
  out += "    ";
  for (int x = 0; x < width; ++x) out += x % 10 == 0 ? char('0' + (x / 10) % 10) : ' ';
  out += "\n    ";
  for (int x = 0; x < width; ++x) out += char('0' + x % 10);
  for (int y = 0; y < height; ++y) {
    Appendf(out, "\n%3d ", y);
    for (int x = 0; x < width; ++x) out += letterAt(x, y);
  }
  out += '\n';
}

void DumpMono(std::string& out, const char* label, HBITMAP bitmap) {
  Flush();
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  const int w = bm.bmWidth, h = bm.bmHeight;
  MonoInfo info{Header(w, h, 1), {}};  // bottom-up, the form every GDI accepts
  const size_t stride = size_t((w + 31) / 32) * 4;
  std::vector<uint8_t> data(stride * size_t(h));
  HDC dc = CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, UINT(h), data.data(), info.get(), DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != h) return Appendf(out, "[%s] mono %dx%d: GetDIBits returned %d\n", label, w, h, lines);
  auto rgb = [](const RGBQUAD& q) { return Hex(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)); };
  Appendf(out, "[%s] mono %dx%d #=0 .=1 table 0=%s 1=%s\n", label, w, h, rgb(info.c[0]).c_str(),
          rgb(info.c[1]).c_str());
  AppendGrid(out, w, h, [&](int x, int y) {
    return (data[stride * (h - 1 - y) + x / 8] >> (7 - x % 8)) & 1 ? '.' : '#';
  });
}

}  // namespace

int RegisterScenario(const char* name, ScenarioFn fn) {
  Registry().push_back(Scenario{name, fn});
  return 0;
}

const std::vector<Scenario>& Scenarios() {
  auto& all = Registry();
  std::sort(all.begin(), all.end(),
            [](const Scenario& a, const Scenario& b) { return std::strcmp(a.name, b.name) < 0; });
  return all;
}

bool IsInformational(const Scenario& s) {
  return std::strncmp(s.name, "info_", 5) == 0;
}

void Appendf(std::string& out, const char* fmt, ...) {
  va_list ap, again;
  va_start(ap, fmt);
  va_copy(again, ap);
  const int n = std::max(std::vsnprintf(nullptr, 0, fmt, ap), 0);
  const size_t at = out.size();
  out.resize(at + size_t(n) + 1);
  std::vsnprintf(&out[at], size_t(n) + 1, fmt, again);
  out.resize(at + size_t(n));
  va_end(again);
  va_end(ap);
}

std::string Hex(COLORREF c) {
  std::string s;
  Appendf(s, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

uint32_t ToPixel(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

COLORREF FromPixel(uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

BITMAPINFOHEADER Header(int width, int height, int bpp) {
  return {sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
}

HBITMAP MonoFromArt(const std::vector<const char*>& rows) {
  const int h = int(rows.size()), w = h ? int(std::strlen(rows[0])) : 0;
  const size_t stride = size_t((w + 15) / 16) * 2;
  std::vector<uint8_t> data(stride * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (rows[size_t(y)][x] == '.') data[stride * y + x / 8] |= uint8_t(0x80 >> (x % 8));
  return CreateBitmap(w, h, 1, 1, data.data());
}

HBRUSH PatternBrush(const std::vector<const char*>& rows) {
  HBITMAP art = MonoFromArt(rows);
  HBRUSH brush = CreatePatternBrush(art);
  DeleteObject(art);
  return brush;
}

void Colors(HDC dc, COLORREF text, COLORREF background) {
  SetTextColor(dc, text);
  SetBkColor(dc, background);
}

void Flush() {
#ifdef _WIN32
  // Real GDI batches calls; DIB section bits are only current after a flush.
  GdiFlush();
#endif
}

MemDC::MemDC(HBITMAP bitmap)
    : dc_(CreateCompatibleDC(nullptr)), bitmap_(bitmap), old_(SelectObject(dc_, bitmap)) {}

MemDC::~MemDC() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void MemDC::DumpMono(std::string& out, const char* label) const {
  SelectObject(dc_, old_);
  oracle::DumpMono(out, label, bitmap_);
  SelectObject(dc_, bitmap_);
}

namespace {
HBITMAP MakeDib32(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader = Header(width, -height, 32);
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
  if (!bitmap || !*bits) {
    std::fprintf(stderr, "oracle: CreateDIBSection %dx%d failed\n", width, height);
    std::abort();
  }
  return bitmap;
}
}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : Canvas(width, height, fill, nullptr) {}

// The base is made first and hands the section's bits over through `bits`.
Canvas::Canvas(int width, int height, COLORREF fill, void* bits)
    : MemDC(MakeDib32(width, height, &bits)),
      bits_(static_cast<uint32_t*>(bits)),
      width_(width),
      height_(height) {
  Fill(fill);
}

void Canvas::Fill(COLORREF c) {
  Flush();
  std::fill(bits_, bits_ + size_t(width_) * height_, ToPixel(c));
}

COLORREF Canvas::At(int x, int y) const {
  Flush();
  return FromPixel(bits_[size_t(y) * width_ + x] & 0xFFFFFF);
}

void Canvas::Dump(std::string& out, const char* label, COLORREF background) const {
  Flush();
  static const std::pair<uint32_t, char> kFixed[] = {{0x000000, 'K'}, {0xFFFFFF, 'W'}, {0xFF0000, 'R'},
                                                     {0x00FF00, 'G'}, {0x0000FF, 'B'}, {0xFFFF00, 'Y'},
                                                     {0x00FFFF, 'C'}, {0xFF00FF, 'M'}};
  static const char kFree[] = "abcdefghijklmnopqrstuvwxyzADEFHIJLNOPQSTUVXZ0123456789";
  const uint32_t bg = ToPixel(background);
  std::vector<std::pair<uint32_t, char>> legend;  // in order of first appearance
  size_t nextFree = 0;
  auto letterOf = [&](uint32_t rgb) -> char {
    if (rgb == bg) return '.';
    for (auto& e : legend)
      if (e.first == rgb) return e.second;
    char c = 0;
    for (auto& f : kFixed) c = f.first == rgb ? f.second : c;
    if (!c) c = nextFree < sizeof kFree - 1 ? kFree[nextFree++] : '?';
    legend.emplace_back(rgb, c);
    return c;
  };
  std::string grid;  // lettered first, so that the legend is complete
  AppendGrid(grid, width_, height_, [&](int x, int y) { return letterOf(ToPixel(At(x, y))); });
  Appendf(out, "[%s] %dx%d .=%s\nlegend:", label, width_, height_, Hex(background).c_str());
  for (auto& e : legend) Appendf(out, " %c=%s", e.second, Hex(FromPixel(e.first)).c_str());
  out += '\n' + grid;
}

void Segments(HDC dc, std::initializer_list<Segment> lines) {
  for (auto& s : lines) {
    MoveToEx(dc, s.x0, s.y0, nullptr);
    LineTo(dc, s.x1, s.y1);
  }
}

void Path(HDC dc, std::initializer_list<POINT> points) {
  MoveToEx(dc, points.begin()->x, points.begin()->y, nullptr);
  for (auto p = points.begin() + 1; p != points.end(); ++p) LineTo(dc, p->x, p->y);
}

BOOL Poly(HDC dc, std::initializer_list<POINT> points) {
  return Polygon(dc, points.begin(), int(points.size()));
}

BOOL Lines(HDC dc, std::initializer_list<POINT> points) {
  return Polyline(dc, points.begin(), int(points.size()));
}

}  // namespace oracle
