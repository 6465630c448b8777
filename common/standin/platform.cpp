// A stand-in for the Windows platform layer, so that the portable library
// runs in unit tests on any host: message boxes and shell calls are
// recorded, the exit becomes an exception, the rest comes from the test.
#include "platform.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>

#include "standin.h"

std::vector<StandInBox> StandInBoxes;
BoxAnswer StandInBoxAnswer = AnswerOk;
bool StandInBoxTimesOut = false;
std::vector<StandInShellCall> StandInShellCalls;
std::vector<StandInRun> StandInRuns;
int StandInRunResult = 0;
std::string StandInRunFailure = "File not found.";
std::string StandInCommandLine;
std::string StandInModuleName = "C:\\tools\\tool.exe";
bool StandInModuleFails = false;
bool StandInAnsiUtf8 = false;
std::vector<StandInStart> StandInSelfStarts;
bool StandInSelfStartWorks = true;
bool StandInSetEnvWorks = true;
std::vector<StandInBox> StandInNotifications;
bool StandInNotifyWorks = true;
bool StandInScreenVisible = true;
std::string StandInErrorText;
std::vector<StandInUserRun> StandInUserRuns;
int StandInUserResult = -1;
std::string StandInUserFailure = "Nobody is logged on at the console";
std::string StandInChannelText;
std::vector<std::string> StandInChannelWrites;

namespace {

// The variables PlatformSetEnv set and has not removed.
std::map<std::string, std::string> SetVariables;

// Removes a variable from the C runtime's environment ("NAME=" removes it
// there on Windows).
void RemoveVariable(const std::string& name) {
#ifdef _WIN32
  _putenv((name + "=").c_str());
#else
  unsetenv(name.c_str());
#endif
}

}  // namespace

void StandInReset() {
  StandInBoxes.clear();
  StandInBoxAnswer = AnswerOk;
  StandInBoxTimesOut = false;
  StandInShellCalls.clear();
  StandInRuns.clear();
  StandInRunResult = 0;
  StandInRunFailure = "File not found.";
  StandInCommandLine.clear();
  StandInModuleName = "C:\\tools\\tool.exe";
  StandInModuleFails = false;
  StandInAnsiUtf8 = false;
  StandInSelfStarts.clear();
  StandInSelfStartWorks = true;
  StandInSetEnvWorks = true;
  for (const auto& [name, value] : SetVariables) RemoveVariable(name);
  SetVariables.clear();
  StandInNotifications.clear();
  StandInNotifyWorks = true;
  StandInScreenVisible = true;
  StandInErrorText.clear();
  StandInUserRuns.clear();
  StandInUserResult = -1;
  StandInUserFailure = "Nobody is logged on at the console";
  StandInChannelText.clear();
  StandInChannelWrites.clear();
}

const char* PlatformCommandLine() { return StandInCommandLine.c_str(); }

int PlatformModuleFileName(char* buf, int size) {
  if (StandInModuleFails || size <= 0) return 0;
  int n = static_cast<int>(StandInModuleName.size());
  if (n >= size) n = size;  // cut like the real call, which then returns size
  memcpy(buf, StandInModuleName.data(), n);
  if (n < size) buf[n] = '\0';
  return n;
}

// Windows matches environment names without regard to case; the tests set
// the upper-case names, so an upper-case lookup stands in for that.
const char* PlatformGetEnv(const char* name) {
  if (const char* value = getenv(name)) return value;
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return getenv(upper.c_str());
}

void PlatformExit(int status) { throw StandInExit{status}; }

// putenv keeps the text it is given, so each one lives on here.
bool PlatformSetEnv(const char* name, const char* value) {
  if (!StandInSetEnvWorks) return false;
  if (!value) {
    RemoveVariable(name);
    SetVariables.erase(name);
    return true;
  }
  static std::deque<std::string> settings;
  settings.push_back(std::string(name) + "=" + value);
  putenv(settings.back().data());
  SetVariables[name] = value;
  return true;
}

bool PlatformStartSelf(const char* arguments) {
  StandInSelfStarts.push_back({arguments, SetVariables});
  return StandInSelfStartWorks;
}

bool PlatformScreenVisible() { return StandInScreenVisible; }

void PlatformWriteError(const char* text) { StandInErrorText += text; }

int PlatformRunAsConsoleUser(const char* application, const char* commandLine,
                             std::string* channel, std::string* whyNot) {
  StandInUserRuns.push_back({application, commandLine, channel != nullptr});
  if (StandInUserResult == -1) {
    *whyNot = StandInUserFailure;
    return -1;
  }
  if (channel) *channel = StandInChannelText.substr(0, ChannelMost);
  return StandInUserResult;
}

