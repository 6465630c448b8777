// Text utilities and the StrList routines.
#include "text.h"

#include <cstdlib>
#include <cstring>

#include "frame.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

char* NewString(size_t length) { return static_cast<char*>(XMalloc(length + 1)); }

StrList NewArray(int slots) { return static_cast<StrList>(XMalloc(sizeof(char*) * slots)); }

// Replaces *list by a new array of top + 2 slots: the old entries, new empty
// strings from the old count to top, and the terminator.
void GrowTo(StrList* list, int count, int top) {
  StrList grown = NewArray(top + 2);
  for (int i = 0; i < count; i++) grown[i] = (*list)[i];
  for (int i = count; i <= top; i++) grown[i] = XStrDup("");
  grown[top + 1] = nullptr;
  free(*list);
  *list = grown;
}

}  // namespace

// --- In place, or looking only ---

char* CopyAtMost(char* buffer, const char* source, int n) {
  int i = 0;
  for (; i < n && source[i]; i++) buffer[i] = source[i];
  buffer[i] = '\0';
  return buffer;
}

char* StripNewline(char* text) {
  size_t n = strlen(text);
  if (n > 0 && text[n - 1] == '\n') text[n - 1] = '\0';
  return text;
}

char* FlattenLines(char* text) {
  size_t n = strlen(text);
  while (n > 0 && IsLineEnd(text[n - 1])) text[--n] = '\0';
  for (char* p = text; *p; p++) {
    if (IsLineEnd(*p)) *p = ' ';
  }
  return text;
}

char* TrimRight(char* text) {
  size_t n = strlen(text);
  while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
  return text;
}

char* SkipBlanks(const char* text) {
  while (*text == ' ' || *text == '\t') text++;
  return const_cast<char*>(text);
}

int IsBlank(const char* text) { return *SkipBlanks(text) == '\0'; }

int BeginsWithNumber(const char* text) {
  while (*text == ' ') text++;
  if (*text == '+' || *text == '-') text++;
  return IsDigit(*text);
}

int IsNumber(const char* text) {
  const char* p = text;
  int digits = 0;
  while (*p == ' ') p++;
  if (*p == '+' || *p == '-') p++;
  for (; IsDigit(*p); p++) digits++;
  if (*p == '.') {
    for (p++; IsDigit(*p); p++) digits++;
  }
  // The exponent: letter, sign and digits are each optional.
  if (*p == 'e' || *p == 'E') p++;
  if (*p == '+' || *p == '-') p++;
  while (IsDigit(*p)) p++;
  while (*p == ' ') p++;
  return *p == '\0' && digits > 0;
}

// --- New strings ---

char* Concat(const char* a, const char* b) { return Concat3(a, b, ""); }

char* Concat3(const char* a, const char* b, const char* c) {
  size_t na = strlen(a), nb = strlen(b), nc = strlen(c);
  char* result = NewString(na + nb + nc);
  memcpy(result, a, na);
  memcpy(result + na, b, nb);
  memcpy(result + na + nb, c, nc + 1);
  return result;
}

char* SetString(char** variable, const char* text) {
  free(*variable);
  *variable = XStrDup(text);
  return *variable;
}

char* JoinWords(int n, char** words) {
  size_t length = 0;
  for (int i = 0; i < n; i++) length += 1 + strlen(words[i]);
  char* result = NewString(length);
  char* p = result;
  for (int i = 0; i < n; i++) {
    *p++ = ' ';
    size_t w = strlen(words[i]);
    memcpy(p, words[i], w);
    p += w;
  }
  *p = '\0';
  return result;
}

char* ReplaceAll(const char* text, const char* search, const char* replacement) {
  if (!text) return nullptr;
  if (!search) search = "";
  if (!replacement) replacement = "";
  size_t n = strlen(text), ns = strlen(search), nr = strlen(replacement);
  if (ns == 0) {
    // An empty search text would match everywhere; nothing is replaced.
    char* copy = static_cast<char*>(malloc(n + 1));
    if (copy) memcpy(copy, text, n + 1);
    return copy;
  }
  size_t found = 0;
  for (const char* p = strstr(text, search); p; p = strstr(p + ns, search)) found++;
  size_t length = n - found * ns + found * nr;
  char* result = static_cast<char*>(malloc(length + 1));
  if (!result) return nullptr;
  char* out = result;
  const char* from = text;
  for (const char* p = strstr(text, search); p; p = strstr(from, search)) {
    memcpy(out, from, p - from);
    out += p - from;
    memcpy(out, replacement, nr);
    out += nr;
    from = p + ns;
  }
  memcpy(out, from, strlen(from) + 1);
  return result;
}

