// Controls of the stand-in dialogs.
#pragma once

#include <string>
#include <vector>

#include "dialogs.h"
#include "follower.h"

extern int StandInDialogRuns;                      // dialogs shown
extern DialogState StandInDialogSeen;              // the state the last one was given
extern int StandInDialogSorted;                    // SortLists when the list was shown
extern int StandInAccept;                          // 1: the user accepts
extern std::string StandInTyped;                   // what the user types (text dialog)
extern int StandInPosition;                        // what the user selects (list dialog)
extern std::vector<int> StandInRowOfPosition;      // rows of sorted positions
extern bool StandInTimesOut;                       // a time limit runs out before any answer
extern int StandInOrphaned;                        // the progress window's batch file ends
extern std::vector<int> StandInToggles;            // rows the person ticks or clears (check dialog)
extern std::vector<ProcessSeen> StandInProcesses;  // the processes running; none: no list
extern unsigned long StandInSelf;                  // this process's number among them
extern std::vector<unsigned long> StandInOlderShells;  // those that began before it, oldest first
extern std::string StandInRemoteRoot;                  // the drive root mapped to a share
