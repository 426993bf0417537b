// Module resources for the soft platform: what LoadCursorA and LoadBitmapA
// find by name. The build turns resources/ into calls of these.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace soft {

// A 32 x 32 style cursor: width x height pixels, AND and XOR masks as rows
// of bits, most significant bit first, each row padded to 16 bits.
void AddCursorResource(const char* name, int width, int height, int hotX, int hotY,
                       std::vector<uint8_t> andMask, std::vector<uint8_t> xorMask);

// A bitmap: width x height pixels of indices into the colour table, top row
// first.
void AddBitmapResource(const char* name, int width, int height, std::vector<RGBQUAD> colours,
                       std::vector<uint8_t> indices);
// The same for indices in data of the module itself, which lives as long
// as the program: they are read where they are, not copied.
void AddBitmapResource(const char* name, int width, int height, std::vector<RGBQUAD> colours,
                       const uint8_t* indices, size_t count);

}  // namespace soft
