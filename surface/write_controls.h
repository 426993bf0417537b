// The writing controls: how ReGIS primitives put pixels on the page.
#pragma once

#include <cstdint>

class CGrDrv;

enum WritingMode { kOverlay = 0, kReplace = 1, kComplement = 2, kErase = 3 };

// Shading flag bits.
constexpr uint32_t kShadingOn = 0x1;
constexpr uint32_t kShadingHorizontal = 0x2;  // the reference is a y value: a horizontal reference line

struct CShading {
  int32_t reference = 0;  // a ReGIS x or y
  uint8_t character = 0;  // shading character, 0 = none
  uint32_t flags = kShadingHorizontal;
};

struct CWriteControls {
  int32_t foreground = 7;        // colour index 0..15
  int32_t pixelMultiplier = 1;   // ReGIS units per pixel-vector step
  int32_t pattern = 1;           // 0..9 standard patterns, 10 the user's binary pattern
  int32_t patternMultiplier = 2; // stored only
  int32_t mode = kOverlay;
  uint8_t planeMask = 15;
  CShading shading;
  CGrDrv* surface = nullptr;
  uint32_t flags = 0;  // bit 0: negative image

  bool Negative() const { return (flags & 1) != 0; }
};
