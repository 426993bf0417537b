// The conversions between the host's 4010 space, ReGIS device space and
// window pixels: signed 32-bit arithmetic, products first, truncating
// division, wrapping where a product leaves 32 bits.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// Two's-complement wrap to 32 bits.
int32_t Wrap32(int64_t value);
int32_t Mul32(int32_t a, int32_t b);
int32_t Sub32(int32_t a, int32_t b);
// Truncating division; 0 for a zero divisor, INT32_MIN / -1 wraps.
int32_t Div32(int32_t a, int32_t b);

struct CTekSpace {
  int32_t width, height;  // 1024 x 768, or 4096 x 3072 in high resolution
};
CTekSpace TekSpace(int hiRes);

// The text area of a host window: columns x cell width by rows x cell height.
struct CWindowGrid {
  int32_t columns, cellWidth, rows, cellHeight;
};

// X = x * 800 / W, Y = (H - y) * 480 / H.
POINT TekToRegis(POINT tek, CTekSpace space);
// x = X * W / 800, y = H - Y * H / 480.
POINT RegisToTek(POINT regis, CTekSpace space);
// px = X * columns * cell width / 800, py = Y * rows * cell height / 480.
POINT RegisToWindow(POINT regis, const CWindowGrid& grid);
// X = px * 800 / (columns * cell width), Y = py * 480 / (rows * cell height).
POINT WindowToRegis(POINT pixel, const CWindowGrid& grid);
