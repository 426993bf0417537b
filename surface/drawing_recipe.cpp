// The drawing recipe: the active writing controls turned into a pen, a
// brush, a raster operation and, where the result must be combined with the
// old picture, a saved copy of the page.
#include "surface/drawing_recipe.h"

#include <algorithm>

#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"
#include "surface/writing_modes.h"

namespace {

constexpr uint8_t kAllPlanes = 15;

bool MaskExcludesColour(const CWriteControls& w) {
  return w.planeMask != kAllPlanes && w.foreground != 0 && (w.foreground & w.planeMask) == 0;
}

bool ShadesWithBrush(const CWriteControls& w) {
  return w.shading.character != 0 || w.pattern > 1;
}

}  // namespace

bool NeedsComposition(const CWriteControls& w) {
  const bool shadingOn = (w.shading.flags & kShadingOn) != 0;
  return (w.mode != kReplace && shadingOn && ShadesWithBrush(w)) || w.planeMask != kAllPlanes;
}

bool NeedsPlaneMerge(const CWriteControls& w) {
  switch (w.planeMask) {
    case 15:
    case 1:
    case 2:
    case 4:
    case 8:
      return false;
    default:
      return w.foreground != 0;
  }
}

RECT ShadedBox(const CShading& shading, int32_t px1, int32_t py1, int32_t px2, int32_t py2, int width,
               int height) {
  int64_t left = std::min(px1, px2), right = std::max(px1, px2);
  int64_t top = std::min(py1, py2), bottom = std::max(py1, py2);
  if (shading.flags & kShadingOn) {
    if (shading.flags & kShadingHorizontal) {
      const int64_t r = ScaleToPage(height, shading.reference, 480);
      top = std::min(top, r);
      bottom = std::max(bottom, r);
    } else {
      const int64_t r = ScaleToPage(width, shading.reference, 800);
      left = std::min(left, r);
      right = std::max(right, r);
    }
  }
  auto clamp = [](int64_t v, int limit) { return static_cast<LONG>(std::clamp<int64_t>(v, 0, limit)); };
  return RECT{clamp(left, width), clamp(top, height), clamp(right + 1, width), clamp(bottom + 1, height)};
}

CDrawingRecipe::CDrawingRecipe(CGrDrv& surface, CGraphicsState& state, int force, bool compose)
    : surface_(surface), state_(state) {
  if (!state.active) return;
  controls_ = *state.active;
  if (MaskExcludesColour(controls_)) return;
  HDC dc = surface.OutputDC(&state);
  if (!dc) return;
  dc_ = dc;

  colour_ = PALETTEINDEX((controls_.foreground & controls_.planeMask) & 0xFF);
  background_ = PALETTEINDEX(LOWORD(state.background));

  // Complement inverts whatever is there; the colours then do not matter.
  if (controls_.mode == kComplement) {
    complement_ = true;
    oldRop_ = SetROP2(dc_, R2_NOT);
  }

  composing_ = NeedsComposition(controls_);
  if (composing_ && compose) SavePage();

  drawingColour_ = controls_.mode == kErase ? background_ : colour_;
  // With overlay shading the outline must not survive the merge, which
  // keeps only pixels in the colour.
  const COLORREF penColour = composing_ && controls_.planeMask == kAllPlanes ? background_ : drawingColour_;
  pen_ = CreatePen(PenStyleForPattern(controls_.pattern), 1, penColour);

  SetBkColor(dc_, background_);
  brush_ = MakeFillBrush(dc_, controls_.shading, controls_.pattern, drawingColour_, force);
  if (ShadesWithBrush(controls_)) SetBrushOrgEx(dc_, 0, 0, nullptr);

  oldPen_ = pen_ ? SelectObject(dc_, pen_) : nullptr;
  oldBrush_ = brush_ ? SelectObject(dc_, brush_) : nullptr;
  restored_ = false;
}

CDrawingRecipe::~CDrawingRecipe() {
  RestoreDC();
  DeleteSavedPage();
}

void CDrawingRecipe::SavePage() {
  const int width = surface_.pageWidth;
  const int height = surface_.pageHeight;
  savedDC_ = CreateCompatibleDC(dc_);
  savedBitmap_ = savedDC_ ? CreateCompatibleBitmap(dc_, width, height) : nullptr;
  if (!savedBitmap_) {
    // Without a saved page nothing can be merged; the primitive draws plainly.
    DeleteSavedPage();
    return;
  }
  savedPrevious_ = SelectObject(savedDC_, savedBitmap_);
  BitBlt(savedDC_, 0, 0, width, height, dc_, 0, 0, SRCCOPY);
}

void CDrawingRecipe::RestoreDC() {
  if (restored_) return;
  restored_ = true;
  if (oldPen_) SelectObject(dc_, oldPen_);
  if (oldBrush_) SelectObject(dc_, oldBrush_);
  if (pen_) DeleteObject(pen_);
  // The null brush is a stock object and stays.
  if (brush_ && brush_ != GetStockObject(NULL_BRUSH)) DeleteObject(brush_);
  pen_ = nullptr;
  brush_ = nullptr;
  if (complement_) SetROP2(dc_, oldRop_);
  complement_ = false;
}

void CDrawingRecipe::DeleteSavedPage() {
  if (savedDC_ && savedPrevious_) SelectObject(savedDC_, savedPrevious_);
  if (savedBitmap_) DeleteObject(savedBitmap_);
  if (savedDC_) DeleteDC(savedDC_);
  savedDC_ = nullptr;
  savedBitmap_ = nullptr;
  savedPrevious_ = nullptr;
}

void CDrawingRecipe::Finish(const RECT* mergeRect) {
  if (Skip()) return;
  RestoreDC();
  if (savedDC_ && NeedsPlaneMerge(controls_)) {
    // The caret stays off the window while the page is recombined, and comes
    // back only if it was showing.
    const bool caretShown = surface_.caretCreated && !surface_.caretHidden;
    if (caretShown) surface_.HideGraphicsCaret();
    MergePlanes(dc_, savedDC_, surface_.pageWidth, surface_.pageHeight, mergeRect, colour_,
                controls_.planeMask, surface_.palette);
    if (caretShown) surface_.ShowGraphicsCaret(&state_);
  }
  if (savedDC_ && controls_.planeMask == kAllPlanes && controls_.mode == kOverlay) {
    MergeOverlay(dc_, savedDC_, surface_.pageWidth, surface_.pageHeight, colour_, mergeRect);
  }
  DeleteSavedPage();
}
