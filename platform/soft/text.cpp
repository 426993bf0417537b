// Text output of the soft display: font creation, TextOutA/ExtTextOutA and
// the text measurements. Glyphs come monochrome from the font cache; this
// file lays them out along the (possibly turned) baseline and paints them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/soft/fontcache.h"
#include "platform/soft/objects.h"
#include "platform/soft/palette.h"
#include "platform/soft/raster.h"
#include "platform/win32.h"

namespace soft {
namespace {

// tmPitchAndFamily bits. Win32 names the first one TMPF_FIXED_PITCH but sets
// it for variable-pitch fonts.
constexpr BYTE kTmpfVariablePitch = 0x01;
constexpr BYTE kTmpfVector = 0x02;
constexpr BYTE kTmpfTrueType = 0x04;
constexpr BYTE kFamilyModern = 0x30;
constexpr BYTE kFamilySwiss = 0x20;

const LOGFONTA& SelectedLogFont(const DCObj& dc) {
  if (const FontObj* f = dc.fontObj) return f->log;
  if (const FontObj* f = GetFont(Stock(SYSTEM_FONT))) return f->log;
  static const LOGFONTA kEmpty{};
  return kEmpty;
}

struct IntRect {
  int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
};

IntRect Intersect(const IntRect& a, const IntRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

IntRect Normalized(const RECT& r) {
  return {std::min<int64_t>(r.left, r.right), std::min<int64_t>(r.top, r.bottom),
          std::max<int64_t>(r.left, r.right), std::max<int64_t>(r.top, r.bottom)};
}

void FillRectClipped(BitmapObj& bmp, const IntRect& r, const Paint& paint) {
  const IntRect c = Intersect(r, {0, 0, bmp.width, bmp.height});
  if (c.Empty()) return;
  for (int64_t y = c.top; y < c.bottom; ++y) {
    FillSpan(bmp, static_cast<int>(y), static_cast<int>(c.left), static_cast<int>(c.right), paint,
             R2_COPYPEN);
  }
}

// Text space: u runs along the baseline from the first cell, v runs down
// across it from the top of the cells. Screen = origin + u * (cos, -sin) +
// v * (sin, cos), which turns the text counterclockwise on a y-down screen.
struct TextFrame {
  double ox = 0, oy = 0;
  double s = 0, c = 1;
  double X(double u, double v) const { return ox + u * c + v * s; }
  double Y(double u, double v) const { return oy - u * s + v * c; }
};

// A pen distance along the turned baseline in whole pixels: each component
// truncated toward zero, as GDI turns advances.
struct TurnedStep {
  double dx = 0, dy = 0;
};
TurnedStep Along(const TextFrame& f, double u) {
  return {std::trunc(u * f.c), std::trunc(-u * f.s)};
}

// A turned offset across the baseline, floored to whole pixels after
// snapping to 1/64 pixel, so that offsets that are whole in exact arithmetic
// (right angles, 30 degrees) do not drop a pixel to rounding error.
double FloorOffset(double v) {
  return std::floor(std::round(v * 64.0) / 64.0);
}

// Narrows [lo, hi) of pixel-centre offsets px (relative to the frame origin)
// to where a * px + b lies in [from, to).
void NarrowInterval(double a, double b, double from, double to, double* lo, double* hi, bool* loOpen,
                    bool* hiOpen) {
  if (a == 0) {
    if (b < from || b >= to) *lo = 1, *hi = 0;
    return;
  }
  double l, h;
  bool lOpen, hOpen;
  if (a > 0) {
    l = (from - b) / a, h = (to - b) / a, lOpen = false, hOpen = true;
  } else {
    l = (to - b) / a, h = (from - b) / a, lOpen = true, hOpen = false;
  }
  if (l > *lo || (l == *lo && lOpen)) *lo = l, *loOpen = lOpen;
  if (h < *hi || (h == *hi && hOpen)) *hi = h, *hiOpen = hOpen;
}

// Paints every pixel whose centre lies in the text-space box [u0, u1) x
// [v0, v1), only over the rows and columns of the clip.
void FillTextBox(BitmapObj& bmp, const TextFrame& f, double u0, double u1, double v0, double v1,
                 const IntRect& clip, const Paint& paint) {
  if (u0 >= u1 || v0 >= v1) return;
  double minY = f.Y(u0, v0), maxY = minY;
  for (double u : {u0, u1}) {
    for (double v : {v0, v1}) {
      minY = std::min(minY, f.Y(u, v));
      maxY = std::max(maxY, f.Y(u, v));
    }
  }
  const int64_t yBegin = std::max<double>(static_cast<double>(clip.top), std::floor(minY - 1));
  const int64_t yEnd = std::min<double>(static_cast<double>(clip.bottom), std::ceil(maxY + 1));
  for (int64_t y = yBegin; y < yEnd; ++y) {
    const double py = static_cast<double>(y) + 0.5 - f.oy;
    double lo = -1e300, hi = 1e300;
    bool loOpen = false, hiOpen = false;
    NarrowInterval(f.c, -py * f.s, u0, u1, &lo, &hi, &loOpen, &hiOpen);  // u = px cos - py sin
    NarrowInterval(f.s, py * f.c, v0, v1, &lo, &hi, &loOpen, &hiOpen);   // v = px sin + py cos
    if (lo > hi) continue;
    // Pixel x has its centre at px = x + 0.5 - ox.
    const double xl = lo + f.ox - 0.5, xh = hi + f.ox - 0.5;
    double first = loOpen ? std::floor(xl) + 1 : std::ceil(xl);
    double last = hiOpen ? std::ceil(xh) : std::floor(xh) + 1;  // exclusive
    first = std::max(first, static_cast<double>(clip.left));
    last = std::min(last, static_cast<double>(clip.right));
    if (first >= last) continue;
    FillSpan(bmp, static_cast<int>(y), static_cast<int>(first), static_cast<int>(last), paint, R2_COPYPEN);
  }
}

void DrawGlyph(BitmapObj& bmp, const FontCache::GlyphImage& g, int64_t ox, int64_t oy, const IntRect& clip,
               uint32_t pixel) {
  const int64_t x0 = ox + g.left, y0 = oy + g.top;
  const int64_t colBegin = std::max<int64_t>(0, clip.left - x0);
  const int64_t colEnd = std::min<int64_t>(g.width, clip.right - x0);
  const int64_t rowBegin = std::max<int64_t>(0, clip.top - y0);
  const int64_t rowEnd = std::min<int64_t>(g.rows, clip.bottom - y0);
  for (int64_t r = rowBegin; r < rowEnd; ++r) {
    for (int64_t col = colBegin; col < colEnd; ++col) {
      if (g.Dot(static_cast<int>(col), static_cast<int>(r))) {
        bmp.Set(static_cast<int>(x0 + col), static_cast<int>(y0 + r), pixel);
      }
    }
  }
}

BOOL OutputText(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR str, size_t count,
                const INT* lpDx) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc) return FALSE;
  if (count > 0 && !str) return FALSE;
  BitmapObj* bmp = Target(dc);
  if (!bmp) return FALSE;

