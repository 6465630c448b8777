// System DLLs loaded at the first call into them.
#include "system_dll.h"

#include <windows.h>

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
