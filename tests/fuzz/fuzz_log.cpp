// Log, LogLine and LogHexDump with any message and bytes (the first input
// byte is the dump's count, then the message up to a zero byte, then the
// bytes): after each call the log file has grown by exactly the expected
// entry, a Log entry being an optional date header, "HH:MM:SS", a blank and
// the message, cut so that the whole entry stays within LogLineMax
// characters. Messages may hold '%' and line feeds.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "log.h"

namespace {

constexpr size_t ClockLength = 8;  // HH:MM:SS

std::string ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsClock(const std::string& text, size_t at) {
  if (text.size() < at + ClockLength) return false;
  const char* c = text.c_str() + at;
  return IsDigit(c[0]) && IsDigit(c[1]) && c[2] == ':' && IsDigit(c[3]) && IsDigit(c[4]) &&
         c[5] == ':' && IsDigit(c[6]) && IsDigit(c[7]);
}

// Reads what the file has gained since the last call.
class LogReader {
 public:
  explicit LogReader(const std::string& path) : path_(path) {}

  std::string Gained() {
    std::string all = ReadBack(path_);
    FUZZ_CHECK(all.size() >= seen_, "the log shrank");
    std::string gained = all.substr(seen_);
    seen_ = all.size();
    return gained;
  }

 private:
  std::string path_;
  size_t seen_ = 0;
};

// Takes one Log entry of a message of the given length from text[*at]
// into *message and moves past it: the date header (required for the first
// entry after SetLogPath, allowed before any other when the date has
// changed), the clock, a blank, the message and its line end. Returns false
// when something else is there.
bool TakeEntry(const std::string& text, size_t* at, bool headerRequired, size_t length,
               std::string* message) {
  size_t p = *at;
  if (text.compare(p, 4, "*\n* ") == 0) {
    size_t dateEnd = text.find('\n', p + 4);
    if (dateEnd == std::string::npos || dateEnd == p + 4) return false;
    if (text.compare(dateEnd, 3, "\n*\n") != 0) return false;
    p = dateEnd + 3;
  } else if (headerRequired) {
    return false;
  }
  if (!IsClock(text, p) || text.compare(p + ClockLength, 1, " ") != 0) return false;
  p += ClockLength + 1;
  if (text.size() < p + length + 1 || text[p + length] != '\n') return false;
  *message = text.substr(p, length);
  *at = p + length + 1;
  return true;
}

// The message of a Log entry as it lands in the file.
std::string EntryMessage(const std::string& message) {
  return message.substr(0, LogLineMax - ClockLength - 1);
}

// Checks one hex dump line of count bytes: each byte in upper-case hex and
// a blank, padded with blanks to 16 bytes, then one printable character per
// byte, the byte itself when it is printable ASCII.
bool IsDumpLine(const std::string& line, const unsigned char* bytes, size_t count) {
  for (size_t k = 0; k < 16; k++) {
    char cell[4] = "   ";
    if (k < count) snprintf(cell, sizeof cell, "%02X ", bytes[k]);
    if (line.compare(k * 3, 3, cell) != 0) return false;
  }
  for (size_t k = 0; k < count; k++) {
    char shown = line[48 + k];
    if (shown < 32 || shown > 126) return false;
    if (bytes[k] >= 32 && bytes[k] <= 126 && shown != static_cast<char>(bytes[k])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int count = static_cast<int8_t>(data[0]);
  std::string message = AsText(data + 1, size - 1);
  size_t dumpStart = std::min(size, 1 + message.size() + 1);
  const unsigned char* dump = data + dumpStart;
  size_t available = size - dumpStart;
  if (count > 0 && static_cast<size_t>(count) > available) count = static_cast<int>(available);

  static const std::string path = WriteScratchFile("fuzz.log", nullptr, 0);
  WriteScratchFile("fuzz.log", nullptr, 0);
  SetLogPath(path.c_str());
  LogReader reader(path);

  Log("%s", message.c_str());
  std::string gained = reader.Gained();
  std::string expected = EntryMessage(message), entry;
  size_t at = 0;
  FUZZ_CHECK(TakeEntry(gained, &at, true, expected.size(), &entry) && entry == expected &&
                 at == gained.size(),
             "Log wrote [%s]", gained.c_str());

  LogLine("%s", message.c_str());
  gained = reader.Gained();
  FUZZ_CHECK(gained == message.substr(0, LogLineMax) + "\n", "LogLine wrote [%s]", gained.c_str());

  LogHexDump(message.c_str(), count, dump);
  gained = reader.Gained();
  at = 0;
  FUZZ_CHECK(TakeEntry(gained, &at, false, expected.size(), &entry) && entry == expected,
             "the dump's title is [%s]", gained.c_str());
  for (int start = 0; start < count; start += 16) {
    size_t n = std::min(16, count - start);
    FUZZ_CHECK(TakeEntry(gained, &at, false, 16 * 3 + n, &entry), "no dump line for byte %d: [%s]",
               start, gained.c_str() + at);
    FUZZ_CHECK(IsDumpLine(entry, dump + start, n), "dump line for byte %d: [%s]", start,
               entry.c_str());
  }
  FUZZ_CHECK(at == gained.size(), "more after the dump: [%s]", gained.c_str() + at);

  // Whatever the messages, no line of the file is longer than LogLineMax.
  std::string all = ReadBack(path);
  for (size_t start = 0, end; start < all.size(); start = end + 1) {
    end = all.find('\n', start);
    FUZZ_CHECK(end != std::string::npos, "the log does not end with a line end");
    FUZZ_CHECK(end - start <= static_cast<size_t>(LogLineMax), "a line of %zu characters",
               end - start);
  }
  return 0;
}
