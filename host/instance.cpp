#include "host/instance.h"

#include "host/module_resources.h"
#include "interp/interpreter.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"

CGrDrv* SurfaceOf(const KXREG_HOST* host) {
  return host ? host->grDrv : nullptr;
}

CGraphicsContext* ContextOf(const KXREG_HOST* host) {
  return host ? host->context : nullptr;
}

CInterpreter* InterpreterOf(const KXREG_HOST* host) {
  return host ? host->interpreter : nullptr;
}

CGraphicsState* StateOf(const KXREG_HOST* host) {
  CGraphicsContext* context = ContextOf(host);
  return context ? context->state : nullptr;
}

bool InstanceComplete(const KXREG_HOST* host) {
  return SurfaceOf(host) && ContextOf(host) && InterpreterOf(host);
}

uint32_t* SettingsFlagsOf(const KXREG_HOST* host) {
  if (!host || !host->screen || !host->screen->settings) return nullptr;
  return &host->screen->settings->flags;
}

bool SettingOn(const KXREG_HOST* host, uint32_t bit) {
  const uint32_t* flags = SettingsFlagsOf(host);
  return flags && (*flags & bit) != 0;
}

namespace {

HINSTANCE g_module = nullptr;

}  // namespace

HINSTANCE ModuleInstance() {
#ifndef _WIN32
  // Calling the registration also keeps its object in every link of the
  // static library, where nothing else would refer to it.
  static const bool registered = (RegisterModuleResources(), true);
  static_cast<void>(registered);
#endif
  return g_module;
}

void SetModuleInstance(HINSTANCE module) {
  g_module = module;
}
