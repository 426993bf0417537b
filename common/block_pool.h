// Memory for the small objects that come and go several times per received
// character: parser objects, handoffs, and the platform's pens, brushes and
// DCs. A freed block waits in a short list of its size class, per thread,
// and the next object of that class takes it without a trip through the
// general allocator. Sanitizer builds allocate every object afresh, so that
// a use after free is still caught, except for classes that ask to be pooled
// even then (objects reached only through a checked handle).
#pragma once

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define ZIZIDER_BLOCK_POOL_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define ZIZIDER_BLOCK_POOL_OFF 1
#endif
#endif

class CBlockPool {
 public:
  static constexpr size_t kGranule = 16;
  static constexpr size_t kClasses = 32;  // blocks up to 512 bytes
  static constexpr unsigned kKept = 64;   // blocks kept per class; the rest go back

  // Every block comes from the global operator new, rounded up to its class
  // size, so that any block may also go back through the global delete.
  static void* Allocate(size_t size, bool evenSanitized = false) {
    if (void* block = Take(size, evenSanitized)) return block;
    return ::operator new(Rounded(size, evenSanitized));
  }
  static void* TryAllocate(size_t size, bool evenSanitized = false) noexcept {
    if (void* block = Take(size, evenSanitized)) return block;
    return ::operator new(Rounded(size, evenSanitized), std::nothrow);
  }
  static void Release(void* block, size_t size, bool evenSanitized = false) noexcept {
    if (block && !Give(block, size, evenSanitized)) ::operator delete(block);
  }

 private:
  struct Node {
    Node* next;
  };
  struct Lists {
    Node* head[kClasses] = {};
    unsigned count[kClasses] = {};
    ~Lists() {
      for (Node* node : head) {
        while (node) {
          Node* next = node->next;
          ::operator delete(node);
          node = next;
        }
      }
    }
  };

  static bool Pooled(size_t size, bool evenSanitized) {
#ifdef ZIZIDER_BLOCK_POOL_OFF
    if (!evenSanitized) return false;
#else
    static_cast<void>(evenSanitized);
#endif
    return size != 0 && size <= kClasses * kGranule;
  }
  static size_t ClassOf(size_t size) {
    return (size - 1) / kGranule;
  }
  static size_t Rounded(size_t size, bool evenSanitized) {
    return Pooled(size, evenSanitized) ? (ClassOf(size) + 1) * kGranule : size;
  }
  static Lists& Mine() {
    static thread_local Lists lists;
    return lists;
  }
  static void* Take(size_t size, bool evenSanitized) noexcept {
    if (!Pooled(size, evenSanitized)) return nullptr;
    Lists& lists = Mine();
    const size_t c = ClassOf(size);
    Node* node = lists.head[c];
    if (!node) return nullptr;
    lists.head[c] = node->next;
    --lists.count[c];
    return node;
  }
  static bool Give(void* block, size_t size, bool evenSanitized) noexcept {
    if (!Pooled(size, evenSanitized)) return false;
    Lists& lists = Mine();
    const size_t c = ClassOf(size);
    if (lists.count[c] >= kKept) return false;
    Node* node = static_cast<Node*>(block);
    node->next = lists.head[c];
    lists.head[c] = node;
    ++lists.count[c];
    return true;
  }
};

// A base that routes the objects of every class derived from it through
// the pool; with kEvenSanitized, in sanitizer builds too.
template <bool kEvenSanitized>
struct CPooledBy {
  static void* operator new(size_t size) { return CBlockPool::Allocate(size, kEvenSanitized); }
  static void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return CBlockPool::TryAllocate(size, kEvenSanitized);
  }
  static void operator delete(void* block, size_t size) noexcept {
    CBlockPool::Release(block, size, kEvenSanitized);
  }
  // Only reached when a constructor throws after a nothrow new.
  static void operator delete(void* block, const std::nothrow_t&) noexcept { ::operator delete(block); }
};
using CPooled = CPooledBy<false>;
