// FindSetting on any key and lines (the input's lines, the first one the
// key): the value behind "key=" on the first line that has it, past blanks
// and tabs, pointing into that line where an independent reading finds it;
// null when no line has it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files.h"
#include "fuzz_support.h"

namespace {

struct Found {
  int line = -1;  // -1 when none matches
  size_t offset = 0;
};

Found Reference(const std::string& key, const std::vector<std::string>& lines) {
  Found result;
  for (size_t i = 0; i < lines.size(); i++) {
    const std::string& line = lines[i];
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string head = line.substr(first, key.size() + 1);
    if (head.size() == key.size() + 1 && head.back() == '=' &&
        SameNoCase(head.substr(0, key.size()), key)) {
      result.line = static_cast<int>(i);
      size_t value = first + key.size() + 1;
      result.offset = std::min(line.find_first_not_of(" \t", value), line.size());
      return result;
    }
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> pieces;
  for (size_t start = 0;;) {
    size_t end = input.find('\n', start);
    pieces.push_back(input.substr(start, end == std::string::npos ? end : end - start).c_str());
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::string key = AsText(data, size);
  key.erase(std::min(key.find('\n'), key.size()));
  std::vector<std::string> texts(pieces.begin() + 1, pieces.end());
  // Each line in its own block of its exact size, so that reading past its
  // end is caught.
  std::vector<char*> lines;
  for (const std::string& text : texts) {
    lines.push_back(static_cast<char*>(malloc(text.size() + 1)));
    memcpy(lines.back(), text.c_str(), text.size() + 1);
  }

  char* value = FindSetting(key.c_str(), static_cast<int>(lines.size()), lines.data());
  Found expected = Reference(key, texts);
  if (expected.line < 0) {
    FUZZ_CHECK(value == nullptr, "found [%s] where no line matches", value);
  } else {
    const char* line = lines[expected.line];
    FUZZ_CHECK(value == line + expected.offset, "got [%s], expected line %d from offset %zu",
               value ? value : "(null)", expected.line, expected.offset);
  }
  for (char* line : lines) free(line);
  return 0;
}
