// A service for the end-to-end tests: started by the service manager with
// a job file's path as its argument, it runs the job's command line (the
// file's first line) as a script run as SYSTEM would, with standard error
// (and output) into JOB.err, and writes its exit status into JOB.status,
// then stops. A command still running after two minutes is killed
// (status "killed"). JOB.station receives whether this service's window
// station is visible, as the tools will find it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

SERVICE_STATUS_HANDLE StatusHandle = nullptr;
std::string JobPath;

void Report(DWORD state) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  SetServiceStatus(StatusHandle, &status);
}

DWORD WINAPI Control(DWORD, DWORD, void*, void*) { return NO_ERROR; }

void WriteText(const std::string& path, const std::string& text) {
  if (FILE* f = fopen(path.c_str(), "wb")) {
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
}

std::string RunJob() {
  std::string command;
  if (FILE* f = fopen(JobPath.c_str(), "rb")) {
    char buffer[8192];
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    command.assign(buffer, n);
  }
  command = command.substr(0, command.find_first_of("\r\n"));
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &needed);
  WriteText(JobPath + ".station", (flags.dwFlags & WSF_VISIBLE) ? "visible" : "not visible");

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE error = CreateFileA((JobPath + ".err").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = error;
  startup.hStdOutput = error;
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &started)) {
    CloseHandle(error);
    return "not started " + std::to_string(GetLastError());
  }
  CloseHandle(started.hThread);
  std::string result;
  if (WaitForSingleObject(started.hProcess, 120000) != WAIT_OBJECT_0) {
    TerminateProcess(started.hProcess, 1);
    result = "killed";
  } else {
    DWORD code = 0;
    GetExitCodeProcess(started.hProcess, &code);
    result = std::to_string(code);
  }
  CloseHandle(started.hProcess);
  CloseHandle(error);
  return result;
}

void WINAPI ServiceMain(DWORD count, char** args) {
  StatusHandle = RegisterServiceCtrlHandlerExA(count > 0 ? args[0] : "", Control, nullptr);
  Report(SERVICE_RUNNING);
  // Written whole under another name first: the test waits for this file.
  WriteText(JobPath + ".part", RunJob());
  MoveFileExA((JobPath + ".part").c_str(), (JobPath + ".status").c_str(), MOVEFILE_REPLACE_EXISTING);
  Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  JobPath = argv[1];
  char name[] = "";
  SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : 3;
}
