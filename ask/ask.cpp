// ask: puts one question to the user and writes the answer as one line
// into a result file. This file holds the table of modes and the dispatch,
// the switches every question may take, and the result file; the modes
// themselves are in modes.cpp.
#include "ask.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "cmdline.h"
#include "frame.h"
#include "log.h"
#include "tool_version.h"  // TOOL_VERSION_MAJOR and _MINOR, from add_tool
#include "unicode.h"

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

// The modes in the order their words are tried: the six of the usage text,
// then the ones added later.
const AskMode AskModes[15] = {
    {"text", AskText, "ask text [-bn|-bd] prompt outfile", true, nullptr, TitleSwitch},
    {"file", AskFile, "ask file prompt outfile", false, nullptr, FolderSwitch | FilterSwitch},
    {"dir", AskDir, "ask dir prompt outfile", false, nullptr, FolderSwitch | TitleSwitch},
    {"list", AskList, "ask list [-r] [-bn|-bd] prompt list.csv out.txt", true, "", TitleSwitch},
    {"yn", AskYesNo, "ask yn prompt outfile", true, "yes|no", TitleSwitch},
    {"ok", AskOk, "ask ok prompt outfile", true, "ok|cancel", TitleSwitch},
    {"pass", AskPass, "ask pass [-bn|-bd] prompt outfile", true, nullptr, TitleSwitch},
    {"save", AskSave, "ask save prompt outfile", false, nullptr, FolderSwitch | FilterSwitch},
    {"edit", AskEdit, "ask edit [-bn|-bd] prompt default outfile", true, nullptr, TitleSwitch},
    {"ync", AskYesNoCancel, "ask ync prompt outfile", true, "yes|no|cancel", TitleSwitch},
    {"progress", AskProgress, "ask progress prompt feedfile outfile", true, nullptr, TitleSwitch},
    {"check", AskCheck, "ask check [-bn|-bd] prompt list.csv outfile", true, nullptr, TitleSwitch},
    {"buttons", AskButtons, "ask buttons prompt labels outfile", true, "", TitleSwitch},
    {"date", AskDate, "ask date prompt outfile", true, "", TitleSwitch},
    {"files", AskFiles, "ask files [-filter=] [-folder=] prompt outfile", false, nullptr,
     FolderSwitch | FilterSwitch},
};

namespace {

// The position of word among the "|"-separated words, case ignored; -1
// when it is none of them.
int WordIndex(const char* words, const char* word) {
  int index = 0;
  for (const char* start = words;; index++) {
    const char* end = strchr(start, '|');
    size_t length = end ? static_cast<size_t>(end - start) : strlen(start);
    char candidate[16];
    if (length < sizeof candidate) {
      memcpy(candidate, start, length);
      candidate[length] = '\0';
      if (CompareNoCase(word, candidate) == 0) return index;
    }
    if (!end) return -1;
    start = end + 1;
  }
}

}  // namespace

// A value written in quotes after the prefix, as cmd.exe users write
// -filter="CSV files|*.csv", was split at its blanks, since quotes count
// only at the start of an entry: the entries up to the closing quote are
// joined again with one blank each, and the quotes dropped.
const char* TakeAfterModeWord(int* count, char** args, const char* prefix) {
  for (int i = 2; i < *count; i++) {
    const char* value = AfterPrefix(args[i], prefix);
    if (!value) continue;
    std::string joined = value;
    int last = i;
    if (!joined.empty() && joined[0] == '"') {
      while ((joined.size() < 2 || joined.back() != '"') && last + 1 < *count)
        joined += std::string(" ") + args[++last];
      joined.erase(0, 1);
      if (!joined.empty() && joined.back() == '"') joined.pop_back();
    }
    char* taken = XStrDup(joined.c_str());
    int removed = last - i + 1;
    for (int k = i; k + removed <= *count; k++) args[k] = args[k + removed];
    *count -= removed;
    return taken;
  }
  return nullptr;
}

std::vector<std::string> SplitBars(const char* text) {
  std::vector<std::string> parts;
  for (const char* start = text;;) {
    const char* end = strchr(start, '|');
    parts.emplace_back(start, end ? static_cast<size_t>(end - start) : strlen(start));
    if (!end) return parts;
    start = end + 1;
  }
}

