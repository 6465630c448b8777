#include "test_util.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

// The library leaks on purpose (everything lives until the process ends),
// so leak reports would only be noise.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

// Made before any test runs, since tests change TEMP; removed at exit.
struct Scratch {
  std::filesystem::path dir;
  Scratch() {
    namespace fs = std::filesystem;
    dir = fs::temp_directory_path() / ("quil-unit-" + std::to_string(getpid()));
    fs::create_directories(dir);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
} ScratchDir;

}  // namespace

std::string ScratchPath(const std::string& name) { return (ScratchDir.dir / name).string(); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SetEnvVar(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

void UnsetEnvVar(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  unsetenv(name);
#endif
}

std::vector<char*> MakeArgs(const std::vector<std::string>& texts) {
  std::vector<char*> args;
  for (const std::string& t : texts) args.push_back(strdup(t.c_str()));
  args.push_back(nullptr);
  return args;
}

std::vector<std::string> ArgsOf(int count, char** entries) {
  return std::vector<std::string>(entries, entries + count);
}
