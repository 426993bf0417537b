// Integer trigonometry for circles and arcs: sines in whole degrees scaled by
// 10000, their inverse, an integer square root, the chord step of a radius
// and turning a point about a centre. Everything is signed 32-bit with
// truncating division; products wrap instead of overflowing.
#pragma once

#include <cstdint>

#include "platform/win32.h"

// 10000 x sin(k degrees), integer part, for k = 0..90.
extern const int32_t kSineTable[91];

int32_t SinDeg(int32_t degrees);
int32_t CosDeg(int32_t degrees);
// Whole degrees -90..90 whose table sine is nearest to v (10000 x sine); a
// half-way value goes to the smaller angle.
int32_t AsinDeg(int32_t v);
// Newton's iteration stopped one step early, so the answer may exceed the
// true root (ISqrt(16) is 5); -1 for negative n.
int32_t ISqrt(int32_t n);
// The angle step in degrees for chords of the circle about (x2, y2) through
// (x1, y1), from its radius in page pixels; 360 for a point circle, 0 from a
// pixel radius of 3229 on.
int32_t ChordStep(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, int32_t height);
// p turned about c by angle degrees (counterclockwise on the screen), put at
// distance r from c.
POINT RotatePoint(int32_t cx, int32_t cy, int32_t px, int32_t py, int32_t angle, int32_t r);
// (x1, y1) turned about (x2, y2) by angle degrees at its own distance.
POINT RotateAbout(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle);

// The angle an arc loop walks: angles past two turns walk the same circle
// again, so they keep their remainder and whether the number of whole
// turns is odd or even (which matters to complement mode and to an
// even-odd fill), and every loop over the result stays short.
int32_t BoundedArcAngle(int32_t angle);
