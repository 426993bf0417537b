// The screen-address transform between user coordinates (what ReGIS
// coordinates mean after S(A[..][..])) and the 800 x 480 device space that
// every position of the graphics state uses.
//
// Per axis the transform is an offset in user units followed by a scale:
// device = (user + offset) * scale. The offset brings the first corner of the
// screen-address rectangle to the device origin; the scale carries the axis
// direction in its sign, so that a second corner left of or above the first
// still lands on the far device corner. Pixel-vector steps use the scale's
// magnitude only.
#pragma once

#include <cstdint>

class CInterpreter;

struct CScreenTransform {
  double sx = 1.0, ox = 0.0, sy = 1.0, oy = 0.0;
};

struct CUserPoint {
  double x = 0.0, y = 0.0;
};

// The transform held by the interpreter.
CScreenTransform TransformOf(const CInterpreter& interp);

// User to device, and its inverse. A zero or non-finite scale is taken as 1,
// so that neither direction divides by zero.
CUserPoint UserToDevice(const CScreenTransform& t, CUserPoint user);
CUserPoint DeviceToUser(const CScreenTransform& t, CUserPoint device);

// Rounds a device coordinate half up: adds 0.5 and truncates toward zero.
// Values beyond the 32-bit range clamp to INT32_MIN / INT32_MAX and NaN gives
// 0, so no text the remote side sends can make the conversion undefined.
int32_t RoundToDevice(double value);

// The device rectangle the screen-address option fits the user rectangle into.
struct CDeviceRect {
  int32_t x1 = 0, y1 = 0, x2 = 799, y2 = 479;
  int32_t Width() const { return x2 - x1; }
  int32_t Height() const { return y2 - y1; }
};

// The transform that S(A[ux1,uy1][ux2,uy2]) sets, given the one in force.
// Corners equal (after truncation) to the device rectangle give the identity.
// Otherwise the user rectangle is fitted into the device rectangle keeping
// its aspect ratio (an exactly equal ratio keeps the previous scale
// magnitudes); the first corner maps to the device rectangle's origin.
// A rectangle with an empty or non-finite extent keeps the previous scale
// magnitudes as well.
CScreenTransform FitScreenAddress(CUserPoint first, CUserPoint second, const CDeviceRect& device,
                                  const CScreenTransform& previous);
