// The start-up frame, standard switches, message boxes, the fatal-error
// exit and the small memory and path helpers every tool leans on.
#include "frame.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "cmdline.h"
#include "files.h"
#include "log.h"
#include "platform.h"
#include "source_date.h"
#include "unicode.h"

const char* const MakerWebHost = MAKER_WEB_HOST;

const char* ToolName = "";
char ToolVersion[16];
int DebugLevel = 0;
char* ProgramDir = nullptr;
char* AppDataDir = nullptr;
int MessageTimeout = 0;

namespace {

// The frame's argument vector: MaxArgs entries and the closing null.
char* ArgStorage[MaxArgs + 1];

char Caption[64];

// Longest formatted message text, and the length it is cut to.
constexpr int MessageMax = 500;
constexpr int MessageCut = 496;

// The frame's boxes: Ok alone, without an icon or with the warning's.
constexpr BoxStyle PlainBox = {ButtonsOk, IconNone, 0};
constexpr BoxStyle WarningBox = {ButtonsOk, IconWarning, 0};

// Formats into buf (FormatBufferSize(MessageMax) bytes): a text of
// MessageMax characters or more becomes its first MessageCut characters and
// " ...". Characters are whole: bytes in the ANSI programs, code points in
// the UTF-8 ones. Nothing is allocated, so that the out-of-memory message
// itself can be shown.
void FormatMessageCut(char* buf, const char* format, va_list ap) {
  if (FormatCharacters(buf, MessageMax - 1, format, ap))
    memcpy(buf + CharactersLength(buf, MessageCut), " ...", 5);
}

// The number at the start of text by the atoi rule, clamped to the range
// of int instead of overflowing.
int ReadInt(const char* text) {
  long value = strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

// --- Start-up ---

int ToolFrame(void*, void*, char*, int) {
  try {
    ToolName = ThisTool.name;
    snprintf(ToolVersion, sizeof ToolVersion, "%d.%02d", ThisTool.major, ThisTool.minor);

    const char* commandLine = PlatformCommandLine();
    int count = SplitCommandLine(commandLine, MaxArgs, ArgStorage);

    ProgramDir = GetProgramDir();
    AppDataDir = GetAppDataDir(MakerWord, ToolName);

    char* defaultLog = PathJoin(TempDir(), ThisTool.logFileName);
    DebugLevel = ReadInt(TakeOption(&count, ArgStorage, "-dbg=", "0"));
    SetLogPath(TakeOption(&count, ArgStorage, "-log=", defaultLog));
    if (DebugLevel > 0) Log("Cmdline: %s", commandLine);

    return ToolMain(count, ArgStorage);
  } catch (const std::bad_alloc&) {
    FatalError("Out of memory");
  }
}

int StandardSwitches(int* count, char** args) {
  if (*count != 2) return 0;
  if (TakeSwitch(count, args, "-?")) {
    ShowUsage();
  } else if (TakeSwitch(count, args, "-help")) {
    OpenWebPage(2);
  } else if (TakeSwitch(count, args, "-info")) {
    ShowInfo();
  } else if (!TakeSwitch(count, args, "-!")) {
    return 0;
  }
  return 1;
}

// --- Messages ---

const char* UnseenReason() {
  const char* answers = PlatformGetEnv(AnswersVariable);
  if (answers && *answers) return "the answers come from the file ASK_ANSWERS names";
  return PlatformScreenVisible() ? ""
                                 : "nobody can see this screen (its window station is not visible)";
}

void ReportUnshown(const char* text, const char* outcome) {
  std::string report = std::string(ToolName) + ": not shown, since " + UnseenReason() + ":\n" +
                       text + "\n";
  if (outcome) report += std::string(outcome) + "\n";
  PlatformWriteError(report.c_str());
  if (DebugLevel > 0) {
    Log("Not shown, since %s: %s", UnseenReason(), text);
    if (outcome) Log("%s", outcome);
  }
}

void RecordNote(const char* what, const char* text) {
  const char* record = PlatformGetEnv(RecordVariable);
  if (!record || !*record) return;
  std::string note;
  for (const char* start = text;;) {
    const char* end = strpbrk(start, "\r\n");
    note += std::string("#") + what + ": " +
            std::string(start, end ? static_cast<size_t>(end - start) : strlen(start)) + "\n";
    if (!end) break;
    start = end + (end[0] == '\r' && end[1] == '\n' ? 2 : 1);
  }
  PlatformAppendText(record, note.c_str());
}

const char* MessageCaption() {
  snprintf(Caption, sizeof Caption, "%s Ver %s", ToolName, ToolVersion);
  return Caption;
}

namespace {

// A box of the frame, closing itself after MessageTimeout when that is set;
// where nobody could answer it, its text goes to standard error instead.
void FrameBox(const char* text, BoxStyle style) {
  if (*UnseenReason()) {
    ReportUnshown(text, nullptr);
    return;
  }
  if (MessageTimeout <= 0) {
    PlatformMessageBox(text, MessageCaption(), style);
    return;
  }
  bool timedOut = false;
  PlatformMessageBoxTimed(text, MessageCaption(), style, MessageTimeout, AnswerOk, &timedOut);
}

}  // namespace

void ShowMessage(const char* text) { FrameBox(text, PlainBox); }

void FatalMessage(const char* text) {
  FrameBox(text, WarningBox);
  PlatformExit(1);
}

void ShowMessageF(const char* format, ...) {
  char buf[FormatBufferSize(MessageMax)];
  va_list ap;
  va_start(ap, format);
  FormatMessageCut(buf, format, ap);
  va_end(ap);
  ShowMessage(buf);
}

void FatalError(const char* format, ...) {
  char buf[FormatBufferSize(MessageMax)];
  va_list ap;
  va_start(ap, format);
  FormatMessageCut(buf, format, ap);
  va_end(ap);
  FatalMessage(buf);
}

void ShowUsage() { ShowMessage(ThisTool.usage); }

void ShowInfo() {
  char buf[256];
  snprintf(buf, sizeof buf,
           "%s Ver %s, one of the Corvalette tools from Quilverton."
           "\n\nBuild date:\t%s\nBuild time:\t%s\n",
           ToolName, ToolVersion, QUIL_BUILD_DATE, QUIL_BUILD_TIME);
  ShowMessage(buf);
}

void OpenWebPage(int kind) {
  // The help site ships beside the programs (site\Products\...\Ask.html
  // next to ask.exe, and so one folder up from the UTF-8 set in utf8\ and
  // the 64-bit set in x64\, two from x64\utf8\): a page there opens
  // without a network and matches the program's own version.
  if (kind == 2 && ProgramDir) {
    std::string page = std::string("site") + ThisTool.helpPage;
    for (char& c : page) c = c == '/' ? '\\' : c;
    for (const char* up : {"", "..\\", "..\\..\\"}) {
      char* local = PathJoin(ProgramDir, (up + page).c_str());
      bool found = FileExists(local);
      if (found) PlatformShellExecute("", local, "", "C:\\", ShowHidden);
      free(local);
      if (found) return;
    }
  }
  std::string address = std::string("https://") + MakerWebHost;
  if (kind == 2) {
    address += ThisTool.helpPage;
  } else if (kind == 1) {
    address += "/main/corvalette/";
  }
  PlatformShellExecute("", address.c_str(), "", "C:\\", ShowHidden);
}

// --- Memory, paths and folders ---

void* XMalloc(size_t size) {
  void* p = malloc(size ? size : 1);
  if (!p) FatalError("Out of memory");
  return p;
}

char* XStrDup(const char* text) {
  size_t n = strlen(text) + 1;
  char* p = static_cast<char*>(malloc(n));
  if (!p) FatalError("out of memory");
  memcpy(p, text, n);
  return p;
}

char* PathJoin(const char* first, const char* second) {
  size_t a = strlen(first), b = strlen(second);
  bool slash = a > 0 && first[a - 1] != '\\';
  char* p = static_cast<char*>(XMalloc(a + slash + b + 1));
  memcpy(p, first, a);
  if (slash) p[a] = '\\';
  memcpy(p + a + slash, second, b + 1);
  return p;
}

const char* TempDir() {
  const char* temp = PlatformGetEnv("TEMP");
  return temp ? temp : "C:\\temp";
}

char* GetProgramDir() {
  // 512 characters, in bytes of the ANSI code page.
  std::vector<char> name(AnsiBufferSize(512));
  int size = static_cast<int>(name.size());
  int n = PlatformModuleFileName(name.data(), size);
  if (n <= 0 || n >= size) n = 0;
  name[n] = '\0';
  return DirName(name.data());
}

char* DirName(const char* path) {
  std::string drive;
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    drive = rest.substr(0, 2);
    rest.erase(0, 2);
  }
  if (rest.empty()) return XStrDup((drive + ".").c_str());

  // Trailing separators do not count; a path of separators only is the root.
  size_t end = rest.size();
  while (end > 1 && IsSeparator(rest[end - 1])) end--;
  if (end == 1 && IsSeparator(rest[0])) return XStrDup((drive + rest[0]).c_str());

  size_t last = rest.find_last_of("\\/", end - 1);
  if (last == std::string::npos) return XStrDup((drive + ".").c_str());
  size_t dirEnd = last;
  while (dirEnd > 0 && IsSeparator(rest[dirEnd - 1])) dirEnd--;
  if (dirEnd == 0) return XStrDup((drive + rest[0]).c_str());
  return XStrDup((drive + rest.substr(0, dirEnd)).c_str());
}

char* GetAppDataDir(const char* maker, const char* tool) {
  const char* appData = PlatformGetEnv("AppData");
  if (!appData) FatalError("The APPDATA environment variable is missing.");
  char* makerDir = PathJoin(appData, maker);
  char* dir = PathJoin(makerDir, tool);
  free(makerDir);
  return dir;
}
