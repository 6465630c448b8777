// Helpers shared by the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The input as text: everything up to the first zero byte, as the C-string
// routines see it.
std::string AsText(const uint8_t* data, size_t size);

// A scratch file of this process holding the given bytes; returns its path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

// Whether the two texts are equal without regard to case (the reference
// readings' own comparison, independent of the library's).
bool SameNoCase(const std::string& a, const std::string& b);

// Aborts with a message when a property does not hold (a finding).
#define FUZZ_CHECK(condition, ...)                                                     \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      fprintf(stderr, "%s:%d: property failed: %s: ", __FILE__, __LINE__, #condition); \
      fprintf(stderr, __VA_ARGS__);                                                    \
      fprintf(stderr, "\n");                                                           \
      abort();                                                                         \
    }                                                                                  \
  } while (0)
