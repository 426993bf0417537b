#include "platform/soft/pixel_storage.h"

#include <cstring>

namespace soft {

bool PixelStorage::Allocate(size_t bytes) {
  bytes_.reset();
  size_ = 0;
  if (bytes == 0) return true;
  bytes_.reset(static_cast<uint8_t*>(std::calloc(bytes, 1)));
  if (!bytes_) return false;
  size_ = bytes;
  return true;
}

bool PixelStorage::Assign(const uint8_t* source, size_t bytes) {
  bytes_.reset();
  size_ = 0;
  if (bytes == 0) return true;
  bytes_.reset(static_cast<uint8_t*>(std::malloc(bytes)));
  if (!bytes_) return false;
  std::memcpy(bytes_.get(), source, bytes);
  size_ = bytes;
  return true;
}

}  // namespace soft
