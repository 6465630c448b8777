// The platform layer on Windows: thin wrappers over the ANSI Win32 calls.
#include "platform.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

const char* PlatformCommandLine() { return GetCommandLineA(); }

int PlatformModuleFileName(char* buf, int size) {
  return static_cast<int>(GetModuleFileNameA(nullptr, buf, static_cast<DWORD>(size)));
}

// The C runtime's getenv already ignores case on Windows.
const char* PlatformGetEnv(const char* name) { return getenv(name); }

void PlatformExit(int status) { exit(status); }

int PlatformMessageBox(const char* text, const char* caption, unsigned style) {
  return MessageBoxA(nullptr, text, caption, style);
}

void PlatformShellExecute(const char* operation, const char* file, const char* parameters,
                          const char* directory, int show) {
  ShellExecuteA(nullptr, operation, file, parameters, directory, show);
}
