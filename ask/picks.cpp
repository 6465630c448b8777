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

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// The number the digits text[from] to text[to - 1] write.
int DigitsValue(const char* text, int from, int to) {
  int value = 0;
  for (int i = from; i < to; i++) value = value * 10 + (text[i] - '0');
  return value;
}

// Takes the rows whose shown text (column 1) is blank out of the table, so
// that no empty tick box is shown; the rows left keep their order.
void DropBlankRows(CsvTable* table) {
  int kept = 0;
  for (int row = 1; row <= table->rowCount; row++) {
    char** cells = table->cells + static_cast<size_t>(row - 1) * table->colCount;
    if (IsBlank(CellText(table, row, 1))) {
      for (int column = 0; column < table->colCount; column++) free(cells[column]);
      continue;
    }
    char** to = table->cells + static_cast<size_t>(kept) * table->colCount;
    for (int column = 0; column < table->colCount; column++) to[column] = cells[column];
    kept++;
  }
  table->rowCount = kept;
}

}  // namespace

bool TickedAtFirst(const CsvTable* table, int row) {
  std::string mark = CellText(table, row, 3);
  size_t first = mark.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  mark = mark.substr(first, mark.find_last_not_of(" \t") - first + 1);
  return mark != "0";
}

bool ReadIsoDate(const char* text, int date[3]) {
  // Exactly four digits, a dash, two digits, a dash and two digits, with
  // nothing before or after them.
  for (int i = 0; i < 10; i++) {
    bool dash = i == 4 || i == 7;
    if (dash ? text[i] != '-' : text[i] < '0' || text[i] > '9') return false;
  }
  if (text[10] != '\0') return false;
  int year = DigitsValue(text, 0, 4), month = DigitsValue(text, 5, 7);
  int day = DigitsValue(text, 8, 10);
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1601 || month < 1 || month > 12 || day < 1) return false;
  if (day > days[month - 1] + (month == 2 && IsLeapYear(year))) return false;
  date[0] = year;
  date[1] = month;
  date[2] = day;
  return true;
}

std::vector<std::string> ReadLabels(const char* given) {
  std::string text = given;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return SplitBars(text.c_str());
}

std::string LabelsFault(const std::vector<std::string>& labels) {
  size_t count = labels.size();
  if (count < static_cast<size_t>(MinLabels))
    return std::to_string(count) + (count == 1 ? " label" : " labels") + "; at least " +
           std::to_string(MinLabels);
  if (count > static_cast<size_t>(MaxLabels))
    return std::to_string(count) + " labels; at most " + std::to_string(MaxLabels);
  for (size_t i = 0; i < count; i++) {
    std::string which = "Label " + std::to_string(i + 1);
    // The answer is one line: a label of several would be read by a batch
    // file's "set /p" only up to its first break.
    if (labels[i].find_first_of("\r\n") != std::string::npos) return which + " holds a line break";
    if (IsBlank(labels[i])) return which + " is blank";
    size_t characters = CountCharacters(labels[i].c_str());
    if (characters > static_cast<size_t>(LabelMax))
      return which + " has " + std::to_string(characters) + " characters; at most " +
             std::to_string(LabelMax);
  }
  return "";
}

int AskCheck(int count, char** args, const AskMode& mode) {
  PrepareDialog(&count, args);
  if (TakeSwitch(&count, args, "-r")) SortLists = 0;
  QuestionSwitches switches = CheckCount(&count, args, 5, mode);
  static CsvTable table;
  // Three columns at least: a later row's tick counts where the first row
  // has none.
  LoadCsvFile(&table, args[3], 3);
  DropBlankRows(&table);
  if (table.rowCount <= 0) FatalError("No data in list file: %s", args[3]);
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
  // Column 2 of each ticked entry, in the order shown, or its shown text
  // where column 2 is blank: a cancel is the one blank line, and a batch
  // file tells nothing ticked (an empty file) from it by its size.
  std::vector<std::string> answers;
  for (int row : shown) {
    if (row < 1 || row > table.rowCount || !ticks[row]) continue;
    std::string value = CellText(&table, row, 2);
    answers.push_back(IsBlank(value) ? CellText(&table, row, 1) : value);
  }
  return WriteResultLines(args[4], answers);
}

int AskButtons(int count, char** args, const AskMode& mode) {
  PrepareWindow();
  QuestionSwitches switches = CheckCount(&count, args, 5, mode);
  static std::vector<std::string> labels;
  labels = ReadLabels(args[3]);
  std::string fault = LabelsFault(labels);
  if (!fault.empty()) RefuseUsage(mode, fault);
  int chosenDefault = 0;
  if (switches.defaultWord) {
    chosenDefault = -1;
    std::string known;
    for (size_t i = 0; i < labels.size(); i++) {
      if (chosenDefault < 0 && CompareNoCase(labels[i].c_str(), switches.defaultWord) == 0)
        chosenDefault = static_cast<int>(i);
      known += (i ? "|" : "") + labels[i];
    }
    if (chosenDefault < 0)
      RefuseUsage(mode, "-default=" + ShownValue(switches.defaultWord) +
                            " is not one of the buttons: " + known);
  }
  Dialog.prompt = args[2];
  Dialog.labels = &labels;
  Dialog.defaultButton = chosenDefault;
  Dialog.timeout = switches.timeout;
  if (switches.title) Dialog.title = switches.title;
  RunButtonsDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  int pressed = Dialog.accepted == 1 ? Dialog.result.position : -1;
  bool known = pressed >= 0 && pressed < static_cast<int>(labels.size());
  return WriteResult(args[4], known ? labels[pressed].c_str() : "");
}

int AskDate(int count, char** args, const AskMode& mode) {
  PrepareWindow();
  QuestionSwitches switches = CheckCount(&count, args, 4, mode);
  if (switches.defaultWord && !ReadIsoDate(switches.defaultWord, Dialog.date))
    RefuseUsage(mode, "-default=" + ShownValue(switches.defaultWord) +
                          " is not a date (YYYY-MM-DD from 1601 on)");
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
