// Controls of the stand-in dialogs.
#pragma once

#include <string>
#include <vector>

#include "dialogs.h"

extern int StandInDialogRuns;                  // dialogs shown
extern DialogState StandInDialogSeen;          // the state the last one was given
extern int StandInDialogSorted;                // SortLists when the list was shown
extern int StandInAccept;                      // 1: the user accepts
extern std::string StandInTyped;               // what the user types (text dialog)
extern int StandInPosition;                    // what the user selects (list dialog)
extern std::vector<int> StandInRowOfPosition;  // rows of sorted positions
extern bool StandInTimesOut;                   // a time limit runs out before any answer
extern int StandInOrphaned;                    // the progress window's batch file ends
extern std::vector<int> StandInToggles;        // rows the person ticks or clears (check dialog)
