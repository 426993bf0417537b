// The bottom of every parser stack: recognises command letters, starts the
// parser of each command and continues the last command while its
// arguments keep coming.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

// Command codes, as the report command and the option tail see them.
enum CommandCode : int32_t {
  kCommandNone = 0,  // also N
  kCommandWrite = 4,
  kCommandScreen = 11,
  kCommandPosition = 12,
  kCommandVector = 14,
  kCommandCurve = 15,
  kCommandText = 16,
  kCommandReport = 17,
  kCommandMacro = 18,
  kCommandLoad = 19,
  kCommandFill = 100,
};

// The command code handed to the option tail that '(' starts at the top level.
struct CCommandHandoff : CHandoff {
  explicit CCommandHandoff(int32_t code) : command(code) {}
  int32_t command;
};

class CCmdDispatch : public CParseObj {
 public:
  enum class Mode : int32_t {
    Commands = 1,   // accepting commands
    WriteOpen = 4,  // a top-level W command is open
  };

  int Parse(char ch, CInterpreter& interp) override;

  Mode mode = Mode::Commands;
  int32_t command = kCommandNone;

 private:
  // A digit, '[', '(' or quote that continues the last command; true when
  // the character was dealt with, its status in *status.
  bool ContinueCommand(char ch, CInterpreter& interp, int* status);
  int CloseWrite(CInterpreter& interp);
  int StartCommand(char ch, CInterpreter& interp);
};

// A parser constructor; nullptr when the parser is not built in.
using ParserFactory = CParseObj* (*)();

template <class T>
CParseObj* MakeParser() {
  return new T;
}
