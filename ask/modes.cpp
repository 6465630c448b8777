// ask's modes: the message-box questions, the file and folder choosers,
// and the drivers of the text and list dialogs.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ask.h"
#include "choosers.h"
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
  PrepareDialog(&count, args, 96);
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

void PrepareWindow(int minHeight) {
  Dialog.leftLabel = "Cancel";
  Dialog.rightLabel = "Ok";
  Dialog.title = "Ask";
  Dialog.minWidth = 316;
  Dialog.minHeight = minHeight;
  Dialog.maxWidth = 800;
  Dialog.maxHeight = 1024;
  Dialog.initialText = "";
  Dialog.hidden = 0;
  Dialog.data = nullptr;
  Dialog.timeout = 0;
  Dialog.timedOut = 0;
  Dialog.defaultEntry = nullptr;
  Dialog.feed = nullptr;
  Dialog.orphaned = 0;
  Dialog.timeoutSlot = RightButtonSlot;
  Dialog.labels = nullptr;
  Dialog.defaultButton = 0;
  Dialog.ticks = nullptr;
  Dialog.rowsShown = nullptr;
  Dialog.date[0] = Dialog.date[1] = Dialog.date[2] = 0;
}

void PrepareDialog(int* count, char** args, int minHeight) {
  PrepareWindow(minHeight);
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

// The file, save, files and folder questions: the chooser's answer, in a
// buffer of that many characters in bytes of the ANSI code page.
std::vector<char> Choose(int count, char** args, const AskMode& mode, int characters,
                         int (*choose)(const ChooserRequest&, int, char*)) {
  QuestionSwitches switches = CheckCount(&count, args, 4, mode);  // the result file is args[3]
  ChooserRequest request{args[2], switches.title, switches.folder, "", "", characters > AnswerSize};
  if (switches.filter) {
    // "Label|*.csv;*.txt|..." as the dialog takes it: each part ending in a
    // zero. A name typed without an extension gets the first pattern's.
    std::vector<std::string> parts = SplitBars(switches.filter);
    for (const std::string& part : parts) request.filter += part + '\0';
    std::string first = parts[1].substr(0, parts[1].find(';'));
    if (first.rfind("*.", 0) == 0 && first.find_first_of("*?", 2) == std::string::npos)
      request.defaultExtension = first.substr(2);
  }
  std::vector<char> answer(AnsiBufferSize(characters) + 2, '\0');
  choose(request, static_cast<int>(answer.size()), answer.data());
  return answer;
}

}  // namespace

int AskFile(int count, char** args, const AskMode& mode) {
  std::vector<char> answer = Choose(count, args, mode, AnswerSize, ChooseFile);
  return WriteResult(args[3], answer.data());
}

int AskSave(int count, char** args, const AskMode& mode) {
  std::vector<char> answer = Choose(count, args, mode, AnswerSize, ChooseSaveFile);
  return WriteResult(args[3], answer.data());
}

int AskDir(int count, char** args, const AskMode& mode) {
  std::vector<char> answer = Choose(count, args, mode, AnswerSize, ChooseFolder);
  return WriteResult(args[3], answer.data());
}

int AskFiles(int count, char** args, const AskMode& mode) {
  std::vector<char> answer = Choose(count, args, mode, SeveralAnswerSize, ChooseFile);
  // The folder, then each name; one file alone comes as its full path.
  std::vector<std::string> parts;
  for (const char* part = answer.data(); *part; part += strlen(part) + 1) parts.push_back(part);
  std::vector<std::string> paths;
  if (parts.size() == 1) paths = parts;
  for (size_t i = 1; i < parts.size(); i++) {
    char* path = PathJoin(parts[0].c_str(), parts[i].c_str());
    paths.push_back(path);
    free(path);
  }
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
  PrepareDialog(&count, args, 136);
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
  PrepareWindow(90);
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
