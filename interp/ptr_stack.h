// Fixed-capacity pointer stacks: the saved positions of P and V, and the
// pending macrograph texts.
#pragma once

#include <cstdint>
#include <memory>

// A bounded stack of untyped pointers; a push onto a full stack is refused.
class CPtrStack {
 public:
  explicit CPtrStack(int capacity);
  CPtrStack(const CPtrStack&) = delete;
  CPtrStack& operator=(const CPtrStack&) = delete;

  bool Push(void* entry);
  void* Pop();  // nullptr when empty
  int TopIndex() const { return count_ - 1; }
  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  void* At(int index) const { return index >= 0 && index < count_ ? entries_[index] : nullptr; }

 private:
  std::unique_ptr<void*[]> entries_;
  int count_ = 0;
  int capacity_;
};

// One entry of the position stack: the position a bounded block was opened
// at, or (-1, -1) for an unbounded block.
struct CSavedPosition {
  int32_t x = -1;
  int32_t y = -1;
  char tag = 'P';  // 'P' pushed by a position command, 'V' by a vector command
};

// Owns its entries: a push that does not fit deletes the entry.
class CPositionStack {
 public:
  static constexpr int kCapacity = 16;
  CPositionStack() : stack_(kCapacity) {}
  ~CPositionStack();
  CPositionStack(const CPositionStack&) = delete;
  CPositionStack& operator=(const CPositionStack&) = delete;

  // Takes ownership; false (and the entry deleted) when the stack is full.
  bool Push(std::unique_ptr<CSavedPosition> entry);
  std::unique_ptr<CSavedPosition> Pop();  // nullptr when empty
  CSavedPosition* Top() const;
  int TopIndex() const { return stack_.TopIndex(); }
  int Count() const { return stack_.Count(); }

 private:
  CPtrStack stack_;
};

// Pending macrograph texts: pointers to the next character still to be read.
// The texts belong to the macrograph slots, so the stack deletes nothing.
class CMacroStack {
 public:
  static constexpr int kCapacity = 17;
  CMacroStack() : stack_(kCapacity) {}

  bool Push(const char* text) { return stack_.Push(const_cast<char*>(text)); }
  const char* Pop() { return static_cast<const char*>(stack_.Pop()); }
  const char* At(int index) const { return static_cast<const char*>(stack_.At(index)); }
  int TopIndex() const { return stack_.TopIndex(); }
  int Count() const { return stack_.Count(); }

 private:
  CPtrStack stack_;
};
