// The progress window's feed on any bytes, however they arrive. The
// input's first byte says where the bytes are cut in two (as two reads of
// a file being written): its low seven bits count bytes from the start,
// or with its high bit set from the end. When its second byte is below 8,
// its third (an LF becomes x) is repeated about FeedLineMax times at the
// place its fourth names, so that lines at and over the limit come up. The
// rest are the feed. Fed whole, in two parts, and a byte at a time (from
// just before the end of that long run), the feed must give the same
// lines, notes and held-back bytes; what is held back must stay within its
// bound after every call; and every line must parse.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "feed.h"

namespace {

struct Fed {
  std::vector<std::string> lines;
  FeedState state;
};

// The feed given in pieces that end at the cuts (in order); the last
// call says whether the input has ended.
Fed Feed(const std::string& bytes, const std::vector<size_t>& cuts, bool atEnd) {
  Fed fed{};
  size_t from = 0;
  for (size_t i = 0; i <= cuts.size(); i++) {
    size_t to = i < cuts.size() ? cuts[i] : bytes.size();
    for (std::string& line :
         FeedLines(&fed.state, bytes.substr(from, to - from), atEnd && i == cuts.size()))
      fed.lines.push_back(std::move(line));
    if (fed.state.pending.size() > FeedLineMax + 1) abort();
    from = to;
  }
  return fed;
}

bool Same(const Fed& a, const Fed& b) {
  return a.lines == b.lines && a.state.notes == b.state.notes &&
         a.state.pending == b.state.pending && a.state.dropping == b.state.dropping;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  std::string bytes(reinterpret_cast<const char*>(data + 4), size - 4);
  size_t slow = 0;  // where the feed starts to come a byte at a time
  if (data[1] < 8) {
    size_t where = data[3] % (bytes.size() + 1), length = FeedLineMax - 4 + data[1];
    bytes.insert(where, length, data[2] == '\n' ? 'x' : static_cast<char>(data[2]));
    slow = where + length - 2;
  }
  size_t back = data[0] & 0x7F, cut = std::min(back, bytes.size());
  if (data[0] & 0x80) cut = bytes.size() - cut;
  std::vector<size_t> bytewise;
  for (size_t at = slow; at < bytes.size(); at++) bytewise.push_back(at);
  for (bool atEnd : {false, true}) {
    Fed whole = Feed(bytes, {}, atEnd);
    if (!Same(whole, Feed(bytes, {cut}, atEnd)) || !Same(whole, Feed(bytes, bytewise, atEnd)))
      abort();
    // Without a UTF-16 mark each LF ends a line, taken or dropped (the
    // one being dropped has its note already); none is dropped from a
    // feed shorter than the limit.
    bool utf16 = bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
    size_t ends = std::count(bytes.begin(), bytes.end(), '\n');
    if (!utf16 && !atEnd &&
        whole.lines.size() + whole.state.notes.size() != ends + whole.state.dropping)
      abort();
    if (!utf16 && bytes.size() <= FeedLineMax && !whole.state.notes.empty()) abort();
    for (const std::string& line : whole.lines) {
      FeedCommand command = ParseFeedLine(line);
      if (command.kind == FeedValue && (command.value < 0 || command.value > 100)) abort();
    }
  }
  return 0;
}
