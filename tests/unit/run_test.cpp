// run's parameter string and its handling of arguments, files and the log,
// with the stand-in in place of starting a program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame.h"
#include "standin.h"
#include "test_util.h"

char* JoinArgs(int n, char** args);

namespace {

std::string Join(const std::vector<std::string>& texts) {
  std::vector<char*> args = MakeArgs(texts);
  char* joined = JoinArgs(static_cast<int>(texts.size()), args.data());
  std::string result = joined;
  free(joined);
  for (char* a : args) free(a);
  return result;
}

TEST(JoinArgs, BlankLedQuotedAndTrailingBackslashesDoubled) {
  struct {
    std::vector<std::string> args;
    const char* joined;
  } cases[] = {
      {{}, " "},
      {{"a.txt", "b c"}, " \"a.txt\" \"b c\""},
      {{""}, " \"\""},
      {{"C:\\Temp\\"}, " \"C:\\Temp\\\\\""},
      {{"x\\\\", "y"}, " \"x\\\\\\\\\" \"y\""},
      {{"a\\b"}, " \"a\\b\""},
      {{"say \"hi\""}, " \"say \"hi\"\""},
      {{"\\"}, " \"\\\\\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Join(c.args), c.joined) << "first: " << (c.args.empty() ? "" : c.args[0]);
}

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInReset();
    SetEnvVar("APPDATA", "C:\\AppData");
  }
  int Run(const std::string& commandLine) { return RunFrame(commandLine); }
};

TEST_F(RunTest, StartsProgramWithJoinedArgumentsAndPassesItsCode) {
  StandInRunResult = -5;
  EXPECT_EQ(Run("run notepad \"a b\" -dbg=0 c"), -5);
  ASSERT_EQ(StandInRuns.size(), 1u);
  EXPECT_EQ(StandInRuns[0].program, "notepad");
  EXPECT_EQ(StandInRuns[0].parameters, " \"a b\" \"c\"");
  EXPECT_EQ(StandInRuns[0].show, ShowNormal);

  StandInRuns.clear();
  EXPECT_EQ(Run("run -? x"), -5) << "with two arguments -? is a program";
  ASSERT_EQ(StandInRuns.size(), 1u);
  EXPECT_EQ(StandInRuns[0].program, "-?");
  EXPECT_EQ(StandInRuns[0].parameters, " \"x\"");
}

TEST_F(RunTest, UsageAndSwitches) {
  EXPECT_EQ(Run("run"), 1);
  EXPECT_EQ(Run("run -?"), 0);
  EXPECT_EQ(Run("run -!"), 0);
  EXPECT_EQ(Run("run -help"), 0);
  EXPECT_TRUE(StandInRuns.empty());
  ASSERT_EQ(StandInBoxes.size(), 2u);
  EXPECT_EQ(StandInBoxes[0].text,
            "Usage:\n\nrun prog arg ... arg\nRun a program.\nEach arg may be @file in which case "
            "the contents of file will be used as the arg.\n\nrun -help\nShow online help.");
  EXPECT_EQ(StandInBoxes[0].caption, "Run Ver 0.11");
  ASSERT_EQ(StandInShellCalls.size(), 1u);
  EXPECT_EQ(StandInShellCalls[0].file,
            std::string("https://") + MakerWebHost + "/Products/Corvalette/Help/Run.html");
}

TEST_F(RunTest, ShowSwitchesOnlyAsTheFirstArgumentBeforeAProgram) {
  std::string hide = ScratchPath("hide.txt");
  WriteBytes(hide, "-hide");
  struct {
    std::string line;
    const char* program;
    const char* parameters;
    ShowWay show;
  } cases[] = {
      {"run -hide prog a", "prog", " \"a\"", ShowHidden},
      {"run -MIN prog", "prog", " ", ShowMinimized},
      {"run -max -dbg=0 prog -hide", "prog", " \"-hide\"", ShowMaximized},
      {"run -dbg=0 -Hide prog", "prog", " ", ShowHidden},
      // Today's command lines: a switch anywhere else is an argument.
      {"run prog -hide -min", "prog", " \"-hide\" \"-min\"", ShowNormal},
      {"run prog -timeout=5", "prog", " \"-timeout=5\"", ShowNormal},
      {"run -hide -min prog", "-min", " \"prog\"", ShowHidden},
      {"run @" + hide + " prog", "-hide", " \"prog\"", ShowNormal},
      {"run prog -user", "prog", " \"-user\"", ShowNormal},
      {"run -user", "-user", " ", ShowNormal},
      // -user where the screen is seen changes nothing.
      {"run -user -hide prog a", "prog", " \"a\"", ShowHidden},
  };
  for (const auto& c : cases) {
    StandInRuns.clear();
    EXPECT_EQ(Run(c.line), 0) << c.line;
    ASSERT_EQ(StandInRuns.size(), 1u) << c.line;
    EXPECT_EQ(StandInRuns[0].program, c.program) << c.line;
    EXPECT_EQ(StandInRuns[0].parameters, c.parameters) << c.line;
    EXPECT_EQ(StandInRuns[0].show, c.show) << c.line;
  }
  // Without a program after it, a switch is the usage.
  for (const char* line : {"run -hide", "run -dbg=1 -MAX", "run -min -log="}) {
    StandInBoxes.clear();
    StandInRuns.clear();
    EXPECT_EQ(Run(line), 1) << line;
    EXPECT_TRUE(StandInRuns.empty()) << line;
    ASSERT_EQ(StandInBoxes.size(), 1u) << line;
    EXPECT_EQ(StandInBoxes[0].text.rfind("Usage:\n\nrun prog", 0), 0u) << line;
  }
}

TEST_F(RunTest, FileArgumentsLoseOneFinalLineFeed) {
  std::string prog = ScratchPath("prog.txt"), one = ScratchPath("one.txt"),
              two = ScratchPath("two.txt");
  WriteBytes(prog, "C:\\bin\\tool.exe\r\n");
  WriteBytes(one, "first line\r\nsecond line\r\n");
  WriteBytes(two, "ends twice\n\n");
  EXPECT_EQ(Run("run @" + prog + " @" + one + " @" + two), 0);
  ASSERT_EQ(StandInRuns.size(), 1u);
  EXPECT_EQ(StandInRuns[0].program, "C:\\bin\\tool.exe");
  EXPECT_EQ(StandInRuns[0].parameters, " \"first line\nsecond line\" \"ends twice\n\"");

  std::string missing = ScratchPath("missing.txt");
  EXPECT_EQ(Run("run prog @" + missing), 1);
  EXPECT_EQ(StandInRuns.size(), 1u) << "nothing is started";
  ASSERT_EQ(StandInBoxes.size(), 1u);
  EXPECT_EQ(StandInBoxes[0].text, "Can't read file: " + missing);
}

TEST_F(RunTest, LogsStartAndExitAtAnyNonZeroLevel) {
  std::string log = ScratchPath("run.log");
  for (int level : {1, -1}) {
    WriteBytes(log, "");
    StandInRunResult = 7;
    EXPECT_EQ(Run("run -dbg=" + std::to_string(level) + " -log=" + log + " prog"), 7);
    std::string bytes = ReadBytes(log);
    std::string eol = Eol;
    EXPECT_NE(bytes.find(" Running prog=prog args=  mode=1 ..." + eol), std::string::npos) << bytes;
    EXPECT_EQ(Run("run -dbg=" + std::to_string(level) + " -log=" + log + " -min prog"), 7);
    EXPECT_NE(ReadBytes(log).find(" Running prog=prog args=  mode=7 ..." + eol), std::string::npos)
        << "the mode in the log";
    EXPECT_NE(bytes.find(" Exit code is 7" + eol), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("Cmdline:") != std::string::npos, level > 0) << bytes;
  }
  WriteBytes(log, "");
  Run("run -log=" + log + " prog");
  EXPECT_EQ(ReadBytes(log), "");
}

}  // namespace
