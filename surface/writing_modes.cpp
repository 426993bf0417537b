// Pens, shading brushes and the compositions of the writing modes. The
// compositions work on palette indices with one-bit masks: a mask blitted
// onto a colour bitmap whose text colour is black and background white
// becomes all-zero and all-one pixels, which AND and OR then combine.
#include "surface/writing_modes.h"

#include <algorithm>

#include "surface/scratch_dcs.h"

namespace {

constexpr std::array<CBrushRows, kStandardPatterns> MakeBrushRows(
    const std::array<uint8_t, kStandardPatterns>& patterns) {
  std::array<CBrushRows, kStandardPatterns> rows{};
  for (int p = 0; p < kStandardPatterns; ++p) {
    for (int r = 0; r < 8; ++r) rows[p][4 * r] = (patterns[p] >> (7 - r)) & 1 ? 0xFF : 0x00;
  }
  return rows;
}

constexpr int kPenStyles[kStandardPatterns] = {PS_NULL,       PS_SOLID, PS_DASH, PS_DASHDOT, PS_DOT,
                                               PS_DASHDOTDOT, PS_DOT,   PS_DOT,  PS_DASHDOT, PS_DASHDOT};

constexpr int kMapIndices = 16;
// The raster operation that clears the destination where the source is set.
constexpr DWORD kDestAndNotSource = 0x00220326;

bool IsStandardPattern(int pattern) {
  return pattern >= 0 && pattern < kStandardPatterns;
}

// Makes a one-bit source blit as all-zero (0) and all-one (1) pixels.
void UseMaskColours(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
}

// A bitmap selected into a scratch DC for one composition, deleted after.
class CScratchBitmap {
 public:
  CScratchBitmap(HDC dc, HBITMAP bitmap) : dc_(dc), bitmap_(bitmap) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~CScratchBitmap() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
  }
  CScratchBitmap(const CScratchBitmap&) = delete;
  CScratchBitmap& operator=(const CScratchBitmap&) = delete;
  bool Ready() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_ = nullptr;
};

// The shading character followed by three spaces, drawn into an 8 x 8
// bitmap of the page's format and taken as a colour pattern.
HBRUSH MakeGlyphBrush(HDC dc, uint8_t character, COLORREF colour) {
  SetTextColor(dc, colour);
  LOGFONTA description{};
  description.lfHeight = -8;
  // The pattern is the glyph's pixels in the writing colour: a smoothed
  // glyph's blended edge pixels would fall out of an overlay merge, which
  // keeps only pixels of exactly that colour.
  description.lfQuality = NONANTIALIASED_QUALITY;
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  HBRUSH brush = nullptr;
  if (HBITMAP cell = CreateCompatibleBitmap(dc, 8, 8)) {
    // The page bitmap steps aside while the glyph is written, so the cell
    // gets the page's palette and colours.
    if (HGDIOBJ page = SelectObject(dc, cell)) {
      const char text[4] = {static_cast<char>(character), ' ', ' ', ' '};
      TextOutA(dc, 0, 0, text, 4);
      SelectObject(dc, page);
      brush = CreatePatternBrush(cell);
    }
    DeleteObject(cell);
  }
  if (oldFont) SelectObject(dc, oldFont);
  if (font) DeleteObject(font);
  return brush ? brush : CreateSolidBrush(colour);
}

HBRUSH MakePatternBrush(HDC dc, int pattern, COLORREF colour) {
  HBITMAP rows = CreateBitmap(8, 8, 1, 1, kPatternBrushBits[pattern].data());
  SetTextColor(dc, colour);
  HBRUSH brush = rows ? CreatePatternBrush(rows) : nullptr;
  if (rows) DeleteObject(rows);
  return brush ? brush : CreateSolidBrush(colour);
}

// rect clipped to the page; false when nothing of it is left.
bool ClipToPage(const RECT* rect, int width, int height, RECT* clipped) {
  RECT r{0, 0, width, height};
  if (rect) {
    r.left = std::max<LONG>(rect->left, 0);
    r.top = std::max<LONG>(rect->top, 0);
    r.right = std::min<LONG>(rect->right, width);
    r.bottom = std::min<LONG>(rect->bottom, height);
  }
  *clipped = r;
  return r.left < r.right && r.top < r.bottom;
}

}  // namespace

constexpr std::array<uint8_t, kStandardPatterns> kLinePatternBits = {0x00, 0xFF, 0xF0, 0xE4, 0xAA,
                                                                     0xEA, 0x88, 0x84, 0xC8, 0x86};
const std::array<CBrushRows, kStandardPatterns> kPatternBrushBits = MakeBrushRows(kLinePatternBits);

int PenStyleForPattern(int pattern) {
  return IsStandardPattern(pattern) ? kPenStyles[pattern] : PS_SOLID;
}

HBRUSH MakeFillBrush(HDC dc, const CShading& shading, int pattern, COLORREF colour, int force) {
  if (!(shading.flags & kShadingOn) && !force) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (shading.character != 0) return MakeGlyphBrush(dc, shading.character, colour);
  // The user's binary pattern has no brush rows of its own: it shades solid.
  if (pattern != 1 && IsStandardPattern(pattern)) return MakePatternBrush(dc, pattern, colour);
  return CreateSolidBrush(colour);
}

