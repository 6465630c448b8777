// RunFrame, for the tests that run over the stand-in platform.
#include "frame.h"
#include "standin.h"
#include "test_util.h"

int RunFrame(const std::string& commandLine) {
  StandInCommandLine = commandLine;
  try {
    return ToolFrame(nullptr, nullptr, nullptr, 0);
  } catch (const StandInExit& e) {
    return e.status;
  }
}
