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

  // Runs a command that is to show one message box: records the box,
  // presses the button (0: closes the box instead) and returns the exit
  // status. Without a box the test fails and the status is returned as is.
  int RunWithBox(const std::string& commandLine, BoxSeen* seen, int button = IDOK);

  // Runs a command that is to end without showing any window.
  int RunWithoutWindow(const std::string& commandLine);

  std::string scratch_;
  LaunchOptions options_;
  std::deque<Child> children_;
};
