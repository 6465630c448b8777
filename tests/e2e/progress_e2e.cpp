// ask's progress window run for real: a feed written line by line while
// the window is up, its bar and label read back after each line, and how
// the window ends.
#include <algorithm>
#include <string>

#include "e2e_test.h"

#include <commctrl.h>
#include <psapi.h>

namespace {

constexpr int LabelId = 4000, BarId = 4001, CancelId = 4002;

class ProgressTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    feed_ = JoinPath(scratch_, "feed.txt");
    out_ = JoinPath(scratch_, "out.txt");
  }
  HWND StartWindow(const std::string& args) {
    child_ = Start(Command("ask", args));
    HWND window = WaitForWindow(*child_, DialogClass);
    EXPECT_TRUE(window) << "no progress window from ask " << args;
    return window;
  }
  // Appends bytes as a batch file's ">>" does: open, write at the end, close.
  void Append(const std::string& bytes) {
    HANDLE file = CreateFileA(feed_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  Child* child_ = nullptr;
  std::string feed_, out_;
};

int Height(const RECT& r) { return r.bottom - r.top; }

int BarOf(HWND window) {
  return static_cast<int>(SendMessageA(GetDlgItem(window, BarId), PBM_GETPOS, 0, 0));
}
bool Pulsating(HWND window) {
  return (GetWindowLongA(GetDlgItem(window, BarId), GWL_STYLE) & PBS_MARQUEE) != 0;
}

TEST_F(ProgressTest, FollowsTheFeedLineByLine) {
  const std::string longer =
      "Copying the documents of the whole department to the backup drive, folder by folder, "
      "which takes a while";
  // What the batch file does to the feed, and what the window shows then.
  struct {
    const char* what;  // append, rewrite (a shorter file), delete
    std::string bytes;
    int bar;
    bool pulsating;
    std::string label;  // UTF-8; empty: unchanged
  } steps[] = {
      {"append", "10\r\n", 10, false, ""},
      {"append", "#" + longer + "\r\n", 10, false, longer},
      {"append", "pulsate\n", 10, true, ""},
      {"append", "55  \n", 55, false, ""},  // as "echo 55 >>feed" writes it
      {"append", "7", 55, false, ""},       // half a line: nothing yet
      {"append", "0\r\nbogus\n101\n", 70, false, ""},
      {"rewrite", "20\r\n", 20, false, ""},  // "echo 20>feed": read from its start
      {"delete", "", 20, false, ""},
      {"append",
       "\xEF\xBB\xBF#Gr\xC3\xBC\xC3\x9F"
       "e\r\n30\r\n",
       30, false,
       "Gr\xC3\xBC\xC3\x9F"
       "e"},
  };
  HWND window = StartWindow("progress \"Preparing the backup...\" feed.txt out.txt");
  ASSERT_TRUE(window);
  EXPECT_EQ(TextOf(window), "Ask");
  EXPECT_EQ(TextOf(GetDlgItem(window, LabelId)), "Preparing the backup...");
  EXPECT_EQ(ClassOf(GetDlgItem(window, BarId)), "msctls_progress32");
  EXPECT_EQ(TextOf(GetDlgItem(window, CancelId)), "Cancel");
  EXPECT_EQ(BarOf(window), 0);
  int height = Height(RectOf(window));
  for (const auto& s : steps) {
    std::string what = s.what;
    if (what == "append") Append(s.bytes);
    if (what == "rewrite") WriteFileBytes(feed_, s.bytes);
    if (what == "delete") DeleteFileA(feed_.c_str());
    std::string label = s.label.empty() ? Utf8TextOf(GetDlgItem(window, LabelId)) : s.label;
    bool shown = WaitUntil([&] {
      return BarOf(window) == s.bar && Pulsating(window) == s.pulsating &&
             Utf8TextOf(GetDlgItem(window, LabelId)) == label;
    });
    // A line that is not whole yet, or is no command, changes nothing even
    // after several looks at the feed.
    Sleep(what == "append" && s.bytes.back() != '\n' ? 500 : 0);
    EXPECT_TRUE(shown) << what << " " << s.bytes << ": bar " << BarOf(window) << ", pulsating "
                       << Pulsating(window) << ", label "
                       << Utf8TextOf(GetDlgItem(window, LabelId));
    EXPECT_EQ(BarOf(window), s.bar) << what << " " << s.bytes;
  }
  EXPECT_GT(Height(RectOf(window)), height) << "a longer label makes the window taller";
  Append("close\r\n");
  EXPECT_EQ(WaitForExit(child_), 0);
  EXPECT_EQ(ReadFileBytes(out_), "ok\r\n");
}

TEST_F(ProgressTest, CancelEscapeAndCloseWriteABlankLine) {
  for (const char* how : {"cancel", "escape", "close"}) {
    WriteFileBytes(feed_, "50\r\n");
    WriteFileBytes(out_, "old\r\n");
    HWND window = StartWindow("progress Working feed.txt out.txt");
    ASSERT_TRUE(window);
    WaitUntil([&] { return BarOf(window) == 50; });
    if (std::string(how) == "cancel") PressButton(window, CancelId);
    if (std::string(how) == "escape") PressKey(window, VK_ESCAPE);
    if (std::string(how) == "close") CloseWindowNow(window);
    EXPECT_EQ(WaitForExit(child_), 0) << how;
    EXPECT_EQ(ReadFileBytes(out_), "\r\n") << how;
  }
}

TEST_F(ProgressTest, SilenceStandardInputAndUsage) {
  // No line for the time given: as Cancel. A feed held open by another
  // program fails every read, logged once.
  std::string log = JoinPath(scratch_, "p.log");
  HANDLE held = CreateFileA(feed_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  StartWindow("progress -timeout=1 Working feed.txt out.txt -dbg=1 -log=" + log);
  EXPECT_EQ(WaitForExit(child_), 0);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(out_), "\r\n");
  std::string logged = ReadFileBytes(log);
  EXPECT_NE(logged.find("Timed out after 1 s"), std::string::npos) << logged;
  size_t failed = logged.find("Can't read the progress from feed.txt: error 32\r\n");
  EXPECT_NE(failed, std::string::npos) << logged;
  EXPECT_EQ(logged.find("Can't read the progress", failed + 1), std::string::npos) << logged;

  // Standard input: every line, its end as "close"; a line that is no
  // command is logged as it came, without its CR.
  WriteFileBytes(JoinPath(scratch_, "steps.txt"), "#Step one\r\n40\r\n20x\r\npulsate\r\n90");
  options_.input = JoinPath(scratch_, "steps.txt");
  child_ = Start(Command("ask", "progress Working - out.txt -dbg=1 -log=" + log));
  EXPECT_EQ(WaitForExit(child_), 0);
  EXPECT_EQ(ReadFileBytes(out_), "ok\r\n");
  EXPECT_NE(ReadFileBytes(log).find("Ignored feed line: 20x\r\n"), std::string::npos)
      << ReadFileBytes(log);
  options_.input.clear();

  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("ask", "progress Working feed.txt"), &box), 1);
  EXPECT_EQ(box.text, "ask progress prompt feedfile outfile");
}

