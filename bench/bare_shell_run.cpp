// A program that starts the program named by its argument as run does
// (COM started apartment-threaded first, as the shell's execute call asks,
// then ShellExecuteExA with the same record: the process handle kept, a
// single blank as parameters, shown normally), waits for it and returns its
// exit code: the limit for run's start-to-exit time.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOA request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS;
  request.lpFile = __argv[1];
  request.lpParameters = " ";
  request.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&request)) return -1;
  WaitForSingleObject(request.hProcess, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(request.hProcess, &code)) return -1;
  return static_cast<int>(code);
}
