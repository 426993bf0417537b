#include "interp/parse_stack.h"

#include "interp/parse_obj.h"

void CParseStack::Push(CParseObj* object) {
  if (!object) return;
  object->below = top;
  object->above = nullptr;
  if (top) top->above = object;
  top = object;
  ++count;
}

CParseObj* CParseStack::Pop() {
  CParseObj* popped = top;
  if (!popped) return nullptr;
  top = popped->below;
  if (top) top->above = nullptr;
  popped->below = nullptr;
  --count;
  return popped;
}
