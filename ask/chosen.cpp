// The file dialogs' file types and answers as plain text.
#include "chosen.h"

#include <cstdlib>
#include <cstring>

#include "ask.h"
#include "frame.h"

void DialogFilter(const char* filter, std::string* pairs, std::string* extension) {
  pairs->clear();
  extension->clear();
  std::vector<std::string> parts = SplitBars(filter);
  for (const std::string& part : parts) *pairs += part + '\0';
  if (parts.size() < 2) return;
  std::string first = parts[1].substr(0, parts[1].find(';'));
  if (first.rfind("*.", 0) == 0 && first.find_first_of("*?", 2) == std::string::npos)
    *extension = first.substr(2);
}

bool ChosenPath(const char* answer, size_t size, std::string* path) {
  size_t length = strnlen(answer, size);
  if (length + 1 >= size) return false;
  path->assign(answer, length);
  return true;
}

bool ChosenPaths(const char* answer, size_t size, std::vector<std::string>* paths) {
  paths->clear();
  // Each part runs to its zero; the answer ends at an empty part. Parts
  // are found within the buffer only, and the end must leave a byte spare.
  std::vector<std::string> parts;
  size_t at = 0;
  while (at < size && answer[at]) {
    size_t length = strnlen(answer + at, size - at);
    parts.emplace_back(answer + at, length);
    at += length + 1;
  }
  if (at + 1 >= size) return false;
  if (parts.size() == 1) *paths = parts;
  for (size_t i = 1; i < parts.size(); i++) {
    char* path = PathJoin(parts[0].c_str(), parts[i].c_str());
    paths->push_back(path);
    free(path);
  }
  return true;
}
