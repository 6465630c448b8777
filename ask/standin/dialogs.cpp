// Stand-in dialogs for unit tests: they record the state they were given
// and answer what the test scripted.
#include "dialogs.h"

#include "dialogs_standin.h"
#include "frame.h"

DialogState Dialog;
int SortLists = 1;

int StandInDialogRuns = 0;
DialogState StandInDialogSeen;
int StandInDialogSorted = 1;
int StandInAccept = 0;
std::string StandInTyped;
int StandInPosition = -1;
std::vector<int> StandInRowOfPosition;

void RunTextDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  Dialog.accepted = StandInAccept;
  Dialog.result.text = XStrDup(StandInAccept ? StandInTyped.substr(0, TextAnswerMax).c_str() : "");
}

void RunListDialog() {
  StandInDialogRuns++;
  StandInDialogSeen = Dialog;
  StandInDialogSorted = SortLists;
  Dialog.accepted = StandInAccept;
  Dialog.result.position = StandInAccept ? StandInPosition : -1;
}

int ListEntryRow(int position) {
  if (position < 0) return 0;
  if (position < static_cast<int>(StandInRowOfPosition.size()))
    return StandInRowOfPosition[position];
  return position + 1;
}
