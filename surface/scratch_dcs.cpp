// The process-wide scratch DCs of the compositions.
#include "surface/scratch_dcs.h"

namespace {

HDC gScratch[CScratchDCs::kSlots] = {};

}  // namespace

HDC CScratchDCs::Get(Slot slot, HDC reference) {
  if (!gScratch[slot]) gScratch[slot] = CreateCompatibleDC(reference);
  return gScratch[slot];
}

HDC CScratchDCs::Peek(Slot slot) {
  return gScratch[slot];
}

void CScratchDCs::DeleteAll() {
  for (HDC& dc : gScratch) {
    if (dc) DeleteDC(dc);
    dc = nullptr;
  }
}
