// A console program for run to start: writes whether it has a console
// window and whether that window is visible ("console=C visible=V") into
// the file named by CONSOLE_PROBE_OUT, and exits with 3.
#include <windows.h>

#include <cstdio>

int main() {
  char out[MAX_PATH];
  if (GetEnvironmentVariableA("CONSOLE_PROBE_OUT", out, sizeof out)) {
    HWND console = GetConsoleWindow();
    if (FILE* f = fopen(out, "wb")) {
      fprintf(f, "console=%d visible=%d", console ? 1 : 0,
              console && IsWindowVisible(console) ? 1 : 0);
      fclose(f);
    }
  }
  return 3;
}
