// Reaching the per-window objects and the host's settings from the host
// record. Every accessor accepts a null record and answers nullptr.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "zizider/zizider.h"

class CGrDrv;
class CGraphicsContext;
class CGraphicsState;
class CInterpreter;

CGrDrv* SurfaceOf(const KXREG_HOST* host);
CGraphicsContext* ContextOf(const KXREG_HOST* host);
CInterpreter* InterpreterOf(const KXREG_HOST* host);
// The context's graphics state.
CGraphicsState* StateOf(const KXREG_HOST* host);
// True when all three objects are present.
bool InstanceComplete(const KXREG_HOST* host);

// The settings flag word reached through the screen record, or nullptr.
uint32_t* SettingsFlagsOf(const KXREG_HOST* host);
bool SettingOn(const KXREG_HOST* host, uint32_t bit);

// The module instance handle resources are loaded from, kept by the
// library's entry point (null off Windows, where resources are found by name).
HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE module);
