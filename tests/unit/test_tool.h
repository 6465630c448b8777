// What the test tool's ToolMain saw on its last call.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> ToolMainArgs;
extern bool ToolMainCalled;
extern bool ToolMainNullEnd;  // the entry after the last was null
extern int ToolMainResult;    // what ToolMain returns
