// ask's questions in its own dialog windows (dialogs.h): a line of text
// (text, pass, edit), an entry of a list (list), several entries (check),
// one of the batch file's own buttons (buttons), a date (date), and the
// progress window (progress).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "answers.h"
#include "ask.h"
#include "cmdline.h"
#include "csv.h"
#include "dialogs.h"
#include "frame.h"
#include "text.h"
#include "unicode.h"

// --- The dialogs' fixed parts ---

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
  Dialog.rowChosen = 0;
  Dialog.unseen = 0;
  Dialog.cancelAtLine = 0;
  Dialog.labelShown = nullptr;
}

void PrepareDialog(const Question& question) {
  PrepareWindow();
  Dialog.leftLabel = question.leftLabel;
  Dialog.rightLabel = question.rightLabel;
}

void ShowDialog(const Question& question, void (*run)(), std::string (*answer)(const std::string*)) {
  Dialog.prompt = question.prompt;
  Dialog.timeout = question.timeout;
  if (question.title) Dialog.title = question.title;
  std::string line;
  switch (HowAnswered(question, false, &line)) {
    case ByLine: {
      // An empty line is what Cancel (or Back) gives every dialog.
      Dialog.accepted = !line.empty();
      std::string fault = line.empty() ? "" : answer(&line);
      if (!fault.empty()) RefuseAnswer(fault);
      break;
    }
    case ByTimeLimit:
      Dialog.accepted = 1;
      Dialog.timedOut = 1;
      answer(nullptr);
      break;
    case ByWindow: run(); break;
  }
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
}

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

// --- The modes ---

namespace {

// The row (from 1) whose shown text (column 1) is the name: the first so
// in the order shown, else the first equal to it with case ignored; 0 for
// none.
int RowNamed(const CsvTable* table, const std::string& name) {
  std::vector<int> rows = RowsInShownOrder(table);
  for (int row : rows)
    if (CellText(table, row, 1) == name) return row;
  for (int row : rows)
    if (CompareNoCase(CellText(table, row, 1).c_str(), name.c_str()) == 0) return row;
  return 0;
}

// The answers without the window: each fills Dialog as the window would
// have left it for the line (null: as its time limit leaves it) and says
// what is wrong with a line the window could not have given ("" when
// nothing is).

std::string TextAnswered(const std::string* line) {
  std::string text = line ? *line : Dialog.initialText;
  size_t characters = CountCharacters(text.c_str());
  if (characters > static_cast<size_t>(TextAnswerMax))
    return "the text has " + std::to_string(characters) + " characters; the field takes at most " +
           std::to_string(TextAnswerMax);
  Dialog.result.text = XStrDup(text.c_str());
  return "";
}

std::string ListAnswered(const std::string* line) {
  if (!line) {
    // The time limit takes the entry selected first, if any.
    Dialog.rowChosen = Dialog.defaultEntry ? RowNamed(Dialog.data, Dialog.defaultEntry) : 0;
    return "";
  }
  Dialog.rowChosen = RowNamed(Dialog.data, *line);
  if (!Dialog.rowChosen) return "\"" + ShownValue(line->c_str()) + "\" is not an entry of the list";
  return "";
}

std::string CheckAnswered(const std::string* line) {
  *Dialog.rowsShown = RowsInShownOrder(Dialog.data);
  if (!line) return "";
  std::vector<char>& ticks = *Dialog.ticks;
  ticks.assign(ticks.size(), 0);
  if (*line == "|") return "";  // Ok with nothing ticked
  for (const std::string& name : SplitBars(line->c_str())) {
    int row = RowNamed(Dialog.data, name);
    if (!row) return "\"" + ShownValue(name.c_str()) + "\" is not an entry of the list";
    ticks[row] = 1;
  }
  return "";
}

std::string ButtonsAnswered(const std::string* line) {
  const std::vector<std::string>& labels = *Dialog.labels;
  Dialog.result.position = Dialog.defaultButton;
  if (!line) return "";
  for (int pass = 0; pass < 2; pass++) {
    for (size_t i = 0; i < labels.size(); i++) {
      bool same = pass == 0 ? labels[i] == *line
                            : CompareNoCase(labels[i].c_str(), line->c_str()) == 0;
      if (!same) continue;
      Dialog.result.position = static_cast<int>(i);
      return "";
    }
  }
  std::string known;
  for (size_t i = 0; i < labels.size(); i++) known += (i ? "|" : "") + labels[i];
  return "\"" + ShownValue(line->c_str()) + "\" is not one of the buttons: " + known;
}

std::string DateAnswered(const std::string* line) {
  if (line) {
    if (!ReadIsoDate(line->c_str(), Dialog.date))
      return "\"" + ShownValue(line->c_str()) + "\" is not a date (YYYY-MM-DD from 1601 on)";
    return "";
  }
  if (Dialog.date[0] == 0) {
    // The calendar starts at today where no date is given.
    time_t now = time(nullptr);
    const tm* today = localtime(&now);
    Dialog.date[0] = today->tm_year + 1900;
    Dialog.date[1] = today->tm_mon + 1;
    Dialog.date[2] = today->tm_mday;
  }
  return "";
}

// The text dialog of the text, pass and edit modes, with the default's
// text in the field where the mode has one; a hidden field masks what is
// typed.
int AskWithTextDialog(const Question& question, int hidden) {
  PrepareDialog(question);
  Dialog.hidden = hidden;
  // The field is one line and holds no more than an answer can: the
  // default's first line (a default from a file usually ends in a line
  // break), cut to the longest answer in whole characters.
  static std::string initial;
  if (const char* given = Argument(question, "default")) {
    initial.assign(given, strcspn(given, "\r\n"));
    initial.resize(CharactersLength(initial.c_str(), TextAnswerMax));
    Dialog.initialText = initial.c_str();
  }
  Dialog.result.text = nullptr;
  ShowDialog(question, RunTextDialog, TextAnswered);
  std::string answer = Dialog.accepted == 1 && Dialog.result.text ? Dialog.result.text : "";
  free(Dialog.result.text);
  AnswerGiven(AnswerLine(answer));
  return WriteResult(question.resultFile, answer.c_str());
}

}  // namespace

