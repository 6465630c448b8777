// System DLLs loaded at the first call into them, and COM started before
// the first call into the shell.
#include "system_dll.h"

#include <windows.h>

#include <objbase.h>

#include "frame.h"

void* SystemFunction(const char* dll, const char* name) {
  // LoadLibraryA hands back the same module on every later call; the DLL
  // stays loaded until the process ends.
  HMODULE module = LoadLibraryA(dll);
  return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

void* XSystemFunction(const char* dll, const char* name) {
  void* function = SystemFunction(dll, name);
  if (!function) FatalError("Can't load %s from %s", name, dll);
  return function;
}

void PrepareShell() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  // ole32 is loaded here rather than at start-up, where every message box
  // and every -! would pay for it.
  if (auto initialize = reinterpret_cast<decltype(&CoInitializeEx)>(
          SystemFunction("ole32.dll", "CoInitializeEx")))
    initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}
