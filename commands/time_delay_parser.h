// The T option of the screen command: waits a number of 1/60 s ticks while
// the host's messages keep flowing.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

// The tick count after another decimal digit, in unsigned 32-bit
// arithmetic: longer numbers wrap as the wait they stand for does.
uint32_t AppendTickDigit(uint32_t ticks, char digit);

class CTimeDelayParser : public CParseObj {
 public:
  // cutShort, when given, is set when the wait was cut short.
  explicit CTimeDelayParser(bool* cutShort = nullptr) : cutShort_(cutShort) {}
  ~CTimeDelayParser() override;

  int Parse(char ch, CInterpreter& interp) override;

  uint32_t ticks() const { return ticks_; }

 private:
  // 1 when the time ran out, 0 when the wait was cut short; deleted tells
  // whether this object is gone when it returns.
  int Wait(CInterpreter& interp, bool& deleted);

  uint32_t ticks_ = 0;
  bool* cutShort_;
  // While waiting: set by the destructor when input that arrived meanwhile
  // (a ';', or the host erasing the instance) deleted this object.
  bool* deleted_ = nullptr;
};
