// LoadLines on any file and section (the input's first line names the
// section, the rest is the file): the lines after the section's header up
// to the first blank line, as an independent reading of the file finds
// them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files.h"
#include "fuzz_support.h"
#include "text.h"

namespace {

// The header buffer holds a section name of up to 253 characters; longer
// names are not tried.
constexpr size_t SectionMax = 253;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& line, const std::string& prefix) {
  if (line.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); i++) {
    if (Lower(line[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

std::vector<std::string> Reference(const std::string& content, const std::string& section) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    std::string line = content.substr(start, end == std::string::npos ? end : end - start);
    if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line.c_str());
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::vector<std::string> found;
  size_t i = 0;
  while (i < lines.size() && !StartsWithNoCase(lines[i], "[" + section + "]")) i++;
  for (i++; i < lines.size(); i++) {
    if (lines[i].find_first_not_of(" \t") == std::string::npos) break;
    found.push_back(lines[i]);
  }
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t newline = input.find('\n');
  std::string section = input.substr(0, newline).c_str();
  if (section.size() > SectionMax) return 0;

  std::string content = newline == std::string::npos ? "" : input.substr(newline + 1);
  std::string path = WriteScratchFile("lines.ini", reinterpret_cast<const uint8_t*>(content.data()),
                                      content.size());
  StrList lines = nullptr;
  int count = LoadLines(path.c_str(), section.c_str(), &lines);
  FUZZ_CHECK(lines != nullptr, "no list");
  FUZZ_CHECK(count == ListCount(lines), "count %d, list of %d", count, ListCount(lines));
  std::vector<std::string> expected = Reference(content, section);
  FUZZ_CHECK(static_cast<size_t>(count) == expected.size(), "count %d, expected %zu", count,
             expected.size());
  for (int i = 0; i < count; i++) {
    FUZZ_CHECK(!IsBlank(lines[i]), "line %d is blank", i);
    FUZZ_CHECK(expected[i] == lines[i], "line %d: got [%s], expected [%s]", i, lines[i],
               expected[i].c_str());
  }
  ListFree(lines);
  return 0;
}
