// Times command lines from start to exit, side by side: each round starts
// every command once, in turn, so that drift hits all of them alike.
// Prints the median, the fastest and the slowest run of each, and the ratio
// of each median to the first command's (the limit).
//
//   startup_timer ROUNDS "command line" "command line" ...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now(const LARGE_INTEGER& frequency) {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from CreateProcessA to the end of the process; -1 on failure.
double TimeOnce(const std::string& commandLine, const LARGE_INTEGER& frequency) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  double start = Now(frequency);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return -1;
  DWORD waited = WaitForSingleObject(info.hProcess, 60000);
  double end = Now(frequency);
  if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return waited == WAIT_OBJECT_0 ? end - start : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: startup_timer ROUNDS \"command line\" ...\n");
    return 2;
  }
  int rounds = atoi(argv[1]);
  if (rounds < 1) rounds = 1;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  std::vector<std::string> commands(argv + 2, argv + argc);
  std::vector<std::vector<double>> times(commands.size());
  for (size_t i = 0; i < commands.size(); i++) TimeOnce(commands[i], frequency);  // warm-up
  for (int r = 0; r < rounds; r++) {
    for (size_t i = 0; i < commands.size(); i++) {
      double ms = TimeOnce(commands[i], frequency);
      if (ms < 0) {
        fprintf(stderr, "cannot run: %s\n", commands[i].c_str());
        return 1;
      }
      times[i].push_back(ms);
    }
  }

  printf("%-60s %9s %9s %9s %7s\n", "command", "median ms", "min ms", "max ms", "ratio");
  double limit = 0;
  for (size_t i = 0; i < commands.size(); i++) {
    std::vector<double>& t = times[i];
    std::sort(t.begin(), t.end());
    double median = t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
    if (i == 0) limit = median;
    std::string shown = commands[i];
    if (shown.size() > 60) shown = "..." + shown.substr(shown.size() - 57);
    printf("%-60s %9.1f %9.1f %9.1f %6.2fx\n", shown.c_str(), median, t.front(), t.back(),
           limit > 0 ? median / limit : 0.0);
  }
  printf("%d rounds, commands started in turn within each round\n", rounds);
  return 0;
}