void MergeOverlay(HDC pageDC, HDC savedDC, int width, int height, COLORREF colour, const RECT* rect,
                  POINT savedOrigin) {
  RECT r;
  if (pageDC && savedDC && ClipToPage(rect, width, height, &r)) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    HDC copyDC = CScratchDCs::Get(CScratchDCs::kPageCopy, pageDC);
    HDC maskDC = CScratchDCs::Get(CScratchDCs::kMask, pageDC);
    CScratchBitmap copy(copyDC, CreateCompatibleBitmap(pageDC, w, h));
    CScratchBitmap mask(maskDC, CreateBitmap(w, h, 1, 1, nullptr));
    if (copy.Ready() && mask.Ready()) {
      BitBlt(copyDC, 0, 0, w, h, pageDC, r.left, r.top, SRCCOPY);
      const COLORREF oldBackground = SetBkColor(pageDC, colour);
      BitBlt(maskDC, 0, 0, w, h, pageDC, r.left, r.top, SRCCOPY);
      SetBkColor(pageDC, oldBackground);

      // What the primitive drew in colour, and the saved picture elsewhere.
      UseMaskColours(copyDC);
      BitBlt(copyDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
      PatBlt(maskDC, 0, 0, w, h, DSTINVERT);
      UseMaskColours(savedDC);
      const int sx = r.left - savedOrigin.x, sy = r.top - savedOrigin.y;
      BitBlt(savedDC, sx, sy, w, h, maskDC, 0, 0, SRCAND);
      BitBlt(savedDC, sx, sy, w, h, copyDC, 0, 0, SRCPAINT);
      BitBlt(pageDC, r.left, r.top, w, h, savedDC, sx, sy, SRCCOPY);
    }
  }
  CScratchDCs::DeleteAll();
}

void MergePlanes(HDC pageDC, HDC savedDC, int width, int height, const RECT* rect, COLORREF colour,
                 uint8_t planeMask, HPALETTE palette, POINT savedOrigin) {
  RECT r;
  if (pageDC && savedDC && ClipToPage(rect, width, height, &r)) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    HDC pageCopyDC = CScratchDCs::Get(CScratchDCs::kPageCopy, pageDC);
    HDC savedCopyDC = CScratchDCs::Get(CScratchDCs::kSavedCopy, pageDC);
    HDC maskDC = CScratchDCs::Get(CScratchDCs::kMask, pageDC);
    HDC indexDC = CScratchDCs::Get(CScratchDCs::kIndexBits, pageDC);
    CScratchBitmap pageCopy(pageCopyDC, CreateCompatibleBitmap(pageDC, w, h));
    CScratchBitmap savedCopy(savedCopyDC, CreateCompatibleBitmap(pageDC, w, h));
    CScratchBitmap mask(maskDC, CreateBitmap(w, h, 1, 1, nullptr));
    CScratchBitmap indexBits(indexDC, CreateCompatibleBitmap(pageDC, w, h));
    if (pageCopy.Ready() && savedCopy.Ready() && mask.Ready() && indexBits.Ready()) {
      if (palette) {
        for (HDC dc : {pageCopyDC, savedCopyDC, maskDC, indexDC}) SelectPalette(dc, palette, FALSE);
      }
      BitBlt(pageCopyDC, 0, 0, w, h, pageDC, r.left, r.top, SRCCOPY);
      BitBlt(savedCopyDC, 0, 0, w, h, savedDC, r.left - savedOrigin.x, r.top - savedOrigin.y, SRCCOPY);
      SetBkColor(pageCopyDC, colour);
      BitBlt(maskDC, 0, 0, w, h, pageCopyDC, 0, 0, SRCCOPY);

      // The old pixels under the drawing only; the drawn pixels cleared to
      // be filled in index by index.
      UseMaskColours(savedCopyDC);
      BitBlt(savedCopyDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
      UseMaskColours(pageCopyDC);
      BitBlt(pageCopyDC, 0, 0, w, h, maskDC, 0, 0, kDestAndNotSource);

      const int colourIndex = LOWORD(colour);
      SetTextColor(indexDC, RGB(0, 0, 0));
      for (int i = 0; i < kMapIndices; ++i) {
        SetBkColor(savedCopyDC, PALETTEINDEX(i));
        BitBlt(maskDC, 0, 0, w, h, savedCopyDC, 0, 0, SRCCOPY);
        SetBkColor(indexDC, PALETTEINDEX((i & ~planeMask) | colourIndex));
        BitBlt(indexDC, 0, 0, w, h, maskDC, 0, 0, SRCCOPY);
        BitBlt(pageCopyDC, 0, 0, w, h, indexDC, 0, 0, SRCPAINT);
      }
      BitBlt(pageDC, r.left, r.top, w, h, pageCopyDC, 0, 0, SRCCOPY);
    }
  }
  CScratchDCs::DeleteAll();
}
