// say: shows one message in a message box, with an optional title and
// icon, and waits until the user presses Ok.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cmdline.h"
#include "frame.h"
#include "log.h"
#include "platform.h"
#include "tool_version.h"  // TOOL_VERSION_MAJOR and _MINOR, from add_tool
#include "unicode.h"

const ToolIdentity ThisTool = {
    "Say",
    TOOL_VERSION_MAJOR,
    TOOL_VERSION_MINOR,
    "Say.log",
    "/Products/Corvalette/Help/Say.html",
    "Usage:\n\nsay [-t title] [-i|-w|-e] msg\nShow a message and wait for Ok button press.\n"
    "-i show info icon\n-w show warning icon\n-e show error/fatal icon\n"
    "Use double quotes if msg contains spaces.\n"
    "args may be @file. Uses content of file as the arg.\n\nsay -help\nShow online help.",
};

// Shows text in a box titled caption (the platform's default title when
// null) with Ok and the icon; returns 0 once it is closed. With a time
// limit (seconds above 0) the box closes itself as Ok when the time is up.
int ShowIconMessage(const char* caption, BoxIcon icon, const char* text, int seconds) {
  BoxStyle style = {ButtonsOk, icon, 0};
  if (seconds <= 0) {
    PlatformMessageBox(text, caption, style);
    return 0;
  }
  bool timedOut = false;
  PlatformMessageBoxTimed(text, caption, style, seconds, AnswerOk, &timedOut);
  if (timedOut && DebugLevel > 0) Log("Timed out after %d s", seconds);
  return 0;
}

// --- Notifications ---
//
// "say -notify" returns at once: it hands the notification to a new say
// process, which shows it and waits until it is dismissed or its time is
// up. The texts travel in the environment, already taken from any @file,
// so that the batch file may delete such a file at once, and cut to what
// a balloon shows. The new process is started with NotifierSwitch as its
// one argument and takes its part only when that and NotifyVariable are
// both there: an environment that merely holds the variables (inherited
// from anywhere) changes no say command line.

namespace {

constexpr const char* NotifyVariable = "QUIL_SAY_NOTIFY";  // "seconds icon"
constexpr const char* NotifyTitleVariable = "QUIL_SAY_NOTIFY_TITLE";
constexpr const char* NotifyTextVariable = "QUIL_SAY_NOTIFY_TEXT";
constexpr const char* NotifyVariables[] = {NotifyVariable, NotifyTitleVariable, NotifyTextVariable};
constexpr const char* NotifierSwitch = "-say-notifier-process";
constexpr int NotifySeconds = 10;

// What a balloon holds, in UTF-16 units: its title, and its text.
constexpr size_t BalloonTitleUnits = 63;
constexpr size_t BalloonTextUnits = 255;

// The length in bytes of the longest start of text, in whole characters,
// that takes at most units UTF-16 units: a character beyond U+FFFF (a
// four-byte sequence in UTF-8) takes two, every other one.
size_t FittingLength(const char* text, size_t units) {
  bool utf8 = PlatformAnsiIsUtf8();
  size_t length = 0;
  while (text[length]) {
    size_t need = utf8 && static_cast<unsigned char>(text[length]) >= 0xF0 ? 2 : 1;
    if (need > units) break;
    units -= need;
    length += CharactersLength(text + length, 1);
  }
  return length;
}

// The text as a balloon shows it in at most units UTF-16 units: whole when
// it fits, else cut on a character boundary and ended with an ellipsis
// (one character in every code page, counted as FittingLength counts).
std::string BalloonText(const char* text, size_t units) {
  if (!text[FittingLength(text, units)]) return text;
  std::string ellipsis = PlatformToAnsi(u"\u2026");
  return std::string(text, FittingLength(text, units - CountCharacters(ellipsis.c_str()))) +
         ellipsis;
}

}  // namespace

// Shows the notification and waits for its end; where there is no
// notification area, the same text in a box that closes itself after the
// same time. Returns 0.
int ShowNotification(const char* title, BoxIcon icon, const char* text, int seconds) {
  if (!PlatformNotify(BalloonText(title, BalloonTitleUnits).c_str(),
                      BalloonText(text, BalloonTextUnits).c_str(), icon, seconds))
    ShowIconMessage(title, icon, text, seconds);
  return 0;
}

// The part of the new process: shows what the environment says, after
// taking the variables out of it so that nothing started from here
// inherits them; -1, changing nothing, when this process is no such part.
int NotifierPart(int count, char** args) {
  const char* settings = PlatformGetEnv(NotifyVariable);
  if (count != 2 || strcmp(args[1], NotifierSwitch) != 0 || !settings) return -1;
  char digits[16] = "";
  int seconds = NotifySeconds, number = IconNone;
  if (sscanf(settings, "%15[0-9] %d", digits, &number) != 2 || !ReadSeconds(digits, &seconds))
    seconds = NotifySeconds;
  BoxIcon icon = number > IconNone && number <= IconError ? static_cast<BoxIcon>(number) : IconNone;
  const char* title = PlatformGetEnv(NotifyTitleVariable);
  const char* text = PlatformGetEnv(NotifyTextVariable);
  std::string shownTitle = title ? title : ToolName, shownText = text ? text : "";
  for (const char* name : NotifyVariables) PlatformSetEnv(name, nullptr);
  return ShowNotification(shownTitle.c_str(), icon, shownText.c_str(), seconds);
}

