// ask's own dialog windows: the state a mode routine fills before the
// window exists and reads after it has ended (defined in dialogs.cpp), and
// the calls that run each dialog. The build chooses their implementation:
// windows/*_dialog.cpp for the program, standin/dialogs.cpp for unit tests.
#pragma once

#include <string>
#include <vector>

#include "csv.h"

// The buttons dialog: two to six labels of at most LabelMax characters.
constexpr int MinLabels = 2;
constexpr int MaxLabels = 6;
constexpr int LabelMax = 40;

// Longest answer the text dialog takes.
constexpr int TextAnswerMax = 255;

// The request a mode routine makes of its dialog and the answer it gets
// back, in the tool's own terms; how the window looks and where its
// controls are is the dialogs' own.
struct DialogState {
  const char* title;
  const char* prompt;
  const char* initialText;  // text dialog: the field's first text, selected
  int hidden;               // text dialog: 1 to mask what is typed
  union {
    char* text;    // text dialog: the answer (owned)
    int position;  // list dialog: the selected list position, -1 for none
  } result;
  int accepted;  // 1 once the user accepted
  const char* leftLabel;
  const char* rightLabel;
  CsvTable* data;            // list dialog: the rows shown
  int timeout;               // seconds after which the right button presses itself; 0: never
  int timedOut;              // 1 when it did
  const char* defaultEntry;  // list dialog: the entry selected first (case ignored); null: none
  const char* feed;          // progress window: the feed file's path, "-" for standard input
  int orphaned;              // progress window: 1 when it ended because its batch file had
  const std::vector<std::string>* labels;  // buttons dialog: the buttons, in order
  int defaultButton;  // buttons dialog: the default one, from 0, which the time limit presses
  std::vector<char>* ticks;     // check dialog: by row (from 1), 1 while ticked
  std::vector<int>* rowsShown;  // check dialog: the rows in the order shown, at the end
  int date[3];                  // date dialog: year, month, day to start at (0: today),
                                // then the one chosen
  int rowChosen;  // list dialog answered without its window: the row (from 1), 0 for none
  int unseen;     // progress window: 1 to follow the feed without showing the window
  int cancelAtLine;  // progress window: 1 to end as Cancel at the feed's next line
  void (*labelShown)(const std::string& label);  // progress window: told each new label
};

// The state of the one dialog a process shows.
extern DialogState Dialog;

// While set, list dialogs show their entries sorted; "ask list -r" clears it.
extern int SortLists;

// Whether a year of the Gregorian calendar has a 29 February, the rule
// both the date mode's default and the date dialog's month steps follow.
bool IsLeapYear(int year);

// Shows the text dialog for Dialog and returns when it has ended.
void RunTextDialog();

// Shows the list dialog for Dialog (column 1 of every row of Dialog.data)
// and returns when it has ended.
void RunListDialog();

// After the list dialog: the row (from 1) of the list position chosen, 0
// for none.
int ListEntryRow(int position);

// The rows (from 1) of the table in the order the list and check dialogs
// show column 1 of them (sorted while SortLists is set), without showing
// anything: for answers given without the window.
std::vector<int> RowsInShownOrder(const CsvTable* table);

// Shows the check dialog for Dialog: column 1 of every row of Dialog.data,
// each with a box that Dialog.ticks says is ticked; fills Dialog.rowsShown.
void RunCheckDialog();

// Shows the buttons dialog for Dialog: the prompt and a button for each of
// Dialog.labels; result.position is the one pressed, -1 for none.
void RunButtonsDialog();

// Shows the date dialog for Dialog: a month calendar at Dialog.date, which
// receives the date chosen.
void RunDateDialog();

// Shows the progress window for Dialog (not shown where Dialog.unseen is
// set, following the feed all the same): the prompt, a bar and Cancel,
// following the commands of Dialog.feed until one says "close" (accepted
// 1), the person cancels (accepted 0), no line has come for Dialog.timeout
// seconds (timedOut 1, as Cancel), or the batch file that started it has
// ended (orphaned 1). A feed that can never be read (a folder, a device)
// ends the tool with a message; a message box still up when the batch
// file has ended closes, as the window does.
void RunProgressDialog();

// Whether a result file can be written at path, told without making it:
// an existing file opens for writing, else its folder takes a new file
// (one of a name of its own is made there and removed); a device such as
// NUL can. The progress window asks before it waits, since the result
// file's existence is the batch file's sign of a cancel.
bool ResultWritable(const char* path);