TEST_F(ProgressTest, BatchFileAppendsAreNeverRefusedAndItsEndEndsTheWindow) {
  // A thousand appends by cmd.exe while the window reads, then "close".
  WriteFileBytes(JoinPath(scratch_, "job.bat"),
                 "@echo off\r\n"
                 "for /l %%i in (1,1,1000) do >>feed.txt echo %%i\r\n"
                 ">>feed.txt echo close\r\n");
  HWND window = StartWindow("progress Working feed.txt out.txt");
  ASSERT_TRUE(window);
  Child* batch = Start("cmd.exe /c job.bat");
  EXPECT_EQ(WaitForExit(batch, 120000), 0);
  EXPECT_EQ(WaitForExit(child_), 0);
  EXPECT_EQ(ReadFileBytes(out_), "ok\r\n");
  std::string fed = ReadFileBytes(feed_);
  EXPECT_EQ(std::count(fed.begin(), fed.end(), '\n'), 1001) << "every append landed";

  // Started by a batch file that then ends without "close": the window goes
  // too, and writes nothing.
  DeleteFileA(out_.c_str());
  DeleteFileA(feed_.c_str());
  WriteFileBytes(JoinPath(scratch_, "launch.bat"), "@echo off\r\nstart \"\" " + ToolPath("ask") +
                                                       " progress Orphan feed.txt out.txt\r\n"
                                                       "ping -n 3 127.0.0.1 >nul\r\n");
  batch = Start("cmd.exe /c launch.bat");
  HWND orphan = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    orphan = FindWindowA(DialogClass, "Ask");
    return orphan && TextOf(GetDlgItem(orphan, LabelId)) == "Orphan";
  }));
  EXPECT_EQ(WaitForExit(batch), 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(orphan); }, 5000))
      << "the window outlived its batch";
  if (IsWindow(orphan)) CloseWindowNow(orphan);
  EXPECT_EQ(ReadFileBytes(out_), "<missing>");
}

