// ask's questions in the system's file and folder dialogs: file, save,
// files and dir.
#include <string>
#include <vector>

#include "ask.h"
#include "choosers.h"
#include "chosen.h"
#include "frame.h"
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

// The file, save and folder questions: the one path chosen, whole.
int AskOnePath(const Question& question,
               ChooserOutcome (*choose)(const ChooserRequest&, int, char*)) {
  std::vector<char> answer = Choose(question, AnswerSize, choose);
  std::string path;
  if (!ChosenPath(answer.data(), answer.size(), &path)) TooLongToTake(false);
  return WriteResult(question.resultFile, path.c_str());
}

}  // namespace

int AskFile(const Question& question) { return AskOnePath(question, ChooseFile); }

int AskSave(const Question& question) { return AskOnePath(question, ChooseSaveFile); }

int AskDir(const Question& question) { return AskOnePath(question, ChooseFolder); }

int AskFiles(const Question& question) {
  std::vector<char> answer = Choose(question, SeveralAnswerSize, ChooseFile);
  std::vector<std::string> paths;
  if (!ChosenPaths(answer.data(), answer.size(), &paths)) TooLongToTake(true);
  if (paths.empty()) return WriteResult(question.resultFile, "");
  return WriteResultLines(question.resultFile, paths);
}