  const IntRect bounds{0, 0, bmp->width, bmp->height};
  IntRect clip = bounds;
  if (lprect && (options & ETO_CLIPPED)) clip = Intersect(clip, Normalized(*lprect));
  if (lprect && (options & ETO_OPAQUE)) {
    FillRectClipped(*bmp, Normalized(*lprect), SolidPaint(*dc, *bmp, dc->bkColor));
  }
  if (count == 0) return TRUE;

  FontCache& cache = FontCache::Get();
  auto lock = cache.Lock();
  const LOGFONTA& lf = SelectedLogFont(*dc);
  FontCache::Instance* font = cache.Find(lf);
  const FontCache::Metrics& m = cache.MetricsOf(font);
  const int angle = NormalizeAngle(lf.lfEscapement);

  auto advance = [&](size_t i) -> int64_t {
    return lpDx ? lpDx[i] : cache.Advance(font, static_cast<unsigned char>(str[i]));
  };
  int64_t width = 0;
  for (size_t i = 0; i < count; ++i) width += advance(i);

  const bool useCP = (dc->textAlign & TA_UPDATECP) != 0;
  const double refX = useCP ? dc->pos.x : x;
  const double refY = useCP ? dc->pos.y : y;
  TextFrame frame;
  AngleSinCos(angle, &frame.s, &frame.c);
  frame.ox = refX;
  frame.oy = refY;

  // The string's turned extent, truncated like each pen, aligns it.
  const TurnedStep whole = Along(frame, static_cast<double>(width));
  double alignX = 0, alignY = 0;
  double u0 = 0, v0 = 0;
  switch (dc->textAlign & (TA_CENTER | TA_RIGHT)) {
    case TA_CENTER:
      u0 = -static_cast<double>(width / 2);
      alignX = -std::trunc(whole.dx / 2), alignY = -std::trunc(whole.dy / 2);
      break;
    case TA_RIGHT:
      u0 = -static_cast<double>(width);
      alignX = -whole.dx, alignY = -whole.dy;
      break;
    default:
      break;
  }
  switch (dc->textAlign & TA_BASELINE) {
    case TA_BASELINE:
      v0 = -m.ascent;
      break;
    case TA_BOTTOM:
      v0 = -(m.ascent + m.descent);
      break;
    default:
      break;
  }
  // The baseline origin is floored rather than rounded: at 45 degrees a 12.7
  // pixel turned ascent moves it 12 pixels, as in GDI.
  const double baseX = refX + alignX + FloorOffset((v0 + m.ascent) * frame.s);
  const double baseY = refY + alignY + FloorOffset((v0 + m.ascent) * frame.c);

