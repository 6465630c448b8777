// ask's modes, the question each reads from its command line, and the
// result file, shared by ask's source files.
#pragma once

#include <string>
#include <vector>

struct CsvTable;

// --- The modes ---

// The switches a mode may take (bits of AskMode::switches).
constexpr unsigned TimeoutSwitch = 1;  // -timeout=SECONDS: the question answers itself
constexpr unsigned TitleSwitch = 2;    // -title=TEXT: the window's caption
constexpr unsigned FolderSwitch = 4;   // -folder=PATH: the folder a chooser opens in
constexpr unsigned FilterSwitch = 8;   // -filter=TEXT: the file types a chooser shows
constexpr unsigned BackSwitches = 16;  // -bn, -bd: Back and Next, or Back and Done
constexpr unsigned RawSwitch = 32;     // -r: the list in the file's order, unsorted

struct Question;

// One mode of ask, all about it: the word that picks it; its arguments
// after the switches, by name and in order (the first is the prompt, the
// last the result file), from which the count and their places follow;
// the switches it takes; the words -default= may name; the routine that
// asks; and the one-line usage its wrong-count box shows.
struct AskMode {
  const char* word;
  const char* arguments;     // "prompt list.csv outfile"
  unsigned switches;         // TimeoutSwitch, TitleSwitch, ...
  const char* defaultWords;  // -default=: null for none, "" for any text (a
                             // list entry, a label, a date), else the
                             // buttons' words in order, separated by "|"
  int (*routine)(const Question& question);
  const char* usage;
};

// One question as its command line puts it, read by ReadQuestion.
struct Question {
  const AskMode* mode;
  char** arguments;         // the mode's arguments in the order its row names them
  const char* prompt;       // the first of them
  const char* resultFile;   // the last
  int timeout;              // -timeout=: seconds, 0 for none
  const char* defaultWord;  // -default=: the text after it, null for none
  int defaultButton;        // the button it names, 0 (the first) by default
  const char* title;        // -title=: the caption, null for the usual one
  const char* folder;       // -folder=: null for none
  const char* filter;       // -filter=: "Label|patterns|..." as given, null for none
  const char* leftLabel;    // the dialog's buttons: Cancel and Ok, Back and Next
  const char* rightLabel;   // (-bn) or Back and Done (-bd)
  bool raw;                 // -r
  bool user;                // -user: where nobody can see this screen, ask the person at the console
};

// The routines of the modes (ask.cpp's table names them): each asks,
// writes the answer (blank when cancelled) and returns the exit status, 0.
int AskOk(const Question& question);           // box_modes.cpp
int AskYesNo(const Question& question);        //
int AskYesNoCancel(const Question& question);  //
int AskFile(const Question& question);         // chooser_modes.cpp
int AskSave(const Question& question);         //
int AskDir(const Question& question);          //
int AskFiles(const Question& question);        //
int AskText(const Question& question);         // dialog_modes.cpp; edit's too
int AskPass(const Question& question);         //
int AskList(const Question& question);         //
int AskCheck(const Question& question);        //
int AskButtons(const Question& question);      //
int AskDate(const Question& question);         //
int AskProgress(const Question& question);     //

// --- Reading a question (switches.cpp) ---

// The question args (count entries, the mode word in args[1]) puts. The
// mode's -bn, -bd and -r are taken out of args first, wherever they stand.
// Then the count is checked: when it is not the mode's, -user, -timeout=,
// -default=, -title=, -folder= and -filter= (those the mode takes, matched
// without regard to case) are taken out of args after the mode word and
// the count checked again; a switch given twice, seconds that are not 1 to
// MaxTimeoutSeconds in decimal digits, a word the mode does not know, or a
// filter that is not label and pattern pairs end the tool with the mode's
// usage, after a line naming the fault. So a command line that needs none
// of them keeps every entry as it stands. A good -timeout= sets
// MessageTimeout, also for the usage box.
Question ReadQuestion(int* count, char** args, const AskMode& mode);

// The argument the mode's row calls name ("list.csv"); null when it names
// none such.
const char* Argument(const Question& question, const char* name);

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

// Logs "Timed out after %d s" when DebugLevel is above 0.
void NoteTimeout(int seconds);

// --- What the dialogs' questions read (dialog_modes.cpp) ---

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

// --- Dialogs (dialog_modes.cpp) ---

// The fixed parts of a dialog's state: caption "Ask", Cancel and Ok,
// nothing else set.
void PrepareWindow();

// PrepareWindow, and the button captions -bn and -bd asked for.
void PrepareDialog(const Question& question);

// Shows the dialog that run shows, with the question's prompt, its
// -title= caption and its time limit; logs when the time ran out. Where the
// answer comes without the window (answers.h), answer fills the dialog's
// state instead, as the window would have left it for the line (null: as
// its time limit leaves it), and names what is wrong with a line the window
// could not have given; an empty line is Cancel for every dialog.
void ShowDialog(const Question& question, void (*run)(),
                std::string (*answer)(const std::string* line));

// --- The result file (ask.cpp) ---

// Writes answer and a line end as the whole content of the result file;
// ends the tool with "Can't write to file: %s" when it cannot be opened or
// any write, the flush or the close fails. Returns 0.
int WriteResult(const char* path, const char* answer);

// The same with one line for each answer: an empty file for none.
int WriteResultLines(const char* path, const std::vector<std::string>& answers);
