// CGrDrv, the graphics driver of one terminal window: page bitmaps, palette,
// graphics cursor, window-update policy, and the host's Tektronix 4010
// drawing state. Everything is drawn into a page and reaches the window only
// by copying.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/win32.h"
#include "surface/curve_point_list.h"
#include "surface/point_list.h"
#include "surface/vector_list.h"
#include "zizider/zizider.h"

class CGraphicsState;
struct CTextCtx;

// The window rectangle a 4010 line updates, from its end points in window
// coordinates: 6 pixels past the larger ends, 6 before the smaller ends the
// line runs towards, one more all round for a wide pen.
RECT Tek4010LineUpdateRect(int x1, int y1, int x2, int y2, int penWidth);

class CGrDrv {
 public:
  CGrDrv();
  ~CGrDrv();
  CGrDrv(const CGrDrv&) = delete;
  CGrDrv& operator=(const CGrDrv&) = delete;

  // Pages.
  int SetTermParm(HWND window, int rows, int columns, int cellWidth, int cellHeight, int page);
  void ReleasePage(int page);
  void EraseAllPages(CGraphicsState* state);
  void FillPage(HDC pageDC, COLORREF colour);
  void ClearScreenPage(CGraphicsState* state, int invalidate);
  void ScrollPage(CGraphicsState* state, int dx, int dy);

  // The window.
  void CopyToWindow(HDC windowDC, CGraphicsState* state, int left, int top, int right, int bottom);
  int RefreshWithMessages(CGraphicsState* state);
  int Delay(DWORD ticks);
  void InvalidateWindow(BOOL erase);
  bool UpdatesAllowed() const { return !redrawSuspended || smooth; }

  // The page selection rules: drawing uses the output page, clearing and
  // scrolling the screen page.
  HDC OutputDC(const CGraphicsState* state) const;
  int OutputSlot(const CGraphicsState* state) const;  // 0 or 1: the output page's index in pageDC
  HDC ScreenDC(const CGraphicsState* state) const;
  // Invalidates a window rectangle (window coordinates) without erasing and
  // updates the window, when the output page is the screen page and window
  // updates are allowed.
  void InvalidateDrawn(const CGraphicsState* state, RECT windowRect);

  // ReGIS units to page pixels: products first, truncating.
  int PixelX(int x) const;
  int PixelY(int y) const;

  void PlotPoint(CGraphicsState* state);

  // Hands a hard-copy region (ReGIS units) to the host: the text cells go
  // into the screen record, then RegionCallback, then the cells are marked
  // unused again.
  void MarkHardCopyRegion(int x1, int y1, int x2, int y2);
  // Signals the state's graphics input mode in the host's flag word.
  void ApplyInputMode(const CGraphicsState* state, int force);

  // Lines in ReGIS units with the active writing controls; while a fill
  // collects its outline they only add their end point to the point list.
  void DrawVector(CGraphicsState* state, int x1, int y1, int x2, int y2);
  // One line, or its shaded strip, on a DC the drawing recipe prepared;
  // suppressed is 1 while window updates are not allowed.
  void DrawSegment(CGraphicsState* state, int x1, int y1, int x2, int y2, HWND target, HDC dc, HPEN pen,
                   HBRUSH brush, int width, int height, int viewX, int viewY, int suppressed);
  // The right triangle of a shaded strip over the segment (xa, ya)-(xb, yb),
  // page pixels; corner picks which of the two right-angle corners it has.
  static void DrawTriangle(HDC dc, int xa, int ya, int xb, int yb, int corner);

  // One character of a text string at the current position, which moves
  // on; carriage return and line feed only move it.
  void DrawTextChar(CGraphicsState* state, CTextCtx* text, char ch);
  // The same from the dots of a loaded alphabet.
  void DrawLoadedChar(CGraphicsState* state, CTextCtx* text, char ch);
  // Area fill: BeginFill makes the line and arc primitives collect points
  // instead of drawing (1 when it started), FillPolygon fills the polygon
  // through them with the active writing controls (1 when it drew), and
  // DiscardFill ends the collection.
  int BeginFill(CGraphicsState* state);
  int FillPolygon(CGraphicsState* state);
  void DiscardFill();

