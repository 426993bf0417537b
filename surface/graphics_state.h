// The ReGIS drawing state of an instance.
#pragma once

#include <cstdint>
#include <memory>

#include "surface/write_controls.h"

class CGrDrv;

// Graphics state flag bits.
constexpr uint32_t kOutputCursorOn = 0x1;

// Graphics input modes.
constexpr int32_t kInputOneShot = 1;
constexpr int32_t kInputMultiple = 2;

// The plain fields of the drawing state: what a journal snapshot saves and
// a replay restores. The writing controls are reached through pointers, so a
// restore leaves them as they are.
struct CGraphicsStateValues {
  int32_t screenLeft = 0, screenTop = 0, screenRight = 799, screenBottom = 479;
  int32_t x = 0, y = 0;    // current position, ReGIS units, never clamped
  int32_t background = 0;  // erase colour index (its low 16 bits are used)
  int32_t pages = 2;
  int32_t outputPage = 0;  // 0 or 1
  int32_t screenPage = 0;  // 0 or 1
  CWriteControls* permanent = nullptr;
  CWriteControls* active = nullptr;
  CGrDrv* surface = nullptr;
  uint32_t flags = 0;
  int32_t inputMode = kInputOneShot;  // graphics input mode the report command switches
  // The cursor shape S(C(...)) asks for. Only stored: the caret is the same
  // diamond whatever the style.
  int32_t cursorStyle = 0;
  char userCursor[2] = {};  // style 4: two characters drawn at an offset
  int32_t userCursorX = 0, userCursorY = 0;
};

class CGraphicsState : public CGraphicsStateValues {
 public:
  void Snapshot();
  void Restore();

  // The active record becomes a copy of the permanent one, and back.
  void LoadActiveAttributes() { *active = *permanent; }
  void StoreActiveAttributes() { *permanent = *active; }

  bool OutputCursorOn() const { return (flags & kOutputCursorOn) != 0; }

  // Stores the graphics input mode; a change is signalled in the host's
  // flag word at once.
  void SetInputMode(int32_t mode);

 private:
  std::unique_ptr<CGraphicsStateValues> snapshot_;
};
