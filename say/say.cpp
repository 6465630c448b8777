// say: shows one message in a message box, with an optional title and
// icon, and waits until the user presses Ok.
#include "cmdline.h"
#include "frame.h"
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
// null) with the icon's style; returns 0 once it is closed.
int ShowIconMessage(const char* caption, int icon, const char* text) {
  PlatformMessageBox(text, caption, IconStyle(icon));
  return 0;
}

int ToolMain(int count, char** args) {
  if (StandardSwitches(&count, args)) return 0;
  if (count <= 1) {
    ShowUsage();
    return 1;
  }
  ExpandFileArgs(count, args);

  const char* title = ToolName;
  int icon = IconNone;
  const char* messages[2];
  int messageCount = 0;
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
      if (messageCount == 2) {
        ShowUsage();
        return 1;
      }
      messages[messageCount++] = args[i];
    }
  }
  if (messageCount != 1) {
    ShowUsage();
    return 1;
  }
  return ShowIconMessage(title, icon, messages[0]);
}
