#include "e2e_test.h"

void E2eTest::SetUp() {
  scratch_ = NewScratchFolder();
  options_ = {};
  options_.workDir = scratch_;
  options_.set = {{"TEMP", scratch_}};
}

void E2eTest::TearDown() {
  for (Child& child : children_) Kill(&child);
  RemoveFolder(scratch_);
}

std::string E2eTest::Command(const char* tool, const std::string& args) {
  std::string line = "\"" + ToolPath(tool) + "\"";
  return args.empty() ? line : line + " " + args;
}

Child* E2eTest::Start(const std::string& commandLine) {
  children_.emplace_back();
  Child* child = &children_.back();
  EXPECT_TRUE(Launch(child, commandLine, options_))
      << "cannot start " << commandLine << ": error " << GetLastError();
  return child;
}

bool E2eTest::AnswerBox(Child* child, BoxSeen* seen, int answer) {
  HWND box = WaitForWindow(*child, MessageBoxClass);
  if (!box) {
    ADD_FAILURE() << "no message box came";
    return false;
  }
  seen->caption = TextOf(box);
  seen->text = MessageBoxText(box);
  seen->buttons = ButtonsOf(box);
  seen->icon = MessageBoxIcon(box);
  if (answer == CloseBox) {
    CloseWindowNow(box);
  } else if (answer == EscapeKey) {
    PressKey(box, VK_ESCAPE);
  } else {
    EXPECT_TRUE(PressButton(box, answer))
        << "no button " << answer << " in \"" << seen->text << "\"";
  }
  return true;
}

int E2eTest::RunWithBox(const std::string& commandLine, BoxSeen* seen, int answer) {
  Child* child = Start(commandLine);
  if (!AnswerBox(child, seen, answer)) {
    ADD_FAILURE() << "from " << commandLine;
    return WaitForExit(child, 1000);
  }
  int status = WaitForExit(child);
  EXPECT_NE(status, KilledStatus) << commandLine << " did not end after its box was answered";
  return status;
}

int E2eTest::RunWithoutWindow(const std::string& commandLine) {
  Child* child = Start(commandLine);
  DWORD start = GetTickCount();
  while (WaitForSingleObject(child->process, 20) == WAIT_TIMEOUT) {
    std::vector<HWND> windows = WindowsOf(*child);
    if (!windows.empty()) {
      ADD_FAILURE() << commandLine << " showed a window: \"" << TextOf(windows[0]) << "\"";
      break;
    }
    if (GetTickCount() - start > WaitLimitMs) break;
  }
  return WaitForExit(child, 0);
}
