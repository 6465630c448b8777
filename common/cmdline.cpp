// Command-line splitting, switch and option taking, and @file arguments.
#include "cmdline.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "frame.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

char Lower(char c) { return static_cast<char>(tolower(static_cast<unsigned char>(c))); }

// Removes entries[index], shifting the later ones down and keeping the
// vector null-terminated.
void RemoveEntry(int* count, char** entries, int index) {
  for (int i = index; i < *count; i++) entries[i] = entries[i + 1];
  entries[*count - 1] = nullptr;
  --*count;
}

// Reads the entry that starts at text[i]; leaves i after it.
std::string ReadEntry(const char* text, size_t& i) {
  std::string entry;
  if (text[i] != '"') {
    while (text[i] && !IsSpace(text[i])) entry += text[i++];
    return entry;
  }
  i++;
  while (text[i]) {
    if (text[i] == '"') {
      if (text[i + 1] != '"') {
        i++;  // the closing quote; whatever is glued to it starts a new entry
        break;
      }
      i++;  // a doubled quote stands for one
    }
    entry += text[i++];
  }
  return entry;
}

}  // namespace

// --- The argument vector ---

int SplitCommandLine(const char* text, int max, char** entries) {
  if (max <= 0) {
    entries[0] = nullptr;
    return 0;
  }
  int count = 0;
  try {
    size_t i = 0;
    while (count < max) {
      while (IsSpace(text[i])) i++;
      if (!text[i]) break;
      entries[count++] = XStrDup(ReadEntry(text, i).c_str());
    }
  } catch (const std::bad_alloc&) {
    FatalError("out of memory");
  }
  entries[count] = nullptr;
  return count;
}

int TakeSwitch(int* count, char** entries, const char* name) {
  size_t n = strlen(name);
  for (int i = 0; i < *count; i++) {
    const char* entry = entries[i];
    if (strlen(entry) != n) continue;
    size_t k = 0;
    while (k < n && Lower(entry[k]) == Lower(name[k])) k++;
    if (k == n) {
      RemoveEntry(count, entries, i);
      return 1;
    }
  }
  return 0;
}

const char* TakeOption(int* count, char** entries, const char* prefix, const char* fallback) {
  size_t n = strlen(prefix);
  for (int i = 0; i < *count; i++) {
    char* entry = entries[i];
    size_t k = 0;
    while (k < n && entry[k] && Lower(entry[k]) == Lower(prefix[k])) k++;
    if (k == n) {
      RemoveEntry(count, entries, i);
      return entry + n;
    }
  }
  return fallback;
}

void ExpandFileArgs(int count, char** entries) {
  for (int i = 1; i < count; i++) {
    if (entries[i][0] == '@') entries[i] = ReadAll(entries[i] + 1);
  }
}

// --- Text and files ---

int CompareNoCase(const char* a, const char* b) {
  for (;; a++, b++) {
    if (!*a) return 0 - static_cast<signed char>(*b);
    if (!*b) return static_cast<signed char>(*a);
    signed char ca = static_cast<signed char>(Lower(*a));
    signed char cb = static_cast<signed char>(Lower(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
}

char* ReadAll(const char* path) {
  FILE* f = fopen(path, "rb");
  if (!f) FatalError("Can't read file: %s", path);

  // The size is only a first guess: the loop reads until the end, whatever
  // the file really holds.
  long size = 0;
  if (fseek(f, 0, SEEK_END) == 0) size = ftell(f);
  if (size < 0) size = 0;
  rewind(f);

  size_t capacity = static_cast<size_t>(size) + 1;
  char* buf = static_cast<char*>(malloc(capacity));
  if (!buf) FatalError("ReadAll: Out of memory");
  size_t length = 0;
  for (;;) {
    if (length + 1 >= capacity) {
      size_t grown = capacity < 4096 ? 4096 : capacity * 2;
      char* bigger = grown > capacity ? static_cast<char*>(realloc(buf, grown)) : nullptr;
      if (!bigger) FatalError("ReadAll: Out of memory");
      buf = bigger;
      capacity = grown;
    }
    size_t got = fread(buf + length, 1, capacity - 1 - length, f);
    if (got == 0) break;
    length += got;
  }
  bool failed = ferror(f) != 0;
  fclose(f);
  if (failed) FatalError("Can't read file: %s", path);

  // Text mode: each CR LF pair becomes one LF; nothing else changes.
  size_t out = 0;
  for (size_t i = 0; i < length; i++) {
    if (buf[i] == '\r' && i + 1 < length && buf[i + 1] == '\n') continue;
    buf[out++] = buf[i];
  }
  buf[out] = '\0';
  return buf;
}
