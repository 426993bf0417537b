// GlobalAlloc and LocalAlloc. A fixed block's handle is its address; a
// moveable block gets a handle in the table, with a lock count. Any other
// value fails every call instead of being dereferenced.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/soft/kernel.h"
#include "platform/soft/objects.h"

namespace soft {
namespace {

struct FreeDeleter {
  void operator()(uint8_t* p) const { std::free(p); }
};

struct MoveableBlock : Object {
  MoveableBlock() : Object(ObjType::Global) {}
  std::unique_ptr<uint8_t, FreeDeleter> data;  // null while the block has no bytes
  size_t size = 0;
  int locks = 0;
};

struct FixedBlocks {
  std::mutex mutex;
  std::unordered_map<void*, size_t> sizes;  // the bytes asked for, by address
};

FixedBlocks& Fixed() {
  static FixedBlocks* fixed = new FixedBlocks;
  return *fixed;
}

std::atomic<size_t> moveableCount{0};
std::atomic<size_t> allocLimit{0};

MoveableBlock* GetMoveable(HANDLE h) {
  return LookupAs<MoveableBlock>(h, ObjType::Global);
}

// malloc of zero bytes may give null; a block always gets at least one.
uint8_t* Allocate(size_t bytes, bool zero) {
  const size_t n = bytes ? bytes : 1;
  return static_cast<uint8_t*>(zero ? std::calloc(n, 1) : std::malloc(n));
}

// Grows an allocation, zeroing the new tail when asked; null leaves the old one intact.
uint8_t* Grow(uint8_t* p, size_t oldSize, size_t newSize, bool zero) {
  auto* q = static_cast<uint8_t*>(std::realloc(p, newSize ? newSize : 1));
  if (q && zero && newSize > oldSize) std::memset(q + oldSize, 0, newSize - oldSize);
  return q;
}

HGLOBAL Alloc(UINT flags, SIZE_T bytes) {
  const size_t limit = allocLimit;
  if (limit && bytes > limit) return nullptr;
  const bool zero = (flags & GMEM_ZEROINIT) != 0;
  if (!(flags & GMEM_MOVEABLE)) {
    uint8_t* p = Allocate(bytes, zero);
    if (!p) return nullptr;
    std::lock_guard<std::mutex> lock(Fixed().mutex);
    Fixed().sizes[p] = bytes;
    return p;
  }
  auto block = std::make_unique<MoveableBlock>();
  if (bytes) {
    block->data.reset(Allocate(bytes, zero));
    if (!block->data) return nullptr;
  }
  block->size = bytes;
  ++moveableCount;
  return Register(std::move(block));
}

HGLOBAL Free(HGLOBAL h) {
  if (!h) return nullptr;
  if (GetMoveable(h)) {
    Unregister(h);
    --moveableCount;
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(Fixed().mutex);
  auto it = Fixed().sizes.find(h);
  if (it == Fixed().sizes.end()) return h;
  Fixed().sizes.erase(it);
  std::free(h);
  return nullptr;
}

}  // namespace

size_t LiveMoveableBlocks() {
  return moveableCount;
}

void SetAllocLimit(size_t bytes) {
  allocLimit = bytes;
}

}  // namespace soft

using namespace soft;

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  return Alloc(uFlags, dwBytes);
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
  if (MoveableBlock* b = GetMoveable(hMem)) {
    if (!b->data) return nullptr;  // a block without bytes cannot be locked
    if (b->locks < 0xFF) ++b->locks;
    return b->data.get();
  }
  std::lock_guard<std::mutex> lock(Fixed().mutex);
  return Fixed().sizes.count(hMem) ? hMem : nullptr;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
  if (MoveableBlock* b = GetMoveable(hMem)) {
    if (b->locks == 0) return FALSE;
    --b->locks;
    return b->locks > 0 ? TRUE : FALSE;
  }
  std::lock_guard<std::mutex> lock(Fixed().mutex);
  return Fixed().sizes.count(hMem) ? TRUE : FALSE;  // fixed blocks never count locks
}

// A block may move only when it is unlocked or the caller allows it with
// GMEM_MOVEABLE; shrinking never moves it.
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) {
  const bool zero = (uFlags & GMEM_ZEROINIT) != 0;
  const bool mayMoveLocked = (uFlags & GMEM_MOVEABLE) != 0;
  if (MoveableBlock* b = GetMoveable(hMem)) {
    if (dwBytes == 0) {
      if (b->locks > 0) return nullptr;
      b->data.reset();
      b->size = 0;
      return hMem;
    }
    if (dwBytes <= b->size && b->data) {
      b->size = dwBytes;
      return hMem;
    }
    if (b->locks > 0 && !mayMoveLocked) return nullptr;
    uint8_t* p = b->data ? Grow(b->data.get(), b->size, dwBytes, zero) : Allocate(dwBytes, zero);
    if (!p) return nullptr;
    b->data.release();
    b->data.reset(p);
    b->size = dwBytes;
    return hMem;
  }
  std::lock_guard<std::mutex> lock(Fixed().mutex);
  auto it = Fixed().sizes.find(hMem);
  if (it == Fixed().sizes.end()) return nullptr;
  if (dwBytes <= it->second) {
    it->second = dwBytes;
    return hMem;
  }
  if (!mayMoveLocked) return nullptr;
  const size_t oldSize = it->second;
  uint8_t* p = Grow(static_cast<uint8_t*>(hMem), oldSize, dwBytes, zero);
  if (!p) return nullptr;
  Fixed().sizes.erase(it);
  Fixed().sizes[p] = dwBytes;
  return p;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
  if (MoveableBlock* b = GetMoveable(hMem)) return b->size;
  std::lock_guard<std::mutex> lock(Fixed().mutex);
  auto it = Fixed().sizes.find(hMem);
  return it == Fixed().sizes.end() ? 0 : it->second;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  return Free(hMem);
}

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  return Alloc(uFlags, uBytes);
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  return Free(hMem);
}

}  // extern "C"
