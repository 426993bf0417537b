// Line rasterisation: cosmetic lines as GDI's diamond rule lights them, and
// wide (geometric) outlines as unions of round-capped segments. Both clip to
// the target before stepping, so cost follows the visible part.
#pragma once

#include <cstddef>

#include "platform/soft/stroke.h"
#include "platform/win32.h"

namespace soft {

// The pixels LineTo lights from a to b: a included, b excluded. The pen's
// pattern advances over every pixel of the line, clipped ones included, so a
// following segment continues it.
void StrokeCosmeticLine(PenStroke& pen, POINT a, POINT b);

// A path of count points (closed joins the last to the first) with the pen:
// cosmetic segments continue the dash pattern from one to the next, a wide
// pen paints the union of its segments once per pixel. The pattern restarts
// at the start of the path.
void StrokePath(PenStroke& pen, const POINT* pts, size_t count, bool closed);

}  // namespace soft
