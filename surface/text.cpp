// Characters of ReGIS text strings: a glyph is made in a small monochrome
// bitmap, from the system font or from a loaded alphabet's dots, and
// stretched onto the output page in the character cell, turned in steps of
// 45 degrees. Every character makes and releases its own font, contexts and
// bitmaps; the platform keeps that cheap.
#include "surface/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/text_geometry.h"
#include "surface/text_state.h"
#include "surface/wrap_arith.h"

namespace {

void UseMaskColours(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
}

// A memory context with a bitmap selected, both released at the end of the
// scope.
class CMemoryBitmap {
 public:
  CMemoryBitmap(HDC reference, HBITMAP bitmap) : dc_(CreateCompatibleDC(reference)), bitmap_(bitmap) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~CMemoryBitmap() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  CMemoryBitmap(const CMemoryBitmap&) = delete;
  CMemoryBitmap& operator=(const CMemoryBitmap&) = delete;
  bool Ready() const { return previous_ != nullptr; }
  HDC DC() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_ = nullptr;
};

// The colours and place of one character, fixed before the position moves.
struct CCharJob {
  HDC dc = nullptr;
  COLORREF fg = 0, bg = 0;
  int32_t mode = kOverlay;
  int32_t px = 0, py = 0;
  CGlyphRect rect;      // the turned cell on the page
  int64_t box[4] = {};  // its part on the page: left, top, right, bottom
};

// The part of a rectangle that lies on a W x H page, as a box; false when
// nothing of it does.
bool ClipToPage(const CGlyphRect& r, int32_t width, int32_t height, int64_t box[4]) {
  int64_t x0 = r.x, x1 = static_cast<int64_t>(r.x) + r.width;
  int64_t y0 = r.y, y1 = static_cast<int64_t>(r.y) + r.height;
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  box[0] = std::max<int64_t>(x0, 0);
  box[1] = std::max<int64_t>(y0, 0);
  box[2] = std::min<int64_t>(x1, width);
  box[3] = std::min<int64_t>(y1, height);
  return box[0] < box[2] && box[1] < box[3];
}

}  // namespace

void TransparentCopy(HDC pageDC, HDC maskDC, int px, int py, int w, int h, COLORREF key) {
  CMemoryBitmap saved(pageDC, CreateCompatibleBitmap(pageDC, w, h));
  if (!saved.Ready()) return;
  BitBlt(saved.DC(), 0, 0, w, h, pageDC, px, py, SRCCOPY);
  // Keep the page under the background dots, clear it under the glyph.
  UseMaskColours(saved.DC());
  BitBlt(saved.DC(), 0, 0, w, h, maskDC, 0, 0, SRCAND);
  // The glyph in the text colour on black, then the kept page ORed in.
  SetBkColor(pageDC, RGB(0, 0, 0));
  BitBlt(pageDC, px, py, w, h, maskDC, 0, 0, SRCCOPY);
  SetBkColor(pageDC, key);
  BitBlt(pageDC, px, py, w, h, saved.DC(), 0, 0, SRCPAINT);
}

