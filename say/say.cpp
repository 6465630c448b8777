// say: shows one message in a message box, with an optional title and
// icon, and waits until the user presses Ok.
#include <vector>

#include "cmdline.h"
#include "frame.h"
#include "log.h"
#include "platform.h"

const ToolIdentity ThisTool = {
    "Say",
    0,
    11,
    "Say.log",
    "/Products/Corvalette/Help/Say.html",
    "Usage:\n\nsay [-t title] [-i|-w|-e] msg\nShow a message and wait for Ok button press.\n"
    "-i show info icon\n-w show warning icon\n-e show error/fatal icon\n"
    "Use double quotes if msg contains spaces.\n"
    "args may be @file. Uses content of file as the arg.\n\nsay -help\nShow online help.",
};

namespace {

enum Icon { IconNone = 0, IconInformation = 1, IconWarning = 2, IconError = 3 };

// Message-box styles: MB_ICONINFORMATION, MB_ICONWARNING, MB_ICONERROR.
unsigned IconStyle(int icon) {
  switch (icon) {
    case IconInformation: return 64;
    case IconWarning: return 48;
    case IconError: return 16;
    default: return 0;
  }
}

}  // namespace

// Shows text in a box titled caption (the platform's default title when
// null) with the icon's style; returns 0 once it is closed. With a time
// limit (seconds above 0) the box closes itself as Ok when the time is up.
int ShowIconMessage(const char* caption, int icon, const char* text, int seconds) {
  if (seconds <= 0) {
    PlatformMessageBox(text, caption, IconStyle(icon));
    return 0;
  }
  bool timedOut = false;
  PlatformMessageBoxTimed(text, caption, IconStyle(icon), seconds, 1 /* IDOK */, &timedOut);
  if (timedOut && DebugLevel > 0) Log("Timed out after %d s", seconds);
  return 0;
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

int ToolMain(int count, char** args) {
  if (StandardSwitches(&count, args)) return 0;
  if (count <= 1) {
    ShowUsage();
    return 1;
  }
  ExpandFileArgs(count, args);

  const char* title = ToolName;
  int icon = IconNone;
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
  // Only where more than one message would end in the usage box is a
  // -timeout= among them a switch; once, with a good value, it is taken out.
  int seconds = 0;
  if (messages.size() > 1) {
    std::vector<const char*> rest;
    int switches = 0;
    for (const char* message : messages) {
      int value = TimeoutSwitch(message);
      if (value == 0) {
        rest.push_back(message);
      } else {
        switches++;
        seconds = value;
      }
    }
    if (switches > 1 || seconds < 0) {
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
  return ShowIconMessage(title, icon, messages[0], seconds);
}
