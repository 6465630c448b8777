#include "e2e_test.h"

#include "e2e_config.h"

void E2eTest::SetUp() {
  scratch_ = NewScratchFolder();
  options_ = {};
  options_.workDir = scratch_;
  options_.set = {{"TEMP", scratch_}};
}

void E2eTest::TearDown() {
  for (Child& child : children_) Kill(&child);
  if (!service_.empty()) {
    std::string ignored;
    WaitForService(&ignored);
  }
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

namespace {

// The service manager's record of a service, for a call on it.
SC_HANDLE OpenTestService(SC_HANDLE manager, const std::string& name) {
  return manager ? OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS) : nullptr;
}

}  // namespace

bool E2eTest::StartInService(const std::string& commandLine) {
  std::string job = JoinPath(scratch_, "job.txt");
  DeleteFileA((job + ".status").c_str());  // an earlier run's
  WriteFileBytes(job, commandLine + "\r\n");
  service_ = "QuilTest" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  std::string binary = std::string("\"") + SERVICE_HOST_PATH + "\" \"" + job + "\"";
  SC_HANDLE service =
      manager ? CreateServiceA(manager, service_.c_str(), service_.c_str(), SERVICE_ALL_ACCESS,
                               SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                               SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr, nullptr,
                               nullptr, nullptr)
              : nullptr;
  bool started = service && StartServiceA(service, 0, nullptr);
  EXPECT_TRUE(started) << "the test service did not start: error " << GetLastError();
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return started;
}

int E2eTest::WaitForService(std::string* errors) {
  std::string job = JoinPath(scratch_, "job.txt");
  std::string status;
  // The service kills its command after two minutes and then reports.
  WaitUntil([&] { return GetFileAttributesA((job + ".status").c_str()) != INVALID_FILE_ATTRIBUTES; },
            150000);
  status = ReadFileBytes(job + ".status");
  *errors = ReadFileBytes(job + ".err");
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (SC_HANDLE service = OpenTestService(manager, service_)) {
    SERVICE_STATUS stopped = {};
    ControlService(service, SERVICE_CONTROL_STOP, &stopped);
    DeleteService(service);
    CloseServiceHandle(service);
  }
  if (manager) CloseServiceHandle(manager);
  service_.clear();
  if (status == "<missing>" || status == "killed" || status.rfind("not started", 0) == 0) {
    ADD_FAILURE() << "the command in the service: " << (status.empty() ? "no status" : status);
    return KilledStatus;
  }
  return static_cast<int>(strtoul(status.c_str(), nullptr, 10));
}

int E2eTest::RunInService(const std::string& commandLine, std::string* errors) {
  if (!StartInService(commandLine)) return KilledStatus;
  return WaitForService(errors);
}
