// ReadSetting on any file, name and buffer size (the input's first line is
// the name, the next two bytes give a size from 1 to 300, the rest is the
// file): the value of the first line that matches, read from the line as
// cut to the buffer, pointing into the buffer at the place an independent
// reading gives; null when no line matches.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "files.h"
#include "fuzz_support.h"

namespace {

constexpr int SizeMax = 300;

struct Found {
  bool found = false;
  size_t offset = 0;  // of the value in the buffer
  std::string value;
};

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

Found Reference(const std::string& content, const std::string& name, int size) {
  Found result;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    std::string line = content.substr(start, end == std::string::npos ? end : end - start);
    start = end == std::string::npos ? content.size() : end + 1;
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    // What the buffer holds of the line.
    line = std::string(line.c_str()).substr(0, size - 1);
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    size_t equals = line.find('=', first);
    if (equals == std::string::npos) continue;
    std::string lineName = WithoutTrailingBlanks(line.substr(first, equals - first));
    if (lineName == "*" || SameNoCase(lineName, name)) {
      result.found = true;
      result.offset = equals + 1;
      result.value = WithoutTrailingBlanks(line.substr(equals + 1));
      return result;
    }
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  if (newline == std::string::npos || size - newline < 3) return 0;
  std::string name = input.substr(0, newline).c_str();
  int bufferSize = 1 + ((data[newline + 1] << 8) | data[newline + 2]) % SizeMax;
  std::string content = input.substr(newline + 3);
  std::string path = WriteScratchFile("settings.ini", data + newline + 3, content.size());

  std::unique_ptr<char[]> buffer(new char[bufferSize]);
  char* value = ReadSetting(path.c_str(), name.c_str(), bufferSize, buffer.get());
  Found expected = Reference(content, name, bufferSize);
  if (!expected.found) {
    FUZZ_CHECK(value == nullptr, "found [%s] where no line matches", value);
    return 0;
  }
  FUZZ_CHECK(value != nullptr, "nothing found, expected [%s]", expected.value.c_str());
  FUZZ_CHECK(value >= buffer.get() && value < buffer.get() + bufferSize,
             "the value is outside the buffer");
  FUZZ_CHECK(
      static_cast<size_t>(value - buffer.get()) == expected.offset && expected.value == value,
      "got [%s] at %td, expected [%s] at %zu", value, value - buffer.get(), expected.value.c_str(),
      expected.offset);
  return 0;
}
