// ask's questions that pick from what they are given: several entries of a
// list (check), one of the batch file's own buttons (buttons), a date.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ask.h"
#include "cmdline.h"
#include "csv.h"
#include "dialogs.h"
#include "frame.h"
#include "text.h"
#include "unicode.h"

namespace {

// A cell of the table without its quotes; "" where the row has no such
// column.
std::string CellText(const CsvTable* table, int row, int column) {
  const char* cell = CsvCell(table, row, column);
  if (!cell) return "";
  char* bare = StripQuotes(cell);
  std::string text = bare;
  free(bare);
  return text;
}

// A third column that is not blank and not 0 ticks the row at the start.
bool TickedAtFirst(const CsvTable* table, int row) {
  std::string mark = CellText(table, row, 3);
  size_t first = mark.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  mark = mark.substr(first, mark.find_last_not_of(" \t") - first + 1);
  return mark != "0";
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

bool ReadIsoDate(const char* text, int date[3]) {
  int year = 0, month = 0, day = 0, length = 0;
  if (sscanf(text, "%4d-%2d-%2d%n", &year, &month, &day, &length) != 3 || length != 10 ||
      text[4] != '-' || text[7] != '-')
    return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return false;
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1601 || month < 1 || month > 12 || day < 1) return false;
  if (day > days[month - 1] + (month == 2 && IsLeapYear(year))) return false;
  date[0] = year;
  date[1] = month;
  date[2] = day;
  return true;
}

int AskCheck(int count, char** args, const AskMode& mode) {
  PrepareDialog(&count, args, 136);
  if (TakeSwitch(&count, args, "-r")) SortLists = 0;
  QuestionSwitches switches = CheckCount(&count, args, 5, mode);
  static CsvTable table;
  // Three columns at least: a later row's tick counts where the first row
  // has none.
  if (LoadCsvFile(&table, args[3], 3) <= 0) FatalError("No data in list file: %s", args[3]);
  static std::vector<char> ticks;
  static std::vector<int> shown;
  ticks.assign(table.rowCount + 1, 0);
  for (int row = 1; row <= table.rowCount; row++) ticks[row] = TickedAtFirst(&table, row);
  Dialog.prompt = args[2];
  Dialog.data = &table;
  Dialog.ticks = &ticks;
  Dialog.rowsShown = &shown;
  Dialog.timeout = switches.timeout;
  if (switches.title) Dialog.title = switches.title;
  RunCheckDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  if (Dialog.accepted != 1) return WriteResult(args[4], "");
  // Column 2 of each ticked entry, in the order shown; nothing ticked
  // leaves the file empty, which a batch file tells from a cancel (one
  // blank line) by its size.
  std::vector<std::string> answers;
  for (int row : shown)
    if (row >= 1 && row <= table.rowCount && ticks[row])
      answers.push_back(CellText(&table, row, 2));
  return WriteResultLines(args[4], answers);
}

int AskButtons(int count, char** args, const AskMode& mode) {
  PrepareWindow(96);
  QuestionSwitches switches = CheckCount(&count, args, 5, mode);
  // The labels as typed; from an @file, without its final line break.
  std::string given = args[3];
  while (!given.empty() && (given.back() == '\n' || given.back() == '\r')) given.pop_back();
  static std::vector<std::string> labels;
  labels = SplitBars(given.c_str());
  bool good = labels.size() >= MinLabels && labels.size() <= MaxLabels;
  for (const std::string& label : labels)
    good = good && label.find_first_not_of(" \t") != std::string::npos &&
           CountCharacters(label.c_str()) <= static_cast<size_t>(LabelMax);
  int chosenDefault = 0;
  if (good && switches.defaultWord) {
    chosenDefault = -1;
    for (size_t i = 0; i < labels.size(); i++)
      if (chosenDefault < 0 && CompareNoCase(labels[i].c_str(), switches.defaultWord) == 0)
        chosenDefault = static_cast<int>(i);
    good = chosenDefault >= 0;
  }
  if (!good) FatalError("%s", mode.usage);
  Dialog.prompt = args[2];
  Dialog.labels = &labels;
  Dialog.defaultButton = chosenDefault;
  Dialog.timeoutSlot = LeftButtonSlot + chosenDefault;
  Dialog.timeout = switches.timeout;
  if (switches.title) Dialog.title = switches.title;
  RunButtonsDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  int pressed = Dialog.accepted == 1 ? Dialog.result.position : -1;
  bool known = pressed >= 0 && pressed < static_cast<int>(labels.size());
  return WriteResult(args[4], known ? labels[pressed].c_str() : "");
}

int AskDate(int count, char** args, const AskMode& mode) {
  PrepareWindow(96);
  QuestionSwitches switches = CheckCount(&count, args, 4, mode);
  if (switches.defaultWord && !ReadIsoDate(switches.defaultWord, Dialog.date))
    FatalError("%s", mode.usage);
  Dialog.prompt = args[2];
  Dialog.timeout = switches.timeout;
  if (switches.title) Dialog.title = switches.title;
  RunDateDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  char answer[16] = "";
  if (Dialog.accepted == 1)
    snprintf(answer, sizeof answer, "%04d-%02d-%02d", Dialog.date[0], Dialog.date[1],
             Dialog.date[2]);
  return WriteResult(args[3], answer);
}
