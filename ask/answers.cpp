// Answers that come without a window: from the file ASK_ANSWERS names,
// from the person at the console (-user, when nobody can see this
// screen), or as a question's time limit gives them where nobody can see
// it; and the record of every answer in ASK_RECORD.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "answers.h"
#include "ask.h"
#include "cmdline.h"
#include "files.h"
#include "frame.h"
#include "log.h"
#include "platform.h"

const char* PersonChannel = nullptr;

namespace {

// The number of the line taken, for the faults that name it; 0 when the
// line came from the person at the console.
int TakenLineNumber = 0;

// What TakeNextLine hands the locked update of the place file.
struct Taking {
  std::vector<std::string> lines;  // the answer file's lines
  bool found = false;
  std::string line;  // the line taken
  int number = 0;    // its number in the file, from 1
};

// The place file holds how many answer lines have been taken: the next
// one (comment lines skipped) is taken, and the count grows by one.
std::string TakeAfter(const std::string& old, void* context) {
  Taking* taking = static_cast<Taking*>(context);
  long taken = strtol(old.c_str(), nullptr, 10);
  if (taken < 0) taken = 0;
  long seen = 0;
  for (size_t i = 0; i < taking->lines.size(); i++) {
    std::string line = taking->lines[i];
    if (!line.empty() && line[0] == '#') {
      if (line.size() < 2 || line[1] != '#') continue;  // a comment
      line.erase(0, 1);                                 // "##" stands for "#"
    }
    if (seen++ < taken) continue;
    taking->found = true;
    taking->line = line;
    taking->number = static_cast<int>(i + 1);
    return std::to_string(taken + 1) + "\n";
  }
  return old;
}

// The next line of the answer file, taken once: the place file beside it
// keeps the count, updated by one process at a time, so that several tools
// that share the file take its lines in turn.
std::string TakeNextLine(const char* path) {
  Taking taking;
  char* text = ReadAll(path);
  taking.lines = SplitTextLines(text);
  free(text);
  std::string place = std::string(path) + PlaceFileEnding;
  if (!PlatformUpdateFile(place.c_str(), TakeAfter, &taking))
    RefuseAnswer("the place in " + std::string(path) + " cannot be kept in " + place);
  if (!taking.found) {
    TakenLineNumber = static_cast<int>(taking.lines.size()) + 1;
    RefuseAnswer("no line is left for this question");
  }
  TakenLineNumber = taking.number;
  if (DebugLevel > 0) Log("Answer from line %d of %s", taking.number, path);
  return taking.line;
}

// Quotes an entry of the person's command line so that the command line
// splits back into it whole: in double quotes, a quote doubled.
std::string Quoted(const std::string& entry) {
  std::string quoted = "\"";
  for (char c : entry) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// The question's command line for the person's process: the mode, its
// switches and its arguments as this process read them (@files already
// read), the result file NUL, since the answer comes back by the channel.
std::string PersonCommandLine(const Question& question) {
  char path[1024] = "";
  int n = PlatformModuleFileName(path, sizeof path);
  if (n <= 0 || n >= static_cast<int>(sizeof path)) path[0] = '\0';
  std::string line = Quoted(path) + " " + PersonSwitch;
  if (DebugLevel > 0) line += " -dbg=" + std::to_string(DebugLevel);
  line += " " + std::string(question.mode->word);
  if (strcmp(question.rightLabel, "Next") == 0) line += " -bn";
  if (strcmp(question.rightLabel, "Done") == 0) line += " -bd";
  if (question.raw) line += " -r";
  if (question.timeout > 0) line += " -timeout=" + std::to_string(question.timeout);
  if (question.defaultWord) line += " " + Quoted(std::string("-default=") + question.defaultWord);
  if (question.title) line += " " + Quoted(std::string("-title=") + question.title);
  if (question.folder) line += " " + Quoted(std::string("-folder=") + question.folder);
  if (question.filter) line += " " + Quoted(std::string("-filter=") + question.filter);
  for (char** argument = question.arguments; *argument; argument++)
    line += " " + Quoted(*argument == question.resultFile ? "NUL" : *argument);
  return line;
}

// Asks the person at the console in a process of their own; true with the
// line they answered, false (reported) when nobody could be asked. A
// process that ended without an answer ends this one with its status.
bool AskPerson(const Question& question, std::string* line) {
  char path[1024] = "";
  int n = PlatformModuleFileName(path, sizeof path);
  std::string channel, whyNot;
  int status = n > 0 && n < static_cast<int>(sizeof path)
                   ? PlatformRunAsConsoleUser(path, PersonCommandLine(question).c_str(), &channel,
                                              &whyNot)
                   : -1;
  if (status == -1 && !whyNot.empty()) {
    if (DebugLevel > 0) Log("-user: %s", whyNot.c_str());
    std::string why = "-user: " + whyNot;
    PlatformWriteError((std::string(ToolName) + ": " + why + "\n").c_str());
    return false;
  }
  // The person's process may send anything: one line ending in a line
  // feed is an answer, anything else none.
  size_t end = channel.find('\n');
  if (end == std::string::npos || end + 1 != channel.size()) {
    std::string why = "the person's question ended (status " + std::to_string(status) +
                      ") without an answer";
    ReportUnshown(question.prompt, why.c_str());
    PlatformExit(status > 0 ? status : 1);
  }
  *line = channel.substr(0, end);
  if (DebugLevel > 0) Log("-user: answered by the person at the console");
  return true;
}

}  // namespace

AnswerWay HowAnswered(const Question& question, bool alwaysAnswered, std::string* line) {
  const char* answers = PlatformGetEnv(AnswersVariable);
  if (answers && *answers) {
    *line = TakeNextLine(answers);
    return ByLine;
  }
  if (!*UnseenReason()) return ByWindow;
  if (question.user && AskPerson(question, line)) return ByLine;
  if (alwaysAnswered) {
    ReportUnshown(question.prompt, "Followed its feed without a window");
    return ByTimeLimit;
  }
  if (question.timeout > 0 || question.defaultWord) {
    ReportUnshown(question.prompt, "Answered as when its time runs out");
    return ByTimeLimit;
  }
  ReportUnshown(question.prompt,
                "No answer without -default= or -timeout=: nothing written, status 1");
  PlatformExit(1);
}

void RefuseAnswer(const std::string& why) {
  std::string text;
  const char* answers = PlatformGetEnv(AnswersVariable);
  if (TakenLineNumber > 0 && answers)
    text = std::string(answers) + " line " + std::to_string(TakenLineNumber) + ": " + why;
  else
    text = "The answer " + why;
  PlatformWriteError((std::string(ToolName) + ": " + text + "\n").c_str());
  if (DebugLevel > 0) Log("%s", text.c_str());
  PlatformExit(1);
}

std::string AnswerLine(const std::string& answer) {
  std::string line = answer.substr(0, answer.find_first_of("\r\n"));
  return !line.empty() && line[0] == '#' ? "#" + line : line;
}

void AnswerGiven(const std::string& line) {
  if (PersonChannel) {
    if (!PlatformWriteChannel(PersonChannel, line + "\n")) PlatformExit(1);
    return;
  }
  const char* record = PlatformGetEnv(RecordVariable);
  if (record && *record) PlatformAppendText(record, (line + "\n").c_str());
}

bool TakePersonSwitch(int* count, char** args) {
  const char* channel = PlatformGetEnv(ChannelVariable);
  if (*count < 2 || strcmp(args[1], PersonSwitch) != 0 || !channel || !*channel) return false;
  PersonChannel = XStrDup(channel);
  PlatformSetEnv(ChannelVariable, nullptr);
  for (int i = 1; i < *count; i++) args[i] = args[i + 1];
  --*count;
  return true;
}
