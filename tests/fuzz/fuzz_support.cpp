#include "fuzz_support.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>

// The library's frame expects a tool: ask's sources, linked into every
// target, give it theirs.

std::string AsText(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  return std::string(bytes, strnlen(bytes, size));
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  std::string path = "/tmp/quil-fuzz-" + std::to_string(getpid()) + "-" + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) abort();
  if (size) fwrite(data, 1, size, f);
  fclose(f);
  return path;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); i++) {
    if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}
