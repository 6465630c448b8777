// ask: puts one question to the user and writes the answer as one line
// into a result file. This file holds the table of modes, the dispatch and
// the result file; switches.cpp reads a question's command line, and the
// modes are in box_modes.cpp (message boxes), chooser_modes.cpp (the
// system's file and folder dialogs) and dialog_modes.cpp (ask's own
// dialog windows).
#include "ask.h"

#include <cstdio>
#include <string>

#include "answers.h"
#include "cmdline.h"
#include "frame.h"
#include "tool_version.h"  // TOOL_VERSION_MAJOR and _MINOR, from add_tool

const ToolIdentity ThisTool = {
    "Ask",
    TOOL_VERSION_MAJOR,
    TOOL_VERSION_MINOR,
    "Ask.log",
    "/Products/Corvalette/Help/Ask.html",
    "Usage:\n"
    "\n"
    "ask ok prompt out.txt\n"
    "Show Ok and Cancel buttons. Write \"ok\" or blank to out.txt\n"
    "\n"
    "ask yn prompt out.txt\n"
    "Show Yes and No buttons. Write \"yes\" or blank to out.txt\n"
    "\n"
    "ask text [-bn|-bd] prompt out.txt\n"
    "Show prompt and ask for input. Writes answer to out.txt.\n"
    "-bn Show Back and Next buttons instead of Cancel and Ok\n"
    "-bd Show Back and Done ...\n"
    "\n"
    "ask list [-r] [-bn|-bd] prompt list.csv out.txt\n"
    "Show prompt and a list of choices.\n"
    "Shows col1 of csv file. Writes col2 of selected row to out.txt\n"
    "-r Raw(unsorted) list\n"
    "-bn and -bd work as above.\n"
    "\n"
    "ask file prompt out.txt\n"
    "Show a browse for file dialog and writes the full path to out.txt.\n"
    "\n"
    "ask dir prompt out.txt\n"
    "Show a browse for directory dialog and writes the full path to out.txt.\n"
    "\n"
    "ask -help\n"
    "Show online help.",
};

namespace {

constexpr unsigned Asked = TimeoutSwitch | TitleSwitch;  // what every question of ask's own takes
constexpr unsigned Chooser = FolderSwitch | FilterSwitch;

// The modes in the order their words are tried: the six of the usage text,
// then the ones added later.
const AskMode AskModes[] = {
    {"text", "prompt outfile", Asked | BackSwitches, nullptr, AskText,
     "ask text [-bn|-bd] prompt outfile"},
    {"file", "prompt outfile", Chooser, nullptr, AskFile, "ask file prompt outfile"},
    {"dir", "prompt outfile", FolderSwitch | TitleSwitch, nullptr, AskDir,
     "ask dir prompt outfile"},
    {"list", "prompt list.csv outfile", Asked | BackSwitches | RawSwitch, "", AskList,
     "ask list [-r] [-bn|-bd] prompt list.csv out.txt"},
    {"yn", "prompt outfile", Asked, "yes|no", AskYesNo, "ask yn prompt outfile"},
    {"ok", "prompt outfile", Asked, "ok|cancel", AskOk, "ask ok prompt outfile"},
    {"pass", "prompt outfile", Asked | BackSwitches, nullptr, AskPass,
     "ask pass [-bn|-bd] prompt outfile"},
    {"save", "prompt outfile", Chooser, nullptr, AskSave, "ask save prompt outfile"},
    {"edit", "prompt default outfile", Asked | BackSwitches, nullptr, AskText,
     "ask edit [-bn|-bd] prompt default outfile"},
    {"ync", "prompt outfile", Asked, "yes|no|cancel", AskYesNoCancel, "ask ync prompt outfile"},
    {"progress", "prompt feedfile outfile", Asked, nullptr, AskProgress,
     "ask progress prompt feedfile outfile"},
    {"check", "prompt list.csv outfile", Asked | BackSwitches | RawSwitch, nullptr, AskCheck,
     "ask check [-bn|-bd] prompt list.csv outfile"},
    {"buttons", "prompt labels outfile", Asked, "", AskButtons,
     "ask buttons prompt labels outfile"},
    {"date", "prompt outfile", Asked, "", AskDate, "ask date prompt outfile"},
    {"files", "prompt outfile", Chooser, nullptr, AskFiles,
     "ask files [-filter=] [-folder=] prompt outfile"},
};

}  // namespace

int WriteResultLines(const char* path, const std::vector<std::string>& answers) {
  FILE* f = fopen(path, "w");
  if (!f) FatalError("Can't write to file: %s", path);
  // A full disk shows only at the flush or the close (the Windows runtime's
  // fclose does not report a failed final write, so the flush is checked on
  // its own); any failure ends the tool with status 1 rather than leave a
  // cut answer behind as success.
  bool written = true;
  for (const std::string& answer : answers)
    written = fprintf(f, "%s\n", answer.c_str()) >= 0 && written;
  written = fflush(f) == 0 && written;
  written = fclose(f) == 0 && written;
  if (!written) FatalError("Can't write to file: %s", path);
  return 0;
}

int WriteResult(const char* path, const char* answer) { return WriteResultLines(path, {answer}); }

int ToolMain(int count, char** args) {
  // The person's process gets its arguments as the process that started
  // it read them, @files already read: they are never read again.
  bool person = TakePersonSwitch(&count, args);
  if (StandardSwitches(&count, args)) return 0;
  if (count < 2) {
    ShowUsage();
    return 1;
  }
  if (!person) ExpandFileArgs(count, args);
  for (const AskMode& mode : AskModes) {
    if (CompareNoCase(args[1], mode.word) == 0)
      return mode.routine(ReadQuestion(&count, args, mode));
  }
  ShowUsage();
  return 1;
}
