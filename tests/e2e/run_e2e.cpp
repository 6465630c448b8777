// run for real: the exit code passed through, the exact command line the
// started program receives, @file arguments, and the log lines.
#include <cstdlib>
#include <string>

#include "e2e_config.h"
#include "e2e_test.h"

namespace {

const char* const RunUsage =
    "Usage:\n\nrun prog arg ... arg\nRun a program.\nEach arg may be @file in which case the "
    "contents of file will be used as the arg.\n\nrun -help\nShow online help.";

class RunTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    probeOut_ = JoinPath(scratch_, "probe-out.txt");
    options_.set.push_back({"PROBE_OUT", probeOut_});
  }
  void SetProbeExit(const std::string& code) {
    std::erase_if(options_.set, [](const auto& s) { return s.first == "PROBE_EXIT"; });
    options_.set.push_back({"PROBE_EXIT", code});
  }
  // The command line the probe received, after its own quoted path.
  std::string ProbeArguments() {
    std::string line = ReadFileBytes(probeOut_);
    std::string path = "\"" + Probe() + "\"";
    EXPECT_EQ(line.rfind(path, 0), 0u) << "the probe's own path comes first: " << line;
    return line.rfind(path, 0) == 0 ? line.substr(path.size()) : line;
  }
  static std::string Probe() { return PROBE_PATH; }
  std::string probeOut_;
};

TEST_F(RunTest, ExitCodePassesThrough) {
  for (const char* code : {"0", "5", "0x80000005", "0xFFFFFFFF"}) {
    SetProbeExit(code);
    int expected = static_cast<int>(strtoul(code, nullptr, 0));
    EXPECT_EQ(RunWithoutWindow(Command("run", "\"" + Probe() + "\"")), expected) << code;
  }
}

TEST_F(RunTest, ArgumentsArriveQuotedWithTrailingBackslashesDoubled) {
  std::string args = "\"\" \"a b\" \"C:\\Temp\\\" \"say \"\"hi\"\"\" plain x\\\\";
  EXPECT_EQ(RunWithoutWindow(Command("run", "\"" + Probe() + "\" " + args)), 0);
  // One blank from the shell, then run's blank-led parameter string.
  EXPECT_EQ(ProbeArguments(),
            "  \"\" \"a b\" \"C:\\Temp\\\\\" \"say \"hi\"\" \"plain\" \"x\\\\\\\\\"");

  EXPECT_EQ(RunWithoutWindow(Command("run", "\"" + Probe() + "\"")), 0);
  EXPECT_EQ(ProbeArguments(), "  ") << "no arguments: a parameter string of one blank";
}

TEST_F(RunTest, FileArgumentsLoseOneFinalLineFeed) {
  WriteFileBytes(JoinPath(scratch_, "one.txt"), "one line\r\n");
  WriteFileBytes(JoinPath(scratch_, "two.txt"), "first\r\nsecond\r\n\r\n");
  WriteFileBytes(JoinPath(scratch_, "prog.txt"), Probe() + "\n");
  EXPECT_EQ(RunWithoutWindow(Command("run", "@prog.txt @one.txt @two.txt")), 0);
  EXPECT_EQ(ProbeArguments(), "  \"one line\" \"first\nsecond\n\"");
}

