// The platform layer's part about who can see the screen: the window
// station's visible flag, standard error, the person at the console (a
// program started in their session with their token) and the pipe that
// brings their answer back, and a file updated by one process at a time.
#include <windows.h>

#include <userenv.h>
#include <wtsapi32.h>

#include <cstdio>
#include <string>

#include "platform.h"
#include "system_dll.h"

bool PlatformScreenVisible() {
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  HWINSTA station = GetProcessWindowStation();
  // Only a station the system itself reports as not visible counts.
  if (!station || !GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed))
    return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

void PlatformWriteError(const char* text) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (!error || error == INVALID_HANDLE_VALUE || GetFileType(error) == FILE_TYPE_UNKNOWN) return;
  std::string lines;
  for (const char* c = text; *c; c++) {
    if (*c == '\n' && (c == text || c[-1] != '\r')) lines += '\r';
    lines += *c;
  }
  DWORD written = 0;
  WriteFile(error, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}

namespace {

// The calls of the DLLs that only this part needs, loaded at first use so
// that no other run pays for them.
using QueryUserTokenCall = BOOL(WINAPI*)(ULONG, PHANDLE);
using EnvironmentCall = BOOL(WINAPI*)(LPVOID*, HANDLE, BOOL);
using FreeEnvironmentCall = BOOL(WINAPI*)(LPVOID);
using StartAsUserCall = BOOL(WINAPI*)(HANDLE, LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                      LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                      LPSTARTUPINFOW, LPPROCESS_INFORMATION);
using DescriptorCall = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);

std::string SystemReason(const char* what) {
  DWORD error = GetLastError();
  char text[256] = "";
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = 0;
  char number[32];
  snprintf(number, sizeof number, " (error %lu)", error);
  return std::string(what) + ": " + (n ? text : "unknown error") + number;
}

// Text of the ANSI code page as UTF-16.
std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// The environment block (UTF-16 "name=value" texts, each closed by a zero,
// closed by one more) with the variable set to value, or left out where
// value is null: an inherited one never reaches the new process.
std::wstring WithVariable(const wchar_t* block, const std::wstring& name,
                          const std::wstring* value) {
  std::wstring result;
  std::wstring prefix = name + L"=";
  for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1) {
    if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) == 0) continue;
    result.append(entry);
    result.push_back(L'\0');
  }
  if (value) {
    result += prefix + *value;
    result.push_back(L'\0');
  }
  if (result.empty()) result.push_back(L'\0');  // an empty block is two zeros
  result.push_back(L'\0');
  return result;
}

// A pipe of a name nobody can guess, that only processes of the person at
// the console (and this one) may open, and only one at a time.
HANDLE MakeChannel(std::string* name, std::string* whyNot) {
  auto describe = reinterpret_cast<DescriptorCall>(
      SystemFunction("advapi32.dll", "ConvertStringSecurityDescriptorToSecurityDescriptorA"));
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  // Full control for the system and this process's owner; the interactive
  // user may read and write, nobody else anything.
  if (!describe || !describe("D:P(A;;GA;;;SY)(A;;GA;;;OW)(A;;GRGW;;;IU)", 1, &descriptor, nullptr)) {
    *whyNot = SystemReason("No security for the answer's pipe");
    return nullptr;
  }
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  char text[128];
  snprintf(text, sizeof text, "\\\\.\\pipe\\quil-answer-%lu-%llx-%lx", GetCurrentProcessId(),
           static_cast<unsigned long long>(now.QuadPart), GetTickCount());
  *name = text;
  SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
  HANDLE pipe = CreateNamedPipeA(text, PIPE_ACCESS_INBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE |
                                           FILE_FLAG_OVERLAPPED,
                                 PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                     PIPE_REJECT_REMOTE_CLIENTS,
                                 1, 0, 65536, 0, &security);
  LocalFree(descriptor);
  if (pipe == INVALID_HANDLE_VALUE) {
    *whyNot = SystemReason("No pipe for the answer");
    return nullptr;
  }
  return pipe;
}