namespace {

// Colours, origin and advance of a character (carriage return and line
// feed only move); false when no glyph is to be drawn.
bool BeginChar(CGrDrv& surface, CGraphicsState* state, CTextCtx* text, unsigned char code, int32_t d,
               CCharJob* job) {
  const CTextState& ts = *text->pair.current;
  job->dc = surface.OutputDC(state);
  if (!job->dc || !state->active) return false;
  const CWriteControls& w = *state->active;
  job->mode = w.mode;
  job->fg = PALETTEINDEX((w.foreground & w.planeMask) & 0xFF);
  job->bg = PALETTEINDEX(LOWORD(state->background));
  if (w.mode == kComplement) std::swap(job->fg, job->bg);
  if (w.mode == kErase) job->fg = job->bg;
  job->px = surface.PixelX(state->x);
  job->py = surface.PixelY(state->y);

  if (code == '\r') {
    state->x = text->lineStart.x;
    state->y = text->lineStart.y;
    return false;
  }
  if (code == '\n') {
    const int32_t t = DirectionStep(ts.stringDirection);
    const CPoint32 step = LineStep(surface.pageWidth, surface.pageHeight, ts, d);
    const CPoint32 offset = t == 0 ? CPoint32{0, step.y} : LineFeedOffset(t, step);
    state->x = AddWrap(state->x, offset.x);
    state->y = AddWrap(state->y, offset.y);
    text->lineStart.x = AddWrap(text->lineStart.x, offset.x);
    text->lineStart.y = AddWrap(text->lineStart.y, offset.y);
    return false;
  }
  const CPoint32 advance = CharAdvance(ts, DirectionStep(ts.stringDirection));
  state->x = AddWrap(state->x, advance.x);
  state->y = AddWrap(state->y, advance.y);
  // A cell wholly off the page changes nothing, so no glyph is made for it.
  job->rect = DestinationSize(surface.pageWidth, surface.pageHeight, ts);
  job->rect.x = job->px;
  job->rect.y = job->py;
  AdjustDestination(d, job->rect);
  return ClipToPage(job->rect, surface.pageWidth, surface.pageHeight, job->box);
}

// Stretches the glyph bitmap onto the page in the writing mode and updates
// the window over it.
void PlaceGlyph(CGrDrv& surface, CGraphicsState* state, const CCharJob& job, HDC glyphDC, CGlyphBox glyph) {
  const CGlyphRect& r = job.rect;
  const int64_t* box = job.box;

  HDC page = job.dc;
  HPALETTE oldPalette = SelectPalette(page, surface.palette, FALSE);
  const COLORREF oldText = SetTextColor(page, job.fg);
  const COLORREF oldBack = SetBkColor(page, job.bg);
  if (job.mode == kReplace) {
    StretchBlt(page, r.x, r.y, r.width, r.height, glyphDC, 0, 0, glyph.width, glyph.height, SRCCOPY);
  } else {
    // Only the part of the cell on the page is stretched into the mask, so
    // a huge cell costs no more than the page.
    const int w = static_cast<int>(box[2] - box[0]), h = static_cast<int>(box[3] - box[1]);
    const int64_t ox = r.x - box[0], oy = r.y - box[1];
    CMemoryBitmap mask(page, CreateBitmap(w, h, 1, 1, nullptr));
    if (mask.Ready() && ox >= INT32_MIN && oy >= INT32_MIN) {
      StretchBlt(mask.DC(), static_cast<int>(ox), static_cast<int>(oy), r.width, r.height, glyphDC, 0, 0,
                 glyph.width, glyph.height, SRCCOPY);
      TransparentCopy(page, mask.DC(), static_cast<int>(box[0]), static_cast<int>(box[1]), w, h, job.bg);
    }
  }
  SetBkColor(page, oldBack);
  SetTextColor(page, oldText);
  if (oldPalette) SelectPalette(page, oldPalette, FALSE);

  const int64_t wx = box[0] - surface.scrollX, wy = box[1] - surface.scrollY;
  surface.InvalidateDrawn(
      state, RECT{static_cast<LONG>(wx), static_cast<LONG>(wy), static_cast<LONG>(wx + box[2] - box[0]),
                  static_cast<LONG>(wy + box[3] - box[1])});
}

}  // namespace

