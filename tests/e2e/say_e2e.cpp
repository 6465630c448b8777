// say and the start-up frame, run for real: what the user sees, the exit
// status, and what lands in the log.
#include <algorithm>
#include <string>

#include "e2e_test.h"

#include <commctrl.h>
#include <tlhelp32.h>

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
      {"-notify", "-notify", "Say", "none"},  // alone it is the message
      {"-t -notify hello", "hello", "-notify", "none"},
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

// The balloon the notification area shows with that text: a visible
// tooltip, whose window text is the text shown; null when none shows.
HWND FindBalloon(const std::string& text) {
  HWND tip = nullptr;
  while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)))
    if (IsWindowVisible(tip) && Utf8TextOf(tip) == text) return tip;
  return nullptr;
}

// The tips of the tooltips of a tooltip's process: the notification area
// keeps each icon's tip (say's title) there. Read in that process's memory,
// since tooltip messages carry pointers that are not carried between
// processes; none where that process is of another width than this one.
std::vector<std::string> TipsBeside(HWND balloon) {
  std::vector<std::string> tips;
  DWORD pid = 0;
  GetWindowThreadProcessId(balloon, &pid);
  HANDLE shell = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      pid);
  BOOL shellWow = FALSE, ownWow = FALSE;
  if (!shell || !IsWow64Process(shell, &shellWow) ||
      !IsWow64Process(GetCurrentProcess(), &ownWow) || shellWow != ownWow) {
    if (shell) CloseHandle(shell);
    return tips;
  }
  char* remote = static_cast<char*>(
      VirtualAllocEx(shell, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  HWND tip = nullptr;
  while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tip, &owner);
    if (owner != pid || SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) < 1) continue;
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    WriteProcessMemory(shell, remote, &tool, sizeof tool, nullptr);
    SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(shell, remote, &tool, sizeof tool, nullptr);
    wchar_t text[256] = {};
    WriteProcessMemory(shell, remote + 1024, text, sizeof text, nullptr);
    tool.lpszText = reinterpret_cast<wchar_t*>(remote + 1024);
    WriteProcessMemory(shell, remote, &tool, sizeof tool, nullptr);
    SendMessageW(tip, TTM_GETTEXTW, 255, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(shell, remote + 1024, text, sizeof text - 2, nullptr);
    tips.push_back(Utf8Of(text));
  }
  VirtualFreeEx(shell, remote, 0, MEM_RELEASE);
  CloseHandle(shell);
  return tips;
}

// The say processes a say process started.
std::vector<DWORD> HelpersOf(DWORD parent) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, "say.exe") == 0)
      found.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return found;
}

TEST_F(SayTest, NotifyReturnsAtOnceAndItsBalloonGoesAfterItsTime) {
  // Wine's notification area shows a balloon two seconds after its icon
  // comes: the time limits leave it a few seconds on show.
  // A balloon holds 255 characters and its title 63: a longer text
  // arrives cut, its last character the ellipsis.
  std::string longText = JoinPath(scratch_, "long.txt");
  WriteFileBytes(longText, std::string(40000, 'x'));
  const std::string ellipsis = "\xE2\x80\xA6";
  struct {
    std::string args, title, text;
    const char* icon;
  } cases[] = {
      {"-notify -t Backup -w \"Copy done\" -timeout=5", "Backup", "Copy done", "warning"},
      {"-e \"Disk full\" -NOTIFY -timeout=5", "Say", "Disk full", "error"},
      {"-notify -i -timeout=5 -t " + std::string(70, 't') + " @" + longText,
       std::string(62, 't') + ellipsis, std::string(254, 'x') + ellipsis, "information"},
  };
  for (const auto& c : cases) {
    Child* child = Start(Command("say", c.args));
    // It returns at once, with no window of its own; its helper waits.
    EXPECT_EQ(WaitForExit(child, 5000), 0) << c.args;
    std::vector<HANDLE> helpers;
    for (DWORD pid : HelpersOf(child->pid))
      helpers.push_back(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    EXPECT_EQ(helpers.size(), 1u) << c.args << ": the waiting process";
    HWND balloon = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (balloon = FindBalloon(c.text)) != nullptr; }, 6000))
        << c.args;
    if (balloon) {
      RECT r = RectOf(balloon);
      r.right = r.left + (r.right - r.left) / 3;  // the icon, before the title
      r.bottom = r.top + (r.bottom - r.top) / 2;
      EXPECT_EQ(IconOfColours(r), c.icon) << c.args;
      std::vector<std::string> tips = TipsBeside(balloon);
      if (!tips.empty()) {
        EXPECT_NE(std::find(tips.begin(), tips.end(), c.title), tips.end()) << c.args;
      }
    }
    for (HANDLE helper : helpers) {
      EXPECT_EQ(WaitForSingleObject(helper, 10000), WAIT_OBJECT_0) << c.args << ": still waiting";
      TerminateProcess(helper, 1);
      CloseHandle(helper);
    }
    EXPECT_FALSE(FindBalloon(c.text)) << c.args << ": the balloon outlived its time";
  }
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
  // The notification's variables inherited: only say's own helper reads them.
  options_.set = {{"QUIL_SAY_NOTIFY", "3 1"}, {"QUIL_SAY_NOTIFY_TEXT", "spoofed"}};
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
