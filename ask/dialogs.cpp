// The state of ask's one dialog, shared by the mode routines and whichever
// dialogs the build has, and the calendar rule both sides keep.
#include "dialogs.h"

DialogState Dialog;
int SortLists = 1;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
