#include "interp/cmd_dispatch.h"

#include <array>
#include <memory>
#include <new>

#include "commands/curve.h"
#include "commands/fill.h"
#include "commands/load.h"
#include "commands/macro.h"
#include "commands/option_tail.h"
#include "commands/position.h"
#include "commands/report.h"
#include "commands/screen.h"
#include "commands/skip.h"
#include "commands/text.h"
#include "commands/vector.h"
#include "commands/write.h"
#include "interp/interpreter.h"
#include "surface/graphics_context.h"

namespace {

// What a command letter does to the writing controls before its parser runs.
enum class Attributes { Load, Store };

// Which characters continue the last command after its parser finished.
enum Continuation : uint8_t {
  kNone = 0,
  kDigit = 0x1,    // a pixel-vector digit
  kBracket = 0x2,  // '['
  kParen = 0x4,    // '('
  kQuote = 0x8,    // '"' or '\''
};

struct CCommandRow {
  char letter;
  int32_t code;
  Attributes attributes;
  ParserFactory make;  // nullptr: the letter is not a command (yet)
  uint8_t continues;
};

// One line per command. A row without a parser makes its letter an unknown
// character.
const CCommandRow kCommands[] = {
    {'@', kCommandMacro, Attributes::Load, MakeParser<CMacroCmd>, kNone},
    {'C', kCommandCurve, Attributes::Load, MakeParser<CCurveCmd>, kBracket | kParen},
    {'F', kCommandFill, Attributes::Load, MakeParser<CFillCmd>, kNone},
    {'L', kCommandLoad, Attributes::Load, MakeParser<CLoadCmd>, kQuote},
    {'N', kCommandNone, Attributes::Store, MakeParser<CSkipCmd>, kNone},
    {'P', kCommandPosition, Attributes::Load, MakeParser<CPositionCmd>, kDigit | kBracket},
    {'R', kCommandReport, Attributes::Load, MakeParser<CReportCmd>, kParen},
    {'S', kCommandScreen, Attributes::Load, MakeParser<CScreenCmd>, kDigit | kBracket | kParen},
    {'T', kCommandText, Attributes::Load, MakeParser<CTextCmd>, kDigit | kBracket | kParen | kQuote},
    {'V', kCommandVector, Attributes::Load, MakeParser<CVectorCmd>, kDigit | kBracket},
    {'W', kCommandWrite, Attributes::Load, MakeParser<CWriteCmd>, kNone},
};

// The option tail that '(' opens at the top level.
const ParserFactory kMakeOptionTail = MakeParser<COptionTail>;

const CCommandRow* RowByLetter(char ch) {
  // Every command asks for its row: a table made once, by character, holds
  // the first row of each letter that has a parser.
  static const std::array<const CCommandRow*, 256> byLetter = [] {
    std::array<const CCommandRow*, 256> table{};
    for (const CCommandRow& row : kCommands) {
      const auto slot = static_cast<unsigned char>(row.letter);
      if (row.make && !table[slot]) table[slot] = &row;
    }
    return table;
  }();
  return byLetter[static_cast<unsigned char>(ch)];
}

const CCommandRow* RowByCode(int32_t code) {
  // Every argument that continues a command asks for its row: the small
  // codes index a table made once, which holds the row the search finds.
  constexpr int32_t kIndexed = 20;
  static const std::array<const CCommandRow*, kIndexed> byCode = [] {
    std::array<const CCommandRow*, kIndexed> table{};
    for (const CCommandRow& row : kCommands)
      if (row.code >= 0 && row.code < kIndexed && row.make && !table[row.code]) table[row.code] = &row;
    return table;
  }();
  if (code >= 0 && code < kIndexed) return byCode[code];
  for (const CCommandRow& row : kCommands)
    if (row.code == code && row.make) return &row;
  return nullptr;
}

uint8_t ContinuationOf(char ch) {
  if (ch >= '0' && ch <= '9') return kDigit;
  if (ch == '[') return kBracket;
  if (ch == '(') return kParen;
  if (ch == '"' || ch == '\'') return kQuote;
  return kNone;
}

// Pushes a parser made by the factory; false when it could not be made.
bool PushNew(ParserFactory make, CInterpreter& interp) {
  CParseObj* parser = nullptr;
  try {
    parser = make();
  } catch (...) {
    parser = nullptr;
  }
  if (!parser) return false;
  interp.parseStack.Push(parser);
  return true;
}

CGraphicsState* StateOf(CInterpreter& interp) {
  return interp.context ? interp.context->state : nullptr;
}

void LoadActiveAttributes(CInterpreter& interp) {
  if (CGraphicsState* state = StateOf(interp)) state->LoadActiveAttributes();
}

void StoreActiveAttributes(CInterpreter& interp) {
  if (CGraphicsState* state = StateOf(interp)) state->StoreActiveAttributes();
}

}  // namespace

