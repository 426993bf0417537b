// The host's Tektronix 4010 lines, kept so that a 4010 picture can be
// redrawn. The list uses the 4010 space (1024 x 768 or 4096 x 3072) of the
// first line recorded after it was emptied.
#pragma once

#include <cstdint>
#include <vector>

struct C4010Vector {
  int32_t x1, y1, x2, y2;  // 4010 coordinates as received
  uint32_t pen;            // low byte the pen width, next byte the pen style
};

class CVectorList {
 public:
  void Append(const C4010Vector& v) { entries_.push_back(v); }
  void Clear() {
    entries_.clear();
    width = height = 0;
  }
  const std::vector<C4010Vector>& Entries() const { return entries_; }

  int32_t width = 0, height = 0;  // the 4010 space, 0 while empty

 private:
  std::vector<C4010Vector> entries_;
};