void CGrDrv::DrawTextChar(CGraphicsState* state, CTextCtx* text, char ch) {
  if (!state || !text) return;
  const unsigned char code = static_cast<unsigned char>(ch);
  if (code < 0x20 && code != '\r' && code != '\n') return;
  const CTextState& ts = *text->pair.current;
  if (ts.alphabet != 0) {
    DrawLoadedChar(state, text, ch);
    return;
  }
  const int32_t d = DirectionStep(ts.characterDirection);
  CCharJob job;
  if (!BeginChar(*this, state, text, code, d, &job)) return;

  const CGlyphBox base = BaseGlyphBox(ts.unitCellWidth);
  LOGFONTA lf{};
  lf.lfHeight = -base.height;
  lf.lfEscapement = GlyphEscapement(ts.unitCellWidth, ts.unitCellHeight, d);
  lf.lfOrientation = 0;
  std::strcpy(lf.lfFaceName, ts.italic != 0 ? "Courier New Italic" : "Courier New");
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) return;

  const CGlyphBox size = GlyphBitmapSize(base, d);
  {
    CMemoryBitmap glyph(job.dc, CreateBitmap(size.width, size.height, 1, 1, nullptr));
    if (glyph.Ready()) {
      HGDIOBJ oldFont = SelectObject(glyph.DC(), font);
      UseMaskColours(glyph.DC());
      SetBkMode(glyph.DC(), OPAQUE);
      const RECT all{0, 0, size.width, size.height};
      if (d == 0) {
        // The full stops keep the font from placing ch by its own extent:
        // only ch lands inside the bitmap.
        const char three[3] = {'.', ch, '.'};
        const int x = ts.unitCellWidth != 8 ? -size.width + 4 : -size.width;
        ExtTextOutA(glyph.DC(), x, -2, ETO_OPAQUE, &all, three, 3, nullptr);
      } else {
        const CPoint32 origin = GlyphOrigin(base, d);
        ExtTextOutA(glyph.DC(), origin.x, origin.y, ETO_OPAQUE, &all, &ch, 1, nullptr);
      }
      if (state->active->Negative()) PatBlt(glyph.DC(), 0, 0, size.width, size.height, DSTINVERT);
      SelectObject(glyph.DC(), oldFont);
      PlaceGlyph(*this, state, job, glyph.DC(), size);
    }
  }
  DeleteObject(font);
}

void CGrDrv::DrawLoadedChar(CGraphicsState* state, CTextCtx* text, char ch) {
  const CTextState& ts = *text->pair.current;
  // Loaded characters turn by right angles only.
  int32_t d = DirectionStep(ts.characterDirection);
  if (d % 90 == 45) d = (d + 45) % 360;
  const unsigned char code = static_cast<unsigned char>(ch);
  CCharJob job;
  if (!BeginChar(*this, state, text, code, d, &job)) return;

  const bool upright = d == 0 || d == 180;
  const CGlyphBox size = upright ? CGlyphBox{8, 10} : CGlyphBox{10, 8};
  // Rows of two bytes (word aligned), 1 bits white, dots cleared to black.
  uint8_t bits[10 * 2];
  std::memset(bits, 0xFF, sizeof bits);
  const int32_t alphabet = ts.alphabet;
  if (code >= 0x20 && code <= 0x7F && alphabet >= 1 && alphabet <= 3) {
    const CCharCell& cell = ts.loaded[alphabet - 1].cells[code - 0x20];
    // Upright, a row's two digits are its eight dots in order.
    for (int r = 0; d == 0 && r < 10; ++r)
      bits[r * 2] =
          static_cast<uint8_t>(~(((cell.digits[2 * r] & 0xF) << 4) | (cell.digits[2 * r + 1] & 0xF)));
    for (int r = 0; d != 0 && r < 10; ++r) {
      for (int c = 0; c < 8; ++c) {
        const uint8_t digit = cell.digits[2 * r + c / 4];
        if (!(digit & (8 >> (c % 4)))) continue;
        int gx = c, gy = r;
        switch (d) {
          case 90:
            gx = r, gy = c;
            break;
          case 180:
            gy = 9 - r;
            break;
          case 270:
            gx = 9 - r, gy = 7 - c;
            break;
          default:
            break;
        }
        bits[gy * 2 + gx / 8] &= static_cast<uint8_t>(~(0x80 >> (gx % 8)));
      }
    }
  }
  CMemoryBitmap glyph(job.dc, CreateBitmap(size.width, size.height, 1, 1, bits));
  if (glyph.Ready()) PlaceGlyph(*this, state, job, glyph.DC(), size);
}