int CCmdDispatch::Parse(char ch, CInterpreter& interp) {
  int status = PARSE_CONTINUE;
  if (ContinueCommand(ch, interp, &status)) return status;
  switch (mode) {
    case Mode::WriteOpen:
      return CloseWrite(interp);
    case Mode::Commands:
      return StartCommand(ch, interp);
  }
  return PARSE_CONTINUE;
}

bool CCmdDispatch::ContinueCommand(char ch, CInterpreter& interp, int* status) {
  // Arguments that keep arriving after a command's parser finished start
  // another parser of the same command, without reloading the attributes.
  const uint8_t kind = ContinuationOf(ch);
  if (kind == kNone) return false;
  const CCommandRow* last = RowByCode(command);
  const bool reopensWrite = kind == kParen && command == kCommandWrite;
  if (last && (reopensWrite || (last->continues & kind))) {
    if (!PushNew(last->make, interp)) {
      interp.SetError(1, ch);
      *status = PARSE_CONTINUE;
      return true;
    }
    if (reopensWrite) mode = Mode::WriteOpen;
    *status = PARSE_PASS;
    return true;
  }
  // A stray digit or bracket is an error; a stray '(' or quote is looked at
  // as a command character.
  if (kind == kDigit || kind == kBracket) {
    interp.SetError(1, ch);
    *status = PARSE_CONTINUE;
    return true;
  }
  return false;
}

int CCmdDispatch::CloseWrite(CInterpreter& interp) {
  // The W parser has handed back a character: without an option list it is
  // the next command, otherwise the closing parenthesis.
  mode = Mode::Commands;
  if (interp.flags & kFlagWriteNoOptions) {
    interp.flags &= ~kFlagWriteNoOptions;
    return PARSE_PASS;
  }
  StoreActiveAttributes(interp);
  return PARSE_CONTINUE;
}

int CCmdDispatch::StartCommand(char ch, CInterpreter& interp) {
  if (ch == '(') {
    std::unique_ptr<CHandoff> handoff(new (std::nothrow) CCommandHandoff(command));
    if (!handoff) {
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
    }
    LoadActiveAttributes(interp);
    if (!PushNew(kMakeOptionTail, interp)) {
      interp.SetError(1, ch);
      return PARSE_CONTINUE;
    }
    interp.handoff = std::move(handoff);
    return PARSE_CONTINUE;
  }

  const CCommandRow* row = RowByLetter(ch);
  if (!row) {
    interp.SetError(1, ch);
    return PARSE_CONTINUE;
  }
  if (row->attributes == Attributes::Load)
    LoadActiveAttributes(interp);
  else
    StoreActiveAttributes(interp);
  if (!PushNew(row->make, interp)) {
    interp.SetError(1, ch);
    return PARSE_CONTINUE;
  }
  command = row->code;
  if (row->code == kCommandWrite) mode = Mode::WriteOpen;
  return PARSE_CONTINUE;
}
