// scripts/pictures' helper (built with the end-to-end tests, over their
// driver): finds the visible top-level window with the
// given caption, makes it the active window (so that its title bar is
// drawn as the one in use), and prints what the picture should show: the
// caption, then the class and text of each control, a line each, in UTF-8.
//
//   picture_facts CAPTION
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver.h"

namespace {

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  if (IsWindowVisible(control))
    printf("%s\t%s\n", ClassOf(control).c_str(), Utf8TextOf(control).c_str());
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: picture_facts CAPTION\n");
    return 2;
  }
  HWND window = nullptr;
  WaitUntil([&] {
    window = FindWindowW(nullptr, WideOf(argv[1]).c_str());
    return window && IsWindowVisible(window);
  });
  if (!window) return 1;
  SetForegroundWindow(window);
  SetActiveWindow(window);
  WaitUntil([&] { return GetForegroundWindow() == window; }, 2000);
  SendMessageTimeoutA(window, WM_NCACTIVATE, TRUE, 0, SMTO_NORMAL, 2000, nullptr);
  printf("caption\t%s\nactive\t%d\n", Utf8TextOf(window).c_str(), GetForegroundWindow() == window);
  EnumChildWindows(window, PrintControl, 0);
  return 0;
}
