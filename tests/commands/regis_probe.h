// Reading what ReGIS strings did to a test host: page pixels as ReGIS colour
// indices, the current position, the last error and the writing controls.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "interp/interpreter.h"
#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/text_state.h"

namespace commands_test {

// The stored pixel value that ReGIS colour index i draws on the host's pages.
inline uint32_t StoredIndex(CTestHost& host, int i) {
  CGrDrv* surface = host.Surface();
  HDC dc = CreateCompatibleDC(surface->pageDC[0]);
  HBITMAP bitmap = CreateCompatibleBitmap(surface->pageDC[0], 1, 1);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HPALETTE oldPalette = SelectPalette(dc, surface->palette, FALSE);
  SetPixel(dc, 0, 0, PALETTEINDEX(i));
  const uint32_t stored = soft::inspect::ReadBitmap(bitmap).At(0, 0);
  SelectPalette(dc, oldPalette, FALSE);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return stored;
}

// The ReGIS index a page pixel holds; -1 outside the page or for a value no
// index draws.
inline int IndexAt(CTestHost& host, int x, int y, int page = 1) {
  const uint32_t stored = host.PageIndex(x, y, page);
  for (int i = 0; i < 16; ++i)
    if (StoredIndex(host, i) == stored) return i;
  return -1;
}

// How many pixels of a page hold a colour index other than the background 0.
inline int DrawnPixels(CTestHost& host, int page = 1) {
  const soft::inspect::Image image = host.PageImage(page);
  const uint32_t background = StoredIndex(host, 0);
  int n = 0;
  for (uint32_t p : image.pixels) n += p != background;
  return n;
}

inline CPoint32 Position(CTestHost& host) {
  return CPoint32{host.State()->x, host.State()->y};
}

inline int LastError(CTestHost& host) {
  return host.Interpreter()->lastError;
}

inline int LastErrorChar(CTestHost& host) {
  return host.Interpreter()->lastErrorChar;
}

inline CWriteControls& Active(CTestHost& host) {
  return *host.State()->active;
}

inline CWriteControls& Permanent(CTestHost& host) {
  return *host.State()->permanent;
}

// The colour index lines are drawn with after start-up.
inline int DefaultForeground(CTestHost& host) {
  return host.State()->permanent->foreground;
}

// What a string leaves behind on a fresh host: the position, the last
// error and the depth of the position stack.
struct COutcome {
  const char* name;
  const char* text;
  int x, y;
  int error, errorChar;
  int stacked;
};

inline void ExpectOutcome(const COutcome& c) {
  SCOPED_TRACE(c.name);
  CTestHost host;
  host.Feed(c.text);
  EXPECT_EQ(host.State()->x, c.x);
  EXPECT_EQ(host.State()->y, c.y);
  EXPECT_EQ(host.Interpreter()->lastError, c.error);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, c.errorChar);
  EXPECT_EQ(host.Interpreter()->positionStack.Count(), c.stacked);
  EXPECT_EQ(host.Interpreter()->flags & kFlagSemicolonData, 0u);
}

}  // namespace commands_test
