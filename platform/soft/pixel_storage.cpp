#include "platform/soft/pixel_storage.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#include "common/block_pool.h"

namespace soft {
namespace {

// Sizes up to this go through the block pool.
constexpr size_t kSmall = CBlockPool::kClasses * CBlockPool::kGranule;
// Sizes in this range are mapped with every page present (see Allocate).
// Above it the pages come as they are touched, so that a size the memory
// cannot hold fails where it is drawn rather than where it is made.
constexpr size_t kPrefaultedMin = 64 * 1024;
constexpr size_t kPrefaultedMax = 64 * 1024 * 1024;
// Mappings are whole multiples of this.
constexpr size_t kMappingUnit = 64 * 1024;

size_t MappingSize(size_t bytes) {
  return (bytes + kMappingUnit - 1) / kMappingUnit * kMappingUnit;
}

// Freed mappings wait here for the next bitmap of the same mapping size, as
// the general allocator keeps freed heap blocks: a composition saves a copy
// of the page for every primitive it draws, and a fresh mapping would cost
// all its page faults again. A few are kept, none larger than 8 MiB. One
// list serves every thread and is never destroyed, so that a bitmap freed
// at exit still finds it; the system takes the kept mappings back then.
class MappedBlocks {
 public:
  static MappedBlocks& Instance() {
    static auto* blocks = new MappedBlocks;
    return *blocks;
  }
  uint8_t* Take(size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Kept& kept : kept_) {
      if (kept.block && kept.size == size) return std::exchange(kept.block, nullptr);
    }
    return nullptr;
  }
  void Give(uint8_t* block, size_t size) {
    if (size <= kKeptMax) {
      std::lock_guard<std::mutex> lock(mutex_);
      for (Kept& kept : kept_) {
        if (!kept.block) {
          kept = Kept{block, size};
          return;
        }
      }
    }
    munmap(block, size);
  }

 private:
  static constexpr size_t kKeptMax = 8 * 1024 * 1024;
  struct Kept {
    uint8_t* block = nullptr;
    size_t size = 0;
  };
  std::mutex mutex_;
  Kept kept_[4];
};

// Zeroed memory for bytes bytes with its pages already there, or null.
// Sanitizer builds take calloc's blocks, which the address checker guards.
uint8_t* MapPrefaulted(size_t bytes) {
#if defined(MAP_POPULATE) && !defined(ZIZIDER_BLOCK_POOL_OFF)
  const size_t size = MappingSize(bytes);
  if (uint8_t* block = MappedBlocks::Instance().Take(size))
    return static_cast<uint8_t*>(std::memset(block, 0, bytes));
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  return p == MAP_FAILED ? nullptr : static_cast<uint8_t*>(p);
#else
  static_cast<void>(bytes);
  return nullptr;
#endif
}

}  // namespace

uint8_t* PixelStorage::Take(size_t bytes, bool evenSanitized) {
  if (bytes <= kSmall) return static_cast<uint8_t*>(CBlockPool::TryAllocate(bytes, evenSanitized));
  return static_cast<uint8_t*>(std::malloc(bytes));
}

void PixelStorage::Release() {
  if (bytes_) {
    if (mapped_) {
      MappedBlocks::Instance().Give(bytes_, MappingSize(size_));
    } else if (size_ <= kSmall) {
      CBlockPool::Release(bytes_, size_, evenSanitized_);
    } else {
      std::free(bytes_);
    }
  }
  bytes_ = nullptr;
  size_ = 0;
  mapped_ = false;
  evenSanitized_ = false;
}

bool PixelStorage::Allocate(size_t bytes, bool evenSanitized) {
  Release();
  if (bytes == 0) return true;
  if (bytes <= kSmall) {
    bytes_ = Take(bytes, evenSanitized);
    if (bytes_) std::memset(bytes_, 0, bytes);
  } else {
    // A large bitmap is a page, a saved copy of one or a printed sheet, and
    // is cleared or copied over whole as soon as it is made. Faulting its
    // pages in one at a time costs a virtual machine several microseconds
    // each, a quarter of rendering an empty picture; the kernel fills the
    // mapping in one go for about half as much.
    if (bytes >= kPrefaultedMin && bytes <= kPrefaultedMax)
      mapped_ = (bytes_ = MapPrefaulted(bytes)) != nullptr;
    if (!bytes_) bytes_ = static_cast<uint8_t*>(std::calloc(bytes, 1));
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
  std::memcpy(bytes_, source, bytes);
  size_ = bytes;
  return true;
}

}  // namespace soft
