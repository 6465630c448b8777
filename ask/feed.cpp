// The progress window's feed: bytes into whole lines, lines into commands.
#include "feed.h"

#include <cstring>
#include <utility>

#include "cmdline.h"
#include "unicode.h"

namespace {

const char* const Marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};

// How a line ended: at a line feed byte (a feed of single bytes, or an
// ANSI CR LF in a UTF-16 feed), at a UTF-16 line feed, or with the input.
enum LineEnd { ByteEnd, UnitEnd, InputEnd };

void NoteLongLine(FeedState* state) {
  state->notes.push_back("Dropped a feed line of more than " + std::to_string(FeedLineMax) +
                         " bytes");
}

// Whether the line being read so far ends in c.
bool HeldEndsIn(const FeedState* state, char c) {
  return !state->pending.empty() && state->pending.back() == c;
}

// Adds n bytes to the line being read. Once the line is longer than
// FeedLineMax plus the one byte that may begin its line end, it is being
// dropped: only its last byte is kept, which tells its end.
void Take(FeedState* state, const char* bytes, size_t n) {
  if (n == 0) return;
  if (!state->dropping && state->pending.size() + n <= FeedLineMax + 1) {
    state->pending.append(bytes, n);
    return;
  }
  if (!state->dropping) NoteLongLine(state);
  state->dropping = true;
  state->pending.assign(1, bytes[n - 1]);
}

// One line's bytes as text: decoded after the feed's mark, as they are
// without one. In a UTF-16 feed a line that ended in an ANSI CR LF is ANSI
// text as it is; any other is decoded as UTF-16, and a byte left over from
// whole units is dropped: the first one of a line that ended in a UTF-16
// line feed (which shows where its units lie), else the last one, a cut
// unit.
std::string LineText(FeedState* state, std::string bytes, LineEnd end) {
  if (state->mark.empty() || (state->mark.size() == 2 && end == ByteEnd)) return bytes;
  if (state->mark.size() == 2 && bytes.size() % 2 != 0) {
    state->notes.push_back("Dropped 1 byte of the feed that is not UTF-16 text");
    bytes.erase(end == UnitEnd ? 0 : bytes.size() - 1, 1);
  }
  return DecodeMarkedText(state->mark + bytes);
}

// The line being read has ended; the first `length` bytes held are its
// own (the rest began its line end).
void EndLine(FeedState* state, size_t length, LineEnd end, std::vector<std::string>* lines) {
  if (!state->dropping) {
    if (length > FeedLineMax)
      NoteLongLine(state);
    else
      lines->push_back(LineText(state, state->pending.substr(0, length), end));
  }
  state->pending.clear();
  state->dropping = false;
}

// Reads n bytes after the mark into lines. Without a mark or after UTF-8's
// a line ends at each LF. A UTF-16 feed may get bytes that are not in step
// with its units: PowerShell makes it, then ">>feed echo 5" appends the
// ANSI bytes 35 0D 0A, and every later UTF-16 line starts at an odd offset
// (and the window may start reading anywhere). So a line ends where its
// bytes end in an ANSI CR LF (0D 0A: the CR stays on the line), or in the
// unit 000A at either offset (0A 00 little-endian, 00 0A big-endian);
// UTF-16's own CR LF (0D 00 0A 00) is the second kind, so UTF-16 lines and
// ANSI lines may follow each other in any order and each comes through.
// The price is a line cut short by the rare pairs of characters whose
// bytes hold one of those ends across the two (little-endian: one of U+0D00
// to U+0DFF before one of U+xx0A, or one of U+0A00 to U+0AFF before one of
// U+xx00); the next line feed puts the feed in step again. An ANSI line
// must end in CR LF, as cmd's echo writes it: a lone LF byte may be half
// of a character.
void ReadLines(FeedState* state, const char* bytes, size_t n, std::vector<std::string>* lines) {
  bool utf16 = state->mark.size() == 2, little = utf16 && state->mark[0] == '\xFF';
  size_t at = 0;
  if (little && n > 0 && bytes[0] == '\0' && HeldEndsIn(state, '\n')) {
    EndLine(state, state->pending.size() - 1, UnitEnd, lines);  // the 00 of 0A 00 came last
    at = 1;
  }
  while (at < n) {
    const void* found = memchr(bytes + at, '\n', n - at);
    size_t stop = found ? static_cast<size_t>(static_cast<const char*>(found) - bytes) : n;
    Take(state, bytes + at, stop - at);
    if (!found) break;
    at = stop + 1;
    if (!utf16 || HeldEndsIn(state, '\r')) {
      EndLine(state, state->pending.size(), ByteEnd, lines);
    } else if (!little && HeldEndsIn(state, '\0')) {
      EndLine(state, state->pending.size() - 1, UnitEnd, lines);
    } else if (little && at < n && bytes[at] == '\0') {
      EndLine(state, state->pending.size(), UnitEnd, lines);
      at++;
    } else {
      Take(state, "\n", 1);  // half of a character, or of a line feed whose 00 is still to come
    }
  }
}

}  // namespace

std::vector<std::string> FeedLines(FeedState* state, const std::string& bytes, bool atEnd) {
  std::vector<std::string> lines;
  size_t from = 0;  // where the feed's text begins in bytes
  if (!state->started) {
    // A mark may arrive a byte at a time: wait until it is whole, or
    // cannot be one. Three bytes tell.
    std::string head = state->pending + bytes.substr(0, 3);
    size_t mark = 0;
    for (const char* m : Marks) {
      size_t length = strlen(m);
      if (head.compare(0, length, m) == 0) {
        state->mark = m;
        mark = length;
        break;
      }
      if (!atEnd && head.size() < length && head.compare(0, head.size(), m, head.size()) == 0) {
        state->pending = head;
        return lines;
      }
    }
    state->started = true;
    std::string held = std::move(state->pending);
    state->pending.clear();
    if (mark < held.size()) ReadLines(state, held.data() + mark, held.size() - mark, &lines);
    from = mark > held.size() ? mark - held.size() : 0;
  }
  ReadLines(state, bytes.data() + from, bytes.size() - from, &lines);
  if (atEnd && (!state->pending.empty() || state->dropping))
    EndLine(state, state->pending.size(), InputEnd, &lines);
  return lines;
}

void FeedRestart(FeedState* state) {
  std::vector<std::string> notes = std::move(state->notes);  // not yet seen by the caller
  *state = FeedState{};
  state->notes = std::move(notes);
}

FeedCommand ParseFeedLine(const std::string& line) {
  size_t first = line.find_first_not_of(" \t");
  std::string text = first == std::string::npos ? "" : line.substr(first);
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
