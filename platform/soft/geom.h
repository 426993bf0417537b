// Exact integer arithmetic for the rasterisers. Coordinates are 32-bit, so
// their differences need 33 bits and products of two differences up to 66:
// those products are formed in 128 bits and never overflow.
#pragma once

#include <cmath>
#include <cstdint>

namespace soft {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// floor(n / d) and ceil(n / d) for d > 0; the quotient must fit 64 bits.
// A numerator that fits 64 bits, as nearly all do, is divided in 64 bits:
// the same truncating quotient and remainder, without the 128-bit routine.
inline bool FitsInt64(Int128 n) {
  return n >= INT64_MIN && n <= INT64_MAX;
}
inline int64_t FloorDiv(Int128 n, int64_t d) {
  if (FitsInt64(n)) {
    const int64_t n64 = static_cast<int64_t>(n);
    const int64_t q = n64 / d;
    return n64 % d != 0 && n64 < 0 ? q - 1 : q;
  }
  Int128 q = n / d;
  if (n % d != 0 && n < 0) --q;
  return static_cast<int64_t>(q);
}
inline int64_t CeilDiv(Int128 n, int64_t d) {
  if (FitsInt64(n)) {
    const int64_t n64 = static_cast<int64_t>(n);
    const int64_t q = n64 / d;
    return n64 % d != 0 && n64 > 0 ? q + 1 : q;
  }
  Int128 q = n / d;
  if (n % d != 0 && n > 0) ++q;
  return static_cast<int64_t>(q);
}

// floor(sqrt(n)), exact for every 64-bit n.
inline uint64_t ISqrt(uint64_t n) {
  uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<long double>(n)));
  while (r > 0 && UInt128{r} * r > n) --r;
  while (UInt128{r + 1} * (r + 1) <= n) ++r;
  return r;
}

}  // namespace soft
