// Graphics input mode and report notifications: the report command's way to
// the host's flag word and input callback.
#include "surface/input_mode.h"

#include "surface/graphics_context.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/host_link.h"

uint32_t InputModeFlags(uint32_t flags, int32_t mode, int force) {
  flags = (flags & ~kInputBits17To21) | kInputBit21;
  if (mode == kInputOneShot) {
    if (!(flags & kInputBit25))
      flags |= kInputBit22;
    else
      flags &= ~(kInputBit21 | kInputBit25);
  } else if (mode == kInputMultiple) {
    if (!((flags & kInputBit25) && force)) flags = (flags & ~kInputBit22) | kInputBit25;
  }
  return flags;
}

void CGraphicsState::SetInputMode(int32_t mode) {
  if (mode == inputMode) return;
  inputMode = mode;
  if (surface) surface->ApplyInputMode(this, 0);
}

void CGrDrv::ApplyInputMode(const CGraphicsState* state, int force) {
  if (!state) return;
  if (uint32_t* flags = SettingsFlagsOfWindow(window))
    *flags = InputModeFlags(*flags, state->inputMode, force);
  if (KXREG_HOST* host = HostOfWindow(window)) {
    host->fieldA14 = 0;
    host->fieldA18 = 0;
  }
}

void CDrawContext::NotifyReport() {
  // The library never talks to the remote side itself: the host fetches
  // the report (or the position) when it is called.
  if (surface && surface->inputCallback) surface->inputCallback(surface->window, 0);
}

void CDrawContext::ApplyInputMode(int force) {
  if (surface) surface->ApplyInputMode(state, force);
}
