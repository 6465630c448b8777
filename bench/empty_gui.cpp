// A GUI program that does nothing: the lower limit for a tool's start-up.
// Built twice: with IMPORT_UI it also imports user32 and shell32, as the
// tools do, without calling them, to show what loading those DLLs costs.
#include <windows.h>

#ifdef IMPORT_UI
#include <shellapi.h>
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
#ifdef IMPORT_UI
  if (commandTail && commandTail[0] == '\x01') {  // never on a real command line
    MessageBoxA(nullptr, commandTail, "", 0);
    ShellExecuteA(nullptr, "", commandTail, "", "", 0);
  }
#else
  (void)commandTail;
#endif
  return 0;
}
