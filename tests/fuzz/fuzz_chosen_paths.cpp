// The file dialogs' answer on any bytes, in a buffer of exactly the input's
// size (a read past it is caught): whole exactly when its end (the first
// empty part) leaves a byte to spare; then the folder joined with each
// name, or the one full path.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "chosen.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<char> buffer(data, data + size);
  std::string bytes(buffer.begin(), buffer.end());
  size_t pair = bytes.find(std::string(2, '\0'));
  size_t end = bytes[0] == '\0' ? 0 : pair == std::string::npos ? size : pair + 1;
  bool whole = end + 1 < size;
  std::vector<std::string> parts, paths;
  for (size_t at = 0; whole && at < end; at = bytes.find('\0', at) + 1)
    parts.push_back(bytes.substr(at, bytes.find('\0', at) - at));
  if (parts.size() == 1) paths = parts;
  for (size_t i = 1; i < parts.size(); i++)
    paths.push_back(parts[0] + (parts[0].back() == '\\' ? "" : "\\") + parts[i]);

  std::vector<std::string> taken{"not cleared"};
  FUZZ_CHECK(ChosenPaths(buffer.data(), size, &taken) == whole, "whole %d, end %zu", whole, end);
  FUZZ_CHECK(taken == paths, "%zu paths, expected %zu", taken.size(), paths.size());
  std::string path;
  size_t length = strnlen(buffer.data(), size);
  FUZZ_CHECK(ChosenPath(buffer.data(), size, &path) == (length + 1 < size), "length %zu", length);
  return 0;
}
