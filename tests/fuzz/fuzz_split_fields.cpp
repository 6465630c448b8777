// SplitFields on any text, delimiter and max (first byte the delimiter,
// second the max as a signed number, the rest the text): at most max
// tokens and a null, each pointing into the text at the place and with the
// length an independent reading gives, and the text changed only where a
// token was ended.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "text.h"

namespace {

struct Token {
  size_t start;  // offset of the first character
  size_t end;    // offset of the terminator that was overwritten, or the text's end
};

std::vector<Token> Reference(const std::string& text, char delimiter, int max) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (static_cast<int>(tokens.size()) < max) {
    i = text.find_first_not_of(' ', i);
    if (i == std::string::npos) break;
    char terminator = delimiter;
    if (text[i] == '"') {
      terminator = '"';
      i++;
    }
    // A zero delimiter never occurs inside the text: the token runs to its end.
    size_t end = terminator ? text.find(terminator, i) : std::string::npos;
    if (end == std::string::npos) end = text.size();
    tokens.push_back({i, end});
    i = end < text.size() ? end + 1 : end;
  }
  return tokens;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  char delimiter = static_cast<char>(data[0]);
  int max = static_cast<int8_t>(data[1]);
  std::string text = AsText(data + 2, size - 2);
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  char* const first = buffer.data();
  char* const last = first + buffer.size();

  std::vector<char*> tokens(max > 0 ? max + 1 : 1, nullptr);
  int count = SplitFields(delimiter, first, max, tokens.data());
  FUZZ_CHECK(count >= 0 && count <= (max > 0 ? max : 0), "count %d for max %d", count, max);
  FUZZ_CHECK(tokens[count] == nullptr, "no null after %d tokens", count);

  std::vector<Token> expected = Reference(text, delimiter, max);
  FUZZ_CHECK(static_cast<int>(expected.size()) == count, "count %d, expected %zu", count,
             expected.size());
  std::string changed = text;
  for (int i = 0; i < count; i++) {
    char* token = tokens[i];
    FUZZ_CHECK(token >= first && token < last, "token %d outside the text", i);
    size_t start = token - first, end = start + strlen(token);
    FUZZ_CHECK(start == expected[i].start && end == expected[i].end,
               "token %d at %zu..%zu, expected %zu..%zu", i, start, end, expected[i].start,
               expected[i].end);
    if (end < text.size()) changed[end] = '\0';
  }
  FUZZ_CHECK(memcmp(first, changed.data(), text.size()) == 0,
             "the text changed outside the token ends");
  return 0;
}
