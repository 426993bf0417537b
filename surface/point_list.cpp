// The fill's point list. Nodes belong to the list; the last node's next is
// the oldest, so both ends are reached in one step.
#include "surface/point_list.h"

#include <new>

CPointList::~CPointList() {
  Clear();
}

int CPointList::Add(int32_t x, int32_t y) {
  if (count_ >= kMaxPoints) return 1;
  Node* node = new (std::nothrow) Node{nullptr, x, y};
  if (!node) return 1;
  if (last_) {
    node->next = last_->next;
    last_->next = node;
  } else {
    node->next = node;
  }
  last_ = node;
  ++count_;
  return 0;
}

POINT CPointList::get() {
  if (!last_) {
    MessageBoxA(nullptr, "Get from empty list", "CPointList::get", MB_ICONSTOP);
    return POINT{0xFFFF, 0xFFFF};
  }
  Node* first = last_->next;
  const POINT point{first->x, first->y};
  if (first == last_) {
    last_ = nullptr;
  } else {
    last_->next = first->next;
  }
  delete first;
  --count_;
  return point;
}

void CPointList::Clear() {
  if (!last_) return;
  // Cut the ring after the last node, then walk it from the oldest.
  Node* node = last_->next;
  last_->next = nullptr;
  while (node) {
    Node* next = node->next;
    delete node;
    node = next;
  }
  last_ = nullptr;
  count_ = 0;
}
