// Stand-in dialogs for unit tests: they record the state they were given
// and answer what the test scripted.
#include "dialogs.h"

#include <cstdio>
#include <filesystem>

#include "dialogs_standin.h"
#include "frame.h"

int StandInDialogRuns = 0;
DialogState StandInDialogSeen;
int StandInDialogSorted = 1;
int StandInAccept = 0;
std::string StandInTyped;
int StandInPosition = -1;
std::vector<int> StandInRowOfPosition;
bool StandInTimesOut = false;
int StandInOrphaned = 0;
std::vector<int> StandInToggles;

// A time limit that runs out accepts, as the right button does.
bool TimesOut() { return Dialog.timeout > 0 && StandInTimesOut; }

void RunTextDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  Dialog.result.text =
      XStrDup(Dialog.accepted ? StandInTyped.substr(0, TextAnswerMax).c_str() : "");
}

void RunListDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  StandInDialogSorted = SortLists;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  Dialog.result.position = Dialog.accepted ? StandInPosition : -1;
}

int ListEntryRow(int position) {
  if (position < 0) return 0;
  if (position < static_cast<int>(StandInRowOfPosition.size()))
    return StandInRowOfPosition[position];
  return position + 1;
}

void RunProgressDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept && !Dialog.timedOut;
  Dialog.orphaned = StandInOrphaned;
}

void RunCheckDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  // Shown in file order; the person ticks or clears what the test says.
  Dialog.rowsShown->clear();
  for (int row = 1; row <= Dialog.data->rowCount; row++) Dialog.rowsShown->push_back(row);
  for (int row : StandInToggles) (*Dialog.ticks)[row] = !(*Dialog.ticks)[row];
}

void RunButtonsDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  Dialog.result.position = Dialog.timedOut ? Dialog.defaultButton : StandInPosition;
}

void RunDateDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.timedOut = TimesOut();
  Dialog.accepted = StandInAccept || Dialog.timedOut;
  if (Dialog.date[0] == 0) {  // "today"
    Dialog.date[0] = 2026;
    Dialog.date[1] = 12;
    Dialog.date[2] = 9;
  }
}

bool ResultWritable(const char* path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path result(path);
  if (fs::exists(result, error)) {
    FILE* f = fopen(path, "ab");
    if (f) fclose(f);
    return f != nullptr;
  }
  fs::path folder = result.has_parent_path() ? result.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, error)) return false;
  fs::path scratch = folder / ("~ask-standin-" + std::to_string(StandInDialogRuns) + ".tmp");
  FILE* f = fopen(scratch.string().c_str(), "wb");
  if (!f) return false;
  fclose(f);
  fs::remove(scratch, error);
  return true;
}
