#include "commands/load.h"

#include <cstring>

#include "commands/command_access.h"

namespace {

bool IsQuote(char ch) {
  return ch == '"' || ch == '\'';
}

// The value of a hexadecimal digit (upper case, as the pipeline delivers
// letters outside strings); -1 for any other character.
int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

CCharSet* AlphabetOf(CTextState& state) {
  const int32_t n = state.loadingAlphabet;
  return n >= 1 && n <= 3 ? &state.loaded[n - 1] : &state.loaded[0];
}

}  // namespace

CLoadCmd::CLoadCmd() : working_(std::make_unique<CTextState>()) {}

void CLoadCmd::ApplyLoad() {
  if (!pair_) return;
  *pair_->current = *working_;
  *pair_->saved = *pair_->current;
}

CLoadCmd::~CLoadCmd() {
  if (state_ == State::LoadHex) FinishDefinition();
}

void CLoadCmd::FinishDefinition() {
  if (finished_) return;
  finished_ = true;
  // Only 0x20..0x7F have cells; a control or high character defined in
  // string mode is dropped.
  const unsigned char code = static_cast<unsigned char>(character_);
  if (code >= 0x20 && code <= 0x7F && receiving_) receiving_->cells[code - 0x20] = cell_;
  ApplyLoad();
}

int CLoadCmd::Parse(char ch, CInterpreter& interp) {
  if (interp.context && interp.context->text) pair_ = &interp.context->text->pair;

  switch (state_) {
    case State::LoadStart:
      if (pair_) *working_ = *pair_->current;
      receiving_ = AlphabetOf(*working_);
      if (IsQuote(ch)) {
        interp.flags |= kFlagLiteral;
        state_ = State::LoadChar;
      } else if (ch == '(') {
        state_ = State::LoadOptions;
      }
      return PARSE_CONTINUE;

    case State::LoadOptions:
      if (ch == 'A') state_ = State::LoadAlphabet;
      return PARSE_CONTINUE;

    case State::LoadAlphabet:
      if (ch >= '1' && ch <= '3') {
        working_->loadingAlphabet = ch - '0';
        receiving_ = AlphabetOf(*working_);
        return PARSE_CONTINUE;
      }
      if (IsQuote(ch)) {
        state_ = State::LoadName;
        return PARSE_CONTINUE;
      }
      if (ch == ')') {
        ApplyLoad();
        return PARSE_DONE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::LoadName:
      if (IsQuote(ch)) {
        name_[nameLength_] = 0;
        std::memset(receiving_->name, 0, sizeof receiving_->name);
        std::memcpy(receiving_->name, name_, static_cast<size_t>(nameLength_));
        nameLength_ = 0;
        state_ = State::LoadNameDone;
      } else if (nameLength_ < kMaxName) {
        name_[nameLength_++] = ch;
      }
      return PARSE_CONTINUE;

    case State::LoadNameDone:
      if (ch == ')') {
        ApplyLoad();
        return PARSE_DONE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::LoadChar:
      character_ = ch;
      interp.flags &= ~kFlagLiteral;
      state_ = State::LoadCharClose;
      return PARSE_CONTINUE;

    case State::LoadCharClose:
      if (IsQuote(ch)) {
        state_ = State::LoadHex;
        return PARSE_CONTINUE;
      }
      interp.SetError(1, ch);
      return PARSE_CONTINUE;

    case State::LoadHex: {
      const int value = HexValue(ch);
      if (value >= 0 && digitCount_ < 20) {
        cell_.digits[digitCount_++] = static_cast<uint8_t>(value);
        if (digitCount_ < 20) return PARSE_CONTINUE;
        FinishDefinition();
        return PARSE_DONE;
      }
      if (ch == ',') return PARSE_CONTINUE;
      FinishDefinition();
      return PARSE_RETURN;
    }
  }
  return PARSE_CONTINUE;
}
