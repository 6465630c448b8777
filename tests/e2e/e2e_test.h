// The fixture of the end-to-end tests: a scratch folder per test (also the
// working folder and TEMP of the programs it starts), children that are
// always killed at the end, and helpers for the usual runs.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "driver.h"

// What a message box showed.
struct BoxSeen {
  std::string caption;
  std::string text;
  std::string icon;
  std::vector<ButtonInfo> buttons;
};

class E2eTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // "path-of-tool" args, with the tool's path quoted.
  static std::string Command(const char* tool, const std::string& args);

  // Starts the command with this test's options; fails the test when it
  // cannot be started.
  Child* Start(const std::string& commandLine);

  // How RunWithBox answers a box, beside pressing a button by id.
  static constexpr int CloseBox = 0;    // the close box (WM_CLOSE)
  static constexpr int EscapeKey = -1;  // the Escape key

  // Runs a command that is to show one message box: records the box,
  // answers it and returns the exit status. Without a box the test fails
  // and the status is returned as is.
  int RunWithBox(const std::string& commandLine, BoxSeen* seen, int answer = IDOK);

  // Waits for the child's message box, records it and answers it; false
  // (and a test failure) when no box came.
  bool AnswerBox(Child* child, BoxSeen* seen, int answer = IDOK);

  // Runs a command that is to end without showing any window.
  int RunWithoutWindow(const std::string& commandLine);

  // Starts the command line in a service of its own (the window station of
  // a script run as SYSTEM: nobody sees it), its standard error and output
  // into a file; false (and a test failure) when the service cannot start.
  bool StartInService(const std::string& commandLine);

  // Waits for the command that StartInService started: its exit status
  // (KilledStatus when it did not end), what it wrote to standard error in
  // *errors; the service is removed.
  int WaitForService(std::string* errors);

  // StartInService, then WaitForService.
  int RunInService(const std::string& commandLine, std::string* errors);

  std::string scratch_;
  std::string service_;  // the name of the service StartInService made
  LaunchOptions options_;
  std::deque<Child> children_;
};
