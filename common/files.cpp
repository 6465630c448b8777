// Sections and settings of text files, file tests and copies, folders.
#include "files.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame.h"
#include "platform.h"

namespace {

bool SameNoCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; i++) {
    if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// A new StrList holding copies of the lines.
StrList ToStrList(const std::vector<std::string>& lines) {
  StrList list = static_cast<StrList>(XMalloc(sizeof(char*) * (lines.size() + 1)));
  for (size_t i = 0; i < lines.size(); i++) list[i] = XStrDup(lines[i].c_str());
  list[lines.size()] = nullptr;
  return list;
}

StrList ListEntries(const char* folder, const char* pattern, bool folders) {
  StrList list = ListNew(0);
  char* joined = PathJoin(folder, *pattern ? pattern : "*.*");
  for (const FolderEntry& entry : PlatformFindEntries(joined)) {
    if (entry.name == "." || entry.name == "..") continue;
    if (entry.isFolder == folders) ListAppend(&list, entry.name.c_str());
  }
  free(joined);
  return list;
}

}  // namespace

// --- Text files ---

bool ReadTextLine(FILE* file, std::string* line) {
  line->clear();
  int c = getc(file);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = getc(file)) line->push_back(static_cast<char>(c));
  if (c == '\n' && !line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

bool ReadStream(FILE* file, std::string* bytes) {
  char block[16384];
  for (size_t got; (got = fread(block, 1, sizeof block, file)) > 0;) bytes->append(block, got);
  return !ferror(file);
}

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) {
      lines.push_back(text.substr(from));
      break;
    }
    size_t length = end - from;
    if (length > 0 && text[end - 1] == '\r') length--;
    lines.push_back(text.substr(from, length));
    from = end + 1;
  }
  return lines;
}

int LoadLines(const char* path, const char* section, StrList* lines) {
  FILE* f = fopen(path, "rb");
  if (!f) FatalError("LoadLines. %s file missing", path);
  char header[256];
  snprintf(header, sizeof header, "[%s]", section);
  size_t headerLength = strlen(header);

  std::vector<std::string> found;
  std::string line;
  bool inSection = false;
  while (ReadTextLine(f, &line)) {
    if (!inSection) {
      inSection = line.size() >= headerLength && SameNoCase(line.c_str(), header, headerLength);
      continue;
    }
    if (IsBlank(line.c_str())) break;
    found.push_back(line);
  }
  fclose(f);
  *lines = ToStrList(found);
  return static_cast<int>(found.size());
}

char* ReadSetting(const char* path, const char* name, int size, char* buffer) {
  if (size < 1) return nullptr;
  FILE* f = fopen(path, "rb");
  if (!f) return nullptr;
  std::string line;
  while (ReadTextLine(f, &line)) {
    // A line too long for the buffer is cut; its tail is never read as a
    // line of its own.
    CopyAtMost(buffer, line.c_str(), size - 1);
    char* start = SkipBlanks(buffer);
    if (!*start || *start == '#') continue;
    char* equals = strchr(start, '=');
    if (!equals) continue;
    *equals = '\0';
    char* lineName = TrimRight(start);
    char* value = TrimRight(equals + 1);
    size_t n = strlen(lineName);
    bool match = strcmp(lineName, "*") == 0 || (n == strlen(name) && SameNoCase(lineName, name, n));
    if (match) {
      fclose(f);
      return value;
    }
  }
  fclose(f);
  return nullptr;
}

char* FindSetting(const char* key, int n, char** lines) {
  size_t k = strlen(key);
  for (int i = 0; i < n; i++) {
    char* line = SkipBlanks(lines[i]);
    if (*line == '#' || strlen(line) < k + 1 || line[k] != '=') continue;
    if (SameNoCase(line, key, k)) return SkipBlanks(line + k + 1);
  }
  return nullptr;
}

// --- Files and folders ---

int FileExists(const char* path) {
  FILE* f = fopen(path, "r");
  if (!f) return 0;
  getc(f);  // a folder may open on some systems but never reads
  bool readable = !ferror(f);
  fclose(f);
  return readable;
}

int CopyFileTo(const char* source, const char* destination) {
  FILE* in = fopen(source, "r");
  if (!in) FatalError("Can't open %s", source);
  FILE* out = fopen(destination, "w");
  if (!out) FatalError("Can't create %s", destination);
  char block[512];
  bool written = true;
  for (size_t got; (got = fread(block, 1, sizeof block, in)) > 0;)
    written = fwrite(block, 1, got, out) == got && written;
  // A copy cut short by a full disk would be taken for the real file later.
  // The flush is checked on its own: the Windows runtime's fclose does not
  // report a failed final write.
  written = fflush(out) == 0 && written;
  written = fclose(out) == 0 && written;
  fclose(in);
  if (!written) FatalError("Can't write to file: %s", destination);
  return 1;
}

int MakeFolders(const char* path) {
  if (!path) return 0;
  const char* rest = (path[0] && path[1] == ':') ? path + 2 : path;
  if (!*rest || !strcmp(rest, ".") || !strcmp(rest, "..") || !strcmp(rest, "/") ||
      !strcmp(rest, "\\"))
    return 0;
  const char* separator = strrchr(path, '/');
  if (!separator) separator = strrchr(path, '\\');
  if (separator) {
    size_t n = static_cast<size_t>(separator - path);
    char* parent = static_cast<char*>(XMalloc(n + 1));
    CopyAtMost(parent, path, static_cast<int>(n));
    MakeFolders(parent);
    free(parent);
  }
  PlatformMakeFolder(path);
  return 1;
}

StrList ListFiles(const char* folder, const char* pattern) {
  return ListEntries(folder, pattern, false);
}

StrList ListFolders(const char* folder, const char* pattern) {
  return ListEntries(folder, pattern, true);
}

char* EnsureUserFile(const char* sourceFolder, const char* maker, const char* subFolder,
                     const char* name) {
  const char* appData = PlatformGetEnv("AppData");
  if (!appData) FatalError("The APPDATA environment variable is missing.");
  char* makerDir = PathJoin(appData, maker);
  char* subDir = PathJoin(makerDir, subFolder);
  char* path = PathJoin(subDir, name);
  if (!FileExists(path)) {
    MakeFolders(makerDir);
    MakeFolders(subDir);
    char* source = PathJoin(sourceFolder, name);
    CopyFileTo(source, path);
    free(source);
  }
  free(subDir);
  free(makerDir);
  return path;
}
