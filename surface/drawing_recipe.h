// CDrawingRecipe: the one setup every line, arc and area primitive draws
// through. Construction takes the mask test, colours, complement raster
// operation, saved page, pen and brush; Finish puts the DC back and runs the
// plane and overlay compositions. A recipe left unfinished still puts the DC
// back and drops the saved page.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "surface/write_controls.h"

class CGrDrv;
class CGraphicsState;

// Whether a writing-controls record needs the page saved before drawing:
// overlay or complement shading with a character or pattern, or a partial
// plane mask.
bool NeedsComposition(const CWriteControls& controls);
// Whether the plane mask leaves more than one plane but not all of them,
// so that the drawn pixels must be merged with the old ones.
bool NeedsPlaneMerge(const CWriteControls& controls);

// The page pixels a primitive can change: the box of two corners (page
// pixels, either order), stretched to the shading reference line when
// shading, one past the far corner, cut to the page.
RECT ShadedBox(const CShading& shading, int32_t px1, int32_t py1, int32_t px2, int32_t py2, int width,
               int height);

class CDrawingRecipe {
 public:
  // force is 1 for area fills, whose brush is made even with shading off.
  // Without compose the pen and brush are chosen as usual but the page is
  // not saved, so nothing is merged afterwards (shaded arcs draw so).
  CDrawingRecipe(CGrDrv& surface, CGraphicsState& state, int force, bool compose = true);
  ~CDrawingRecipe();
  CDrawingRecipe(const CDrawingRecipe&) = delete;
  CDrawingRecipe& operator=(const CDrawingRecipe&) = delete;

  // Nothing is to be drawn: the mask excludes the colour, or the output page
  // has no DC.
  bool Skip() const { return dc_ == nullptr; }

  // The active writing controls as they were when the recipe started.
  const CWriteControls& Controls() const { return controls_; }
  HDC DC() const { return dc_; }
  HPEN Pen() const { return pen_; }
  HBRUSH Brush() const { return brush_; }
  COLORREF Colour() const { return colour_; }          // the foreground under the plane mask
  COLORREF Background() const { return background_; }  // the erase colour
  COLORREF DrawingColour() const { return drawingColour_; }
  bool Composing() const { return composing_; }

  // Puts the DC back, then merges the planes and the overlay shading inside
  // mergeRect (page pixels; null for the whole page). Where the primitive
  // changed nothing the page and the saved copy agree and neither merge
  // alters the pixel, so the box the primitive drew in is enough.
  void Finish(const RECT* mergeRect);

 private:
  void SavePage();
  void RestoreDC();
  void DeleteSavedPage();

  CGrDrv& surface_;
  CGraphicsState& state_;
  CWriteControls controls_;
  HDC dc_ = nullptr;
  COLORREF colour_ = 0, background_ = 0, drawingColour_ = 0;
  bool complement_ = false;
  int oldRop_ = 0;
  bool composing_ = false;
  HDC savedDC_ = nullptr;
  HBITMAP savedBitmap_ = nullptr;
  HGDIOBJ savedPrevious_ = nullptr;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr;
  bool restored_ = true;
};
