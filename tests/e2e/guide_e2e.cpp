// The user's guide as a reader copies it: every command of its table of
// replacements for VBScript, mshta and PowerShell runs through cmd.exe as
// it stands there (and those of the code block under it, which hold "|")
// and is answered as a person would.
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_config.h"
#include "e2e_test.h"

namespace {

// The commands of the guide's table (its second column, where that begins
// with one) and of the code block under it, in order. No line of a table
// may hold "\|": a reader who copies the Markdown, as the zip's README.md
// holds it, would copy the backslash too.
std::vector<std::string> GuideCommands() {
  std::ifstream guide(std::string(SOURCE_DIR) + "\\docs\\user-guide.md", std::ios::binary);
  std::vector<std::string> commands;
  bool inSection = false, inBlock = false;
  for (std::string line; std::getline(guide, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind('|', 0) == 0 && line.find("\\|") != std::string::npos)
      ADD_FAILURE() << "a table of the guide writes | as \\|: " << line;
    if (line.rfind("## ", 0) == 0) inSection = line.find("From VBScript") != std::string::npos;
    if (!inSection) continue;
    if (line.rfind("```", 0) == 0) {
      inBlock = !inBlock;
    } else if (inBlock) {
      if (!line.empty()) commands.push_back(line);
    } else if (line.rfind("| `", 0) == 0) {
      size_t cell = line.find(" | ");
      if (cell == std::string::npos || line.compare(cell + 3, 1, "`") != 0) continue;
      size_t close = line.find('`', cell + 4);
      if (close != std::string::npos) commands.push_back(line.substr(cell + 4, close - cell - 4));
    }
  }
  return commands;
}

enum How { Press, Type, Name, Close, Feed, Nothing };

// How a person answers one command: the window, what they do in it, and
// what the batch file then finds.
struct Answer {
  const char* windowClass;
  const char* caption;  // null: any
  How how;
  int button;          // Press: the button; Type and Name: then Enter or Ok
  const char* text;    // Type and Name: what is typed
  std::string result;  // %TEMP%\a.txt afterwards; "<missing>" when none
  int status;
  const char* after = "";  // what the batch file does next, after the command
};

class GuideTest : public E2eTest {};

TEST_F(GuideTest, EveryCommandOfTheVbscriptTableRunsAsWritten) {
  const char* Box = MessageBoxClass;
  const std::string none = "<missing>";
  std::map<std::string, Answer> answers = {
      {"say \"Done.\"", {Box, "Say", Press, IDOK, nullptr, none, 0}},
      {"say -t Backup -i \"Done.\"", {Box, "Backup", Press, IDOK, nullptr, none, 0}},
      {"ask ok \"Go on?\" \"%TEMP%\\a.txt\"", {Box, "Ask", Press, IDOK, nullptr, "ok\r\n", 0}},
      {"ask yn \"Replace?\" \"%TEMP%\\a.txt\"", {Box, "Ask", Press, IDYES, nullptr, "yes\r\n", 0}},
      {"ask ync \"Save?\" \"%TEMP%\\a.txt\"", {Box, "Ask", Press, IDNO, nullptr, "no\r\n", 0}},
      {"ask yn -default=no \"Delete?\" \"%TEMP%\\a.txt\"",
       {Box, "Ask", Press, VK_RETURN, nullptr, "\r\n", 0}},
      {"ask text \"Your name?\" \"%TEMP%\\a.txt\"",
       {DialogClass, "Ask", Type, 0, "Ada", "Ada\r\n", 0}},
      {"ask edit \"Folder?\" \"C:\\Reports\" \"%TEMP%\\a.txt\"",
       {DialogClass, "Ask", Type, 0, "", "C:\\Reports\r\n", 0}},
      {"say -t Note -i \"Back soon.\" -timeout=10", {Box, "Note", Press, IDOK, nullptr, none, 0}},
      {"ask yn -timeout=10 \"Go on?\" \"%TEMP%\\a.txt\"",
       {Box, "Ask", Press, IDYES, nullptr, "yes\r\n", 0}},
      {"run -hide job.bat", {nullptr, nullptr, Nothing, 0, nullptr, none, 5}},
      {"run -min notepad report.txt", {"Notepad", nullptr, Close, 0, nullptr, none, 0}},
      {"ask yn \"Go on?\" \"%TEMP%\\a.txt\"", {Box, "Ask", Press, IDNO, nullptr, "\r\n", 0}},
      {"ask text \"Name?\" \"%TEMP%\\a.txt\"", {DialogClass, "Ask", Type, 0, "Bo", "Bo\r\n", 0}},
      {"ask dir \"Pick\" \"%TEMP%\\a.txt\"",
       {Box, "Browse for Folder", Press, IDCANCEL, nullptr, "\r\n", 0}},
      {"ask file \"Pick\" \"%TEMP%\\a.txt\"",
       {Box, "Pick", Name, IDOK, "chosen.txt", JoinPath(scratch_, "chosen.txt") + "\r\n", 0}},
      {"say \"The copy has finished.\"", {Box, "Say", Press, IDOK, nullptr, none, 0}},
      {"ask yn -default=no -timeout=10 \"Go on?\" \"%TEMP%\\a.txt\"",
       {Box, "Ask", Press, IDYES, nullptr, "yes\r\n", 0}},
      {"ask check \"Install which parts?\" \"%TEMP%\\parts.csv\" \"%TEMP%\\a.txt\"",
       {DialogClass, "Ask", Press, VK_RETURN, nullptr, "help\r\n", 0}},
      {"ask buttons \"Save the report?\" \"Save|Discard|Cancel\" \"%TEMP%\\a.txt\"",
       {DialogClass, "Ask", Press, 4003, nullptr, "Discard\r\n", 0}},
      {"ask date -default=2026-12-09 \"Which day?\" \"%TEMP%\\a.txt\"",
       {DialogClass, "Ask", Press, VK_RETURN, nullptr, "2026-12-09\r\n", 0}},
      {"ask file \"-filter=CSV files|*.csv\" \"-folder=C:\\Reports\" \"Pick\" \"%TEMP%\\a.txt\"",
       {Box, "Pick", Name, IDOK, "chosen.csv", JoinPath(scratch_, "chosen.csv") + "\r\n", 0}},
      {"ask files \"Pick\" \"%TEMP%\\a.txt\"",
       {Box, "Pick", Name, IDOK, "chosen.txt", JoinPath(scratch_, "chosen.txt") + "\r\n", 0}},
      // The batch file goes on working while the window shows.
      {"start \"\" ask progress \"Copying...\" \"%TEMP%\\f.txt\" \"%TEMP%\\a.txt\"",
       {DialogClass, "Ask", Feed, 0, "40\r\nclose\r\n", "ok\r\n", 0,
        " & ping -n 4 127.0.0.1 >nul"}},
      {"say -notify -t Backup \"Done.\"", {nullptr, nullptr, Nothing, 0, nullptr, none, 0}},
      {"say -notify -t Backup -i -timeout=10 \"Done.\"",
       {nullptr, nullptr, Nothing, 0, nullptr, none, 0}},
  };
  WriteFileBytes(JoinPath(scratch_, "job.bat"), "@echo off\r\nexit 5\r\n");
  WriteFileBytes(JoinPath(scratch_, "parts.csv"), "Help,help,1\r\nMenu,menu\r\n");
  WriteFileBytes(JoinPath(scratch_, "report.txt"), "report\r\n");
  // "ask", "say" and "run" are found on the PATH, as the guide assumes.
  std::string tools = ToolPath("ask");
  tools.erase(tools.rfind('\\'));
  char path[4096] = "";
  GetEnvironmentVariableA("PATH", path, sizeof path);
  options_.set.push_back({"PATH", tools + ";" + path});

  std::vector<std::string> commands = GuideCommands();
  EXPECT_GE(commands.size(), answers.size()) << "the table lost rows";
  std::map<std::string, int> runs;
  for (const std::string& command : commands) {
    auto found = answers.find(command);
    if (found == answers.end()) {
      ADD_FAILURE() << "the guide's table has a command this test does not answer: " << command;
      continue;
    }
    const Answer& a = found->second;
    runs[command]++;
    std::string answerFile = JoinPath(scratch_, "a.txt");
    DeleteFileA(answerFile.c_str());
    Child* shell = Start("cmd.exe /c " + command + a.after);
    HWND window = nullptr;
    if (a.windowClass) {
      ASSERT_TRUE(WaitUntil([&] {
        window = FindWindowA(a.windowClass, a.caption);
        return window && IsWindowVisible(window);
      })) << command
          << ": no window";
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, WaitLimitMs, nullptr);
    }
    switch (a.how) {
      case Press:
        if (a.button == VK_RETURN) {
          PressKey(window, VK_RETURN);
        } else {
          EXPECT_TRUE(PressButton(window, a.button)) << command;
        }
        break;
      case Type: SendChars(GetDlgItem(window, 4001), std::string(a.text) + "\r"); break;
      case Name:
        // A full path: the dialog may open where the program last chose.
        SetText(FindChild(window, "Edit"), JoinPath(scratch_, a.text));
        EXPECT_TRUE(PressButton(window, a.button)) << command;
        break;
      case Close: CloseWindowNow(window); break;
      case Feed: WriteFileBytes(JoinPath(scratch_, "f.txt"), a.text); break;
      case Nothing: break;
    }
    int status = WaitForExit(shell);
    EXPECT_EQ(status, a.status) << command;
    if (a.how == Feed) WaitUntil([&] { return !IsWindow(window); });
    if (status == KilledStatus && window && IsWindow(window)) CloseWindowNow(window);
    EXPECT_EQ(ReadFileBytes(answerFile), a.result) << command;
  }
  for (const auto& [command, answer] : answers)
    EXPECT_EQ(runs[command], 1) << "not in the guide's table: " << command;
}

}  // namespace

namespace {

// The guide's example of a test without anybody: wizard-test.bat replays
// the wizard from its committed record, shows nothing and finds the new
// record equal to it.
TEST_F(GuideTest, WizardTestReplaysTheWizardFromItsRecord) {
  std::string tools = ToolPath("ask");
  tools.erase(tools.rfind('\\'));
  char path[4096] = "";
  GetEnvironmentVariableA("PATH", path, sizeof path);
  options_.set.push_back({"PATH", tools + ";" + path});
  std::string batch = std::string(SOURCE_DIR) + "\\docs\\examples\\wizard-test.bat";
  EXPECT_EQ(RunWithoutWindow("cmd.exe /c \"" + batch + "\""), 0);
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "wizard-record.txt")),
            ReadFileBytes(std::string(SOURCE_DIR) + "\\docs\\examples\\wizard-answers.txt"));
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "wizard-answer.txt")), "For the kitchen\r\n");
}

}  // namespace
