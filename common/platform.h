// The seam between the library and the operating system. Everything the
// tools need from Windows goes through these routines; the build chooses
// their implementation: windows/platform.cpp for the real programs,
// standin/platform.cpp for unit tests on any host.
#pragma once

#include <string>
#include <vector>

// --- Process ---

// The raw command line of the process, the same text on every call.
const char* PlatformCommandLine();

// Writes the running program's full path into buf (size bytes) and returns
// its length; 0 on failure. A result of size means the name was cut.
int PlatformModuleFileName(char* buf, int size);

// Value of an environment variable, name matched without regard to case;
// null when unset. Points into the environment, not a copy.
const char* PlatformGetEnv(const char* name);

// Ends the process with the given exit status.
[[noreturn]] void PlatformExit(int status);

// Sets an environment variable of this process, which the processes it
// starts inherit; a null value removes it. Whether that was done.
bool PlatformSetEnv(const char* name, const char* value);

// Starts the running program once more with the arguments after its name,
// without handing on any handle and in the system folder (holding on to no
// folder of the caller's), and does not wait for it; whether it started.
bool PlatformStartSelf(const char* arguments);

// --- Who can see the screen ---

// False only when the system says that nobody can see this process's
// windows: its window station lacks the visible flag (a service's, a task
// run in session 0). Where the system cannot tell, true.
bool PlatformScreenVisible();

// Writes text to standard error, every line feed as the system's line
// end, where that is a valid handle (a batch file's 2> redirection);
// nothing otherwise.
void PlatformWriteError(const char* text);

// --- The person at the console ---

// Starts application (a full path; null: the command line's first entry,
// found as the system finds programs) with the command line as the person
// logged on at the console: in their session, with their token and their
// own environment, on the desktop winsta0\default; waits until it has
// ended and returns its exit code. When channel is given, the started
// process finds the name of a pipe in the environment variable
// ChannelVariable and may write into it, and *channel receives at most
// ChannelMost bytes of what it wrote (the pipe admits no other process).
// -1, with the reason in *whyNot, when nobody is logged on there, their
// token cannot be taken, or nothing could be started.
constexpr const char* ChannelVariable = "QUIL_ANSWER_CHANNEL";
constexpr size_t ChannelMost = 1 << 20;
int PlatformRunAsConsoleUser(const char* application, const char* commandLine,
                             std::string* channel, std::string* whyNot);

// Writes text into the pipe that ChannelVariable names; whether all of it
// went in.
bool PlatformWriteChannel(const char* pipe, const std::string& text);

// --- User interface ---

// The buttons of a message box, in the order they stand.
enum BoxButtons { ButtonsOk, ButtonsOkCancel, ButtonsYesNo, ButtonsYesNoCancel };

// The icon of a message box or a notification.
enum BoxIcon { IconNone, IconInformation, IconWarning, IconError };

// The button that ended a message box; AnswerNone when none did (the box
// could not be shown).
enum BoxAnswer { AnswerNone, AnswerOk, AnswerCancel, AnswerYes, AnswerNo };

// What a message box shows: its buttons, its icon, and which button
// (from 0, in the order they stand) is the default.
struct BoxStyle {
  BoxButtons buttons;
  BoxIcon icon;
  int defaultButton;
};

// A modal message box without owner window; returns the button pressed.
BoxAnswer PlatformMessageBox(const char* text, const char* caption, BoxStyle style);

// PlatformMessageBox that presses its own button (one of its buttons) when
// the user has not answered after seconds (1 or more); *timedOut tells
// whether it did.
BoxAnswer PlatformMessageBoxTimed(const char* text, const char* caption, BoxStyle style,
                                  int seconds, BoxAnswer button, bool* timedOut);

// A notification from the notification area: text under title, with the
// icon, until it is dismissed or has shown for seconds; then its icon is
// removed. False, at once, where there is no notification area to show it.
bool PlatformNotify(const char* title, const char* text, BoxIcon icon, int seconds);

// --- Shell ---

// How a started program (or the one a document opens in) shows its first
// window: as it chooses, hidden, minimized without taking the focus (as
// start /min), or maximized.
enum ShowWay { ShowNormal, ShowHidden, ShowMinimized, ShowMaximized };

// Hands a file or address to the shell (ShellExecuteA without owner window);
// the result is not reported.
void PlatformShellExecute(const char* operation, const char* file, const char* parameters,
                          const char* directory, ShowWay show);

// Starts program (as the shell finds it: search path, full path or a
// document) with the parameter string unchanged and shown that way, waits
// without a time limit until it has ended, and returns its exit code; -1
// when nothing was started or the code cannot be read. The shell shows its
// own error box unless quiet is set. When nothing was started, *whyNot
// receives the system's message for the error (one line).
int RunAndWait(const char* program, const char* parameters, ShowWay show, bool quiet,
               std::string* whyNot);

// --- Files ---

// Appends text to the file at path (created when missing) as one write, so
// that writers in other processes appending to the same file cannot
// overwrite it or break into it; every line feed is written as the system's
// line end (CR LF on Windows). Failures are not reported.
void PlatformAppendText(const char* path, const char* text);

// Runs update on the content of the file at path (created empty when
// missing) and writes what it returns as the file's new content, with no
// other process using the file between the read and the write: a process
// that comes meanwhile waits (up to about ten seconds, then false).
// Whether the file was read and written.
bool PlatformUpdateFile(const char* path, std::string (*update)(const std::string& old, void* context),
                        void* context);

// --- Text ---

// UTF-16 text in the process's ANSI code page: a character the code page
// lacks becomes the code page's default character (no best-fit guesses);
// where the ANSI code page is UTF-8, the text in UTF-8.
std::string PlatformToAnsi(const std::u16string& text);

// True when the process's ANSI code page is UTF-8 (65001).
bool PlatformAnsiIsUtf8();

// --- Folders ---

struct FolderEntry {
  std::string name;
  bool isFolder;
};

// Every entry that matches the pattern (a folder path ending in a name that
// may hold * and ?), "." and ".." included, in the system's order; empty
// when nothing matches or the folder does not exist.
std::vector<FolderEntry> PlatformFindEntries(const char* pattern);

// Creates one folder; failures are not reported.
void PlatformMakeFolder(const char* path);