  // Circles and arcs: (x1, y1) lies on the circle, (x2, y2) is its centre,
  // ReGIS units. The radius is taken in pixels with the vertical distance
  // scaled as if cells were twice as high as wide, then drawn as an ellipse
  // corrected to the real cell shape. While a fill collects its outline
  // they add points along the circle instead (CollectArcPoints).
  void DrawCircle(CGraphicsState* state, int x1, int y1, int x2, int y2);
  // Arcs turn counterclockwise for positive angles and return their end.
  POINT DrawArc(CGraphicsState* state, int x1, int y1, int x2, int y2, int angle);
  // The arc as a chain of chords, each with its shaded strip.
  POINT DrawShadedArc(CGraphicsState* state, int x1, int y1, int x2, int y2, int angle);
  // Adds the points every half chord step from the start to the end of the
  // arc to the point list; returns the last one added.
  POINT CollectArcPoints(CGraphicsState* state, int x1, int y1, int x2, int y2, int angle, int width,
                         int height);

  // An interpolated curve through the list's points: closed through all of
  // them, or open from the second point to the last but one.
  void DrawCurve(CGraphicsState* state, CCurvePointList* list, int closed);
  // The part t0..t1 (16.16 fixed point) of the piece from p1 to p2, halved
  // until it is flat, each flat part drawn with DrawSegment.
  void DrawCurveSegment(CGraphicsState* state, const CCurvePoint& p0, const CCurvePoint& p1,
                        const CCurvePoint& p2, const CCurvePoint& p3, int32_t t0, int32_t t1, HWND target,
                        HDC dc, HPEN pen, HBRUSH brush, int width, int height, int viewX, int viewY,
                        int suspended, int smoothDrawing);

  // The graphics cursor.
  void CreateGraphicsCaret();
  void DestroyGraphicsCaret();
  void ShowGraphicsCaret(CGraphicsState* state);
  void HideGraphicsCaret();
  void UpdateGraphicsCaret(CGraphicsState* state);
  void SetHorzScroll(int position, CGraphicsState* state);
  void SetVertScroll(int position, CGraphicsState* state);

  // The colour map through the palette.
  HPALETTE CreateMapPalette(CGraphicsState* state);
  void SetBackgroundEntry(COLORREF colour);
  void SetMapEntry(int index);  // shows working colour-map entry index through the palette at once
  // The foreground made exact on screen and the permanent foreground index,
  // done at creation and reset.
  void SetUpForeground(CGraphicsState* state);

  // Prints the output page's pixels under the host screen's rows fromRow..
  // toRow (from the bottom, from 1) and columns fromCol..toCol onto target,
  // filling width x height device units with the aspect kept; uses up the
  // hard-copy offset.
  void PrintPage(CGraphicsState* state, HDC target, int width, int height, int fromRow, int toRow,
                 int fromCol, int toCol);

  // The host's Tektronix 4010 primitives (ReGIS units in, page pixels drawn).
  void Draw4010Line(CGraphicsState* state, int x1, int y1, int x2, int y2, int update);
  void Draw4010Point(CGraphicsState* state, int update);

  HWND window = nullptr;
  HDC pageDC[2] = {};
  HBITMAP previousBitmap[2] = {};
  HBITMAP pageBitmap[2] = {};
  int rows = 0, columns = 0, cellWidth = 0, cellHeight = 0;
  int pageWidth = 0, pageHeight = 0;
  int scrollX = 0, scrollY = 0;
  int horzScrollPos = 0, vertScrollPos = 0;
  int horzScrollRange = 0, vertScrollRange = 0;
  int caretCreated = 0;
  int caretHidden = 1;
  HBITMAP caretBitmap = nullptr;
  int initialText = 1;
  HPALETTE palette = nullptr;
  int redrawSuspended = 0;
  int smooth = 0;
  int hardCopyOffsetX = 0, hardCopyOffsetY = 0;
  HCURSOR mouseCursor = nullptr;
  COLORREF backgroundColour = 0;
  COLORREF foregroundColour = 0xFFFFFF;
  // The host's 4010 drawing state.
  int hostPenWidth = 1;
  int hostPenStyle = PS_SOLID;
  int hostLinePattern = 1;
  int hostLinePatternFlag = 0;
  uint8_t hostWritingMode = 0;  // 0 normal, 1 erase, 2 complement
  KXREG_RegionCallback regionCallback = nullptr;
  KXREG_PageErasedCallback pageErasedCallback = nullptr;
  KXREG_InputCallback inputCallback = nullptr;
  CVectorList vectors;
  // The outline a fill collects; empty except while a fill is being drawn.
  std::unique_ptr<CPointList> pointList;

 private:
  HBITMAP CreateCursorBitmap();

  // False once the surface is deleted. The waits dispatch the host's
  // messages, and a host may erase the instance from one of them: the wait
  // then must not touch the surface again.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
