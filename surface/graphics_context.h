// The per-window drawing objects: the graphics state, the text context and
// the draw context through which command parsers reach the surface.
#pragma once

#include "surface/graphics_state.h"
#include "surface/text_state.h"
#include "surface/write_controls.h"

class CGrDrv;
class CCurvePointList;

// What command parsers draw through.
struct CDrawContext {
  CPoint32 hardCopyOffset{50, 0};  // ReGIS units
  CGrDrv* surface = nullptr;
  CGraphicsState* state = nullptr;
  CTextCtx* text = nullptr;

  // A line in ReGIS units with the active writing controls (inside a fill
  // body the surface collects its end point instead).
  void Line(int x1, int y1, int x2, int y2);
  // One character of a text string with the current text attributes.
  void DrawChar(char ch);
  // A circle through (x1, y1) about (x2, y2); the position stays.
  void Circle(int x1, int y1, int x2, int y2);
  // An arc from (x1, y1) about (x2, y2): nothing for angle 0, clockwise when
  // negative is set, chords with shaded strips when shading is on; with
  // move set the current position goes to the arc's end.
  void Arc(int x1, int y1, int x2, int y2, int angle, int negative, int move);
  // An interpolated curve through the list's points.
  void Curve(CCurvePointList* list, int closed);
  // The graphics cursor follows the current position.
  void UpdateCursor();

  // The fill command: lines and arcs collect points from BeginFill on;
  // EndFill fills the polygon through them and ends the collection, which
  // DiscardFill ends without filling.
  void BeginFill();
  void EndFill();
  void DiscardFill();

  // The screen command: scrolls the screen page so that the picture moves by
  // the current position minus (x, y).
  void ScrollToPosition(int x, int y);
  // Erases the screen page even while redraw is suspended.
  void EraseScreen();
  // Waits ticks of 1/60 s with the window up to date; 0 when the wait was
  // cut short (abort request, window gone, quit message).
  int TimedDelay(uint32_t ticks);
  // A hard copy of a region, with the hard-copy offset in force.
  void HardCopy(int x1, int y1, int x2, int y2);
  // The report command: tells the host that a report is ready, and signals
  // the graphics input mode in the host's flag word.
  void NotifyReport();
  void ApplyInputMode(int force);
};

class CGraphicsContext {
 public:
  explicit CGraphicsContext(CGrDrv* surface);
  CGraphicsContext(const CGraphicsContext&) = delete;
  CGraphicsContext& operator=(const CGraphicsContext&) = delete;

  CGrDrv* surface;
  CGraphicsState* state;
  CTextCtx* text;
  CGraphicsState graphicsState;
  CTextCtx textCtx;
  CDrawContext draw;

 private:
  CWriteControls permanent_;
  CWriteControls active_;
};
