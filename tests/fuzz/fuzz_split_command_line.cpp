// SplitCommandLine on any bytes with any max: the count never exceeds max,
// the vector ends in null, and every entry equals what an independent
// reading of the splitting rules gives.
#include <cstdlib>
#include <string>
#include <vector>

#include "cmdline.h"
#include "fuzz_support.h"

namespace {

// The rules once more, written as a state machine over the whole text.
std::vector<std::string> Reference(const std::string& text, int max) {
  std::vector<std::string> entries;
  if (max <= 0) return entries;
  enum { Between, Plain, Quoted } state = Between;
  std::string entry;
  auto isSeparator = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  for (size_t i = 0; i < text.size() && static_cast<int>(entries.size()) < max; i++) {
    char c = text[i];
    if (state == Between) {
      if (isSeparator(c)) continue;
      entry.clear();
      if (c == '"') {
        state = Quoted;
      } else {
        entry += c;
        state = Plain;
      }
    } else if (state == Plain) {
      if (isSeparator(c)) {
        entries.push_back(entry);
        state = Between;
      } else {
        entry += c;
      }
    } else if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      entry += '"';
      i++;
    } else if (c == '"') {
      entries.push_back(entry);
      state = Between;
    } else {
      entry += c;
    }
  }
  if (state != Between && static_cast<int>(entries.size()) < max) entries.push_back(entry);
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int max = static_cast<int8_t>(data[0]);
  std::string text = AsText(data + 1, size - 1);
  std::vector<char*> entries(max > 0 ? max + 1 : 1, nullptr);
  int count = SplitCommandLine(text.c_str(), max, entries.data());
  FUZZ_CHECK(count >= 0 && count <= (max > 0 ? max : 0), "count %d for max %d", count, max);
  FUZZ_CHECK(entries[count] == nullptr, "no null after %d entries", count);
  std::vector<std::string> expected = Reference(text, max);
  FUZZ_CHECK(static_cast<int>(expected.size()) == count, "count %d, expected %zu", count,
             expected.size());
  size_t total = 0;
  for (int i = 0; i < count; i++) {
    FUZZ_CHECK(entries[i] != nullptr, "entry %d is null", i);
    FUZZ_CHECK(expected[i] == entries[i], "entry %d: got \"%s\"", i, entries[i]);
    total += expected[i].size();
    free(entries[i]);
  }
  FUZZ_CHECK(total <= text.size(), "entries longer than the text");
  return 0;
}
