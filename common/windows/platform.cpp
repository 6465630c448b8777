// The platform layer on Windows: thin wrappers over the ANSI Win32 calls.
#include "platform.h"

#include <windows.h>

#include <direct.h>
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

// The record the shell's extended execute call takes; its size is part of
// the interface of 32-bit Windows.
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOA) == 60,
              "SHELLEXECUTEINFOA must be 60 bytes in a 32-bit program");

int RunAndWait(const char* program, const char* parameters, int mode) {
  SHELLEXECUTEINFOA request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS;
  request.lpFile = program;
  request.lpParameters = parameters;
  request.nShow = mode;
  ShellExecuteExA(&request);
  // Without a process handle the wait returns at once and the exit-code
  // query fails: the result is then -1.
  WaitForSingleObject(request.hProcess, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(request.hProcess, &code)) return -1;
  return static_cast<int>(code);
}

std::vector<FolderEntry> PlatformFindEntries(const char* pattern) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

void PlatformMakeFolder(const char* path) { _mkdir(path); }