TEST_F(RunTest, DebugLevelsLogStartAndExit) {
  SetProbeExit("5");
  for (const char* level : {"1", "-1"}) {
    std::string log = JoinPath(scratch_, std::string("run") + level + ".log");
    std::string line = Command("run", "\"" + Probe() + "\" -dbg=" + level + " x -log=" + log);
    EXPECT_EQ(RunWithoutWindow(line), 5);
    std::string bytes = ReadFileBytes(log);
    EXPECT_NE(bytes.find(" Running prog=" + Probe() + " args= \"x\" mode=1 ...\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_NE(bytes.find(" Exit code is 5\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find(" Cmdline: ") != std::string::npos, level[0] == '1') << bytes;
    EXPECT_EQ(ProbeArguments(), "  \"x\"") << "the frame keeps -dbg= and -log= for itself";
  }
}

TEST_F(RunTest, ProgramThatCannotStartGivesMinusOne) {
  // A document with no program for its type.
  WriteFileBytes(JoinPath(scratch_, "report.zzq"), "data");
  struct {
    const char* args;
    const char* program;
    const char* whyNot;  // with -hide: no box, the log says why; null: the shell's box
  } cases[] = {
      {"no-such-program.exe a", "no-such-program.exe", nullptr},
      {"-? x", "-?", nullptr},
      {"-hide no-such-program.exe a", "no-such-program.exe", "File not found."},
      {"-HIDE report.zzq", "report.zzq", "ssociated"},
  };
  for (const auto& c : cases) {
    std::string log = JoinPath(scratch_, "missing.log");
    DeleteFileA(log.c_str());
    std::string line = Command("run", std::string("-dbg=1 -log=") + log + " " + c.args);
    if (c.whyNot) {
      EXPECT_EQ(RunWithoutWindow(line), -1) << c.args;
    } else {
      Child* child = Start(line);
      // The shell reports the failure in a box of its own, inside run.
      BoxSeen error;
      ASSERT_TRUE(AnswerBox(child, &error, IDOK)) << c.args;
      EXPECT_NE(error.caption, "Run Ver 0.11") << "not a box of run's own: " << error.text;
      EXPECT_EQ(WaitForExit(child), -1) << c.args;
    }
    std::string bytes = ReadFileBytes(log);
    EXPECT_NE(bytes.find(std::string(" Running prog=") + c.program + " args="), std::string::npos)
        << bytes;
    size_t why = bytes.find(std::string(" Can't start ") + c.program + ": ");
    EXPECT_EQ(why != std::string::npos, c.whyNot != nullptr) << c.args << ": " << bytes;
    if (c.whyNot) {
      EXPECT_NE(bytes.find(c.whyNot, why), std::string::npos) << bytes;
    }
    EXPECT_TRUE(!c.whyNot || why < bytes.find(" Exit code is -1\r\n")) << bytes;
    EXPECT_NE(bytes.find(" Exit code is -1\r\n"), std::string::npos) << bytes;
  }
}

TEST_F(RunTest, ShowSwitchesReachTheStartedProgram) {
  std::string report = JoinPath(scratch_, "show.txt");
  options_.set.push_back({"PROBE_SHOW_OUT", report});
  SetProbeExit("4");
  struct {
    const char* switches;
    const char* seen;  // the start-up information and the window it gave
  } cases[] = {
      {"", "flags=1 show=1 visible=1 iconic=0 zoomed=0"},
      {"-hide ", "flags=1 show=0 visible=0 iconic=0 zoomed=0"},
      {"-MIN ", "flags=1 show=7 visible=1 iconic=1 zoomed=0"},
      {"-max ", "flags=1 show=3 visible=1 iconic=0 zoomed=1"},
  };
  for (const auto& c : cases) {
    DeleteFileA(report.c_str());
    std::string log = JoinPath(scratch_, "show.log");
    std::string line =
        Command("run", std::string(c.switches) + "-dbg=1 -log=" + log + " \"" + Probe() + "\" a");
    EXPECT_EQ(RunWithoutWindow(line), 4) << c.switches << ": the exit code passes on";
    EXPECT_EQ(ReadFileBytes(report), c.seen) << c.switches;
    EXPECT_EQ(ProbeArguments(), "  \"a\"") << c.switches << ": the switch is run's own";
    std::string mode = std::string(c.seen).substr(13, 1);
    EXPECT_NE(ReadFileBytes(log).find(" args= \"a\" mode=" + mode + " ...\r\n"), std::string::npos)
        << ReadFileBytes(log);
  }
}

TEST_F(RunTest, HiddenConsoleProgramGetsNoConsoleWindow) {
  std::string report = JoinPath(scratch_, "console.txt");
  options_.set.push_back({"CONSOLE_PROBE_OUT", report});
  struct {
    const char* switches;
    const char* seen;
  } cases[] = {
      {"-hide ", "console=1 visible=0"},
      {"", "console=1 visible=1"},
      {"-min ", "console=1 visible=1"},
  };
  for (const auto& c : cases) {
    DeleteFileA(report.c_str());
    Child* child =
        Start(Command("run", std::string(c.switches) + "\"" + CONSOLE_PROBE_PATH + "\""));
    EXPECT_EQ(WaitForExit(child), 3) << c.switches;
    EXPECT_EQ(ReadFileBytes(report), c.seen) << c.switches;
  }
}

TEST_F(RunTest, UsageAndStandardSwitches) {
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("run", ""), &box), 1);
  EXPECT_EQ(box.text, RunUsage);
  EXPECT_EQ(box.caption, "Run Ver 0.11");
  EXPECT_EQ(RunWithBox(Command("run", "-?"), &box), 0);
  EXPECT_EQ(box.text, RunUsage);
  EXPECT_EQ(RunWithBox(Command("run", "-HIDE"), &box), 1) << "a show switch needs a program";
  EXPECT_EQ(box.text, RunUsage);
  EXPECT_EQ(RunWithoutWindow(Command("run", "-!")), 0);
}

}  // namespace
