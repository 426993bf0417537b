// Signed 32-bit arithmetic with two's-complement wrap-around, done in 64 bits
// so that no input can overflow: the surface scales host-given sizes by
// user-given coordinates and must give the 32-bit result for every int.
#pragma once

#include <cstdint>

inline int32_t Wrap32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}
inline int32_t MulWrap(int32_t a, int32_t b) {
  return Wrap32(static_cast<int64_t>(a) * b);
}
inline int32_t AddWrap(int32_t a, int32_t b) {
  return Wrap32(static_cast<int64_t>(a) + b);
}
inline int32_t SubWrap(int32_t a, int32_t b) {
  return Wrap32(static_cast<int64_t>(a) - b);
}

// Truncating division that gives INT32_MIN / -1 its wrapped result and a
// zero divisor a zero quotient instead of a trap.
inline int32_t DivWrap(int32_t a, int32_t b) {
  return b == 0 ? 0 : Wrap32(static_cast<int64_t>(a) / b);
}

// A decimal digit appended to a number being read, wrapping like the
// 32-bit accumulator it stands for.
inline int32_t AppendDigit(int32_t value, char digit) {
  return Wrap32(static_cast<int64_t>(value) * 10 + (digit - '0'));
}

// ReGIS units to page pixels: size x value / units, product first, truncating.
inline int32_t ScaleToPage(int32_t size, int32_t value, int32_t units) {
  return DivWrap(MulWrap(size, value), units);
}
