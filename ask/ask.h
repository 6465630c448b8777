// ask's modes, the switches they share and its result file, shared by
// ask's source files.
#pragma once

#include <string>
#include <vector>

struct CsvTable;

// --- The modes ---

// Switches a mode may take beyond -timeout= and -default=.
constexpr unsigned TitleSwitch = 1;   // -title=TEXT: the window's caption
constexpr unsigned FolderSwitch = 2;  // -folder=PATH: the folder a chooser opens in
constexpr unsigned FilterSwitch = 4;  // -filter=TEXT: the file types a chooser shows

// One mode of ask: the word that picks it, the routine that asks, and the
// one-line usage its wrong-count box shows; and the switches it takes
// beyond its own (CheckCount).
struct AskMode {
  const char* word;
  int (*routine)(int count, char** args, const AskMode& mode);
  const char* usage;
  bool takesTimeout;         // -timeout=SECONDS
  const char* defaultWords;  // -default=: null for none, "" for any text (a
                             // list entry, a label, a date), else the
                             // buttons' words in order, separated by "|"
  unsigned switches;         // TitleSwitch, FolderSwitch, FilterSwitch
};

// Every mode, in the order the words are tried.
extern const AskMode AskModes[15];

// The routines of the modes (ask.cpp's table names them): each takes its
// own switches, checks the count (CheckCount), asks, writes the answer
// (blank when cancelled) and returns the exit status, 0.
int AskText(int count, char** args, const AskMode& mode);
int AskFile(int count, char** args, const AskMode& mode);
int AskDir(int count, char** args, const AskMode& mode);
int AskList(int count, char** args, const AskMode& mode);
int AskYesNo(int count, char** args, const AskMode& mode);
int AskOk(int count, char** args, const AskMode& mode);
int AskPass(int count, char** args, const AskMode& mode);
int AskSave(int count, char** args, const AskMode& mode);
int AskEdit(int count, char** args, const AskMode& mode);
int AskYesNoCancel(int count, char** args, const AskMode& mode);
int AskProgress(int count, char** args, const AskMode& mode);
int AskCheck(int count, char** args, const AskMode& mode);
int AskButtons(int count, char** args, const AskMode& mode);
int AskDate(int count, char** args, const AskMode& mode);
int AskFiles(int count, char** args, const AskMode& mode);

// --- Switches beyond a mode's own ---

struct QuestionSwitches {
  int timeout;              // -timeout=: seconds, 0 for none
  const char* defaultWord;  // -default=: the text after it, null for none
  int defaultButton;        // the button it names, 0 (the first) by default
  const char* title;        // -title=: the caption, null for the usual one
  const char* folder;       // -folder=: null for none
  const char* filter;       // -filter=: "Label|patterns|..." as given, null for none
};

// Ends the tool with the mode's usage unless count is wanted. When count is
// not wanted, -timeout=, -default=, -title=, -folder= and -filter= (those
// the mode takes, matched without regard to case) are first taken out of
// args after the mode word and count checked again; a switch given twice,
// seconds that are not 1 to MaxTimeoutSeconds in decimal digits, a word the
// mode does not know, or a filter that is not label and pattern pairs end
// the tool the same way, with a line naming the fault before the usage. So
// a command line that needs none of them keeps every entry as it stands. A
// good -timeout= sets MessageTimeout, also for the usage box.
QuestionSwitches CheckCount(int* count, char** args, int wanted, const AskMode& mode);

// Takes the first entry after the mode word that begins with prefix (case
// ignored) out of args; the text after the prefix as a new string, or
// null. A value opened with a quote runs on over the next entries up to
// the one that closes it, joined with one blank each, without its quotes.
const char* TakeAfterModeWord(int* count, char** args, const char* prefix);

// Ends the tool with the mode's usage line, after a line that names the
// fault unless that is empty.
[[noreturn]] void RefuseUsage(const AskMode& mode, const std::string& fault);

// A value as a fault's line shows it: its first line, at most 40
// characters, "..." where cut.
std::string ShownValue(const char* value);

// The parts of a "|"-separated text, each as it stands.
std::vector<std::string> SplitBars(const char* text);

// --- What the picking questions read (picks.cpp) ---

// A date written YYYY-MM-DD, from 1601 on, into year, month and day; false
// for anything else, trailing text too.
bool ReadIsoDate(const char* text, int date[3]);

// The buttons' labels as given: split at "|", after the line breaks that
// end an @file's text are taken off.
std::vector<std::string> ReadLabels(const char* given);

// What is wrong with the labels as one line ("7 labels; at most 6"), ""
// when they are two to six labels, none blank, none holding a line break
// and none longer than LabelMax characters.
std::string LabelsFault(const std::vector<std::string>& labels);

// Whether the check list's row (from 1) is ticked at the start: its third
// column, without quotes and blanks, is neither empty nor "0".
bool TickedAtFirst(const CsvTable* table, int row);

// Logs "Timed out after %d s" when DebugLevel is above 0.
void NoteTimeout(int seconds);

// --- Dialogs ---

// The fixed parts of a dialog's state: caption "Ask", Cancel and Ok,
// nothing else set.
void PrepareWindow();

// PrepareWindow, and the button captions -bn and -bd ask for (taken out).
void PrepareDialog(int* count, char** args);

// --- The result file ---

// Writes answer and a line end as the whole content of the result file;
// ends the tool with "Can't write to file: %s" when it cannot be opened or
// any write, the flush or the close fails. Returns 0.
int WriteResult(const char* path, const char* answer);

// The same with one line for each answer: an empty file for none.
int WriteResultLines(const char* path, const std::vector<std::string>& answers);
