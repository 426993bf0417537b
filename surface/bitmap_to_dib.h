// Packed device-independent bitmaps: a 40-byte header, the colour table and
// the pixel rows, bottom-up, in one moveable global memory block.
#pragma once

#include <cstddef>

#include "platform/win32.h"

// The header for a bitmap of the given size and format: the format rounded
// up to 1, 4, 8 or 24 bits per pixel, uncompressed, rows padded to 32 bits.
// False when the image would not fit a 32-bit size.
bool DibHeaderFor(int width, int height, int planes, int bitsPerPixel, BITMAPINFOHEADER* header);

// Entries of the colour table that follows such a header: the colours-used
// field when set, else 2, 16 or 256 for 1, 4 or 8 bits and none above.
size_t DibColourCount(const BITMAPINFOHEADER& header);

// The whole bitmap read through a screen context holding the palette, with
// RGB colours in the table; nullptr when the bitmap cannot be read or the
// block cannot be had.
HGLOBAL BitmapToDib(HBITMAP bitmap, HPALETTE palette);
