// The progress window's feed on any bytes, however they arrive: the
// input's first byte says where the bytes are cut in two (as two reads of
// a file being written), the rest are the feed. The whole lines must not
// depend on the cut, and every line must parse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "feed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t cut = data[0] % (bytes.size() + 1);
  for (bool atEnd : {false, true}) {
    FeedState whole{};
    std::vector<std::string> once = FeedLines(&whole, bytes, atEnd);
    FeedState parts{};
    std::vector<std::string> twice = FeedLines(&parts, bytes.substr(0, cut), false);
    for (const std::string& line : FeedLines(&parts, bytes.substr(cut), atEnd))
      twice.push_back(line);
    if (once != twice || whole.pending != parts.pending) abort();
    for (const std::string& line : once) {
      FeedCommand command = ParseFeedLine(line);
      if (command.kind == FeedValue && (command.value < 0 || command.value > 100)) abort();
    }
  }
  return 0;
}
