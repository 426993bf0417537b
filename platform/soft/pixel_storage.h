// The pixels of a bitmap. Large ones are mappings made with their pages
// present, and a freed one waits for the next bitmap of its size: a virtual
// machine charges several microseconds for every page faulted in alone.
// Small ones (glyphs, their masks, the page under them) come and go several
// times a character, so they are taken from the block pool and cleared.
#pragma once

#include <cstddef>
#include <cstdint>

namespace soft {

class PixelStorage {
 public:
  PixelStorage() = default;
  PixelStorage(const PixelStorage&) = delete;
  PixelStorage& operator=(const PixelStorage&) = delete;
  ~PixelStorage() { Release(); }

  // bytes zeroed bytes (none for 0); false when the memory is not there.
  // With evenSanitized small ones come from the block pool in sanitizer
  // builds too: for pixels that no caller gets a pointer to.
  bool Allocate(size_t bytes, bool evenSanitized = false);
  // A copy of bytes bytes from source; false when the memory is not there.
  bool Assign(const uint8_t* source, size_t bytes);

  uint8_t* data() const { return bytes_; }
  size_t size() const { return size_; }

 private:
  // Uninitialised memory for bytes bytes (not 0), from where Release will
  // return it.
  static uint8_t* Take(size_t bytes, bool evenSanitized);
  void Release();

  uint8_t* bytes_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;  // bytes_ is a mapping of its own
  bool evenSanitized_ = false;
};

}  // namespace soft
