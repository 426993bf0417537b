#include "surface/bitmap_to_dib.h"

#include <cstdint>
#include <cstring>

namespace {

int DibBitsPerPixel(int bits) {
  if (bits <= 1) return 1;
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  return 24;
}

}  // namespace

bool DibHeaderFor(int width, int height, int planes, int bitsPerPixel, BITMAPINFOHEADER* header) {
  const int bits = DibBitsPerPixel(planes * bitsPerPixel);
  const int64_t rowBytes = ((int64_t{bits} * width + 31) & ~int64_t{31}) / 8;
  const int64_t imageSize = rowBytes * height;
  if (width < 0 || height < 0 || imageSize > INT32_MAX) return false;
  std::memset(header, 0, sizeof(*header));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bits);
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(imageSize);
  return true;
}

size_t DibColourCount(const BITMAPINFOHEADER& header) {
  if (header.biClrUsed) return header.biClrUsed;
  return header.biBitCount <= 8 ? size_t{1} << header.biBitCount : 0;
}

HGLOBAL BitmapToDib(HBITMAP bitmap, HPALETTE palette) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(bm), &bm)) return nullptr;
  BITMAPINFOHEADER header;
  if (!DibHeaderFor(bm.bmWidth, bm.bmHeight, bm.bmPlanes, bm.bmBitsPixel, &header)) return nullptr;
  const size_t tableBytes = DibColourCount(header) * sizeof(RGBQUAD);
  HGLOBAL block = GlobalAlloc(GHND, sizeof(header) + tableBytes + header.biSizeImage);
  if (!block) return nullptr;
  auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
  if (!info) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(info, &header, sizeof(header));

  HDC screen = GetDC(nullptr);
  HPALETTE previous = screen && palette ? SelectPalette(screen, palette, FALSE) : nullptr;
  const int lines =
      screen ? GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight),
                         reinterpret_cast<uint8_t*>(info) + sizeof(header) + tableBytes, info, DIB_RGB_COLORS)
             : 0;
  if (previous) SelectPalette(screen, previous, FALSE);
  if (screen) ReleaseDC(nullptr, screen);
  GlobalUnlock(block);
  if (lines == 0) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}