int AskText(const Question& question) { return AskWithTextDialog(question, 0); }

int AskPass(const Question& question) { return AskWithTextDialog(question, 1); }

int AskList(const Question& question) {
  PrepareDialog(question);
  if (question.raw) SortLists = 0;
  const char* list = Argument(question, "list.csv");
  static CsvTable table;
  if (LoadCsvFile(&table, list) <= 0) FatalError("No data in list file: %s", list);
  Dialog.data = &table;
  Dialog.defaultEntry = question.defaultWord;
  Dialog.result.position = -1;
  ShowDialog(question, RunListDialog, ListAnswered);

  // Column 2 of the chosen entry's row; blank without a choice or without a
  // second column.
  char* value = nullptr;
  int row = 0;
  if (Dialog.accepted == 1)
    row = Dialog.rowChosen ? Dialog.rowChosen
                           : Dialog.result.position >= 0 ? ListEntryRow(Dialog.result.position) : 0;
  if (row > 0) {
    const char* cell = CsvCell(&table, row, 2);
    if (cell) value = StripQuotes(cell);
  }
  AnswerGiven(row > 0 ? AnswerLine(CellText(&table, row, 1)) : "");
  WriteResult(question.resultFile, value ? value : "");
  free(value);
  return 0;
}

int AskCheck(const Question& question) {
  PrepareDialog(question);
  if (question.raw) SortLists = 0;
  const char* list = Argument(question, "list.csv");
  static CsvTable table;
  // Three columns at least: a later row's tick counts where the first row
  // has none.
  LoadCsvFile(&table, list, 3);
  DropBlankRows(&table);
  if (table.rowCount <= 0) FatalError("No data in list file: %s", list);
  static std::vector<char> ticks;
  static std::vector<int> shown;
  ticks.assign(table.rowCount + 1, 0);
  for (int row = 1; row <= table.rowCount; row++) ticks[row] = TickedAtFirst(&table, row);
  Dialog.data = &table;
  Dialog.ticks = &ticks;
  Dialog.rowsShown = &shown;
  ShowDialog(question, RunCheckDialog, CheckAnswered);
  if (Dialog.accepted != 1) {
    AnswerGiven("");
    return WriteResult(question.resultFile, "");
  }
  // Column 2 of each ticked entry, in the order shown, or its shown text
  // where column 2 is blank: a cancel is the one blank line, and a batch
  // file tells nothing ticked (an empty file) from it by its size.
  std::vector<std::string> answers;
  std::string names;
  for (int row : shown) {
    if (row < 1 || row > table.rowCount || !ticks[row]) continue;
    std::string value = CellText(&table, row, 2);
    answers.push_back(IsBlank(value) ? CellText(&table, row, 1) : value);
    names += (names.empty() ? "" : "|") + CellText(&table, row, 1);
  }
  // Ok with nothing ticked is a lone "|", since an empty line is Cancel.
  AnswerGiven(names.empty() ? "|" : AnswerLine(names));
  return WriteResultLines(question.resultFile, answers);
}

