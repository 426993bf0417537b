// The soft platform's own interface for tests and the command-line host:
// reading pixels, palette, caret and cursor state, recorded message boxes
// and debug output, invalidations, and the clock. The library never
// includes this header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace soft::inspect {

// Pixels as stored (palette indices on the 8-bit display format) and as RGB.
struct Image {
  int width = 0, height = 0, bpp = 0;
  std::vector<uint32_t> pixels;  // row-major, top row first
  std::vector<COLORREF> rgb;     // the colour each pixel shows now
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  COLORREF RgbAt(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Image ReadBitmap(HBITMAP bmp);  // empty Image for a bad handle
Image ReadDC(HDC dc);           // the DC's selected bitmap or window framebuffer
Image ReadWindow(HWND hwnd);    // the client area
// The stored bytes of the DC's selected bitmap, top row first, without
// conversion: cheap enough to compare whole pages after every fuzz input.
std::vector<uint8_t> ReadDCBytes(HDC dc);

// The pixels of an 8-bit bitmap as stored, row by row: what a picture file
// needs, without the per-pixel colours of Image. Other formats give only
// their size and bits per pixel.
struct IndexImage {
  int width = 0, height = 0, bpp = 0;
  std::vector<uint8_t> indices;  // row-major, top row first; empty unless 8 bits per pixel
};
IndexImage ReadIndicesOfDC(HDC dc);
IndexImage ReadIndicesOfWindow(HWND hwnd);
// The same rows where the bitmap holds them, valid while it lives and is not
// drawn on: row y starts at first + y * step.
struct IndexView {
  int width = 0, height = 0, bpp = 0;
  const uint8_t* first = nullptr;  // null unless 8 bits per pixel
  ptrdiff_t step = 0;
};
IndexView ViewIndicesOfDC(HDC dc);

// The 256 entries of the system palette.
std::vector<PALETTEENTRY> SystemPalette();

struct CaretState {
  HWND owner = nullptr;  // nullptr when no caret exists
  HBITMAP bitmap = nullptr;
  int x = 0, y = 0, width = 0, height = 0;
  bool shown = false;
};
CaretState Caret();

HCURSOR CurrentCursor();
HCURSOR ClassCursor(HWND hwnd);
// "ReGisCursor" for a module resource, "IDC_32513" for a system cursor,
// empty for a bad handle.
std::string CursorName(HCURSOR cursor);

struct MessageBoxRecord {
  HWND owner;
  std::string text, caption;
  UINT type;
};
std::vector<MessageBoxRecord> MessageBoxes();
void ClearMessageBoxes();
// Message boxes are echoed to standard error unless switched off.
void EchoMessageBoxes(bool on);

std::string DebugOutput();
void ClearDebugOutput();
void EchoDebugOutput(bool on);  // off by default

// Every rectangle passed to InvalidateRect for the window (the whole client
// area for a null rectangle), oldest first, and the pending update region.
std::vector<RECT> Invalidations(HWND hwnd);
void ClearInvalidations(HWND hwnd);
bool PendingUpdate(HWND hwnd, RECT* bounds);

// The clock behind GetTickCount. Real time by default; in virtual time it
// moves only when advanced, or by a step on every empty poll of the queue.
void UseVirtualClock(bool on);
void AdvanceClock(DWORD ms);
void SetAdvancePerEmptyPoll(DWORD ms);

// The display: an 8-bit palette device by default, or 32-bit true colour,
// as most displays are today. Choose before any window or page is made.
void UseTrueColourDisplay(bool on);

// The primary screen's size the system metrics report (1280 x 1024 at start).
void SetScreenSize(int width, int height);

// GlobalAlloc and LocalAlloc refuse blocks larger than this many bytes, as
// when memory runs out; 0 removes the limit.
void SetGlobalAllocLimit(size_t bytes);

// Number of live handles of GDI objects, windows and cursors (stock objects
// excluded), for leak checks.
size_t LiveHandles();

}  // namespace soft::inspect
