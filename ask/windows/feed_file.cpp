// The progress window's system parts on Windows: the processes, and the
// feed file, opened for the moment of one read with every sharing flag, so
// that the batch file's ">>" never fails or waits because of the window,
// and it may delete the feed at any time.
#include <windows.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

#include "follower.h"

FeedOpening OpenFeedFile(const char* path, OpenFeed* feed, unsigned long* error) {
  HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    if (*error == ERROR_FILE_NOT_FOUND || *error == ERROR_PATH_NOT_FOUND) {
      *error = 0;
      return FeedMissing;
    }
    DWORD attributes = GetFileAttributesA(path);
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return folder ? FeedIsFolder : FeedFailed;
  }
  LARGE_INTEGER size;
  FeedOpening opening = FeedOpened;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    opening = FeedIsDevice;
  } else if (!GetFileSizeEx(file, &size)) {
    *error = GetLastError();
    opening = FeedFailed;
  }
  if (opening != FeedOpened) {
    CloseHandle(file);
    return opening;
  }
  feed->handle = file;
  feed->size = size.QuadPart;
  // Which file it is: its volume and index (its creation time tells
  // nothing, as Wine gives the time of the last change).
  BY_HANDLE_FILE_INFORMATION info = {};
  feed->identity.clear();
  if (GetFileInformationByHandle(file, &info))
    feed->identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
                     std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
  return FeedOpened;
}

std::string ReadFeedAt(const OpenFeed& feed, long long offset, long long most) {
  std::string bytes;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  if (most <= 0 || !SetFilePointerEx(feed.handle, at, nullptr, FILE_BEGIN)) return bytes;
  bytes.resize(static_cast<size_t>(most));
  DWORD got = 0;
  if (!ReadFile(feed.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    got = 0;
  bytes.resize(got);
  return bytes;
}

void CloseFeedFile(OpenFeed* feed) {
  if (feed->handle) CloseHandle(feed->handle);
  feed->handle = nullptr;
}

namespace {

HANDLE Input = nullptr;  // standard input, once it is the feed
bool InputIsPipe = false;

}  // namespace

bool OpenFeedInput() {
  Input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD type = Input && Input != INVALID_HANDLE_VALUE ? GetFileType(Input) : 0;
  InputIsPipe = type == FILE_TYPE_PIPE;
  return type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK;
}

std::string ReadFeedInput(bool* atEnd) {
  DWORD wanted = MostBytesPerRead;
  if (InputIsPipe) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(Input, nullptr, 0, nullptr, &waiting, nullptr)) {
      *atEnd = true;  // the writing end is closed
      return "";
    }
    if (waiting == 0) return "";
    if (waiting < wanted) wanted = waiting;
  }
  std::string bytes(wanted, '\0');
  DWORD got = 0;
  if (!ReadFile(Input, bytes.data(), wanted, &got, nullptr) || got == 0) *atEnd = !InputIsPipe;
  bytes.resize(got);
  return bytes;
}

bool ListProcesses(std::vector<ProcessSeen>* processes, unsigned long* self) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    processes->push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  CloseHandle(snapshot);
  *self = GetCurrentProcessId();
  return true;
}

namespace {

// When a process began.
ULONGLONG StartOf(HANDLE process) {
  FILETIME created, unused;
  if (!GetProcessTimes(process, &created, &unused, &unused, &unused)) return ~0ull;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

void* OpenOlderShell(unsigned long id, unsigned long long* began) {
  HANDLE shell = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!shell) return nullptr;
  *began = StartOf(shell);
  if (*began <= StartOf(GetCurrentProcess())) return shell;
  CloseHandle(shell);
  return nullptr;
}

void CloseShell(void* shell) { CloseHandle(shell); }

bool RemoteDrive(const std::string& root) { return GetDriveTypeA(root.c_str()) == DRIVE_REMOTE; }
