// Reading one question of ask from its command line: the switches every
// mode may take, the check of the count, the places of the arguments.
#include <cstring>
#include <string>
#include <vector>

#include "answers.h"
#include "ask.h"
#include "cmdline.h"
#include "frame.h"
#include "log.h"
#include "unicode.h"

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

namespace {

// The words of a row's arguments, in order.
std::vector<std::string> ArgumentNames(const char* arguments) {
  std::vector<std::string> names;
  for (const char* start = arguments; *start;) {
    size_t length = strcspn(start, " ");
    if (length) names.emplace_back(start, length);
    start += length + (start[length] == ' ');
  }
  return names;
}

// Checks that *count is wanted; when it is not, first takes the shared
// switches the mode has out of args into *taken (see ReadQuestion).
void CheckCount(int* count, char** args, int wanted, Question* taken) {
  if (*count == wanted) return;
  const AskMode& mode = *taken->mode;
  std::string fault;
  // Every question takes -user; the person's own process (which never
  // passes it on) reads such an entry as the argument it is.
  if (!PersonChannel && TakeSwitch(count, args, "-user")) {
    taken->user = true;
    if (TakeSwitch(count, args, "-user")) NoteFault(&fault, "-user is given twice");
  }
  if (mode.switches & TimeoutSwitch) {
    if (const char* seconds = TakeAfterModeWord(count, args, "-timeout=")) {
      bool read = ReadSeconds(seconds, &taken->timeout);
      if (!read)
        NoteFault(&fault, "-timeout=" + ShownValue(seconds) + " is not 1 to " +
                              std::to_string(MaxTimeoutSeconds) + " seconds");
      if (TakeAfterModeWord(count, args, "-timeout=")) {
        NoteFault(&fault, "-timeout= is given twice");
        read = false;
      }
      // From here on every box of the run, its usage box too, closes
      // itself after that time, as the boxes after a question do.
      if (read) MessageTimeout = taken->timeout;
    }
  }
  if (mode.defaultWords) {
    taken->defaultWord = TakeAfterModeWord(count, args, "-default=");
    if (taken->defaultWord) {
      if (TakeAfterModeWord(count, args, "-default="))
        NoteFault(&fault, "-default= is given twice");
      if (*mode.defaultWords) {
        taken->defaultButton = WordIndex(mode.defaultWords, taken->defaultWord);
        if (taken->defaultButton < 0)
          NoteFault(&fault, "-default=" + ShownValue(taken->defaultWord) +
                                " is not one of the buttons: " + mode.defaultWords);
      }
    }
  }
  if (mode.switches & TitleSwitch) TakeText(count, args, "-title=", &taken->title, &fault);
  if (mode.switches & FolderSwitch) TakeText(count, args, "-folder=", &taken->folder, &fault);
  if (mode.switches & FilterSwitch) {
    TakeText(count, args, "-filter=", &taken->filter, &fault);
    if (taken->filter && !GoodFilter(taken->filter))
      NoteFault(&fault, "-filter= needs pairs of a label and patterns");
  }
  if (!fault.empty() || *count != wanted) RefuseUsage(mode, fault);
  MessageTimeout = taken->timeout;
}

}  // namespace

Question ReadQuestion(int* count, char** args, const AskMode& mode) {
  Question question = {&mode,   nullptr, nullptr, nullptr,  0,    nullptr, 0,
                       nullptr, nullptr, nullptr, "Cancel", "Ok", false,   false};
  if (mode.switches & BackSwitches) {
    if (TakeSwitch(count, args, "-bn")) {
      question.leftLabel = "Back";
      question.rightLabel = "Next";
    }
    if (TakeSwitch(count, args, "-bd")) {
      question.leftLabel = "Back";
      question.rightLabel = "Done";
    }
  }
  if (mode.switches & RawSwitch) question.raw = TakeSwitch(count, args, "-r") != 0;
  int wanted = 2 + static_cast<int>(ArgumentNames(mode.arguments).size());
  CheckCount(count, args, wanted, &question);
  question.arguments = args + 2;
  question.prompt = args[2];
  question.resultFile = args[wanted - 1];
  return question;
}

const char* Argument(const Question& question, const char* name) {
  std::vector<std::string> names = ArgumentNames(question.mode->arguments);
  for (size_t i = 0; i < names.size(); i++)
    if (names[i] == name) return question.arguments[i];
  return nullptr;
}

void NoteTimeout(int seconds) {
  if (DebugLevel > 0) Log("Timed out after %d s", seconds);
}
