// The parser-object base: every syntactic unit of ReGIS (a command, an
// option list, a coordinate, a quoted string) is a small state machine that
// looks at one character at a time and answers with a parse status.
#pragma once

#include <cstddef>

#include "common/block_pool.h"

class CInterpreter;

enum PARSE_STATUS {
  PARSE_CONTINUE = 0,  // consumed, stays on top
  PARSE_DONE = 1,      // consumed, finished
  PARSE_RETURN = 2,    // not consumed, finished: the character goes to the object below
  PARSE_PASS = 3,      // not consumed, stays: the character goes to the new top
  PARSE_ABORT = 4,     // consumed, finished, and the rest of the string is dropped
};

// Several parser objects come and go per coordinate: their memory is pooled.
class CParseObj : public CPooled {
 public:
  CParseObj() = default;
  CParseObj(const CParseObj&) = delete;
  CParseObj& operator=(const CParseObj&) = delete;
  virtual int Parse(char ch, CInterpreter& interp) = 0;
  // Takes the digits text starts with, when Parse would only add each to
  // the number being read and go on; returns how many it took. Received
  // strings hand numbers over in runs this way.
  virtual size_t TakeDigits(const char* /*text*/) { return 0; }
  virtual ~CParseObj() = default;

  CParseObj* below = nullptr;  // set by the stack
  CParseObj* above = nullptr;
};

// Base of the small objects a parser leaves in the interpreter's handoff slot
// (a point, a command code, a flag) for the parser that resumes after it.
struct CHandoff : CPooled {
  virtual ~CHandoff() = default;
};
