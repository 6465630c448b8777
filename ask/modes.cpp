// ask's modes: the message-box questions, the file and folder choosers,
// and the drivers of the text and list dialogs.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ask.h"
#include "choosers.h"
#include "chosen.h"
#include "cmdline.h"
#include "csv.h"
#include "dialogs.h"
#include "frame.h"
#include "platform.h"
#include "text.h"
#include "unicode.h"

namespace {

// --- Message-box questions ---

// The message-box type, its buttons in order, and the answer each writes;
// any other result (Escape or the close box) writes a blank line.
struct BoxQuestion {
  unsigned type;
  int buttons[3];
  const char* answers[3];
};

constexpr int IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7;
constexpr unsigned DefaultButtonStep = 0x100;  // MB_DEFBUTTON2, then MB_DEFBUTTON3

const BoxQuestion OkCancel = {1, {IdOk, IdCancel, 0}, {"ok", "", ""}};            // MB_OKCANCEL
const BoxQuestion YesNo = {4, {IdYes, IdNo, 0}, {"yes", "", ""}};                 // MB_YESNO
const BoxQuestion YesNoCancel = {3, {IdYes, IdNo, IdCancel}, {"yes", "no", ""}};  // MB_YESNOCANCEL

// A plain message box captioned with the tool's bare name (or -title=), without icon;
// -default= picks its default button, and -timeout= presses that button
// when the time is up.
int AskByMessageBox(int count, char** args, const AskMode& mode, const BoxQuestion& question) {
  QuestionSwitches switches = CheckCount(&count, args, 4, mode);
  unsigned style =
      question.type + DefaultButtonStep * static_cast<unsigned>(switches.defaultButton);
  const char* caption = switches.title ? switches.title : ToolName;
  int pressed;
  if (switches.timeout > 0) {
    bool timedOut = false;
    pressed = PlatformMessageBoxTimed(args[2], caption, style, switches.timeout,
                                      question.buttons[switches.defaultButton], &timedOut);
    if (timedOut) NoteTimeout(switches.timeout);
  } else {
    pressed = PlatformMessageBox(args[2], caption, style);
  }
  const char* answer = "";
  for (int i = 0; i < 3; i++) {
    if (question.buttons[i] && pressed == question.buttons[i]) answer = question.answers[i];
  }
  return WriteResult(args[3], answer);
}

// --- Dialogs ---

// The text dialog of the text, pass and edit modes: args holds the mode,
// the prompt, for edit the default, and the result file (wanted entries in
// all); a hidden field masks what is typed.
int AskWithTextDialog(int count, char** args, const AskMode& mode, int wanted, int hidden) {
  PrepareDialog(&count, args);
  QuestionSwitches switches = CheckCount(&count, args, wanted, mode);
  Dialog.timeout = switches.timeout;
  if (switches.title) Dialog.title = switches.title;
  Dialog.prompt = args[2];
  Dialog.hidden = hidden;
  // The field is one line and holds no more than an answer can: the
  // default's first line (a default from a file usually ends in a line
  // break), cut to the longest answer in whole characters.
  static std::string initial;
  if (wanted == 5) {
    initial.assign(args[3], strcspn(args[3], "\r\n"));
    initial.resize(CharactersLength(initial.c_str(), TextAnswerMax));
    Dialog.initialText = initial.c_str();
  }
  RunTextDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  WriteResult(args[wanted - 1], Dialog.accepted == 1 ? Dialog.result.text : "");
  free(Dialog.result.text);
  return 0;
}

}  // namespace

// --- The modes ---

void PrepareWindow() {
  Dialog.leftLabel = "Cancel";
  Dialog.rightLabel = "Ok";
  Dialog.title = "Ask";
  Dialog.initialText = "";
  Dialog.hidden = 0;
  Dialog.data = nullptr;
  Dialog.timeout = 0;
  Dialog.timedOut = 0;
  Dialog.defaultEntry = nullptr;
  Dialog.feed = nullptr;
  Dialog.orphaned = 0;
  Dialog.labels = nullptr;
  Dialog.defaultButton = 0;
  Dialog.ticks = nullptr;
  Dialog.rowsShown = nullptr;
  Dialog.date[0] = Dialog.date[1] = Dialog.date[2] = 0;
}

void PrepareDialog(int* count, char** args) {
  PrepareWindow();
  if (TakeSwitch(count, args, "-bn")) {
    Dialog.leftLabel = "Back";
    Dialog.rightLabel = "Next";
  }
  if (TakeSwitch(count, args, "-bd")) {
    Dialog.leftLabel = "Back";
    Dialog.rightLabel = "Done";
  }
}

int AskOk(int count, char** args, const AskMode& mode) {
  return AskByMessageBox(count, args, mode, OkCancel);
}

int AskYesNo(int count, char** args, const AskMode& mode) {
  return AskByMessageBox(count, args, mode, YesNo);
}

int AskYesNoCancel(int count, char** args, const AskMode& mode) {
  return AskByMessageBox(count, args, mode, YesNoCancel);
}

