// say and the start-up frame, run for real: what the user sees, the exit
// status, and what lands in the log.
#include <string>

#include "e2e_test.h"

namespace {

const char* const SayUsage =
    "Usage:\n\nsay [-t title] [-i|-w|-e] msg\nShow a message and wait for Ok button press.\n"
    "-i show info icon\n-w show warning icon\n-e show error/fatal icon\n"
    "Use double quotes if msg contains spaces.\n"
    "args may be @file. Uses content of file as the arg.\n\nsay -help\nShow online help.";

const std::vector<ButtonInfo> OkOnly = {{IDOK, "OK"}};

using SayTest = E2eTest;

TEST_F(SayTest, MessagesTitlesAndIcons) {
  struct {
    const char* args;
    const char* text;
    const char* caption;
    const char* icon;
  } cases[] = {
      {"hello", "hello", "Say", "none"},
      {"\"Hello world\"", "Hello world", "Say", "none"},
      {"-t Note -w Stopped", "Stopped", "Note", "warning"},
      {"-e -i hello", "hello", "Say", "information"},
      {"-E \"it broke\"", "it broke", "Say", "error"},
      {"-t -i hello", "hello", "-i", "none"},
      {"-x", "-x", "Say", "none"},
      {"\"He said \"\"hi\"\"\"", "He said \"hi\"", "Say", "none"},
  };
  for (const auto& c : cases) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("say", c.args), &box), 0) << c.args;
    EXPECT_EQ(box.text, c.text) << c.args;
    EXPECT_EQ(box.caption, c.caption) << c.args;
    EXPECT_EQ(box.icon, c.icon) << c.args;
    EXPECT_EQ(box.buttons, OkOnly) << c.args;
  }
}

TEST_F(SayTest, TimedMessageClosesItself) {
  std::string log = JoinPath(scratch_, "say.log");
  DWORD start = GetTickCount();
  Child* child =
      Start(Command("say", "-t Note -i \"Back in a moment\" -timeout=1 -dbg=1 -log=" + log));
  BoxSeen box;
  HWND window = WaitForWindow(*child, MessageBoxClass);
  ASSERT_TRUE(window);
  EXPECT_EQ(MessageBoxText(window), "Back in a moment");
  EXPECT_EQ(TextOf(window), "Note");
  EXPECT_EQ(WaitForExit(child), 0) << "closes itself";
  EXPECT_GE(GetTickCount() - start, 950u) << "not before its time";
  EXPECT_NE(ReadFileBytes(log).find(" Timed out after 1 s\r\n"), std::string::npos)
      << ReadFileBytes(log);

  // The switch alone is the message, as it always was.
  EXPECT_EQ(RunWithBox(Command("say", "-timeout=1"), &box), 0);
  EXPECT_EQ(box.text, "-timeout=1");
}

TEST_F(SayTest, ClosingTheBoxEndsWithZero) {
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("say", "bye"), &box, 0), 0);
  EXPECT_EQ(box.text, "bye");
}

TEST_F(SayTest, UsageBoxAndStatus) {
  struct {
    const char* args;
    int status;
  } cases[] = {{"", 1}, {"-? hello", 1}, {"a b", 1}, {"-i", 1}, {"-?", 0}, {"-dbg=1 -?", 0}};
  for (const auto& c : cases) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("say", c.args), &box), c.status) << "say " << c.args;
    EXPECT_EQ(box.text, SayUsage) << "say " << c.args;
    EXPECT_EQ(box.caption, "Say Ver 0.11") << "say " << c.args;
    EXPECT_EQ(box.icon, "none") << "say " << c.args;
  }
}

TEST_F(SayTest, InfoShowsBuildDateAndTime) {
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("say", "-INFO"), &box), 0);
  EXPECT_EQ(box.caption, "Say Ver 0.11");
  EXPECT_EQ(box.text.rfind("Say Ver 0.11", 0), 0u) << box.text;
  EXPECT_NE(box.text.find("\n\nBuild date:\t"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("\nBuild time:\t"), std::string::npos) << box.text;
  EXPECT_EQ(box.buttons, OkOnly);
}

