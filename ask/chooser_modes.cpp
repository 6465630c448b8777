// ask's questions in the system's file and folder dialogs: file, save,
// files and dir.
#include <string>
#include <vector>

#include "answers.h"
#include "ask.h"
#include "choosers.h"
#include "chosen.h"
#include "cmdline.h"
#include "files.h"
#include "frame.h"
#include "platform.h"
#include "unicode.h"

namespace {

// Ends the tool for a choice that cannot be taken whole.
[[noreturn]] void TooLongToTake(bool several) {
  if (several) FatalError("Too many files chosen to take them all; choose fewer at a time");
  FatalError("The path chosen is too long to take whole");
}

// The chooser's answer, in a buffer of that many characters in bytes of
// the ANSI code page and two bytes to spare, all zero when cancelled. A
// dialog that fails, or cannot hand over the whole choice, ends the tool
// before the result file is touched.
std::vector<char> Choose(const Question& question, int characters,
                         ChooserOutcome (*choose)(const ChooserRequest&, int, char*)) {
  bool several = characters > AnswerSize;
  ChooserRequest request{question.prompt, question.title, question.folder, "", "", several};
  if (question.filter) DialogFilter(question.filter, &request.filter, &request.defaultExtension);
  std::vector<char> answer(AnsiBufferSize(characters) + 2, '\0');
  ChooserOutcome outcome = choose(request, static_cast<int>(answer.size()), answer.data());
  if (outcome == ChooserTooSmall) TooLongToTake(several);
  if (outcome == ChooserFailed)
    FatalError("The system's dialog for ask %s could not be shown", question.mode->word);
  if (outcome != ChooserChosen) answer.assign(answer.size(), '\0');
  return answer;
}

// What a path that an answer line gives must be, as the chooser would
// have given it.
enum PathKind { AnyPath, FilePath, FolderPath };

bool IsFolder(const std::string& path) {
  return !PlatformFindEntries((path + (path.back() == '\\' ? "*" : "\\*")).c_str()).empty();
}

// What is wrong with a path an answer line gives ("" for nothing): the
// dialogs give full paths (a drive or a share), of at most characters,
// that name an existing file (open) or folder (folder).
std::string PathFault(const std::string& path, PathKind kind, size_t characters) {
  std::string shown = "\"" + ShownValue(path.c_str()) + "\"";
  bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  bool share = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
  if (!drive && !share) return shown + " is not a full path";
  if (CountCharacters(path.c_str()) >= characters) return shown + " is too long to take whole";
  if (kind == FilePath && !FileExists(path.c_str())) return shown + " is not an existing file";
  if (kind == FolderPath && !IsFolder(path)) return shown + " is not an existing folder";
  return "";
}

// The paths an answer line gives, separated by "|" where several are
// taken, or the tool ends; an empty line is Cancel: no path.
std::vector<std::string> PathsOfLine(const std::string& line, PathKind kind, bool several) {
  std::vector<std::string> paths;
  if (line.empty()) return paths;
  paths = several ? SplitBars(line.c_str()) : std::vector<std::string>{line};
  size_t total = 0;
  for (const std::string& path : paths) {
    std::string fault = PathFault(path, kind, AnswerSize);
    if (!fault.empty()) RefuseAnswer(fault);
    total += CountCharacters(path.c_str()) + 1;
    // The dialog takes several files from one folder only.
    if (path.substr(0, path.rfind('\\')) != paths[0].substr(0, paths[0].rfind('\\')))
      RefuseAnswer("\"" + ShownValue(path.c_str()) + "\" is not in the folder of the first file");
  }
  if (total >= static_cast<size_t>(SeveralAnswerSize)) RefuseAnswer("names too many files to take");
  return paths;
}

// The paths of an answer as its line holds them.
std::string LineOfPaths(const std::vector<std::string>& paths) {
  std::string line;
  for (const std::string& path : paths) line += (line.empty() ? "" : "|") + path;
  return line;
}

// The file, save and folder questions: the one path chosen, whole.
int AskOnePath(const Question& question, ChooserOutcome (*choose)(const ChooserRequest&, int, char*),
               PathKind kind) {
  std::string line, path;
  if (HowAnswered(question, false, &line) == ByLine) {
    std::vector<std::string> paths = PathsOfLine(line, kind, false);
    if (!paths.empty()) path = paths[0];
  } else {
    std::vector<char> answer = Choose(question, AnswerSize, choose);
    if (!ChosenPath(answer.data(), answer.size(), &path)) TooLongToTake(false);
  }
  AnswerGiven(path);
  return WriteResult(question.resultFile, path.c_str());
}

}  // namespace

int AskFile(const Question& question) { return AskOnePath(question, ChooseFile, FilePath); }

int AskSave(const Question& question) { return AskOnePath(question, ChooseSaveFile, AnyPath); }

int AskDir(const Question& question) { return AskOnePath(question, ChooseFolder, FolderPath); }

int AskFiles(const Question& question) {
  std::string line;
  std::vector<std::string> paths;
  if (HowAnswered(question, false, &line) == ByLine) {
    paths = PathsOfLine(line, FilePath, true);
  } else {
    std::vector<char> answer = Choose(question, SeveralAnswerSize, ChooseFile);
    if (!ChosenPaths(answer.data(), answer.size(), &paths)) TooLongToTake(true);
  }
  AnswerGiven(LineOfPaths(paths));
  if (paths.empty()) return WriteResult(question.resultFile, "");
  return WriteResultLines(question.resultFile, paths);
}
