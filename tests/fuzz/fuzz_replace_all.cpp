// ReplaceAll on any text, search and replacement (the input's pieces
// between zero bytes; a missing search or replacement is passed as null)
// against a left-to-right replace over std::string.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "text.h"

namespace {

std::string Reference(const std::string& text, const std::string& search,
                      const std::string& replacement) {
  if (search.empty()) return text;
  std::string result;
  size_t from = 0;
  for (size_t at; (at = text.find(search, from)) != std::string::npos; from = at + search.size())
    result.append(text, from, at - from).append(replacement);
  return result.append(text, from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces;
  for (size_t start = 0; pieces.size() < 3 && start <= size; start += pieces.back().size() + 1)
    pieces.push_back(AsText(data + start, size - start));
  const std::string& text = pieces[0];
  const char* search = pieces.size() > 1 ? pieces[1].c_str() : nullptr;
  const char* replacement = pieces.size() > 2 ? pieces[2].c_str() : nullptr;

  char* result = ReplaceAll(text.c_str(), search, replacement);
  FUZZ_CHECK(result != nullptr, "no result");
  std::string expected = Reference(text, search ? search : "", replacement ? replacement : "");
  FUZZ_CHECK(expected == result, "got [%s], expected [%s]", result, expected.c_str());
  free(result);
  return 0;
}
