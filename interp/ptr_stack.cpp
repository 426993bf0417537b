#include "interp/ptr_stack.h"

CPtrStack::CPtrStack(int capacity)
    : entries_(new void*[capacity > 0 ? capacity : 0]()), capacity_(capacity > 0 ? capacity : 0) {}

bool CPtrStack::Push(void* entry) {
  if (count_ >= capacity_) return false;
  entries_[count_++] = entry;
  return true;
}

void* CPtrStack::Pop() {
  if (count_ == 0) return nullptr;
  return entries_[--count_];
}

CPositionStack::~CPositionStack() {
  while (void* entry = stack_.Pop()) delete static_cast<CSavedPosition*>(entry);
}

bool CPositionStack::Push(std::unique_ptr<CSavedPosition> entry) {
  if (!entry || !stack_.Push(entry.get())) return false;
  entry.release();
  return true;
}

std::unique_ptr<CSavedPosition> CPositionStack::Pop() {
  return std::unique_ptr<CSavedPosition>(static_cast<CSavedPosition*>(stack_.Pop()));
}

CSavedPosition* CPositionStack::Top() const {
  return static_cast<CSavedPosition*>(stack_.At(stack_.TopIndex()));
}
