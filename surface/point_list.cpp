// The fill's point list. Nodes belong to the list; the last node's next is
// the oldest, so both ends are reached in one step.
#include "surface/point_list.h"

#include <new>

namespace {

// At most this many nodes wait for reuse on each thread.
constexpr int kMaxSpareNodes = 256;

// The thread's stock of nodes, plain data that stays readable to the end of
// the thread; the closer frees the stock as the thread ends and closes it,
// so a list destroyed after that frees its nodes at once.
struct CSpareNodes {
  void* head;
  int count;
  bool closed;
};
thread_local CSpareNodes t_spare;

template <class Node>
struct CSpareCloser {
  ~CSpareCloser() {
    while (t_spare.head) {
      Node* node = static_cast<Node*>(t_spare.head);
      t_spare.head = node->next;
      delete node;
    }
    t_spare.count = 0;
    t_spare.closed = true;
  }
};

}  // namespace

CPointList::Node* CPointList::NewNode(int32_t x, int32_t y) {
  if (!t_spare.head) {
    // The first node a thread makes arranges the stock's end.
    static thread_local CSpareCloser<Node> closer;
    (void)&closer;
    return new (std::nothrow) Node{nullptr, x, y};
  }
  Node* node = static_cast<Node*>(t_spare.head);
  t_spare.head = node->next;
  --t_spare.count;
  *node = Node{nullptr, x, y};
  return node;
}

void CPointList::FreeNode(Node* node) {
  if (t_spare.closed || t_spare.count >= kMaxSpareNodes) {
    delete node;
    return;
  }
  node->next = static_cast<Node*>(t_spare.head);
  t_spare.head = node;
  ++t_spare.count;
}

CPointList::~CPointList() {
  Clear();
}

int CPointList::Add(int32_t x, int32_t y) {
  if (count_ >= kMaxPoints) return 1;
  Node* node = NewNode(x, y);
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
  FreeNode(first);
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
    FreeNode(node);
    node = next;
  }
  last_ = nullptr;
  count_ = 0;
}
