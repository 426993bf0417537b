// Text attributes: the record every text and load command copies, the
// loaded alphabets it carries, and the instance's text context.
#pragma once

#include <cstdint>
#include <memory>

// One character of a loaded alphabet: twenty hex digit values (ten rows of
// two), then a zero byte.
struct CCharCell {
  uint8_t digits[21] = {};
};

struct CCharSet {
  CCharCell cells[96];  // codes 0x20..0x7F
  char name[12] = {};
};

struct CTextState {
  int32_t displayCellWidth = 9, displayCellHeight = 20;
  int32_t unitCellWidth = 8, unitCellHeight = 20;
  int32_t spacingX = 9, spacingY = 0;
  int32_t stringDirection = 0;
  int32_t characterDirection = 0;
  int32_t italic = 0;
  int32_t g0Set = 0;
  int32_t g1Set = 5;
  int32_t alphabet = 0;
  CCharSet loaded[3];
  int32_t loadingAlphabet = 1;
};

// The saved and the current text attributes.
struct CTextStatePair {
  std::unique_ptr<CTextState> saved = std::make_unique<CTextState>();
  std::unique_ptr<CTextState> current = std::make_unique<CTextState>();
};

struct CPoint32 {
  int32_t x = 0, y = 0;
};

// The text context of an instance. Its snapshot, taken when the journal
// starts afresh, holds the line start; the text attributes are not part of
// it (a replay keeps the attributes it finds).
struct CTextCtx {
  CPoint32 lineStart;
  CTextStatePair pair;

  void Snapshot();
  void Restore();

 private:
  std::unique_ptr<CPoint32> snapshot_;
};
