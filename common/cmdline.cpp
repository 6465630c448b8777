// Command-line splitting, switch and option taking, and @file arguments.
#include "cmdline.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "files.h"
#include "frame.h"
#include "unicode.h"

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
  for (int i = 0; i < *count; i++) {
    if (const char* value = AfterPrefix(entries[i], prefix)) {
      RemoveEntry(count, entries, i);
      return value;
    }
  }
  return fallback;
}

const char* AfterPrefix(const char* entry, const char* prefix) {
  size_t k = 0;
  while (prefix[k] && entry[k] && Lower(entry[k]) == Lower(prefix[k])) k++;
  return prefix[k] ? nullptr : entry + k;
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
  std::string text;
  try {
    std::string bytes;
    bool read = ReadStream(f, &bytes);
    fclose(f);
    if (!read) FatalError("Can't read file: %s", path);
    // A file saved with a byte-order mark (Notepad, Excel, PowerShell) is
    // decoded first; without one the bytes are the text.
    text = DecodeMarkedText(bytes);
  } catch (const std::bad_alloc&) {
    FatalError("ReadAll: Out of memory");
  }

  // Text mode: each CR LF pair becomes one LF; nothing else changes.
  char* buf = static_cast<char*>(malloc(text.size() + 1));
  if (!buf) FatalError("ReadAll: Out of memory");
  size_t out = 0;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    buf[out++] = text[i];
  }
  buf[out] = '\0';
  return buf;
}

// --- Time limits ---

bool ReadSeconds(const char* digits, int* seconds) {
  int value = 0;
  for (const char* p = digits; *p; p++) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
    if (value > MaxTimeoutSeconds) return false;
  }
  if (!*digits || value < 1) return false;
  *seconds = value;
  return true;
}
