#include "platform/soft/pixel_storage.h"

#include <cstdlib>
#include <cstring>

#include "common/block_pool.h"

namespace soft {
namespace {

// Sizes up to this go through the block pool.
constexpr size_t kSmall = CBlockPool::kClasses * CBlockPool::kGranule;

}  // namespace

uint8_t* PixelStorage::Take(size_t bytes, bool evenSanitized) {
  if (bytes <= kSmall) return static_cast<uint8_t*>(CBlockPool::TryAllocate(bytes, evenSanitized));
  return static_cast<uint8_t*>(std::malloc(bytes));
}

void PixelStorage::Release() {
  if (bytes_) {
    if (size_ <= kSmall) {
      CBlockPool::Release(bytes_, size_, evenSanitized_);
    } else {
      std::free(bytes_);
    }
  }
  bytes_ = nullptr;
  size_ = 0;
}

bool PixelStorage::Allocate(size_t bytes, bool evenSanitized) {
  Release();
  if (bytes == 0) return true;
  if (bytes <= kSmall) {
    bytes_ = Take(bytes, evenSanitized);
    if (bytes_) std::memset(bytes_, 0, bytes);
  } else {
    bytes_ = static_cast<uint8_t*>(std::calloc(bytes, 1));
  }
  if (!bytes_) return false;
  size_ = bytes;
  evenSanitized_ = evenSanitized;
  return true;
}

bool PixelStorage::Assign(const uint8_t* source, size_t bytes) {
  Release();
  if (bytes == 0) return true;
  bytes_ = Take(bytes, false);
  if (!bytes_) return false;
  evenSanitized_ = false;
  std::memcpy(bytes_, source, bytes);
  size_ = bytes;
  return true;
}

}  // namespace soft