TEST_F(ProgressTest, WhatCanNeverWorkIsRefusedBeforeTheWindow) {
  CreateDirectoryA(JoinPath(scratch_, "folder").c_str(), nullptr);
  struct {
    const char* args;
    const char* box;
  } rows[] = {
      {"folder out.txt", "Can't read the progress from folder: it is a folder, not a file."},
      {"NUL out.txt", "Can't read the progress from NUL: it is a device, not a file."},
      {"feed.txt missing\\out.txt", "Can't write to file: missing\\out.txt"},
      {"feed.txt folder", "Can't write to file: folder"},
  };
  for (const auto& row : rows) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("ask", std::string("progress Working ") + row.args), &box), 1)
        << row.args;
    EXPECT_EQ(box.text, row.box) << row.args;
    EXPECT_EQ(ReadFileBytes(out_), "<missing>") << row.args;
  }
}

TEST_F(ProgressTest, AFeedWithoutLineEndsKeepsTheWindowAnsweringInBoundedMemory) {
  HWND window = StartWindow("progress Working feed.txt out.txt");
  ASSERT_TRUE(window);
  PROCESS_MEMORY_COUNTERS before = {};
  ASSERT_TRUE(GetProcessMemoryInfo(child_->process, &before, sizeof before));
  Append(std::string(100 << 20, 'x'));
  Append("\n50\n");
  bool answering = true;
  EXPECT_TRUE(WaitUntil([&] {
    DWORD_PTR unused = 0;
    answering = answering && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &unused);
    return BarOf(window) == 50;
  })) << "the line after the long one";
  EXPECT_TRUE(answering);
  PROCESS_MEMORY_COUNTERS after = {};
  ASSERT_TRUE(GetProcessMemoryInfo(child_->process, &after, sizeof after));
  EXPECT_LT(after.PeakPagefileUsage - before.PeakPagefileUsage, 64u << 20);
  Append("close\n");
  EXPECT_EQ(WaitForExit(child_), 0);
  EXPECT_EQ(ReadFileBytes(out_), "ok\r\n");
}

TEST_F(ProgressTest, CancelIsDrawnAfterAWrappingLabel) {
  HWND window = StartWindow("progress Working feed.txt out.txt");
  ASSERT_TRUE(window);
  int height = Height(RectOf(window));
  Append("#" + std::string(40, 'w') + " " + std::string(40, 'w') + " " + std::string(40, 'w') +
         "\r\n");
  ASSERT_TRUE(WaitUntil([&] { return Height(RectOf(window)) > height; }));
  Sleep(500);
  // The button as the screen shows it: its top and bottom halves each hold
  // more than the blank face colour (its edges, its caption).
  RECT r = RectOf(GetDlgItem(window, CancelId));
  HDC screen = GetDC(nullptr);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  int drawn[2] = {0, 0};
  for (int y = r.top; y < r.bottom; y++)
    for (int x = r.left; x < r.right; x++)
      drawn[y >= (r.top + r.bottom) / 2] += GetPixel(screen, x, y) != face;
  ReleaseDC(nullptr, screen);
  EXPECT_GT(drawn[0], 20) << "top half";
  EXPECT_GT(drawn[1], 20) << "bottom half";

  // A label too tall for the screen is cut: the window stays on it.
  std::string words;
  while (words.size() < 60000) words += "word ";
  Append("#" + words + "\r\n");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(window, LabelId)).rfind("word", 0) == 0; }));
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(RectOf(window).bottom, work.bottom);
  std::string label = TextOf(GetDlgItem(window, LabelId));
  EXPECT_EQ(label.substr(label.size() - 3), "...");
  Append("close\r\n");
  EXPECT_EQ(WaitForExit(child_), 0);
}

TEST_F(ProgressTest, ABoxAtTheEndClosesWhenTheBatchFileHasEnded) {
  // The result's folder goes while the window is up, so that writing it
  // fails at "close"; the box that says so goes with the batch file.
  std::string folder = JoinPath(scratch_, "sub");
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(JoinPath(scratch_, "late.bat"), "@echo off\r\nstart \"\" " + ToolPath("ask") +
                                                     " progress Late feed.txt sub\\out.txt\r\n"
                                                     "ping -n 4 127.0.0.1 >nul\r\n");
  Child* batch = Start("cmd.exe /c late.bat");
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    window = FindWindowA(DialogClass, "Ask");
    return window && TextOf(GetDlgItem(window, LabelId)) == "Late";
  }));
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  Child ask{
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid),
      pid};
  ASSERT_TRUE(ask.process);
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
  Append("close\r\n");
  EXPECT_TRUE(WaitUntil([&] {
    HWND box = FindWindowA(MessageBoxClass, nullptr);
    DWORD owner = 0;
    if (box) GetWindowThreadProcessId(box, &owner);
    return owner == pid;
  })) << "no box for the result";
  EXPECT_EQ(WaitForExit(batch), 0);
  EXPECT_EQ(WaitForExit(&ask, 5000), 1) << "the box outlived its batch";
}

}  // namespace
