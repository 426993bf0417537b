// Where a print takes its pixels from the page and where it puts them on
// the device: signed 32-bit arithmetic, products first, truncating.
#pragma once

#include <cstdint>

// The host screen rows printed, as top-down row indexes.
struct CPrintRows {
  int32_t top = 0, bottom = 0;
};

// A rectangle as position and size.
struct CPrintRect {
  int32_t x = 0, y = 0, w = 0, h = 0;
  bool operator==(const CPrintRect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// The page's text geometry: rows, cell width and height, page width and
// height in pixels.
struct CPrintPageGeometry {
  int32_t rows = 0, cellWidth = 0, cellHeight = 0, width = 0, height = 0;
};

// Rows are counted from the bottom of the host screen starting at 1; two
// rows above toRow are printed as well.
CPrintRows PrintRows(int32_t rows, int32_t fromRow, int32_t toRow);

// The page pixels under the rows and columns fromCol..toCol (from 1), y
// counted from the bottom as the bitmap rows are stored. Two columns beyond
// toCol are included, cut at the page's right edge.
CPrintRect PrintSource(const CPrintPageGeometry& page, CPrintRows rows, int32_t fromCol, int32_t toCol);

// The area on the device: width x height filled keeping the source's aspect,
// shifted by the hard-copy offset (ReGIS units) when one is set.
CPrintRect PrintDestination(const CPrintPageGeometry& page, CPrintRows rows, const CPrintRect& source,
                            int32_t toCol, int32_t width, int32_t height, int32_t offsetX, int32_t offsetY);