bool PlatformWriteChannel(const char*, const std::string& text) {
  StandInChannelWrites.push_back(text);
  return true;
}

bool PlatformUpdateFile(const char* path, std::string (*update)(const std::string&, void*),
                        void* context) {
  std::string old;
  if (FILE* in = fopen(path, "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, in)) > 0) old.append(buffer, got);
    fclose(in);
  }
  std::string fresh = update(old, context);
  FILE* out = fopen(path, "wb");
  if (!out) return false;
  bool written = fwrite(fresh.data(), 1, fresh.size(), out) == fresh.size();
  return fclose(out) == 0 && written;
}

bool PlatformNotify(const char* title, const char* text, BoxIcon icon, int seconds) {
  StandInNotifications.push_back({text, title, {ButtonsOk, icon, 0}, seconds});
  return StandInNotifyWorks;
}

BoxAnswer PlatformMessageBox(const char* text, const char* caption, BoxStyle style) {
  StandInBoxes.push_back({text ? text : "", caption ? caption : "", style});
  return StandInBoxAnswer;
}

BoxAnswer PlatformMessageBoxTimed(const char* text, const char* caption, BoxStyle style,
                                  int seconds, BoxAnswer button, bool* timedOut) {
  StandInBoxes.push_back({text ? text : "", caption ? caption : "", style, seconds, button});
  *timedOut = StandInBoxTimesOut;
  return StandInBoxTimesOut ? button : StandInBoxAnswer;
}

void PlatformShellExecute(const char* operation, const char* file, const char* parameters,
                          const char* directory, ShowWay show) {
  StandInShellCalls.push_back({operation, file, parameters, directory, show});
}

int RunAndWait(const char* program, const char* parameters, ShowWay show, bool quiet,
               std::string* whyNot) {
  StandInRuns.push_back({program, parameters, show, quiet});
  if (StandInRunResult == -1) *whyNot = StandInRunFailure;
  return StandInRunResult;
}

namespace {

// The characters of Windows-1252 at 0x80 to 0x9F; the five bytes that code
// page leaves undefined stand for the control characters of their value.
const char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ToCp1252(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (int i = 0; i < 32; i++) {
    if (Cp1252High[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string* out, char32_t code) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | code >> 6));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | code >> 12));
    out->push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | code >> 18));
    out->push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Wildcard match without regard to case: * any run, ? one character.
bool Matches(const char* pattern, const char* name) {
  for (; *pattern; pattern++, name++) {
    if (*pattern == '*') {
      for (const char* rest = name;; rest++) {
        if (Matches(pattern + 1, rest)) return true;
        if (!*rest) return false;
      }
    }
    if (!*name) return false;
    if (*pattern != '?' &&
        tolower(static_cast<unsigned char>(*pattern)) != tolower(static_cast<unsigned char>(*name)))
      return false;
  }
  return !*name;
}

}  // namespace

bool PlatformAnsiIsUtf8() { return StandInAnsiUtf8; }

// Windows-1252, as on a Western European system, with one default
// character per UTF-16 unit it lacks; or UTF-8, with U+FFFD for a lone
// surrogate, as Windows converts.
std::string PlatformToAnsi(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    char16_t unit = text[i];
    if (!StandInAnsiUtf8) {
      out.push_back(ToCp1252(unit));
    } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      AppendUtf8(&out, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else {
      AppendUtf8(&out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
  }
  return out;
}

// One writer at a time in the tests: the C runtime's append mode will do,
// and its text mode writes the line ends of the host.
void PlatformAppendText(const char* path, const char* text) {
  FILE* f = fopen(path, "a");
  if (!f) return;
  fputs(text, f);
  fclose(f);
}

// Lists a folder the way FindFirstFileA does: "." and ".." first, "*.*"
// matching every name.
std::vector<FolderEntry> PlatformFindEntries(const char* pattern) {
  namespace fs = std::filesystem;
  std::string text = pattern;
  size_t slash = text.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? "." : text.substr(0, slash);
  std::string wanted = slash == std::string::npos ? text : text.substr(slash + 1);
  if (wanted == "*.*") wanted = "*";
  std::vector<FolderEntry> entries;
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? "/" : folder, error);
  if (error) return entries;
  for (const char* dots : {".", ".."}) {
    if (Matches(wanted.c_str(), dots)) entries.push_back({dots, true});
  }
  for (; it != fs::directory_iterator(); it.increment(error)) {
    std::string name = it->path().filename().string();
    if (Matches(wanted.c_str(), name.c_str())) entries.push_back({name, it->is_directory(error)});
  }
  return entries;
}

void PlatformMakeFolder(const char* path) {
  std::error_code ignored;
  std::filesystem::create_directory(path, ignored);
}
