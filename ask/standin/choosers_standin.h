// Controls of the stand-in dialogs.
#pragma once

#include <string>

extern std::string StandInChosen;        // the path chosen; empty: cancel
extern std::string StandInChooserTitle;  // the title of the last dialog
extern int StandInChooserCalls;
