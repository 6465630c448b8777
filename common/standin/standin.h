// Controls of the stand-in platform layer, for unit tests: what the code
// under test asked of the platform, and what the platform answers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform.h"

struct StandInBox {
  std::string text;
  std::string caption;
  BoxStyle style;                        // a notification's: its icon, no buttons
  int timeout = 0;                       // seconds; 0 for a box without a time limit
  BoxAnswer timeoutButton = AnswerNone;  // the button the time limit presses
};

struct StandInShellCall {
  std::string operation, file, parameters, directory;
  ShowWay show;
};

struct StandInRun {
  std::string program, parameters;
  ShowWay show;
  bool quiet;  // no error box of the shell's own
};

struct StandInStart {
  std::string arguments;
  // The variables PlatformSetEnv had set and not removed: what the new
  // process inherits beside the environment the test began with.
  std::map<std::string, std::string> handedOn;
};

// One PlatformRunAsConsoleUser: what was started, and whether with a
// channel for the answer.
struct StandInUserRun {
  std::string application, commandLine;
  bool channel;
};

// Thrown by PlatformExit, so that a test sees the exit status.
struct StandInExit {
  int status;
};

extern std::vector<StandInBox> StandInBoxes;  // every message box shown
extern BoxAnswer StandInBoxAnswer;            // what each box returns
extern bool StandInBoxTimesOut;               // a box with a time limit runs out
extern std::vector<StandInShellCall> StandInShellCalls;
extern std::vector<StandInRun> StandInRuns;  // every RunAndWait
extern int StandInRunResult;                 // what RunAndWait returns
extern std::string StandInRunFailure;        // its reason when that is -1
extern std::string StandInCommandLine;       // PlatformCommandLine
extern std::string StandInModuleName;        // PlatformModuleFileName
extern bool StandInModuleFails;
extern bool StandInAnsiUtf8;  // the ANSI code page is UTF-8, not Windows-1252
extern std::vector<StandInStart> StandInSelfStarts;  // every PlatformStartSelf
extern bool StandInSelfStartWorks;                   // what they return
extern bool StandInSetEnvWorks;  // PlatformSetEnv sets; when false it fails, changing nothing
extern std::vector<StandInBox> StandInNotifications;  // every PlatformNotify
extern bool StandInNotifyWorks;                       // what it returns
extern bool StandInScreenVisible;                     // PlatformScreenVisible
extern std::string StandInErrorText;                  // all PlatformWriteError wrote
extern std::vector<StandInUserRun> StandInUserRuns;   // every PlatformRunAsConsoleUser
extern int StandInUserResult;           // its exit code; -1: nobody there (StandInUserFailure)
extern std::string StandInUserFailure;  // the reason it gives then
extern std::string StandInChannelText;  // what the person's process sends back
extern std::vector<std::string> StandInChannelWrites;  // every PlatformWriteChannel's text

// Boxes of the same look, for the tests' comparisons.
inline bool operator==(const BoxStyle& a, const BoxStyle& b) {
  return a.buttons == b.buttons && a.icon == b.icon && a.defaultButton == b.defaultButton;
}

// The frame's boxes: Ok alone, plain or with the warning icon.
constexpr BoxStyle StandInPlainBox = {ButtonsOk, IconNone, 0};
constexpr BoxStyle StandInWarningBox = {ButtonsOk, IconWarning, 0};

// Back to no boxes, shell calls or runs, answer Ok, run result 0, an
// empty command line, a screen somebody sees, nobody at the console; the
// variables PlatformSetEnv set are removed.
void StandInReset();
