// Times command lines side by side: each round starts every command once,
// in turn, the order reversed from one round to the next, so that drift and
// the after-effects of one command on the next hit all of them alike.
// Under Wine the times are bimodal (the same program's runs cluster around
// two values), so the fastest run is printed beside the median, each with
// its ratio to the first command's (the limit).
//
//   startup_timer ROUNDS [--window CLASS] "command line" ...
//
// Without --window a run lasts from CreateProcessA to the end of the
// process; with it, until the process shows a visible top-level window of
// that class and answers messages (its message loop runs), which is then
// closed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now(const LARGE_INTEGER& frequency) {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (pid == search->pid && IsWindowVisible(window) && strcmp(name, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The child's visible window of that class, polled for at most 60 s.
HWND WaitForWindowOf(const PROCESS_INFORMATION& info, const char* className) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
    WindowSearch search{info.dwProcessId, className, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      // Ready means built: the window's thread answers a sent message only
      // from its message loop, after the window has been filled.
      SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 600000, nullptr);
      return search.found;
    }
    if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) {
      fprintf(stderr, "the program ended without a window\n");
      return nullptr;
    }
  }
  fprintf(stderr, "no window within 60 s\n");
  return nullptr;
}

// Milliseconds from CreateProcessA to the end of the process, or to its
// window when windowClass is given; -1 on failure.
double TimeOnce(const std::string& commandLine, const char* windowClass,
                const LARGE_INTEGER& frequency) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  double start = Now(frequency);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return -1;
  bool reached;
  double end;
  if (windowClass) {
    HWND window = WaitForWindowOf(info, windowClass);
    end = Now(frequency);
    reached = window != nullptr;
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    reached = WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
    end = Now(frequency);
  }
  if (WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0) {
    fprintf(stderr, "the program did not end within 60 s\n");
    TerminateProcess(info.hProcess, 1);
    reached = false;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return reached ? end - start : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: startup_timer ROUNDS [--window CLASS] \"command line\" ...\n");
    return 2;
  }
  int rounds = atoi(argv[1]);
  if (rounds < 1) rounds = 1;
  int first = 2;
  const char* windowClass = nullptr;
  if (argc > 4 && strcmp(argv[2], "--window") == 0) {
    windowClass = argv[3];
    first = 4;
  }
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  std::vector<std::string> commands(argv + first, argv + argc);
  std::vector<std::vector<double>> times(commands.size());
  for (size_t i = 0; i < commands.size(); i++)
    TimeOnce(commands[i], windowClass, frequency);  // warm-up
  for (int r = 0; r < rounds; r++) {
    for (size_t k = 0; k < commands.size(); k++) {
      size_t i = r % 2 ? commands.size() - 1 - k : k;
      double ms = TimeOnce(commands[i], windowClass, frequency);
      if (ms < 0) {
        fprintf(stderr, "cannot run: %s\n", commands[i].c_str());
        return 1;
      }
      times[i].push_back(ms);
    }
  }

  printf("%-56s %9s %6s %9s %6s %9s\n", "command", "median ms", "ratio", "min ms", "ratio",
         "max ms");
  double medianLimit = 0, minLimit = 0;
  for (size_t i = 0; i < commands.size(); i++) {
    std::vector<double>& t = times[i];
    std::sort(t.begin(), t.end());
    double median = t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
    if (i == 0) {
      medianLimit = median;
      minLimit = t.front();
    }
    std::string shown = commands[i];
    if (shown.size() > 56) shown = "..." + shown.substr(shown.size() - 53);
    printf("%-56s %9.1f %5.2fx %9.1f %5.2fx %9.1f\n", shown.c_str(), median,
           medianLimit > 0 ? median / medianLimit : 0.0, t.front(),
           minLimit > 0 ? t.front() / minLimit : 0.0, t.back());
  }
  printf("%d rounds, commands started in turn, order reversed every other round; times %s\n",
         rounds, windowClass ? "to the first visible window" : "to the end of the process");
  return 0;
}