// Reads what the started process writes into the pipe, at most ChannelMost
// bytes, until it closes its end or ends; a process other than the started
// one that opens the pipe is turned away.
void ReadChannel(HANDLE pipe, HANDLE process, DWORD processId, std::string* channel) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!event) return;
  for (;;) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    ResetEvent(event);
    bool connected = ConnectNamedPipe(pipe, &overlapped) || GetLastError() == ERROR_PIPE_CONNECTED;
    if (!connected && GetLastError() == ERROR_IO_PENDING) {
      HANDLE both[2] = {event, process};
      DWORD which = WaitForMultipleObjects(2, both, FALSE, INFINITE);
      if (which != WAIT_OBJECT_0) {
        CancelIo(pipe);
        break;  // the process ended without opening the pipe
      }
      DWORD ignored = 0;
      connected = GetOverlappedResult(pipe, &overlapped, &ignored, FALSE) != 0;
    }
    if (!connected) break;
    ULONG client = 0;
    if (GetNamedPipeClientProcessId(pipe, &client) && client != processId) {
      DisconnectNamedPipe(pipe);
      continue;
    }
    char buffer[4096];
    while (channel->size() < ChannelMost) {
      OVERLAPPED reading = {};
      reading.hEvent = event;
      ResetEvent(event);
      DWORD got = 0;
      DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof buffer, ChannelMost - channel->size()));
      if (!ReadFile(pipe, buffer, want, &got, &reading)) {
        if (GetLastError() != ERROR_IO_PENDING) break;
        HANDLE both[2] = {event, process};
        if (WaitForMultipleObjects(2, both, FALSE, INFINITE) != WAIT_OBJECT_0) {
          // Ended: what it wrote before that is still in the pipe.
          CancelIo(pipe);
          if (!GetOverlappedResult(pipe, &reading, &got, TRUE)) got = 0;
          channel->append(buffer, got);
          break;
        }
        if (!GetOverlappedResult(pipe, &reading, &got, FALSE)) break;
      }
      if (got == 0) break;
      channel->append(buffer, got);
    }
    break;
  }
  CloseHandle(event);
}

}  // namespace

int PlatformRunAsConsoleUser(const char* application, const char* commandLine,
                             std::string* channel, std::string* whyNot) {
  DWORD session = WTSGetActiveConsoleSessionId();
  if (session == 0xFFFFFFFF) {
    *whyNot = "Nobody is logged on at the console";
    return -1;
  }
  auto queryToken =
      reinterpret_cast<QueryUserTokenCall>(SystemFunction("wtsapi32.dll", "WTSQueryUserToken"));
  HANDLE token = nullptr;
  if (!queryToken || !queryToken(session, &token)) {
    *whyNot = SystemReason("The console user's token cannot be taken");
    return -1;
  }
  auto makeEnvironment = reinterpret_cast<EnvironmentCall>(
      SystemFunction("userenv.dll", "CreateEnvironmentBlock"));
  auto freeEnvironment = reinterpret_cast<FreeEnvironmentCall>(
      SystemFunction("userenv.dll", "DestroyEnvironmentBlock"));
  void* environment = nullptr;
  if (!makeEnvironment || !freeEnvironment || !makeEnvironment(&environment, token, FALSE)) {
    *whyNot = SystemReason("The console user's environment cannot be made");
    CloseHandle(token);
    return -1;
  }
  std::string pipeName;
  HANDLE pipe = nullptr;
  std::wstring block;
  if (channel) {
    pipe = MakeChannel(&pipeName, whyNot);
    if (!pipe) {
      freeEnvironment(environment);
      CloseHandle(token);
      return -1;
    }
  }
  std::wstring wideName = Wide(pipeName);
  block = WithVariable(static_cast<const wchar_t*>(environment), Wide(ChannelVariable),
                       channel ? &wideName : nullptr);
  freeEnvironment(environment);

  auto startAsUser = reinterpret_cast<StartAsUserCall>(
      SystemFunction("advapi32.dll", "CreateProcessAsUserW"));
  std::wstring program = application ? Wide(application) : L"", line = Wide(commandLine);
  wchar_t desktop[] = L"winsta0\\default";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop;
  PROCESS_INFORMATION started = {};
  wchar_t folder[MAX_PATH] = L"";
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  bool ran = startAsUser &&
             startAsUser(token, application ? program.c_str() : nullptr, line.data(), nullptr, nullptr, FALSE,
                         CREATE_UNICODE_ENVIRONMENT, block.data(),
                         length > 0 && length < MAX_PATH ? folder : nullptr, &startup, &started);
  if (!ran) *whyNot = SystemReason("Nothing could be started as the console user");
  CloseHandle(token);
  if (!ran) {
    if (pipe) CloseHandle(pipe);
    return -1;
  }
  CloseHandle(started.hThread);
  if (pipe) {
    ReadChannel(pipe, started.hProcess, started.dwProcessId, channel);
    CloseHandle(pipe);
  }
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD code = 0;
  bool known = GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hProcess);
  return known ? static_cast<int>(code) : -1;
}

bool PlatformWriteChannel(const char* pipe, const std::string& text) {
  HANDLE end = CreateFileA(pipe, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (end == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool whole = WriteFile(end, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
  FlushFileBuffers(end);
  CloseHandle(end);
  return whole;
}

bool PlatformUpdateFile(const char* path, std::string (*update)(const std::string&, void*),
                        void* context) {
  // Opened without sharing: a second process's open fails with a sharing
  // violation until this one has closed the file, and then tries again.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int tries = 0; tries < 1000; tries++) {
    file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(10);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string old;
  char buffer[4096];
  DWORD got = 0;
  bool read = true;
  while ((read = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0 &&
         old.size() < (1u << 20))
    old.append(buffer, got);
  std::string fresh = read ? update(old, context) : std::string();
  DWORD written = 0;
  bool done = read && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file) &&
              WriteFile(file, fresh.data(), static_cast<DWORD>(fresh.size()), &written, nullptr) &&
              written == fresh.size();
  done = CloseHandle(file) && done;
  return done;
}
