// The macrograph command @: defines named pieces of ReGIS text A to Z,
// clears them, and runs them by name as if they had been received.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"
#include "platform/win32.h"

// The longest definition; the block holds it with its terminating zero.
constexpr int32_t kMacroBlockBytes = 10000;
constexpr int32_t kMacroMaxLength = kMacroBlockBytes - 1;

class CMacroCmd : public CParseObj {
 public:
  enum class State : int32_t {
    MacroStart,  // '.', ':' or a name to run
    MacroName,   // the name of the definition
    MacroBody,   // the text of the definition
    MacroAt,     // an '@' inside the text: ';' ends it
  };

  // Invoke-only: inside a fill, where only names are taken.
  explicit CMacroCmd(bool invokeOnly = false) : invokeOnly_(invokeOnly) {}
  ~CMacroCmd() override;

  int Parse(char ch, CInterpreter& interp) override;

  // Runs macrograph letter ('A'..'Z'): its text, and the texts it names, go
  // through the parsers as received characters do. 1 when done, 0 when the
  // interpreter was deleted while it ran.
  static int InvokeMacro(char letter, CInterpreter& interp);

  State state() const { return state_; }

 private:
  int Invoke(char letter, CInterpreter& interp);
  int StartDefinition(char ch, CInterpreter& interp);
  void Append(char ch);
  // Stores what has been defined (an empty text deletes the macrograph) and
  // ends literal mode.
  void EndDefinition(CInterpreter& interp);
  bool Defining() const { return state_ == State::MacroBody || state_ == State::MacroAt; }

  State state_ = State::MacroStart;
  int32_t length_ = 0;
  int32_t index_ = 0;
  HGLOBAL block_ = nullptr;
  char* buffer_ = nullptr;
  bool invokeOnly_;
};
