// The text-cell region of a hard copy as the host reads it from its screen
// record, computed from a rectangle in ReGIS units.
#pragma once

#include <cstdint>

// What the region fields of the screen record hold once the host has been
// told about a region (0x80000000).
constexpr int32_t kHardCopyUnused = INT32_MIN;

struct CHardCopyCells {
  int32_t firstColumn = 0, firstRow = 0, lastColumn = 0, lastRow = 0;
};

// True when the rectangle stands for the whole screen, so that the host is
// given no region. The bottom test is 439, not 479: anything reaching that
// far down counts as the whole screen.
bool IsWholeScreenHardCopy(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The text cells the rectangle covers on a page of the given size: each
// corner scaled to pixels (product first, truncating), divided by the cell
// size; the last column and row are one less than the far corner's cell.
CHardCopyCells HardCopyCells(int32_t pageWidth, int32_t pageHeight, int32_t cellWidth, int32_t cellHeight,
                             int32_t x1, int32_t y1, int32_t x2, int32_t y2);
