// The tool identity and main routine that the unit tests run the frame
// with: ToolMain records what it was handed.
#include "test_tool.h"

#include "frame.h"

const ToolIdentity ThisTool = {
    "Test", 0, 7, "Test.log", "/Products/Corvalette/Help/Test.html", "Usage:\n\ntest things",
};

std::vector<std::string> ToolMainArgs;
bool ToolMainCalled = false;
bool ToolMainNullEnd = false;
int ToolMainResult = 0;

int ToolMain(int count, char** args) {
  ToolMainCalled = true;
  ToolMainArgs.assign(args, args + count);
  ToolMainNullEnd = args[count] == nullptr;
  return ToolMainResult;
}
