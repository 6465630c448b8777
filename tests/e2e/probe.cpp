// A program for run to start: writes its raw command line into the file
// named by PROBE_OUT (if set) and exits with the code in PROBE_EXIT
// (decimal or 0x hexadecimal; 0 when unset). With PROBE_SHOW_OUT set it
// also writes what its start-up information asks for, then shows a window
// with that show mode and writes how the window came out:
// "flags=F show=S visible=V iconic=I zoomed=Z". With PROBE_WIDE_OUT set it
// writes its wide command line there in UTF-8.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void WriteShowReport(const char* path) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  bool told = startup.dwFlags & STARTF_USESHOWWINDOW;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "probe window";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "probe window", "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  // Shown with the mode itself: Wine passes the start-up information on
  // but does not apply it to a program's first ShowWindow.
  ShowWindow(window, told ? startup.wShowWindow : SW_SHOWNORMAL);
  if (FILE* f = fopen(path, "wb")) {
    fprintf(f, "flags=%d show=%d visible=%d iconic=%d zoomed=%d", told ? 1 : 0,
            told ? startup.wShowWindow : -1, IsWindowVisible(window) ? 1 : 0,
            IsIconic(window) ? 1 : 0, IsZoomed(window) ? 1 : 0);
    fclose(f);
  }
  DestroyWindow(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char out[MAX_PATH];
  if (GetEnvironmentVariableA("PROBE_OUT", out, sizeof out)) {
    if (FILE* f = fopen(out, "wb")) {
      fputs(GetCommandLineA(), f);
      fclose(f);
    }
  }
  if (GetEnvironmentVariableA("PROBE_WIDE_OUT", out, sizeof out)) {
    // The command line as the program received it, in UTF-8.
    const wchar_t* line = GetCommandLineW();
    int n = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    char* bytes = static_cast<char*>(malloc(n > 0 ? n : 1));
    if (bytes && n > 0 && WideCharToMultiByte(CP_UTF8, 0, line, -1, bytes, n, nullptr, nullptr)) {
      if (FILE* f = fopen(out, "wb")) {
        fputs(bytes, f);
        fclose(f);
      }
    }
    free(bytes);
  }
  if (GetEnvironmentVariableA("PROBE_SHOW_OUT", out, sizeof out)) WriteShowReport(out);
  char code[32];
  if (!GetEnvironmentVariableA("PROBE_EXIT", code, sizeof code)) return 0;
  return static_cast<int>(strtoul(code, nullptr, 0));
}
