// StretchDIBits and GetDIBits: pixels to and from callers' device-independent
// bitmaps of 1, 4, 8, 24 or 32 bits per pixel.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/soft/blitter.h"
#include "platform/soft/objects.h"
#include "platform/soft/palette.h"
#include "platform/soft/raster.h"

namespace soft {
namespace {

using blit::Converter;
using blit::Surface;

bool SupportedDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32;
}

size_t DibRowBytes(int64_t width, int bpp) {
  return static_cast<size_t>(((width * bpp + 31) / 32) * 4);
}

COLORREF Unpack(uint32_t rgb32) {
  return RGB((rgb32 >> 16) & 0xFF, (rgb32 >> 8) & 0xFF, rgb32 & 0xFF);
}
uint32_t Pack(COLORREF c) {
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

// The colour table follows the header, whatever size the header declares.
uint8_t* ColourTable(BITMAPINFO* bmi) {
  return reinterpret_cast<uint8_t*>(bmi) + bmi->bmiHeader.biSize;
}
const uint8_t* ColourTable(const BITMAPINFO* bmi) {
  return reinterpret_cast<const uint8_t*>(bmi) + bmi->bmiHeader.biSize;
}

int64_t Distance(COLORREF a, COLORREF b) {
  const int64_t dr = int64_t{GetRValue(a)} - GetRValue(b);
  const int64_t dg = int64_t{GetGValue(a)} - GetGValue(b);
  const int64_t db = int64_t{GetBValue(a)} - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

// Least squared distance, the lowest index on ties.
uint32_t NearestIn(const std::vector<COLORREF>& table, COLORREF c) {
  uint32_t best = 0;
  int64_t bestDistance = INT64_MAX;
  for (uint32_t i = 0; i < table.size(); ++i) {
    const int64_t d = Distance(c, table[i]);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

// What GDI offers for a DIB whose format differs from the bitmap's: black and
// white, the sixteen VGA colours, or the display's palette as it is now.
std::vector<COLORREF> DefaultTable(int bpp) {
  if (bpp == 1) return {RGB(0, 0, 0), RGB(255, 255, 255)};
  if (bpp == 4)
    return {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
            RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
            RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
            RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
  std::vector<COLORREF> table(kSystemPaletteSize);
  const PALETTEENTRY* sys = SystemPalette();
  for (int i = 0; i < kSystemPaletteSize; ++i) table[i] = RGB(sys[i].peRed, sys[i].peGreen, sys[i].peBlue);
  return table;
}

// How a caller's DIB pixels become pixels of the DC's surface.
Converter DibToSurface(const DCObj& dc, const BitmapObj& dst, const BITMAPINFO* bmi, UINT usage) {
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  const int bpp = h.biBitCount;
  if (bpp > 8) {
    if (dst.bpp == 32) return Converter::Identity();
    const BitmapObj* d = &dst;
    return Converter::Function([d](uint32_t p) { return RgbToPixel(*d, Unpack(p)); });
  }
  const size_t full = size_t{1} << bpp;
  const size_t count = h.biClrUsed && h.biClrUsed < full ? h.biClrUsed : full;
  const uint8_t* table = ColourTable(bmi);
  std::vector<uint32_t> lut(full, RgbToPixel(dst, RGB(0, 0, 0)));
  for (uint32_t i = 0; i < count; ++i) {
    if (usage == DIB_PAL_COLORS) {
      WORD index;
      std::memcpy(&index, table + i * sizeof(WORD), sizeof(WORD));
      lut[i] = ColorToPixel(dc, dst, PALETTEINDEX(index));
      continue;
    }
    RGBQUAD q;
    std::memcpy(&q, table + i * sizeof(RGBQUAD), sizeof(RGBQUAD));
    const COLORREF c = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    // An index whose colour the destination shows at the same index keeps its value.
    lut[i] = bpp == 8 && dst.bpp == 8 && PixelToColor(dst, i) == c ? i : RgbToPixel(dst, c);
  }
  return Converter::Table(std::move(lut));
}

}  // namespace
}  // namespace soft

using namespace soft;

extern "C" {

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                         int SrcWidth, int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi,
                         UINT iUsage, DWORD rop) {
  DCObj* dc = GetDCObj(hdc);
  BitmapObj* dst = Target(dc);
  if (!dst || !lpbmi) return 0;
  const BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB || !SupportedDepth(h.biBitCount) ||
      h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN)
    return 0;
  if (iUsage != DIB_RGB_COLORS && iUsage != DIB_PAL_COLORS) return 0;
  const bool usesSrc = Rop3UsesSource(rop);
  if (usesSrc && !lpBits) return 0;
  if (DestWidth == 0 || DestHeight == 0 || SrcWidth == 0 || SrcHeight == 0) return 0;

  Surface src;
  src.width = h.biWidth;
  src.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  src.bpp = h.biBitCount;
  src.stride = DibRowBytes(src.width, src.bpp);
  src.bottomUp = h.biHeight > 0;
  src.bits = const_cast<uint8_t*>(static_cast<const uint8_t*>(lpBits));  // only read

  blit::StretchAxis ax, ay;
  blit::StretchAxes(xDest, yDest, DestWidth, DestHeight, xSrc, ySrc, SrcWidth, SrcHeight, &ax, &ay);
  // The source rectangle is measured from the lower-left corner of the
  // picture, whichever way its rows are stored.
  ay.srcStart = src.height - (ay.srcStart + ay.srcLen);

  const Surface ds = blit::SurfaceOf(*dst);
  const Paint pat = Rop3UsesPattern(rop) ? blit::BlitBrush(*dc, *dst) : Paint{};
  const int lines = src.height;  // GDI reports the DIB's height, whatever part was drawn
  if (!usesSrc) {
    int64_t sx = 0, sy = 0;
    const blit::Box box = blit::ClipBlit(ds, ax.dstStart, ay.dstStart, ax.dstLen, ay.dstLen, nullptr, sx, sy);
    const Converter none = Converter::Identity();
    blit::Blit(ds, box, blit::Source{nullptr, &none}, 0, 0, &pat, rop);
    return lines;
  }
  const Converter conv = DibToSurface(*dc, *dst, lpbmi, iUsage);
  if (!ax.Mirrored() && !ay.Mirrored() && ax.srcLen == ax.dstLen && ay.srcLen == ay.dstLen) {
    int64_t sx = ax.srcStart, sy = ay.srcStart;
    const blit::Box box = blit::ClipBlit(ds, ax.dstStart, ay.dstStart, ax.dstLen, ay.dstLen, &src, sx, sy);
    blit::Blit(ds, box, blit::Source{&src, &conv}, sx, sy, &pat, rop);
    return lines;
  }
  blit::Scans scans = blit::Scans::And;
  if (dc->stretchMode == WHITEONBLACK) scans = blit::Scans::Or;
  if (dc->stretchMode == COLORONCOLOR || dc->stretchMode == HALFTONE) scans = blit::Scans::Delete;
  blit::Stretch(ds, ax, ay, src, conv, scans, &pat, rop);
  return lines;
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, BITMAPINFO* lpbmi,
                     UINT usage) {
  DCObj* dc = GetDCObj(hdc);
  BitmapObj* bmp = GetBitmap(hbm);
  if (!dc || !bmp || !lpbmi) return 0;
  BITMAPINFOHEADER& h = lpbmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return 0;

  if (h.biBitCount == 0) {  // a query of the bitmap's own format, without colours
    if (lpvBits) return 0;
    h.biWidth = bmp->width;
    h.biHeight = bmp->height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bmp->bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibRowBytes(bmp->width, bmp->bpp) * static_cast<size_t>(bmp->height));
    h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
    h.biClrUsed = h.biClrImportant = 0;
    return 1;
  }
  const int bpp = h.biBitCount;
  if (!SupportedDepth(bpp) || h.biCompression != BI_RGB || h.biHeight == INT32_MIN) return 0;

  // The colours of the DIB: the bitmap's own where the formats agree (its
  // indices are then copied as they are), GDI's defaults otherwise.
  std::vector<COLORREF> table;
  bool raw = false;
  if (bpp <= 8) {
    const size_t full = size_t{1} << bpp;
    if (bmp->bpp == bpp && bmp->dib) {
      table.assign(full, RGB(0, 0, 0));
      for (size_t i = 0; i < full && i < bmp->colorTable.size(); ++i)
        table[i] = RGB(bmp->colorTable[i].rgbRed, bmp->colorTable[i].rgbGreen, bmp->colorTable[i].rgbBlue);
      raw = true;
    } else {
      table = DefaultTable(bpp);
      raw = bmp->bpp == bpp;  // a device bitmap of 1 or 8 bits shows exactly these colours
    }
    uint8_t* out = ColourTable(lpbmi);
    if (usage == DIB_PAL_COLORS) {
      // Indices into the DC's palette; the pixels then refer to its entries.
      const PaletteObj* pal = GetPalette(dc->palette);
      for (size_t i = 0; i < full; ++i) {
        const WORD index = static_cast<WORD>(i);
        std::memcpy(out + i * sizeof(WORD), &index, sizeof(WORD));
        const PALETTEENTRY e = pal && i < pal->entries.size() ? pal->entries[i] : PALETTEENTRY{0, 0, 0, 0};
        table[i] = RGB(e.peRed, e.peGreen, e.peBlue);
      }
      raw = false;
    } else {
      for (size_t i = 0; i < full; ++i) {
        const RGBQUAD q{GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
        std::memcpy(out + i * sizeof(RGBQUAD), &q, sizeof(RGBQUAD));
      }
    }
  }

  const int64_t dibWidth = h.biWidth > 0 ? h.biWidth : bmp->width;
  const int64_t dibHeight =
      h.biHeight != 0 ? (h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight) : bmp->height;
  const size_t rowBytes = DibRowBytes(dibWidth, bpp);
  h.biSizeImage = static_cast<DWORD>(rowBytes * static_cast<size_t>(dibHeight));
  if (!lpvBits) return 1;
  if (h.biWidth <= 0 || h.biHeight == 0) return 0;
  if (start >= static_cast<UINT>(bmp->height)) return 0;
  const int lines = static_cast<int>(std::min<int64_t>(cLines, int64_t{bmp->height} - start));
  if (lines <= 0) return 0;

  Converter conv = Converter::Identity();
  if (bpp > 8) {
    if (bmp->bpp != 32) {
      std::vector<uint32_t> lut(size_t{1} << bmp->bpp);
      for (uint32_t i = 0; i < lut.size(); ++i) lut[i] = Pack(PixelToColor(*bmp, i));
      conv = Converter::Table(std::move(lut));
    }
  } else if (!raw) {
    if (bmp->bpp == 32) {
      conv = Converter::Function([table](uint32_t p) { return NearestIn(table, Unpack(p)); });
    } else {
      std::vector<uint32_t> lut(size_t{1} << bmp->bpp);
      for (uint32_t i = 0; i < lut.size(); ++i) lut[i] = NearestIn(table, PixelToColor(*bmp, i));
      conv = Converter::Table(std::move(lut));
    }
  }

  // The buffer holds scan lines start .. start + lines - 1 in its own order:
  // scan line 0 is the bottom row of a bottom-up DIB and the top row otherwise.
  Surface out;
  out.width = static_cast<int>(std::min<int64_t>(dibWidth, INT32_MAX));
  out.height = lines;
  out.bpp = bpp;
  out.stride = rowBytes;
  out.bits = static_cast<uint8_t*>(lpvBits);
  const Surface in = blit::SurfaceOf(*bmp);
  const int width = static_cast<int>(std::min<int64_t>(dibWidth, bmp->width));
  const bool topDown = h.biHeight < 0;
  std::vector<uint32_t> row(static_cast<size_t>(width));
  for (int k = 0; k < lines; ++k) {
    const int64_t scan = int64_t{start} + k;
    const int y = static_cast<int>(topDown ? scan : bmp->height - 1 - scan);
    blit::ReadPixels(in, y, 0, width, row.data());
    conv.Apply(row.data(), row.data(), width);
    blit::WritePixels(out, k, 0, width, row.data());
  }
  return lines;
}

}  // extern "C"