TEST_F(SayTest, DoNothingAndHelpShowNoWindow) {
  EXPECT_EQ(RunWithoutWindow(Command("say", "-!")), 0);
  EXPECT_EQ(RunWithoutWindow(Command("say", "-HELP")), 0);
}

TEST_F(SayTest, MissingAppDataEndsEveryRun) {
  options_.unset.push_back("APPDATA");
  for (const char* args : {"hello", "-!", "-?"}) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("say", args), &box), 1) << args;
    EXPECT_EQ(box.text, "The APPDATA environment variable is missing.") << args;
    EXPECT_EQ(box.caption, "Say Ver 0.11") << args;
    EXPECT_EQ(box.icon, "warning") << args;
  }
}

TEST_F(SayTest, FileArguments) {
  std::string msg = JoinPath(scratch_, "msg.txt");
  WriteFileBytes(msg, "line one\r\nline two\r\n");
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("say", "@" + msg), &box), 0);
  EXPECT_EQ(box.text, "line one\nline two\n");

  std::string title = JoinPath(scratch_, "title.txt");
  WriteFileBytes(title, "From a file");
  EXPECT_EQ(RunWithBox(Command("say", "-t @" + title + " hi"), &box), 0);
  EXPECT_EQ(box.caption, "From a file");

  std::string missing = JoinPath(scratch_, "missing.txt");
  EXPECT_EQ(RunWithBox(Command("say", "@" + missing), &box), 1);
  EXPECT_EQ(box.text, "Can't read file: " + missing);
  EXPECT_EQ(box.caption, "Say Ver 0.11");
  EXPECT_EQ(box.icon, "warning");
}

TEST_F(SayTest, DebugLevelLogsTheCommandLine) {
  std::string log = JoinPath(scratch_, "my.log");
  std::string line = Command("say", "-dbg=1 \"-log=" + log + "\" \"100% %s\"");
  BoxSeen box;
  EXPECT_EQ(RunWithBox(line, &box), 0);
  EXPECT_EQ(box.text, "100% %s");
  std::string bytes = ReadFileBytes(log);
  // Three header lines, then the entry: "HH:MM:SS Cmdline: <line>".
  ASSERT_EQ(bytes.rfind("*\r\n* ", 0), 0u) << bytes;
  size_t entry = bytes.find("\r\n*\r\n");
  ASSERT_NE(entry, std::string::npos) << bytes;
  std::string rest = bytes.substr(entry + 5);
  ASSERT_GE(rest.size(), 9u) << bytes;
  EXPECT_EQ(rest.substr(8), " Cmdline: " + line + "\r\n") << bytes;

  // Without -log= the line goes to %TEMP%\Say.log.
  EXPECT_EQ(RunWithBox(Command("say", "-DBG=2 hello"), &box), 0);
  std::string temp = ReadFileBytes(JoinPath(scratch_, "Say.log"));
  EXPECT_NE(temp.find(" Cmdline: " + Command("say", "-DBG=2 hello") + "\r\n"), std::string::npos)
      << temp;
}

TEST_F(SayTest, NegativeOrZeroLevelLogsNothing) {
  std::string log = JoinPath(scratch_, "quiet.log");
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("say", "-dbg=-1 -log=" + log + " hello"), &box), 0);
  EXPECT_EQ(RunWithBox(Command("say", "hello -log=" + log), &box), 0);
  EXPECT_EQ(ReadFileBytes(log), "<missing>");
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "Say.log")), "<missing>");
}

TEST_F(SayTest, UnopenableLogIsIgnored) {
  std::string log = JoinPath(scratch_, "no-such-folder\\x.log");
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("say", "-dbg=1 -log=" + log + " still"), &box), 0);
  EXPECT_EQ(box.text, "still");
}

}  // namespace
