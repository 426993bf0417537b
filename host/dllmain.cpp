// The library's entry point, built into the shared library only: it keeps
// the module handle and shows the splash. The static library and programs
// linked with it start without a splash unless they call CreateSplash.
#include "host/instance.h"
#include "host/splash.h"

#ifdef _WIN32

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleInstance(module);
    CreateSplash();
  }
  return TRUE;
}

#else

namespace {

__attribute__((constructor)) void OnLibraryLoad() {
  CreateSplash();
}

}  // namespace

#endif
