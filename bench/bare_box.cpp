// A program that only shows a message box: the lower limit for say's
// start to a visible box.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, "hello", "Bare", 0);
  return 0;
}
