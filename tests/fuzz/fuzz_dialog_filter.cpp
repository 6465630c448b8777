// A -filter= value on any text: the dialog's list is the parts, each ending
// in a zero; the default extension is the first pattern's, from a pattern
// "*.ext" whose ext has no wildcard, and nothing else.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "chosen.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = AsText(data, size), pairs = "x", extension = "x";
  DialogFilter(text.c_str(), &pairs, &extension);
  std::string expected = text + '\0';
  for (char& c : expected)
    if (c == '|') c = '\0';
  FUZZ_CHECK(pairs == expected, "pairs of %zu bytes, expected %zu", pairs.size(), expected.size());
  size_t bar = text.find('|');
  std::string patterns = bar == std::string::npos ? "" : text.substr(bar + 1);
  std::string first = patterns.substr(0, patterns.find_first_of("|;"));
  bool plain = first.size() > 2 && first.compare(0, 2, "*.") == 0 &&
               first.find_first_of("*?", 2) == std::string::npos;
  FUZZ_CHECK(extension == (plain ? first.substr(2) : ""), "%s from %s", extension.c_str(),
             first.c_str());
  return 0;
}
