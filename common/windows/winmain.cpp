// The GUI entry of every tool: everything happens in the frame.
#include <windows.h>

#include "frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandTail, int showMode) {
  return ToolFrame(instance, previous, commandTail, showMode);
}
