// run: starts a program with arguments, waits until it has ended and exits
// with its exit code.
#include <cstdlib>
#include <cstring>
#include <string>

#include "cmdline.h"
#include "frame.h"
#include "log.h"
#include "platform.h"
#include "text.h"
#include "tool_version.h"  // TOOL_VERSION_MAJOR and _MINOR, from add_tool

const ToolIdentity ThisTool = {
    "Run",
    TOOL_VERSION_MAJOR,
    TOOL_VERSION_MINOR,
    "Run.log",
    "/Products/Corvalette/Help/Run.html",
    "Usage:\n\nrun prog arg ... arg\nRun a program.\n"
    "Each arg may be @file in which case the contents of file will be used as the arg.\n\n"
    "run -help\nShow online help.",
};

namespace {

// Whether text is a -hide, -min or -max switch (case ignored), and the way
// it shows the started program's first window in *show; without one, the
// program shows normally.
//
// -hide reaches the program through the shell's execute call as the show
// mode of its start-up information, like every other mode, and that is
// enough for a console program too: the console host honours a hidden (or
// minimized) start itself and then keeps the console in its own window
// rather than handing it to Windows Terminal, so no window shows on Windows
// 10 or 11, whatever the default terminal. CREATE_NO_WINDOW would need
// CreateProcess instead of the shell, which would lose the shell's way of
// finding programs and opening documents.
bool ShowSwitch(const char* text, ShowWay* show) {
  if (CompareNoCase(text, "-hide") == 0) {
    *show = ShowHidden;
  } else if (CompareNoCase(text, "-min") == 0) {
    *show = ShowMinimized;
  } else if (CompareNoCase(text, "-max") == 0) {
    *show = ShowMaximized;
  } else {
    return false;
  }
  return true;
}

// The number the log's "mode=" has always given for each way.
int LoggedMode(ShowWay show) {
  switch (show) {
    case ShowHidden: return 0;
    case ShowMinimized: return 7;
    case ShowMaximized: return 3;
    default: return 1;
  }
}

// Backslashes directly before the end of text.
size_t TrailingBackslashes(const char* text, size_t length) {
  size_t n = 0;
  while (n < length && text[length - 1 - n] == '\\') n++;
  return n;
}

}  // namespace

// The parameter string: for each argument a blank and the argument in
// double quotes; a single blank for none. A run of backslashes that ends an
// argument is doubled, so that it does not escape the closing quote; every
// other character is copied as it is.
char* JoinArgs(int n, char** args) {
  if (n <= 0) return XStrDup(" ");
  size_t length = 0;
  for (int i = 0; i < n; i++) {
    size_t a = strlen(args[i]);
    length += a + TrailingBackslashes(args[i], a) + 3;
  }
  char* joined = static_cast<char*>(XMalloc(length + 1));
  char* p = joined;
  for (int i = 0; i < n; i++) {
    size_t a = strlen(args[i]);
    size_t extra = TrailingBackslashes(args[i], a);
    *p++ = ' ';
    *p++ = '"';
    memcpy(p, args[i], a);
    p += a;
    memset(p, '\\', extra);
    p += extra;
    *p++ = '"';
  }
  *p = '\0';
  return joined;
}

// Starts entry 1 with the later entries as its arguments, shown that way,
// and waits for it; 1 when no program is named. A hidden run shows
// nothing of its own either: nobody may be there to close the shell's
// error box, so a program that cannot be started ends it at once with -1,
// and the log says why (and standard error, where nobody can see the
// screen).
int RunCommand(int count, char** args, ShowWay show) {
  if (count < 2) return 1;
  const char* program = args[1];
  char* parameters = JoinArgs(count - 2, args + 2);
  if (DebugLevel != 0)
    Log("Running prog=%s args=%s mode=%d ...", program, parameters, LoggedMode(show));
  // Where nobody can see the screen, nobody could close that box either.
  bool unseen = *UnseenReason() != '\0';
  bool quiet = show == ShowHidden || unseen;
  std::string whyNot;
  int code = RunAndWait(program, parameters, show, quiet, &whyNot);
  free(parameters);
  if (quiet && !whyNot.empty() && DebugLevel > 0)
    Log("Can't start %s: %s", program, whyNot.c_str());
  if (unseen && !whyNot.empty())
    PlatformWriteError((std::string(ToolName) + ": Can't start " + program + ": " + whyNot + "\n").c_str());
  if (DebugLevel != 0) Log("Exit code is %d", code);
  return code;
}

namespace {

// Starts the program as the person logged on at the console, in their
// session, and waits for it; its exit code, or -1 (said on standard error)
// when nobody can be reached. Started as a program, not through the shell:
// the person's shell cannot be asked from here.
int RunForPerson(int count, char** args, std::string* whyNot) {
  std::string program = args[1];
  std::string line = "\"" + program + "\"";
  char* parameters = JoinArgs(count - 2, args + 2);
  if (count > 2) line += parameters;
  free(parameters);
  if (DebugLevel != 0) Log("Running as the console user: %s", line.c_str());
  return PlatformRunAsConsoleUser(nullptr, line.c_str(), nullptr, whyNot);
}

}  // namespace

int ToolMain(int count, char** args) {
  if (StandardSwitches(&count, args)) return 0;
  if (count <= 1) {
    ShowUsage();
    return 1;
  }
  // -user counts only as the first argument as typed, with a program after
  // it: "run -user" has always tried to start a program of that name.
  bool user = false;
  if (count > 2 && CompareNoCase(args[1], "-user") == 0) {
    user = true;
    for (int i = 1; i < count; i++) args[i] = args[i + 1];
    count--;
  }
  // A show switch counts only as the first argument as typed (never from
  // an @file), and only with a program after it.
  ShowWay show = ShowNormal;
  if (ShowSwitch(args[1], &show)) {
    for (int i = 1; i < count; i++) args[i] = args[i + 1];  // the null end moves too
    if (--count < 2) {
      ShowUsage();
      return 1;
    }
  }
  // A file argument loses exactly one final line feed, so that a file
  // written with a line end still gives the bare text.
  for (int i = 1; i < count; i++) {
    if (args[i][0] == '@') args[i] = StripNewline(ReadAll(args[i] + 1));
  }
  // Where nobody can see this screen, -user starts the program where the
  // person at the console can; where nobody is there, it runs here.
  if (user && !PlatformScreenVisible()) {
    std::string whyNot;
    int code = RunForPerson(count, args, &whyNot);
    if (code != -1 || whyNot.empty()) {
      if (DebugLevel != 0) Log("Exit code is %d", code);
      return code;
    }
    PlatformWriteError((std::string(ToolName) + ": -user: " + whyNot + "\n").c_str());
    if (DebugLevel > 0) Log("-user: %s; run here", whyNot.c_str());
  }
  return RunCommand(count, args, show);
}