namespace {

// Keeps the first fault found: the one the usage box names.
void NoteFault(std::string* fault, const std::string& why) {
  if (fault->empty()) *fault = why;
}

// Takes a text switch the mode has (-title= and the like); a second one is
// a fault.
void TakeText(int* count, char** args, const char* prefix, const char** value, std::string* fault) {
  *value = TakeAfterModeWord(count, args, prefix);
  if (*value && TakeAfterModeWord(count, args, prefix))
    NoteFault(fault, std::string(prefix) + " is given twice");
}

// A filter is pairs of a label and its patterns, none of them blank.
bool GoodFilter(const char* filter) {
  std::vector<std::string> parts = SplitBars(filter);
  if (parts.size() % 2 != 0) return false;
  for (const std::string& part : parts)
    if (part.find_first_not_of(' ') == std::string::npos) return false;
  return true;
}

}  // namespace

std::string ShownValue(const char* value) {
  constexpr size_t Longest = 40;
  std::string line(value, strcspn(value, "\r\n"));
  size_t kept = CharactersLength(line.c_str(), Longest);
  bool cut = kept < line.size() || line.size() < strlen(value);
  line.resize(kept);
  return cut ? line + "..." : line;
}

void RefuseUsage(const AskMode& mode, const std::string& fault) {
  if (fault.empty()) FatalError("%s", mode.usage);
  FatalError("%s\n%s", fault.c_str(), mode.usage);
}

QuestionSwitches CheckCount(int* count, char** args, int wanted, const AskMode& mode) {
  QuestionSwitches taken = {0, nullptr, 0, nullptr, nullptr, nullptr};
  if (*count == wanted) return taken;
  std::string fault;
  if (mode.takesTimeout) {
    if (const char* seconds = TakeAfterModeWord(count, args, "-timeout=")) {
      bool read = ReadSeconds(seconds, &taken.timeout);
      if (!read)
        NoteFault(&fault, "-timeout=" + ShownValue(seconds) + " is not 1 to " +
                              std::to_string(MaxTimeoutSeconds) + " seconds");
      if (TakeAfterModeWord(count, args, "-timeout=")) {
        NoteFault(&fault, "-timeout= is given twice");
        read = false;
      }
      // From here on every box of the run, its usage box too, closes
      // itself after that time, as the boxes after a question do.
      if (read) MessageTimeout = taken.timeout;
    }
  }
  if (mode.defaultWords) {
    taken.defaultWord = TakeAfterModeWord(count, args, "-default=");
    if (taken.defaultWord) {
      if (TakeAfterModeWord(count, args, "-default="))
        NoteFault(&fault, "-default= is given twice");
      if (*mode.defaultWords) {
        taken.defaultButton = WordIndex(mode.defaultWords, taken.defaultWord);
        if (taken.defaultButton < 0)
          NoteFault(&fault, "-default=" + ShownValue(taken.defaultWord) +
                                " is not one of the buttons: " + mode.defaultWords);
      }
    }
  }
  if (mode.switches & TitleSwitch) TakeText(count, args, "-title=", &taken.title, &fault);
  if (mode.switches & FolderSwitch) TakeText(count, args, "-folder=", &taken.folder, &fault);
  if (mode.switches & FilterSwitch) {
    TakeText(count, args, "-filter=", &taken.filter, &fault);
    if (taken.filter && !GoodFilter(taken.filter))
      NoteFault(&fault, "-filter= needs pairs of a label and patterns");
  }
  if (!fault.empty() || *count != wanted) RefuseUsage(mode, fault);
  MessageTimeout = taken.timeout;
  return taken;
}

void NoteTimeout(int seconds) {
  if (DebugLevel > 0) Log("Timed out after %d s", seconds);
}

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
  if (StandardSwitches(&count, args)) return 0;
  if (count < 2) {
    ShowUsage();
    return 1;
  }
  ExpandFileArgs(count, args);
  for (const AskMode& mode : AskModes) {
    if (CompareNoCase(args[1], mode.word) == 0) return mode.routine(count, args, mode);
  }
  ShowUsage();
  return 1;
}
