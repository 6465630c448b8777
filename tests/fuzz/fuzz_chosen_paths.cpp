// The file dialogs' answer on any bytes, as a buffer of exactly the input's
// size (so that a read past it is caught): the paths are whole exactly when
// the answer's double zero leaves a byte of the buffer to spare, and are
// the folder joined with each name, or the one full path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chosen.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<char> buffer(data, data + size);
  std::string bytes(buffer.begin(), buffer.end());

  // The answer ends at its first empty part: a zero at the start, or the
  // second of the first two zeros in a row.
  size_t end = bytes[0] == '\0' ? 0 : bytes.find(std::string(2, '\0'));
  if (end != 0 && end != std::string::npos) end++;
  bool whole = end != std::string::npos && end + 1 < size;
  std::vector<std::string> parts;
  for (size_t at = 0; whole && at < end; at = bytes.find('\0', at) + 1)
    parts.push_back(bytes.substr(at, bytes.find('\0', at) - at));

  std::vector<std::string> paths{"not cleared"};
  bool taken = ChosenPaths(buffer.data(), size, &paths);
  FUZZ_CHECK(taken == whole, "taken %d, whole %d, end %zu of %zu", taken, whole, end, size);
  if (parts.empty()) {
    FUZZ_CHECK(paths.empty(), "%zu paths from a cut or empty answer", paths.size());
  } else if (parts.size() == 1) {
    FUZZ_CHECK(paths == parts, "one file: %zu paths", paths.size());
  } else {
    FUZZ_CHECK(paths.size() + 1 == parts.size(), "%zu paths of %zu parts", paths.size(),
               parts.size());
    std::string slash = parts[0].back() == '\\' ? "" : "\\";
    for (size_t i = 0; i < paths.size(); i++)
      FUZZ_CHECK(paths[i] == parts[0] + slash + parts[i + 1], "path %zu", i);
  }

  std::string path = "not cleared";
  size_t length = strnlen(buffer.data(), size);
  bool one = ChosenPath(buffer.data(), size, &path);
  FUZZ_CHECK(one == (length + 1 < size), "one path taken %d with length %zu of %zu", one, length,
             size);
  FUZZ_CHECK(!one || path == bytes.substr(0, length), "the one path");
  return 0;
}
