// Module resources by name, and LoadBitmapA: a resource bitmap becomes a
// device bitmap of the display whose pixels are the system palette entries
// nearest to its colours.
#include "platform/soft/resource.h"

#include <array>
#include <cctype>
#include <map>
#include <string>

#include "platform/soft/palette.h"
#include "platform/soft/window.h"

namespace soft {
namespace {

struct BitmapResource {
  int width = 0, height = 0;
  std::vector<RGBQUAD> colours;
  std::vector<uint8_t> owned;  // the indices when they were handed over as a vector
  const uint8_t* indices = nullptr;
  size_t count = 0;
};

std::map<std::string, CursorResource>& Cursors() {
  static auto* cursors = new std::map<std::string, CursorResource>;
  return *cursors;
}

std::map<std::string, BitmapResource>& Bitmaps() {
  static auto* bitmaps = new std::map<std::string, BitmapResource>;
  return *bitmaps;
}

}  // namespace

// Resource names compare without case; integer ids are kept as "#123".
std::string ResourceKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(LOWORD(name));
  std::string key = name;
  for (char& ch : key) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return key;
}

const CursorResource* FindCursorResource(LPCSTR name) {
  if (!name) return nullptr;
  auto it = Cursors().find(ResourceKey(name));
  return it == Cursors().end() ? nullptr : &it->second;
}

void AddCursorResource(const char* name, int width, int height, int hotX, int hotY,
                       std::vector<uint8_t> andMask, std::vector<uint8_t> xorMask) {
  if (!name || width <= 0 || height <= 0) return;
  CursorResource& c = Cursors()[ResourceKey(name)];
  c = CursorResource{name, width, height, hotX, hotY, std::move(andMask), std::move(xorMask)};
}

void AddBitmapResource(const char* name, int width, int height, std::vector<RGBQUAD> colours,
                       std::vector<uint8_t> indices) {
  if (!name || width <= 0 || height <= 0) return;
  BitmapResource& res = Bitmaps()[ResourceKey(name)];
  res = BitmapResource{width, height, std::move(colours), std::move(indices), nullptr, 0};
  res.indices = res.owned.data();
  res.count = res.owned.size();
}

void AddBitmapResource(const char* name, int width, int height, std::vector<RGBQUAD> colours,
                       const uint8_t* indices, size_t count) {
  if (!name || width <= 0 || height <= 0) return;
  Bitmaps()[ResourceKey(name)] =
      BitmapResource{width, height, std::move(colours), {}, indices, indices ? count : 0};
}

}  // namespace soft

using namespace soft;

extern "C" {

HBITMAP WINAPI LoadBitmapA(HINSTANCE, LPCSTR lpBitmapName) {
  if (!lpBitmapName) return nullptr;
  auto it = Bitmaps().find(ResourceKey(lpBitmapName));
  if (it == Bitmaps().end()) return nullptr;
  const BitmapResource& res = it->second;
  auto bmp = NewDisplayBitmap(res.width, res.height);
  if (!bmp) return nullptr;
  // Indices past the colour table show black, as a short table would.
  std::array<uint8_t, 256> system{};
  for (size_t i = 0; i < res.colours.size() && i < system.size(); ++i) {
    const RGBQUAD& q = res.colours[i];
    system[i] = static_cast<uint8_t>(NearestSystemIndex(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)));
  }
  const uint8_t black = static_cast<uint8_t>(NearestSystemIndex(RGB(0, 0, 0)));
  for (size_t i = res.colours.size(); i < system.size(); ++i) system[i] = black;
  for (int y = 0; y < res.height; ++y) {
    for (int x = 0; x < res.width; ++x) {
      const size_t at = static_cast<size_t>(y) * res.width + x;
      bmp->Set(x, y, at < res.count ? system[res.indices[at]] : system[0]);
    }
  }
  return As<HBITMAP>(Register(std::move(bmp)));
}

}  // extern "C"
