// What the Windows platform layer adds beyond the seam's stand-in: system
// functions found at first use, and COM started before the shell.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include "system_dll.h"

namespace {

TEST(SystemFunctions, FoundByUndecoratedNameOrNull) {
  struct Case {
    const char* dll;
    const char* name;
    bool found;
  };
  const Case cases[] = {
      {"comdlg32.dll", "GetOpenFileNameA", true},
      {"ole32.dll", "CoInitializeEx", true},
      {"comdlg32.dll", "NoSuchFunction", false},
      {"no-such-library.dll", "GetOpenFileNameA", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SystemFunction(c.dll, c.name) != nullptr, c.found) << c.dll << " " << c.name;
}

TEST(SystemFunctions, PrepareShellStartsComApartmentThreaded) {
  PrepareShell();
  PrepareShell();
  // COM is running on this thread in the single-threaded apartment: asking
  // for another model is refused, asking for the same one again succeeds
  // without starting anything.
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_EQ(again, S_FALSE) << "got 0x" << std::hex << again;
  if (SUCCEEDED(again)) CoUninitialize();
}

}  // namespace