int AskButtons(const Question& question) {
  PrepareWindow();
  static std::vector<std::string> labels;
  labels = ReadLabels(Argument(question, "labels"));
  std::string fault = LabelsFault(labels);
  if (!fault.empty()) RefuseUsage(*question.mode, fault);
  int chosenDefault = 0;
  if (question.defaultWord) {
    chosenDefault = -1;
    std::string known;
    for (size_t i = 0; i < labels.size(); i++) {
      if (chosenDefault < 0 && CompareNoCase(labels[i].c_str(), question.defaultWord) == 0)
        chosenDefault = static_cast<int>(i);
      known += (i ? "|" : "") + labels[i];
    }
    if (chosenDefault < 0)
      RefuseUsage(*question.mode, "-default=" + ShownValue(question.defaultWord) +
                                      " is not one of the buttons: " + known);
  }
  Dialog.labels = &labels;
  Dialog.defaultButton = chosenDefault;
  ShowDialog(question, RunButtonsDialog, ButtonsAnswered);
  int pressed = Dialog.accepted == 1 ? Dialog.result.position : -1;
  bool known = pressed >= 0 && pressed < static_cast<int>(labels.size());
  AnswerGiven(known ? AnswerLine(labels[pressed]) : "");
  return WriteResult(question.resultFile, known ? labels[pressed].c_str() : "");
}

int AskDate(const Question& question) {
  PrepareWindow();
  if (question.defaultWord && !ReadIsoDate(question.defaultWord, Dialog.date))
    RefuseUsage(*question.mode, "-default=" + ShownValue(question.defaultWord) +
                                    " is not a date (YYYY-MM-DD from 1601 on)");
  ShowDialog(question, RunDateDialog, DateAnswered);
  char answer[16] = "";
  if (Dialog.accepted == 1)
    snprintf(answer, sizeof answer, "%04d-%02d-%02d", Dialog.date[0], Dialog.date[1],
             Dialog.date[2]);
  AnswerGiven(answer);
  return WriteResult(question.resultFile, answer);
}

namespace {

// Each label the progress window shows goes into the record as a comment.
void NoteLabel(const std::string& label) { RecordNote("progress", label.c_str()); }

}  // namespace

int AskProgress(const Question& question) {
  PrepareWindow();
  Dialog.feed = Argument(question, "feedfile");
  // A result that could not be written at the end would leave the batch
  // file waiting for ever for a cancel it can never see.
  if (!ResultWritable(question.resultFile))
    FatalError("Can't write to file: %s", question.resultFile);
  Dialog.prompt = question.prompt;
  Dialog.timeout = question.timeout;
  if (question.title) Dialog.title = question.title;
  Dialog.labelShown = NoteLabel;
  // Without a window the feed is followed all the same: to its "close",
  // or, for an answer line that is not "ok", to its next line, which
  // cancels.
  std::string line;
  AnswerWay way = HowAnswered(question, true, &line);
  if (way == ByLine && line != "ok" && line != "cancel" && !line.empty())
    RefuseAnswer("\"" + ShownValue(line.c_str()) +
                 "\" is not an answer of ask progress: ok, cancel or an empty line");
  Dialog.unseen = way != ByWindow;
  Dialog.cancelAtLine = way == ByLine && line != "ok";
  RunProgressDialog();
  if (Dialog.timedOut) NoteTimeout(Dialog.timeout);
  // The result file is the batch file's sign that the person cancelled:
  // written only when the window ends, and not at all once nobody is left
  // to read it.
  if (Dialog.orphaned) return 0;
  AnswerGiven(Dialog.accepted == 1 ? "ok" : "");
  return WriteResult(question.resultFile, Dialog.accepted == 1 ? "ok" : "");
}
