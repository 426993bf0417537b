// Line rasterisation: cosmetic lines as GDI's diamond rule lights them, and
// wide (geometric) outlines as unions of round-capped segments. Both clip to
// the target before stepping, so cost follows the visible part.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The band a wide pen fills along a slanted segment a-b between its round
// caps, on row y: pixels [*lo, *hi]; false when it misses the row (and for
// horizontal and vertical segments, whose bands the caps' rows cover).
bool WideBandRow(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t width, int64_t y, int64_t* lo,
                 int64_t* hi);

}  // namespace soft
