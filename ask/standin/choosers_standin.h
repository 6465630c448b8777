// Controls of the stand-in dialogs.
#pragma once

#include <string>

#include "choosers.h"

extern std::string StandInChosen;             // the answer; empty: cancel
extern ChooserOutcome StandInChooserFails;    // ChooserChosen, or the outcome reported instead
extern ChooserRequest StandInChooserRequest;  // what the last dialog was asked
extern std::string StandInChooserTitle;       // the title of the last dialog
extern int StandInChooserCalls;
