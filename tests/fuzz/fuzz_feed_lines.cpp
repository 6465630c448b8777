// The progress window's feed on any bytes, however they arrive. The
// input's first byte says where the bytes are cut in two (as two reads of
// a file being written; with its high bit set, counted from the end); when
// its second is below 8, its third (an LF taken as x) is repeated about
// FeedLineMax times where its fourth says; the rest are the feed. Whole,
// in two parts and a byte at a time (after most of that long run) it must
// give the same lines, notes and held-back bytes, never hold more than its
// bound, and every line must parse.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "feed.h"

namespace {

struct Fed {
  std::vector<std::string> lines;
  FeedState state;
  bool operator==(const Fed& o) const {
    return lines == o.lines && state.notes == o.state.notes && state.pending == o.state.pending &&
           state.dropping == o.state.dropping;
  }
};

// The feed given in pieces that end at the cuts (in order).
Fed Feed(const std::string& bytes, const std::vector<size_t>& cuts, bool atEnd) {
  Fed fed{};
  size_t from = 0;
  for (size_t i = 0; i <= cuts.size(); i++) {
    size_t to = i < cuts.size() ? cuts[i] : bytes.size();
    std::vector<std::string> lines =
        FeedLines(&fed.state, bytes.substr(from, to - from), atEnd && i == cuts.size());
    fed.lines.insert(fed.lines.end(), lines.begin(), lines.end());
    if (fed.state.pending.size() > FeedLineMax + 1) abort();
    from = to;
  }
  return fed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  std::string bytes(reinterpret_cast<const char*>(data + 4), size - 4);
  size_t slow = 0, where = data[3] % (bytes.size() + 1), length = FeedLineMax - 4 + data[1];
  if (data[1] < 8) bytes.insert(where, length, data[2] == '\n' ? 'x' : static_cast<char>(data[2]));
  if (data[1] < 8) slow = where + length - 2;
  size_t back = std::min<size_t>(data[0] & 0x7F, bytes.size());
  size_t cut = data[0] & 0x80 ? bytes.size() - back : back;
  std::vector<size_t> bytewise;
  for (size_t at = slow; at < bytes.size(); at++) bytewise.push_back(at);
  for (bool atEnd : {false, true}) {
    Fed whole = Feed(bytes, {}, atEnd);
    if (!(whole == Feed(bytes, {cut}, atEnd)) || !(whole == Feed(bytes, bytewise, atEnd))) abort();
    for (const std::string& line : whole.lines) {
      FeedCommand command = ParseFeedLine(line);
      if (command.kind == FeedValue && (command.value < 0 || command.value > 100)) abort();
    }
  }
  return 0;
}
