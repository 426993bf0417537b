// CPointList: the points a fill collects while its outline is drawn, kept
// oldest first in a circular singly linked list addressed by its last node.
#pragma once

#include <cstdint>

#include "common/block_pool.h"
#include "platform/win32.h"

class CPointList {
 public:
  CPointList() = default;
  ~CPointList();
  CPointList(const CPointList&) = delete;
  CPointList& operator=(const CPointList&) = delete;

  // A fill collects at most this many points (16 MiB of nodes): a million
  // still fill, and no stream makes the list grow without bound.
  static constexpr int32_t kMaxPoints = 1 << 20;

  // Appends a point (ReGIS units); 1 when the list is full or no node could
  // be had, and the point is lost.
  int Add(int32_t x, int32_t y);
  // Takes the oldest point off the list. An empty list is a fault the user
  // sees in a stop box; the answer is then (0xFFFF, 0xFFFF).
  POINT get();
  void Clear();
  int32_t Count() const { return count_; }

 private:
  // Pooled: fills of a few points each would otherwise allocate and free
  // every point.
  struct Node : CPooled {
    Node(Node* n, int32_t px, int32_t py) : next(n), x(px), y(py) {}
    Node* next;
    int32_t x, y;
  };

  Node* last_ = nullptr;  // its next is the first node
  int32_t count_ = 0;
};
