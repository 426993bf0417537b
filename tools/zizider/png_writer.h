// Writes pictures as PNG: palette indices as an 8-bit indexed PNG, colours
// as 8-bit RGB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32.h"

struct CIndexedPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> indices;       // row-major, top row first
  std::vector<PALETTEENTRY> palette;  // at most 256 entries
};

// False with a one-line reason when the picture is malformed, or libpng or
// the file refuses.
bool WriteIndexedPng(FILE* file, const CIndexedPicture& picture, std::string* error);

// Rows of 8-bit indices where they are held: row y starts at first + y * step.
struct CIndexedRows {
  int width = 0, height = 0;
  const uint8_t* first = nullptr;
  ptrdiff_t step = 0;
};
bool WriteIndexedPng(FILE* file, const CIndexedRows& rows, const std::vector<PALETTEENTRY>& palette,
                     std::string* error);

struct CRgbPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // red, green, blue per pixel, row-major, top row first
};

bool WriteRgbPng(FILE* file, const CRgbPicture& picture, std::string* error);