// Hands the notification to a new process and returns 0 at once; shows it
// itself where a variable cannot be set or no process can be started.
int Notify(const char* title, BoxIcon icon, const char* text, int seconds) {
  if (DebugLevel > 0) Log("Notification: %s", text);
  char settings[32];
  snprintf(settings, sizeof settings, "%d %d", seconds, static_cast<int>(icon));
  bool handed =
      PlatformSetEnv(NotifyVariable, settings) &&
      PlatformSetEnv(NotifyTitleVariable, BalloonText(title, BalloonTitleUnits).c_str()) &&
      PlatformSetEnv(NotifyTextVariable, BalloonText(text, BalloonTextUnits).c_str()) &&
      PlatformStartSelf(NotifierSwitch);
  for (const char* name : NotifyVariables) PlatformSetEnv(name, nullptr);
  if (handed) return 0;
  if (DebugLevel > 0) Log("No process to show the notification; shown here");
  return ShowNotification(title, icon, text, seconds);
}

namespace {

// The seconds of a "-timeout=SECONDS" message (case ignored): 0 when it is
// no such switch, -1 when its value is not 1 to a day in decimal digits.
int TimeoutSwitch(const char* text) {
  const char* digits = AfterPrefix(text, "-timeout=");
  if (!digits) return 0;
  int seconds = 0;
  return ReadSeconds(digits, &seconds) ? seconds : -1;
}

}  // namespace

namespace {

// The first argument of say's process in the person's session (-user): its
// arguments are as this process read them, @files already read.
constexpr const char* PersonSwitch = "-say-person-process";

// An entry of a command line that splits back into it whole.
std::string Quoted(const char* entry) {
  std::string quoted = "\"";
  for (const char* c = entry; *c; c++) quoted += *c == '"' ? std::string("\"\"") : std::string(1, *c);
  return quoted + "\"";
}

// Shows the message to the person logged on at the console, in their
// session as them, and returns its status; -1 when nobody can be shown it.
int ShowToPerson(const char* title, BoxIcon icon, const char* text, int seconds, bool notify) {
  char path[1024] = "";
  int n = PlatformModuleFileName(path, sizeof path);
  if (n <= 0 || n >= static_cast<int>(sizeof path)) return -1;
  std::string line = Quoted(path) + " " + PersonSwitch;
  if (title) line += " -t " + Quoted(title);
  static const char* const IconSwitches[] = {"", " -i", " -w", " -e"};
  line += IconSwitches[icon];
  if (seconds > 0) line += " -timeout=" + std::to_string(seconds);
  if (notify) line += " -notify";
  line += " " + Quoted(text);
  std::string whyNot;
  int status = PlatformRunAsConsoleUser(path, line.c_str(), nullptr, &whyNot);
  if (status == -1 && !whyNot.empty()) {
    PlatformWriteError((std::string(ToolName) + ": -user: " + whyNot + "\n").c_str());
    if (DebugLevel > 0) Log("-user: %s", whyNot.c_str());
  }
  return status;
}

}  // namespace

int ToolMain(int count, char** args) {
  int notifier = NotifierPart(count, args);
  if (notifier >= 0) return notifier;
  bool person = count >= 2 && strcmp(args[1], PersonSwitch) == 0;
  if (person) {
    for (int i = 1; i < count; i++) args[i] = args[i + 1];
    count--;
  }
  if (StandardSwitches(&count, args)) return 0;
  if (count <= 1) {
    ShowUsage();
    return 1;
  }
  if (!person) ExpandFileArgs(count, args);

  const char* title = ToolName;
  BoxIcon icon = IconNone;
  std::vector<const char*> messages;
  for (int i = 1; i < count; i++) {
    if (CompareNoCase(args[i], "-t") == 0) {
      title = args[++i];  // taken whatever it is; null after the last argument
    } else if (CompareNoCase(args[i], "-i") == 0) {
      icon = IconInformation;
    } else if (CompareNoCase(args[i], "-w") == 0) {
      icon = IconWarning;
    } else if (CompareNoCase(args[i], "-e") == 0) {
      icon = IconError;
    } else {
      messages.push_back(args[i]);
    }
  }
  // Only where more than one message would end in the usage box are a
  // -timeout= and a -notify among them switches; each once, -timeout= with
  // a good value, they are taken out.
  int seconds = 0;
  bool notify = false, user = false;
  if (messages.size() > 1) {
    std::vector<const char*> rest;
    int timeouts = 0, notifies = 0, users = 0;
    for (const char* message : messages) {
      int value = TimeoutSwitch(message);
      if (value != 0) {
        timeouts++;
        seconds = value;
      } else if (CompareNoCase(message, "-notify") == 0) {
        notifies++;
        notify = true;
      } else if (!person && CompareNoCase(message, "-user") == 0) {
        users++;
        user = true;
      } else {
        rest.push_back(message);
      }
    }
    if (timeouts > 1 || notifies > 1 || users > 1 || seconds < 0) {
      ShowUsage();
      return 1;
    }
    messages = rest;
  }
  if (messages.size() != 1) {
    ShowUsage();
    return 1;
  }
  MessageTimeout = seconds;
  RecordNote("say", messages[0]);
  if (*UnseenReason()) {
    // Where nobody can see this screen, -user shows the message to the
    // person at the console; else (and under ASK_ANSWERS) nothing waits.
    const char* answers = PlatformGetEnv(AnswersVariable);
    bool byFile = answers && *answers;
    int shown = user && !byFile ? ShowToPerson(title, icon, messages[0], seconds, notify) : -1;
    if (shown >= 0) return shown;
    ReportUnshown(messages[0], nullptr);
    return 0;
  }
  if (notify)
    return Notify(title ? title : ToolName, icon, messages[0],
                  seconds > 0 ? seconds : NotifySeconds);
  return ShowIconMessage(title, icon, messages[0], seconds);
}
