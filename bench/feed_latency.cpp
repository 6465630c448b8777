// Measures how soon ask's progress window shows a line appended to its
// feed: starts "ask progress" on a new feed, appends a number at a time as
// a batch file's ">>" does, and times each append to the bar showing that
// number. Prints the median, the fastest and the slowest.
//
//   feed_latency ASK.EXE FEEDFILE ROUNDS
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Append(const char* path, const std::string& line) {
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: feed_latency ASK.EXE FEEDFILE ROUNDS\n");
    return 2;
  }
  const char* feed = argv[2];
  int rounds = std::max(1, atoi(argv[3]));
  DeleteFileA(feed);
  std::string line = std::string("\"") + argv[1] + "\" progress Measuring \"" + feed + "\" NUL";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return 1;
  HWND window = nullptr;
  for (DWORD start = GetTickCount(); !window && GetTickCount() - start < 60000; Sleep(10)) {
    HWND w = FindWindowA("Gui application", "Ask");
    DWORD pid = 0;
    if (w) GetWindowThreadProcessId(w, &pid);
    if (pid == info.dwProcessId && IsWindowVisible(w)) window = w;
  }
  if (!window) return 1;
  // Built once its thread answers from its message loop.
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, nullptr);
  HWND bar = GetDlgItem(window, 4001);
  std::vector<double> times;
  for (int r = 0; r < rounds; r++) {
    int value = r % 100 + 1;
    double start = Now();
    Append(feed, std::to_string(value) + "\r\n");
    while (SendMessageA(bar, PBM_GETPOS, 0, 0) != value && Now() - start < 5000) Sleep(1);
    times.push_back(Now() - start);
    Sleep(static_cast<DWORD>(r * 37 % 100));  // appends at any moment of the window's poll
  }
  Append(feed, "close\r\n");
  WaitForSingleObject(info.hProcess, 10000);
  std::sort(times.begin(), times.end());
  printf("%-56s %9.1f %9.1f %9.1f\n", "line appended to the bar showing it",
         times[times.size() / 2], times.front(), times.back());
  printf("%d appends; median, fastest and slowest ms\n", rounds);
  return 0;
}
