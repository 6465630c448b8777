// A program for run to start: writes its raw command line into the file
// named by PROBE_OUT (if set) and exits with the code in PROBE_EXIT
// (decimal or 0x hexadecimal; 0 when unset).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char out[MAX_PATH];
  if (GetEnvironmentVariableA("PROBE_OUT", out, sizeof out)) {
    if (FILE* f = fopen(out, "wb")) {
      fputs(GetCommandLineA(), f);
      fclose(f);
    }
  }
  char code[32];
  if (!GetEnvironmentVariableA("PROBE_EXIT", code, sizeof code)) return 0;
  return static_cast<int>(strtoul(code, nullptr, 0));
}