char* Substring(const char* text, int start, int n) {
  if (start < 0) start = 0;
  if (n < 0) n = 0;
  char* result = NewString(static_cast<size_t>(n));
  size_t length = strlen(text);
  if (static_cast<size_t>(start) >= length) {
    result[0] = '\0';
    return result;
  }
  return CopyAtMost(result, text + start, n);
}

char* ChangeExtension(const char* path, const char* extension) {
  const char* name = strrchr(path, '\\');
  const char* dot = strrchr(name ? name : path, '.');
  size_t keep = dot ? static_cast<size_t>(dot - path) : strlen(path);
  size_t ne = strlen(extension);
  char* result = NewString(keep + ne);
  memcpy(result, path, keep);
  memcpy(result + keep, extension, ne + 1);
  return result;
}

char* AddQuotes(const char* text) { return Concat3("\"", text, "\""); }

char* StripQuotes(const char* text) {
  if (*text == '"') text++;
  char* copy = XStrDup(text);
  size_t n = strlen(copy);
  if (n > 0 && copy[n - 1] == '"') copy[n - 1] = '\0';
  return copy;
}

int PathJoinInto(int capacity, char* buffer, const char* folder, const char* name) {
  size_t a = strlen(folder), b = strlen(name);
  bool slash = a > 0 && folder[a - 1] != '\\';
  if (capacity < 0 || a + slash + b + 1 > static_cast<size_t>(capacity)) return 0;
  memmove(buffer, folder, a);
  if (slash) buffer[a] = '\\';
  memmove(buffer + a + slash, name, b + 1);
  return 1;
}

// --- Splitting in place ---

int SplitFields(char delimiter, char* text, int max, char** tokens) {
  int n = 0;
  char* p = text;
  while (n < max) {
    while (*p == ' ') p++;
    if (!*p) break;
    char terminator = delimiter;
    if (*p == '"') {
      p++;
      terminator = '"';
    }
    tokens[n++] = p;
    while (*p && *p != terminator) p++;
    if (*p) *p++ = '\0';
  }
  tokens[n] = nullptr;
  return n;
}

int SplitWords(char* text, int max, char** tokens) { return SplitFields(' ', text, max, tokens); }

// --- StrList ---

StrList ListNew(int n) {
  if (n < 0) n = 0;
  StrList list = NewArray(n + 1);
  for (int i = 0; i < n; i++) list[i] = XStrDup("");
  list[n] = nullptr;
  return list;
}

void ListFree(StrList list) {
  FreeStrings(list);
  free(list);
}

int ListCount(StrList list) {
  int n = 0;
  while (list[n]) n++;
  return n;
}

StrList ListCopy(StrList list) {
  int count = ListCount(list);
  StrList copy = NewArray(count + 1);
  for (int i = 0; i < count; i++) copy[i] = XStrDup(list[i]);
  copy[count] = nullptr;
  return copy;
}

void ListResize(StrList* list, int n) {
  if (n < 0) n = 0;
  int count = ListCount(*list);
  StrList resized = NewArray(n + 1);
  for (int i = 0; i < n; i++) resized[i] = i < count ? (*list)[i] : XStrDup("");
  for (int i = n; i < count; i++) free((*list)[i]);
  resized[n] = nullptr;
  free(*list);
  *list = resized;
}

char* ListSet(StrList* list, int position, const char* text) {
  if (position < 0) return nullptr;
  int count = ListCount(*list);
  if (position >= count) GrowTo(list, count, position);
  free((*list)[position]);
  (*list)[position] = XStrDup(text);
  return (*list)[position];
}

char* ListGet(StrList* list, int position) {
  if (position < 0) return nullptr;
  int count = ListCount(*list);
  if (position >= count) GrowTo(list, count, position);
  return (*list)[position];
}

void ListInsert(StrList* list, int position, const char* text) {
  if (position < 0) return;
  int count = ListCount(*list);
  int top = count > position ? count : position;
  GrowTo(list, count, top);
  free((*list)[top]);
  for (int i = top; i > position; i--) (*list)[i] = (*list)[i - 1];
  (*list)[position] = XStrDup(text);
}

void ListAppend(StrList* list, const char* text) { ListInsert(list, ListCount(*list), text); }

void ListRemove(StrList* list, int position) {
  int count = ListCount(*list);
  if (position < 0 || position >= count) return;
  free((*list)[position]);
  for (int i = position; i < count; i++) (*list)[i] = (*list)[i + 1];
}

void FreeStrings(StrList list) {
  for (int i = 0; list[i]; i++) free(list[i]);
}

void FreeStringsN(int n, char** strings) {
  for (int i = 0; i < n; i++) free(strings[i]);
}
