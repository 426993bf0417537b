// The load command L: defines the dot patterns of the three loadable
// alphabets and selects the alphabet later definitions go to. Each object
// reads one option list or one character definition.
#pragma once

#include <cstdint>
#include <memory>

#include "interp/parse_obj.h"
#include "surface/text_state.h"

class CLoadCmd : public CParseObj {
 public:
  enum class State : int32_t {
    LoadStart,
    LoadOptions,
    LoadAlphabet,
    LoadName,
    LoadNameDone,
    LoadChar,
    LoadCharClose,
    LoadHex,
  };

  static constexpr int kMaxName = 10;

  CLoadCmd();
  // A definition that ';' cuts short keeps the digits it received.
  ~CLoadCmd() override;
  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  // The working copy becomes current and saved, whatever a text block says.
  void ApplyLoad();
  // Stores the cell and publishes it, once.
  void FinishDefinition();

  State state_ = State::LoadStart;
  int32_t nameLength_ = 0;
  char name_[kMaxName + 1] = {};
  int32_t digitCount_ = 0;
  char character_ = 0;
  CTextStatePair* pair_ = nullptr;
  std::unique_ptr<CTextState> working_;
  CCharSet* receiving_ = nullptr;
  CCharCell cell_;
  bool finished_ = false;
};
