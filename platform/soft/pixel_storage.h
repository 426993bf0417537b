// The pixels of a bitmap. They come zeroed from calloc, which hands a large
// block over as fresh pages of the system: a page bitmap costs nothing
// until it is drawn on, where clearing it first would touch every page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace soft {

class PixelStorage {
 public:
  // bytes zeroed bytes (none for 0); false when the memory is not there.
  bool Allocate(size_t bytes);
  // A copy of bytes bytes from source; false when the memory is not there.
  bool Assign(const uint8_t* source, size_t bytes);

  uint8_t* data() const { return bytes_.get(); }
  size_t size() const { return size_; }

 private:
  struct Free {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<uint8_t, Free> bytes_;
  size_t size_ = 0;
};

}  // namespace soft
