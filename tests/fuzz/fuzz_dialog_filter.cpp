// A -filter= value on any text: the dialog's list is the parts, each ending
// in a zero, and the default extension is the first pattern's, taken only
// from a pattern "*.ext" whose ext has no wildcard.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "chosen.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text = AsText(data, size);
  std::string pairs = "not cleared", extension = "not cleared";
  DialogFilter(text.c_str(), &pairs, &extension);

  std::string expected = text + '\0';
  for (char& c : expected)
    if (c == '|') c = '\0';
  FUZZ_CHECK(pairs == expected, "pairs of %zu bytes, expected %zu", pairs.size(), expected.size());

  // The second part, the first pattern of the first pair, up to its end or ';'.
  size_t bar = text.find('|');
  std::string patterns =
      bar == std::string::npos ? "" : text.substr(bar + 1, text.find('|', bar + 1) - bar - 1);
  std::string first = patterns.substr(0, patterns.find(';'));
  if (!extension.empty()) {
    FUZZ_CHECK(first == "*." + extension, "extension %s of %s", extension.c_str(), first.c_str());
    FUZZ_CHECK(extension.find_first_of("*?;|") == std::string::npos, "extension %s",
               extension.c_str());
  } else {
    bool plain = first.size() > 2 && first.compare(0, 2, "*.") == 0 &&
                 first.find_first_of("*?", 2) == std::string::npos;
    FUZZ_CHECK(bar == std::string::npos || !plain, "no extension from %s", first.c_str());
  }
  return 0;
}
