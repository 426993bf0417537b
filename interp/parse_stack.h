// The stack of active parser objects. It links the objects but never deletes
// them: whoever pops an object deletes it.
#pragma once

class CParseObj;

class CParseStack {
 public:
  void Push(CParseObj* object);
  // The top object, unlinked, or nullptr when the stack is empty.
  CParseObj* Pop();
  CParseObj* Top() const { return top; }
  int Count() const { return count; }
  bool IsEmpty() const { return top == nullptr; }

  CParseObj* top = nullptr;
  int count = 0;
};
