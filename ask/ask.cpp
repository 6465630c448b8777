// ask: puts one question to the user and writes the answer as one line
// into a result file. This file holds the mode dispatch, the Ok/Cancel and
// Yes/No questions, the drivers of the file, folder, text and list modes,
// and the result file.
#include "ask.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "choosers.h"
#include "cmdline.h"
#include "csv.h"
#include "dialogs.h"
#include "frame.h"
#include "platform.h"
#include "text.h"

const ToolIdentity ThisTool = {
    "Ask",
    0,
    12,
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

// Message-box types and the buttons they return.
constexpr unsigned OkCancel = 1;  // MB_OKCANCEL
constexpr unsigned YesNo = 4;     // MB_YESNO
constexpr int PressedOk = 1;      // IDOK
constexpr int PressedYes = 6;     // IDYES

// The ok and yn questions: a plain message box captioned with the tool's
// bare name; "ok" or "yes" when confirmed, blank otherwise.
int AskByMessageBox(int count, char** args, unsigned type, const char* usage) {
  if (count != 4) FatalError("%s", usage);
  int pressed = PlatformMessageBox(args[2], ToolName, type);
  const char* answer = pressed == PressedYes ? "yes" : pressed == PressedOk ? "ok" : "";
  return WriteResult(args[3], answer);
}

}  // namespace

int WriteResult(const char* path, const char* answer) {
  FILE* f = fopen(path, "w");
  if (!f) FatalError("Can't write to file: %s", path);
  // A full disk shows only at the flush or the close (the Windows runtime's
  // fclose does not report a failed final write, so the flush is checked on
  // its own); any failure ends the tool with status 1 rather than leave a
  // cut answer behind as success.
  bool written = fprintf(f, "%s\n", answer) >= 0;
  written = fflush(f) == 0 && written;
  written = fclose(f) == 0 && written;
  if (!written) FatalError("Can't write to file: %s", path);
  return 0;
}

int AskFile(int count, char** args) {
  if (count != 4) FatalError("ask file prompt outfile");
  char answer[AnswerSize];
  ChooseFile(args[2], AnswerSize, answer);
  return WriteResult(args[3], answer);
}

int AskSave(int count, char** args) {
  if (count != 4) FatalError("ask save prompt outfile");
  char answer[AnswerSize];
  ChooseSaveFile(args[2], AnswerSize, answer);
  return WriteResult(args[3], answer);
}

int AskDir(int count, char** args) {
  if (count != 4) FatalError("ask dir prompt outfile");
  char answer[AnswerSize];
  answer[0] = '\0';
  ChooseFolder(args[2], AnswerSize, answer);
  return WriteResult(args[3], answer);
}

namespace {

// The button captions and the fixed parts of a dialog's state.
void PrepareDialog(int* count, char** args, int minHeight) {
  Dialog.leftLabel = "Cancel";
  Dialog.rightLabel = "Ok";
  if (TakeSwitch(count, args, "-bn")) {
    Dialog.leftLabel = "Back";
    Dialog.rightLabel = "Next";
  }
  if (TakeSwitch(count, args, "-bd")) {
    Dialog.leftLabel = "Back";
    Dialog.rightLabel = "Done";
  }
  Dialog.title = "Ask";
  Dialog.minWidth = 316;
  Dialog.minHeight = minHeight;
  Dialog.maxWidth = 800;
  Dialog.maxHeight = 1024;
  Dialog.initialText = "";
  Dialog.hidden = 0;
  Dialog.data = nullptr;
}

// The text dialog of the text, pass and edit modes: args holds the mode,
// the prompt, for edit the default, and the result file (wanted entries in
// all); a hidden field masks what is typed.
int AskWithTextDialog(int count, char** args, int wanted, const char* usage, int hidden) {
  PrepareDialog(&count, args, 96);
  if (count != wanted) FatalError("%s", usage);
  Dialog.prompt = args[2];
  Dialog.hidden = hidden;
  // The field is one line and holds no more than an answer can: the
  // default's first line (a default from a file usually ends in a line
  // break), cut to the longest answer.
  static char initial[TextAnswerMax + 1];
  if (wanted == 5) {
    int firstLine = static_cast<int>(strcspn(args[3], "\r\n"));
    Dialog.initialText = CopyAtMost(initial, args[3], std::min(firstLine, TextAnswerMax));
  }
  RunTextDialog();
  WriteResult(args[wanted - 1], Dialog.accepted == 1 ? Dialog.result.text : "");
  free(Dialog.result.text);
  return 0;
}

}  // namespace

int AskText(int count, char** args) {
  return AskWithTextDialog(count, args, 4, "ask text [-bn|-bd] prompt outfile", 0);
}

int AskPass(int count, char** args) {
  return AskWithTextDialog(count, args, 4, "ask pass [-bn|-bd] prompt outfile", 1);
}

int AskEdit(int count, char** args) {
  return AskWithTextDialog(count, args, 5, "ask edit [-bn|-bd] prompt default outfile", 0);
}

int AskList(int count, char** args) {
  PrepareDialog(&count, args, 136);
  if (TakeSwitch(&count, args, "-r")) SortLists = 0;
  if (count != 5) FatalError("ask list [-r] [-bn|-bd] prompt list.csv out.txt");
  static CsvTable table;
  if (LoadCsvFile(&table, args[3]) <= 0) FatalError("No data in list file: %s", args[3]);
  Dialog.prompt = args[2];
  Dialog.data = &table;
  RunListDialog();

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

int ToolMain(int count, char** args) {
  if (StandardSwitches(&count, args)) return 0;
  if (count < 2) {
    ShowUsage();
    return 1;
  }
  ExpandFileArgs(count, args);

  const char* mode = args[1];
  if (CompareNoCase(mode, "text") == 0) return AskText(count, args);
  if (CompareNoCase(mode, "file") == 0) return AskFile(count, args);
  if (CompareNoCase(mode, "dir") == 0) return AskDir(count, args);
  if (CompareNoCase(mode, "list") == 0) return AskList(count, args);
  if (CompareNoCase(mode, "yn") == 0) {
    return AskByMessageBox(count, args, YesNo, "ask yn prompt outfile");
  }
  if (CompareNoCase(mode, "ok") == 0) {
    return AskByMessageBox(count, args, OkCancel, "ask ok prompt outfile");
  }
  if (CompareNoCase(mode, "pass") == 0) return AskPass(count, args);
  if (CompareNoCase(mode, "save") == 0) return AskSave(count, args);
  if (CompareNoCase(mode, "edit") == 0) return AskEdit(count, args);
  ShowUsage();
  return 1;
}
