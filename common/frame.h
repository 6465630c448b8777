// The start-up frame every tool runs in, the standard switches, message
// boxes, the single fatal-error exit, and small memory and path helpers.
#pragma once

#include <cstddef>

// --- Tool identity, supplied by each tool's main file ---

struct ToolIdentity {
  const char* name;  // "Ask", "Say", "Run": captions and AppData folder
  int major;         // version numbers; the version text is "%d.%02d"
  int minor;
  const char* logFileName;  // default log file in %TEMP%
  const char* helpPage;     // path of the help page on the maker's web site
  const char* usage;        // text of the usage box
};

extern const ToolIdentity ThisTool;

// The tool's main routine: gets the argument vector without -dbg= and -log=
// and returns the exit status.
int ToolMain(int count, char** args);

// --- Process-wide globals, written once by the frame ---

constexpr int MaxArgs = 30;                      // most entries in the argument vector
constexpr const char* MakerWord = "Quilverton";  // folder under %APPDATA%
extern const char* const MakerWebHost;           // host of the maker's web site

extern const char* ToolName;
extern char ToolVersion[16];
extern int DebugLevel;
extern char* ProgramDir;
extern char* AppDataDir;

// Seconds after which every box of the frame (messages and the fatal
// warning) closes itself as Ok; 0 for never. A tool sets it once it has
// taken a valid time limit, so that a timed run ends by itself whatever
// happens after its question.
extern int MessageTimeout;

// --- Nobody to answer ---

// The variables that run a batch file's questions without anybody: the
// file whose lines answer ask's questions, and the file every answer given
// is appended to.
constexpr const char* AnswersVariable = "ASK_ANSWERS";
constexpr const char* RecordVariable = "ASK_RECORD";

// Why no window or box may be shown in this run, "" when they may: nobody
// can see this screen (the system says so), or the answers
// come from the file ASK_ANSWERS names.
const char* UnseenReason();

// In place of a box or window that UnseenReason forbids: the tool's name,
// that the text was not shown and why, and the text itself, then the
// outcome (when not null), to standard error, and the same in the log
// above debug level 0.
void ReportUnshown(const char* text, const char* outcome);

// Appends the text to the file ASK_RECORD names, where it is set, as
// comment lines: "#what: " before each of its lines.
void RecordNote(const char* what, const char* text);

// --- Start-up ---

// The GUI entry: splits the command line, sets the globals and the log,
// calls ToolMain and returns its result as the exit status. The four
// arguments of the platform's GUI entry are ignored.
int ToolFrame(void* instance, void* previous, char* commandTail, int showMode);

// Tries -?, -help, -info and -! when exactly one argument is given.
// Returns 1 when one of them was handled (the tool then ends with status
// 0), 0 when the tool goes on with its own arguments.
int StandardSwitches(int* count, char** args);

// --- Messages ---

// "%s Ver %s" from ToolName and ToolVersion, in a buffer refilled per call.
const char* MessageCaption();

// Ok box without icon, titled with the caption.
void ShowMessage(const char* text);

// Warning box titled with the caption, then exit status 1.
[[noreturn]] void FatalMessage(const char* text);

// printf-style ShowMessage; texts of 500 characters or more are cut to 496
// characters and " ...".
void ShowMessageF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf-style FatalMessage with the same cut: the library's one error exit.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The usage text of the tool in a plain box.
void ShowUsage();

// The maker notice and the build date and time in a plain box.
void ShowInfo();

// Opens a page of the maker's web site: 2 the tool's help page (from the
// help site shipped beside the program when it is there), 1 the product
// family's page, anything else the home page.
void OpenWebPage(int kind);

// --- Memory, paths and folders ---

// malloc that ends the tool with "Out of memory" on failure.
void* XMalloc(size_t size);

// strdup that ends the tool with "out of memory" on failure.
char* XStrDup(const char* text);

// first + second with exactly one backslash between them, unless first is
// empty or already ends in a backslash. New string.
char* PathJoin(const char* first, const char* second);

// %TEMP%, or "C:\temp" when TEMP is unset. Not a copy.
const char* TempDir();

// The folder that holds the running program ("." when unknown). New string.
char* GetProgramDir();

// The directory part of a path by the POSIX dirname rule, with "\" and "/"
// both separators and a drive prefix such as "C:" kept. New string.
char* DirName(const char* path);

// %APPDATA%\maker\tool; ends the tool when APPDATA is unset. New string.
char* GetAppDataDir(const char* maker, const char* tool);
