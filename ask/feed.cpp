// The progress window's feed: bytes into whole lines, lines into commands.
#include "feed.h"

#include "cmdline.h"
#include "unicode.h"

namespace {

const char* const Marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};

// Where the first line feed of bytes (from `from`) ends, just past it; npos
// for none. In UTF-16 a line feed is a whole unit: 0A 00, or 00 0A.
size_t LineEnd(const std::string& mark, const std::string& bytes, size_t from) {
  if (mark.size() != 2) {
    size_t at = bytes.find('\n', from);
    return at == std::string::npos ? at : at + 1;
  }
  bool little = mark[0] == '\xFF';
  for (size_t at = from; at + 1 < bytes.size(); at += 2) {
    if (bytes[at + (little ? 0 : 1)] == '\n' && bytes[at + (little ? 1 : 0)] == '\0') return at + 2;
  }
  return std::string::npos;
}

// One line's bytes as text: decoded after the feed's mark, as they are
// without one.
std::string LineText(const std::string& mark, const std::string& bytes) {
  return mark.empty() ? bytes : DecodeMarkedText(mark + bytes);
}

}  // namespace

std::vector<std::string> FeedLines(FeedState* state, const std::string& bytes, bool atEnd) {
  std::vector<std::string> lines;
  state->pending += bytes;
  if (!state->started) {
    // A mark may arrive a byte at a time: wait until it is whole, or
    // cannot be one.
    for (const char* mark : Marks) {
      std::string m = mark;
      if (state->pending.compare(0, m.size(), m) == 0) {
        state->mark = m;
        state->pending.erase(0, m.size());
        break;
      }
      if (!atEnd && state->pending.size() < m.size() &&
          m.compare(0, state->pending.size(), state->pending) == 0)
        return lines;
    }
    state->started = true;
  }
  size_t from = 0;
  for (size_t end; (end = LineEnd(state->mark, state->pending, from)) != std::string::npos;
       from = end) {
    size_t length = end - from - (state->mark.size() == 2 ? 2 : 1);
    lines.push_back(LineText(state->mark, state->pending.substr(from, length)));
  }
  state->pending.erase(0, from);
  if (atEnd && !state->pending.empty()) {
    lines.push_back(LineText(state->mark, state->pending));
    state->pending.clear();
  }
  return lines;
}

void FeedRestart(FeedState* state) { *state = FeedState{}; }

FeedCommand ParseFeedLine(const std::string& line) {
  std::string text = line;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.pop_back();
  if (!text.empty() && text[0] == '#') return {FeedText, 0, text.substr(1)};
  if (CompareNoCase(text.c_str(), "pulsate") == 0) return {FeedPulsate, 0, ""};
  if (CompareNoCase(text.c_str(), "close") == 0) return {FeedClose, 0, ""};
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > 100) return {FeedIgnored, 0, ""};
    value = value * 10 + (c - '0');
  }
  if (text.empty() || value > 100) return {FeedIgnored, 0, ""};
  return {FeedValue, value, ""};
}