  if (useCP) {
    // The current position moves to the far end of what was drawn; centred
    // text leaves it where it was.
    double moveX = whole.dx, moveY = whole.dy;
    if ((dc->textAlign & TA_CENTER) == TA_CENTER) {
      moveX = moveY = 0;
    } else if (dc->textAlign & TA_RIGHT) {
      moveX = -moveX, moveY = -moveY;
    }
    dc->pos.x = static_cast<LONG>(std::clamp(refX + moveX, -2147483648.0, 2147483647.0));
    dc->pos.y = static_cast<LONG>(std::clamp(refY + moveY, -2147483648.0, 2147483647.0));
  }

  if (clip.Empty()) return TRUE;

  if (dc->bkMode == OPAQUE) {
    const double a = u0 + static_cast<double>(std::min<int64_t>(0, width));
    const double b = u0 + static_cast<double>(std::max<int64_t>(0, width));
    FillTextBox(*bmp, frame, a, b, v0, v0 + m.ascent + m.descent, clip, SolidPaint(*dc, *bmp, dc->bkColor));
  }

  const uint32_t ink = ColorToPixel(*dc, *bmp, dc->textColor);
  // A glyph image reaches at most about an em beyond its cell; glyphs whose
  // origin is farther than this from the clip are skipped unrendered.
  const double reach = 4.0 * (m.ascent + m.descent + m.maxCharWidth) + 16;
  int64_t pen = 0;
  for (size_t i = 0; i < count; pen += advance(i), ++i) {
    const TurnedStep step = Along(frame, static_cast<double>(pen));
    const double gx = baseX + step.dx;
    const double gy = baseY + step.dy;
    if (gx < clip.left - reach || gx > clip.right + reach || gy < clip.top - reach ||
        gy > clip.bottom + reach) {
      continue;
    }
    const FontCache::GlyphImage* g = cache.Glyph(font, static_cast<unsigned char>(str[i]), angle);
    if (g) DrawGlyph(*bmp, *g, static_cast<int64_t>(gx), static_cast<int64_t>(gy), clip, ink);
  }
  return TRUE;
}

}  // namespace
}  // namespace soft

using namespace soft;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
  if (!lplf) return nullptr;
  auto font = std::make_unique<FontObj>();
  font->log = *lplf;
  return As<HFONT>(Register(std::move(font)));
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c,
                        const INT* lpDx) {
  return OutputText(hdc, x, y, options, lprect, lpString, c, lpDx);
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  if (c < 0) return FALSE;
  return OutputText(hdc, x, y, 0, nullptr, lpString, static_cast<size_t>(c), nullptr);
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || !psizl || c < 0 || (c > 0 && !lpString)) return FALSE;
  FontCache& cache = FontCache::Get();
  auto lock = cache.Lock();
  FontCache::Instance* font = cache.Find(SelectedLogFont(*dc));
  const FontCache::Metrics& m = cache.MetricsOf(font);
  int64_t width = 0;
  for (int i = 0; i < c; ++i) width += cache.Advance(font, static_cast<unsigned char>(lpString[i]));
  psizl->cx = static_cast<LONG>(std::min<int64_t>(width, INT32_MAX));
  psizl->cy = m.ascent + m.descent;
  return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, TEXTMETRICA* lptm) {
  DCObj* dc = GetDCObj(hdc);
  if (!dc || !lptm) return FALSE;
  FontCache& cache = FontCache::Get();
  auto lock = cache.Lock();
  const LOGFONTA& lf = SelectedLogFont(*dc);
  const FontCache::Metrics& m = cache.MetricsOf(cache.Find(lf));
  TEXTMETRICA tm{};
  tm.tmHeight = m.ascent + m.descent;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = 0;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = m.weight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = m.italic ? 0xFF : 0;
  tm.tmUnderlined = lf.lfUnderline ? 0xFF : 0;
  tm.tmStruckOut = lf.lfStrikeOut ? 0xFF : 0;
  tm.tmPitchAndFamily = static_cast<BYTE>((m.fixedPitch ? kFamilyModern : kFamilySwiss | kTmpfVariablePitch) |
                                          (m.scalable ? kTmpfVector | kTmpfTrueType : 0));
  tm.tmCharSet = ANSI_CHARSET;
  *lptm = tm;
  return TRUE;
}