namespace {

// Ends the tool for a choice that cannot be taken whole.
[[noreturn]] void TooLongToTake(bool several) {
  if (several) FatalError("Too many files chosen to take them all; choose fewer at a time");
  FatalError("The path chosen is too long to take whole");
}

// The file, save, files and folder questions: the chooser's answer, in a
// buffer of that many characters in bytes of the ANSI code page and two
// bytes to spare, all zero when cancelled. A dialog that fails, or cannot
// hand over the whole choice, ends the tool before the result file is
// touched.
std::vector<char> Choose(int count, char** args, const AskMode& mode, int characters,
                         ChooserOutcome (*choose)(const ChooserRequest&, int, char*)) {
  QuestionSwitches switches = CheckCount(&count, args, 4, mode);  // the result file is args[3]
  bool several = characters > AnswerSize;
  ChooserRequest request{args[2], switches.title, switches.folder, "", "", several};
  if (switches.filter) DialogFilter(switches.filter, &request.filter, &request.defaultExtension);
  std::vector<char> answer(AnsiBufferSize(characters) + 2, '\0');
  ChooserOutcome outcome = choose(request, static_cast<int>(answer.size()), answer.data());
  if (outcome == ChooserTooSmall) TooLongToTake(several);
  if (outcome == ChooserFailed)
    FatalError("The system's dialog for ask %s could not be shown", mode.word);
  if (outcome != ChooserChosen) answer.assign(answer.size(), '\0');
  return answer;
}

// The file, save and folder questions: the one path chosen, whole.
int AskOnePath(int count, char** args, const AskMode& mode,
               ChooserOutcome (*choose)(const ChooserRequest&, int, char*)) {
  std::vector<char> answer = Choose(count, args, mode, AnswerSize, choose);
  std::string path;
  if (!ChosenPath(answer.data(), answer.size(), &path)) TooLongToTake(false);
  return WriteResult(args[3], path.c_str());
}

}  // namespace

int AskFile(int count, char** args, const AskMode& mode) {
  return AskOnePath(count, args, mode, ChooseFile);
}

int AskSave(int count, char** args, const AskMode& mode) {
  return AskOnePath(count, args, mode, ChooseSaveFile);
}

int AskDir(int count, char** args, const AskMode& mode) {
  return AskOnePath(count, args, mode, ChooseFolder);
}

int AskFiles(int count, char** args, const AskMode& mode) {
  std::vector<char> answer = Choose(count, args, mode, SeveralAnswerSize, ChooseFile);
  std::vector<std::string> paths;
  if (!ChosenPaths(answer.data(), answer.size(), &paths)) TooLongToTake(true);
  if (paths.empty()) return WriteResult(args[3], "");
  return WriteResultLines(args[3], paths);
}

int AskText(int count, char** args, const AskMode& mode) {
  return AskWithTextDialog(count, args, mode, 4, 0);
}

int AskPass(int count, char** args, const AskMode& mode) {
  return AskWithTextDialog(count, args, mode, 4, 1);
}

int AskEdit(int count, char** args, const AskMode& mode) {
  return AskWithTextDialog(count, args, mode, 5, 0);
}

int AskList(int count, char** args, const AskMode& mode) {
  PrepareDialog(&count, args);
  if (TakeSwitch(&count, args, "-r")) SortLists = 0;
  QuestionSwitches switches = CheckCount(&count, args, 5, mode);
  static CsvTable table;
  if (LoadCsvFile(&table, args[3]) <= 0) FatalError("No data in list file: %s", args[3]);
  Dialog.prompt = args[2];
  Dialog.data = &table;
  Dialog.timeout = switches.timeout;
  Dialog.defaultEntry = switches.defaultWord;
  if (switches.title) Dialog.title = switches.title;
  RunListDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);

  // Column 2 of the chosen entry's row; blank without a choice or without a
  // second column.
  char* value = nullptr;
  if (Dialog.accepted == 1 && Dialog.result.position >= 0) {
    const char* cell = CsvCell(&table, ListEntryRow(Dialog.result.position), 2);
    if (cell) value = StripQuotes(cell);
  }
  WriteResult(args[4], value ? value : "");
  free(value);
  return 0;
}

int AskProgress(int count, char** args, const AskMode& mode) {
  PrepareWindow();
  QuestionSwitches switches = CheckCount(&count, args, 5, mode);
  Dialog.timeout = switches.timeout;
  if (switches.title) Dialog.title = switches.title;
  Dialog.prompt = args[2];
  Dialog.feed = args[3];
  // A result that could not be written at the end would leave the batch
  // file waiting for ever for a cancel it can never see.
  if (!ResultWritable(args[4])) FatalError("Can't write to file: %s", args[4]);
  RunProgressDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  // The result file is the batch file's sign that the person cancelled:
  // written only when the window ends, and not at all once nobody is left
  // to read it.
  if (Dialog.orphaned) return 0;
  return WriteResult(args[4], Dialog.accepted == 1 ? "ok" : "");
}
