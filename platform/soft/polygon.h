// Polygon interiors by the alternate (even-odd) or winding (non-zero) rule.
#pragma once

#include <cstddef>

#include "platform/soft/objects.h"
#include "platform/soft/raster.h"

namespace soft {

// Fills the polygon through the raster path. Pixel (x, y) is inside when the
// point (x, y) is; a point on an edge counts when the edge is a left or top
// one, so the right and bottom edges stay unpainted, as in GDI.
void FillPolygon(BitmapObj& bmp, const POINT* pts, size_t count, int fillMode, const Paint& paint, int rop2);

}  // namespace soft
