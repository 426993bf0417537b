// The scenario registry and the helpers that turn what a scenario drew into
// text. Everything here uses only the Win32 subset, so the output means the
// same thing under the soft platform and under a real GDI.
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

uint32_t ToPixel(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

COLORREF FromPixel(uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Letters that always mean the same colour.
char FixedLetter(uint32_t rgb) {
  switch (rgb) {
    case 0x000000:
      return 'K';
    case 0xFFFFFF:
      return 'W';
    case 0xFF0000:
      return 'R';
    case 0x00FF00:
      return 'G';
    case 0x0000FF:
      return 'B';
    case 0xFFFF00:
      return 'Y';
    case 0x00FFFF:
      return 'C';
    case 0xFF00FF:
      return 'M';
    default:
      return 0;
  }
}

constexpr char kFreeLetters[] = "abcdefghijklmnopqrstuvwxyzADEFHIJLNOPQSTUVXZ0123456789";

void AppendRuler(std::string& out, int width) {
  out += "    ";
  for (int x = 0; x < width; ++x) out += x % 10 == 0 ? static_cast<char>('0' + (x / 10) % 10) : ' ';
  out += "\n    ";
  for (int x = 0; x < width; ++x) out += static_cast<char>('0' + x % 10);
  out += '\n';
}

}  // namespace

int RegisterScenario(const char* name, ScenarioFn fn) {
  auto& reg = Registry();
  auto at = std::lower_bound(reg.begin(), reg.end(), name,
                             [](const Scenario& s, const char* n) { return std::strcmp(s.name, n) < 0; });
  if (at != reg.end() && std::strcmp(at->name, name) == 0) {
    std::fprintf(stderr, "oracle: scenario %s registered twice\n", name);
    std::abort();
  }
  reg.insert(at, Scenario{name, fn});
  return static_cast<int>(reg.size());
}

const std::vector<Scenario>& Scenarios() {
  return Registry();
}

bool IsInformational(const Scenario& s) {
  return std::strncmp(s.name, "info_", 5) == 0;
}

void Appendf(std::string& out, const char* fmt, ...) {
  char buf[1024];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof buf) {
    out.append(buf, static_cast<size_t>(n));
    return;
  }
  std::vector<char> big(static_cast<size_t>(n) + 1);
  va_start(ap, fmt);
  std::vsnprintf(big.data(), big.size(), fmt, ap);
  va_end(ap);
  out.append(big.data(), static_cast<size_t>(n));
}

std::string Hex(COLORREF c) {
  if (c == CLR_INVALID) return "invalid";
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

void AppendTolerant(std::string& out, int tolerance, const std::string& line) {
  Appendf(out, "~%d %s\n", tolerance, line.c_str());
}

void Flush() {
#ifdef _WIN32
  // Real GDI batches calls; DIB section bits are only current after a flush.
  GdiFlush();
#endif
}

Dib32 MakeDib32(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  Dib32 dib;
  void* bits = nullptr;
  dib.bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib.bitmap || !bits) {
    std::fprintf(stderr, "oracle: CreateDIBSection %dx%d failed\n", width, height);
    std::abort();
  }
  dib.bits = static_cast<uint32_t*>(bits);
  dib.width = width;
  dib.height = height;
  return dib;
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  Dib32 dib = MakeDib32(width, height);
  bitmap_ = dib.bitmap;
  bits_ = dib.bits;
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  Fill(fill);
}

Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void Canvas::Fill(COLORREF c) {
  Flush();
  std::fill(bits_, bits_ + static_cast<size_t>(width_) * height_, ToPixel(c));
}

COLORREF Canvas::At(int x, int y) const {
  Flush();
  return FromPixel(bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF);
}

void Canvas::Put(int x, int y, COLORREF c) {
  Flush();
  bits_[static_cast<size_t>(y) * width_ + x] = ToPixel(c);
}

const uint32_t* Canvas::bits() const {
  Flush();
  return bits_;
}

void Canvas::Dump(std::string& out, const char* label, COLORREF background) const {
  DumpDib32(out, label, bits(), width_, height_, background);
}

void DumpDib32(std::string& out, const char* label, const uint32_t* bits, int width, int height,
               COLORREF background) {
  Flush();
  const uint32_t bg = ToPixel(background);
  std::vector<std::pair<uint32_t, char>> legend;  // in order of first appearance
  size_t nextFree = 0;
  auto letterOf = [&](uint32_t rgb) -> char {
    if (rgb == bg) return '.';
    for (auto& e : legend)
      if (e.first == rgb) return e.second;
    char c = FixedLetter(rgb);
    if (!c) c = nextFree < sizeof kFreeLetters - 1 ? kFreeLetters[nextFree++] : '?';
    legend.emplace_back(rgb, c);
    return c;
  };
  std::string rows;
  for (int y = 0; y < height; ++y) {
    Appendf(rows, "%3d ", y);
    for (int x = 0; x < width; ++x) rows += letterOf(bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF);
    rows += '\n';
  }
  Appendf(out, "[%s] %dx%d .=%s\n", label, width, height, Hex(background).c_str());
  out += "legend:";
  for (auto& e : legend) Appendf(out, " %c=%s", e.second, Hex(FromPixel(e.first)).c_str());
  out += '\n';
  AppendRuler(out, width);
  out += rows;
}

namespace {
struct MonoInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[2];
};
}  // namespace

void DumpMono(std::string& out, const char* label, HBITMAP bitmap) {
  Flush();
  BITMAP bm{};
  if (GetObjectA(bitmap, sizeof bm, &bm) == 0) {
    Appendf(out, "[%s] GetObjectA failed\n", label);
    return;
  }
  const int w = bm.bmWidth, h = bm.bmHeight;
  MonoInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = w;
  info.header.biHeight = h;  // bottom-up, the form every GDI accepts
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  const size_t stride = static_cast<size_t>((w + 31) / 32) * 4;
  std::vector<uint8_t> data(stride * static_cast<size_t>(h));
  HDC dc = CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(h), data.data(),
                        reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != h) {
    Appendf(out, "[%s] mono %dx%d: GetDIBits returned %d\n", label, w, h, lines);
    return;
  }
  auto rgb = [](const RGBQUAD& q) { return Hex(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)); };
  Appendf(out, "[%s] mono %dx%d #=0 .=1 table 0=%s 1=%s\n", label, w, h, rgb(info.colors[0]).c_str(),
          rgb(info.colors[1]).c_str());
  AppendRuler(out, w);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = data.data() + stride * static_cast<size_t>(h - 1 - y);
    Appendf(out, "%3d ", y);
    for (int x = 0; x < w; ++x) out += (row[x / 8] >> (7 - x % 8)) & 1 ? '.' : '#';
    out += '\n';
  }
}

HBITMAP MonoFromArt(const std::vector<const char*>& rows) {
  const int h = static_cast<int>(rows.size());
  const int w = h ? static_cast<int>(std::strlen(rows[0])) : 0;
  const size_t stride = static_cast<size_t>((w + 15) / 16) * 2;
  std::vector<uint8_t> data(stride * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (rows[static_cast<size_t>(y)][x] == '.')
        data[stride * y + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  return CreateBitmap(w, h, 1, 1, data.data());
}

}  // namespace oracle
