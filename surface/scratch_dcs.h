// CScratchDCs: the four memory DCs in which the writing-mode compositions
// build their copies and masks. They are shared by every surface of the
// process, made when a composition first needs them and deleted after it.
#pragma once

#include "platform/win32.h"

class CScratchDCs {
 public:
  enum Slot { kPageCopy, kSavedCopy, kMask, kIndexBits, kSlots };

  // The DC of a slot, made compatible with reference if it does not exist.
  static HDC Get(Slot slot, HDC reference);
  // The DC of a slot as it is now: nullptr when it was not made.
  static HDC Peek(Slot slot);
  // Deletes every scratch DC and forgets its handle.
  static void DeleteAll();
};
