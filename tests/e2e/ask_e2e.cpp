// ask run for real: usage and exit statuses, the Ok/Cancel and Yes/No
// boxes, the result file's exact bytes, and the file and folder dialogs.
#include <algorithm>
#include <string>

#include "e2e_test.h"

#include <shlobj.h>

namespace {

class AskTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    out_ = JoinPath(scratch_, "out.txt");
  }
  std::string out_;
};

const std::vector<ButtonInfo> OkCancel = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
const std::vector<ButtonInfo> YesNo = {{IDYES, "&Yes"}, {IDNO, "&No"}};

TEST_F(AskTest, UsageAndExitStatuses) {
  struct {
    const char* args;
    int status;
    const char* text;  // null: the usage text
  } cases[] = {
      {"", 1, nullptr},
      {"-?", 0, nullptr},
      {"-? x", 1, nullptr},
      {"maybe p out.txt", 1, nullptr},
      {"yn", 1, "ask yn prompt outfile"},
      {"ok a b c", 1, "ask ok prompt outfile"},
      {"file p", 1, "ask file prompt outfile"},
      {"dir", 1, "ask dir prompt outfile"},
  };
  for (const auto& c : cases) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("ask", c.args), &box), c.status) << "ask " << c.args;
    EXPECT_EQ(box.caption, "Ask Ver 0.12") << "ask " << c.args;
    if (c.text) {
      EXPECT_EQ(box.text, c.text) << "ask " << c.args;
      EXPECT_EQ(box.icon, "warning") << "ask " << c.args;
    } else {
      EXPECT_EQ(box.text.rfind("Usage:\n\nask ok prompt out.txt\n", 0), 0u) << box.text;
      EXPECT_NE(box.text.find("\nask -help\nShow online help."), std::string::npos) << box.text;
      EXPECT_EQ(box.icon, "none") << "ask " << c.args;
    }
  }
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "out.txt")), "<missing>");
  EXPECT_EQ(RunWithoutWindow(Command("ask", "-!")), 0);
}

TEST_F(AskTest, EveryAnswerOfOkAndYn) {
  struct {
    const char* mode;
    int answer;
    const char* written;
  } cases[] = {
      {"ok", IDOK, "ok\r\n"},   {"ok", IDCANCEL, "\r\n"}, {"ok", EscapeKey, "\r\n"},
      {"ok", CloseBox, "\r\n"}, {"yn", IDYES, "yes\r\n"}, {"yn", IDNO, "\r\n"},
      {"YN", IDYES, "yes\r\n"}, {"Ok", IDOK, "ok\r\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old one\r\nold two\r\nold three\r\n");
    BoxSeen box;
    std::string line = Command("ask", std::string(c.mode) + " \"Go on?\" out.txt");
    EXPECT_EQ(RunWithBox(line, &box, c.answer), 0) << c.mode << " answered " << c.answer;
    EXPECT_EQ(box.caption, "Ask");
    EXPECT_EQ(box.text, "Go on?");
    EXPECT_EQ(box.icon, "none");
    bool yn = (c.mode[0] | 0x20) == 'y';
    EXPECT_EQ(box.buttons, yn ? YesNo : OkCancel) << c.mode;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.mode << " answered " << c.answer;
  }
}

const std::vector<ButtonInfo> YesNoCancel = {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};

TEST_F(AskTest, YesNoCancelWritesEachAnswer) {
  struct {
    int answer;
    const char* written;
  } cases[] = {
      {IDYES, "yes\r\n"},  {IDNO, "no\r\n"},   {IDCANCEL, "\r\n"},
      {EscapeKey, "\r\n"}, {CloseBox, "\r\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old\r\n");
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("ask", "YNC \"Save the changes?\" out.txt"), &box, c.answer), 0);
    EXPECT_EQ(box.caption, "Ask");
    EXPECT_EQ(box.text, "Save the changes?");
    EXPECT_EQ(box.icon, "none");
    EXPECT_EQ(box.buttons, YesNoCancel);
    EXPECT_EQ(ReadFileBytes(out_), c.written) << "answer " << c.answer;
  }
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("ask", "ync \"Save?\""), &box), 1);
  EXPECT_EQ(box.text, "ask ync prompt outfile");
}

TEST_F(AskTest, EnterPressesTheDefaultButton) {
  struct {
    const char* args;
    const char* written;
  } cases[] = {
      {"ok p out.txt", "ok\r\n"},
      {"ok -default=CANCEL p out.txt", "\r\n"},
      {"yn p out.txt -default=yes", "yes\r\n"},
      {"yn -default=no p out.txt", "\r\n"},
      {"ync -default=no p out.txt", "no\r\n"},
      {"ync p out.txt -default=Cancel", "\r\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old\r\n");
    Child* child = Start(Command("ask", c.args));
    HWND box = WaitForWindow(*child, MessageBoxClass);
    ASSERT_TRUE(box) << c.args;
    PressKey(box, VK_RETURN);
    EXPECT_EQ(WaitForExit(child), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
  }
}

TEST_F(AskTest, TimedQuestionsAnswerThemselves) {
  struct {
    const char* args;
    int seconds;
    const char* written;
  } cases[] = {
      {"ok -timeout=1 p out.txt", 1, "ok\r\n"},
      {"ok p out.txt -default=cancel -timeout=1", 1, "\r\n"},
      {"yn p out.txt -TIMEOUT=2", 2, "yes\r\n"},
      {"yn -default=no -timeout=1 p out.txt", 1, "\r\n"},
      {"ync -timeout=1 p out.txt", 1, "yes\r\n"},
      {"ync -default=no p out.txt -timeout=1", 1, "no\r\n"},
      {"ync -default=cancel -timeout=1 p out.txt", 1, "\r\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old\r\n");
    std::string log = JoinPath(scratch_, "timed.log");
    DeleteFileA(log.c_str());
    DWORD start = GetTickCount();
    Child* child = Start(Command("ask", std::string(c.args) + " -dbg=1 -log=" + log));
    EXPECT_TRUE(WaitForWindow(*child, MessageBoxClass)) << c.args;
    EXPECT_EQ(WaitForExit(child), 0) << c.args << " ends by itself";
    EXPECT_GE(GetTickCount() - start, c.seconds * 1000u - 50) << c.args << " not before its time";
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
    EXPECT_NE(ReadFileBytes(log).find(" Timed out after " + std::to_string(c.seconds) + " s\r\n"),
              std::string::npos)
        << ReadFileBytes(log);
  }
  // Answered in time, the answer is the user's and nothing is logged.
  std::string log = JoinPath(scratch_, "answered.log");
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("ask", "yn -timeout=60 p out.txt -dbg=1 -log=" + log), &box, IDNO),
            0);
  EXPECT_EQ(ReadFileBytes(out_), "\r\n");
  EXPECT_EQ(ReadFileBytes(log).find("Timed out"), std::string::npos);
}

TEST_F(AskTest, YesNoBoxNeverTakesEscapeOrCloseAsYes) {
  // Windows ignores Escape and the close box on a Yes/No box; Wine ends the
  // box with No. Either way the answer must be blank, never "yes".
  for (int answer : {EscapeKey, CloseBox}) {
    WriteFileBytes(out_, "old\r\n");
    Child* child = Start(Command("ask", "yn \"Really?\" out.txt"));
    BoxSeen box;
    ASSERT_TRUE(AnswerBox(child, &box, answer));
    int status = WaitForExit(child, 1000);
    if (status == KilledStatus) {  // still asking: answer No
      child = Start(Command("ask", "yn \"Really?\" out.txt"));
      ASSERT_TRUE(AnswerBox(child, &box, IDNO));
      status = WaitForExit(child);
    }
    EXPECT_EQ(status, 0) << "answer " << answer;
    EXPECT_EQ(ReadFileBytes(out_), "\r\n") << "answer " << answer;
  }
}

TEST_F(AskTest, FileArguments) {
  std::string prompt = JoinPath(scratch_, "prompt.txt"), mode = JoinPath(scratch_, "mode.txt");
  WriteFileBytes(prompt, "First line\r\nSecond line\r\n");
  WriteFileBytes(mode, "yn\r\n");
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("ask", "ok @prompt.txt out.txt"), &box), 0);
  EXPECT_EQ(box.text, "First line\nSecond line\n");
  EXPECT_EQ(ReadFileBytes(out_), "ok\r\n");

  EXPECT_EQ(RunWithBox(Command("ask", "@mode.txt p out.txt"), &box), 1);
  EXPECT_EQ(box.text.rfind("Usage:", 0), 0u) << "a mode word with a line break: " << box.text;
  EXPECT_EQ(box.caption, "Ask Ver 0.12");

  EXPECT_EQ(RunWithBox(Command("ask", "ok p @missing.txt"), &box), 1);
  EXPECT_EQ(box.text, "Can't read file: missing.txt");
}

TEST_F(AskTest, FileArgumentsWithByteOrderMarks) {
  // Notepad's "UTF-8 with BOM" and PowerShell's UTF-16: the mark is no
  // part of the prompt, and the text arrives in the ANSI code page.
  std::string utf16 = "\xFF\xFE";
  for (char16_t unit : std::u16string(u"Weiter mit Gr\u00FCn?\r\n"))
    utf16 += std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"utf8.txt", "\xEF\xBB\xBFWeiter mit Gr\xC3\xBCn?\r\n"},
      {"utf16.txt", utf16},
  };
  for (const auto& f : files) {
    WriteFileBytes(JoinPath(scratch_, f.name), f.bytes);
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("ask", std::string("yn @") + f.name + " out.txt"), &box, IDYES),
              0);
    EXPECT_EQ(box.text, "Weiter mit Gr\xFCn?\n") << f.name;
    EXPECT_EQ(ReadFileBytes(out_), "yes\r\n");
  }
}

TEST_F(AskTest, UnwritableResultEndsWithStatusOneAfterTheQuestion) {
  struct {
    std::string path;
    bool exists;
  } cases[] = {
      {JoinPath(scratch_, "no-such-folder\\out.txt"), false},
      {"Z:\\dev\\full", true},
      {scratch_, true},
  };
  for (const auto& c : cases) {
    Child* child = Start(Command("ask", "ok p \"" + c.path + "\""));
    BoxSeen question, failure;
    ASSERT_TRUE(AnswerBox(child, &question, IDOK));
    EXPECT_EQ(question.caption, "Ask");
    ASSERT_TRUE(AnswerBox(child, &failure, IDOK)) << c.path;
    EXPECT_EQ(failure.text, "Can't write to file: " + c.path);
    EXPECT_EQ(failure.caption, "Ask Ver 0.12");
    EXPECT_EQ(failure.icon, "warning");
    EXPECT_EQ(WaitForExit(child), 1) << c.path;
    if (!c.exists) {
      EXPECT_EQ(ReadFileBytes(c.path), "<missing>");
    }
  }
}

TEST_F(AskTest, TimedRunEndsByItselfAfterAFailure) {
  // Once a time limit is taken, the warning that follows the question
  // closes itself too: nobody may be there to press Ok.
  WriteFileBytes(JoinPath(scratch_, "l.csv"), "a,1\r\nb,2\r\n");
  const std::string lost = "\"" + JoinPath(scratch_, "no-such-folder\\a.txt") + "\"";
  struct {
    std::string args;
    const char* warning;  // the start of the warning's text
  } cases[] = {
      {"text -timeout=1 p " + lost, "Can't write to file: "},
      {"list -timeout=1 p l.csv " + lost, "Can't write to file: "},
      {"yn p " + lost + " -timeout=1", "Can't write to file: "},
      {"list -timeout=1 p missing.csv out.txt", "No data in list file: missing.csv"},
  };
  for (const auto& c : cases) {
    Child* child = Start(Command("ask", c.args));
    HWND warning = nullptr;
    WaitUntil([&] {
      for (HWND w : WindowsOf(*child))
        if (TextOf(w) == "Ask Ver 0.12") warning = w;
      return warning != nullptr;
    });
    ASSERT_TRUE(warning) << c.args << ": no warning";
    EXPECT_EQ(MessageBoxText(warning).rfind(c.warning, 0), 0u) << MessageBoxText(warning);
    EXPECT_EQ(WaitForExit(child, 3000), 1) << c.args << ": the warning must go by itself";
  }
  EXPECT_EQ(ReadFileBytes(out_), "<missing>");
}

// Waits for ask's file or folder dialog, titled with the prompt.
HWND WaitForDialog(const Child& child, const std::string& title) {
  HWND dialog = WaitForWindow(child, MessageBoxClass);
  if (dialog) {
    EXPECT_EQ(TextOf(dialog), title);
  }
  return dialog;
}

TEST_F(AskTest, FileDialogCancelWritesBlankLine) {
  Child* child = Start(Command("ask", "file \"Pick a file\" out.txt"));
  HWND dialog = WaitForDialog(*child, "Pick a file");
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(PressButton(dialog, IDCANCEL));
  EXPECT_EQ(WaitForExit(child), 0);
  EXPECT_EQ(ReadFileBytes(out_), "\r\n");
}

TEST_F(AskTest, FileDialogAcceptsNewNameAsFullPath) {
  Child* child = Start(Command("ask", "FILE \"Save as\" out.txt"));
  HWND dialog = WaitForDialog(*child, "Save as");
  ASSERT_TRUE(dialog);
  HWND name = FindChild(dialog, "Edit");
  ASSERT_TRUE(name);
  SetText(name, "not-there-yet.txt");
  EXPECT_TRUE(PressButton(dialog, IDOK));
  EXPECT_EQ(WaitForExit(child), 0);
  EXPECT_EQ(ReadFileBytes(out_), JoinPath(scratch_, "not-there-yet.txt") + "\r\n");
}

TEST_F(AskTest, RelativeResultLandsWhereAskStartedAfterBrowsing) {
  std::string sub = JoinPath(scratch_, "elsewhere");
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  Child* child = Start(Command("ask", "file \"Pick\" out.txt"));
  HWND dialog = WaitForDialog(*child, "Pick");
  ASSERT_TRUE(dialog);
  HWND name = FindChild(dialog, "Edit");
  ASSERT_TRUE(name);
  SetText(name, "elsewhere");  // a folder name browses into that folder
  EXPECT_TRUE(PressButton(dialog, IDOK));
  EXPECT_TRUE(IsWindow(dialog)) << "browsing keeps the dialog open";
  SetText(name, "chosen.txt");
  EXPECT_TRUE(PressButton(dialog, IDOK));
  EXPECT_EQ(WaitForExit(child), 0);
  EXPECT_EQ(ReadFileBytes(out_), JoinPath(sub, "chosen.txt") + "\r\n");
  EXPECT_EQ(ReadFileBytes(JoinPath(sub, "out.txt")), "<missing>");
}

TEST_F(AskTest, FolderDialog) {
  char documents[MAX_PATH] = "";
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
  struct {
    const char* typed;  // selects a tree item; null: Cancel
    std::string written;
  } cases[] = {
      {nullptr, "\r\n"},
      {"Documents", std::string(documents) + "\r\n"},
      {"My Computer", "\r\n"},  // no file-system folder
  };
  for (const auto& c : cases) {
    Child* child = Start(Command("ask", "dir \"Where to?\" out.txt"));
    HWND dialog = WaitForDialog(*child, "Browse for Folder");
    ASSERT_TRUE(dialog);
    std::vector<std::string> labels = ChildTexts(dialog, "Static");
    EXPECT_NE(std::find(labels.begin(), labels.end(), "Where to?"), labels.end())
        << "the prompt stands above the tree";
    if (c.typed) {
      HWND tree = FindChild(dialog, "SysTreeView32");
      ASSERT_TRUE(tree);
      SendChars(tree, c.typed);
      EXPECT_TRUE(PressButton(dialog, IDOK));
    } else {
      EXPECT_TRUE(PressButton(dialog, IDCANCEL));
    }
    EXPECT_EQ(WaitForExit(child), 0);
    // Wine's shell gives some folders with a final backslash.
    std::string written = ReadFileBytes(out_);
    if (written.size() > 5 && written.compare(written.size() - 3, 3, "\\\r\n") == 0)
      written.erase(written.size() - 3, 1);
    EXPECT_EQ(written, c.written) << (c.typed ? c.typed : "cancel");
  }
}

// The save dialog's question before an existing file is chosen: another
// dialog of the same process.
HWND WaitForSecondDialog(const Child& child, HWND first) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < WaitLimitMs; Sleep(20)) {
    for (HWND window : WindowsOf(child))
      if (window != first && ClassOf(window) == MessageBoxClass) return window;
  }
  return nullptr;
}

TEST_F(AskTest, SaveDialog) {
  WriteFileBytes(JoinPath(scratch_, "exists.txt"), "kept");
  struct {
    const char* name;  // typed into the dialog; null: Cancel
    int overwrite;     // the answer to the overwrite question; 0: none asked
    std::string written;
  } cases[] = {
      {"new-name.txt", 0, JoinPath(scratch_, "new-name.txt") + "\r\n"},
      {"exists.txt", IDYES, JoinPath(scratch_, "exists.txt") + "\r\n"},
      {"exists.txt", IDNO, "\r\n"},  // the dialog stays; then Cancel
      {nullptr, 0, "\r\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old\r\n");
    Child* child = Start(Command("ask", "SAVE \"Save the report as\" out.txt"));
    HWND dialog = WaitForDialog(*child, "Save the report as");
    ASSERT_TRUE(dialog);
    if (c.name) {
      HWND name = FindChild(dialog, "Edit");
      ASSERT_TRUE(name);
      SetText(name, c.name);
      EXPECT_TRUE(PostMessageA(dialog, WM_COMMAND, IDOK, 0));
      if (c.overwrite) {
        HWND question = WaitForSecondDialog(*child, dialog);
        ASSERT_TRUE(question) << "no overwrite question for " << c.name;
        EXPECT_NE(MessageBoxText(question).find("exists"), std::string::npos)
            << "got " << MessageBoxText(question);
        EXPECT_TRUE(PressButton(question, c.overwrite));
        if (c.overwrite == IDNO) {
          WaitUntilGone(*child, question);
          EXPECT_TRUE(IsWindow(dialog)) << "No keeps the dialog open";
          EXPECT_TRUE(PressButton(dialog, IDCANCEL));
        }
      }
    } else {
      EXPECT_TRUE(PressButton(dialog, IDCANCEL));
    }
    EXPECT_EQ(WaitForExit(child), 0);
    EXPECT_EQ(ReadFileBytes(out_), c.written) << (c.name ? c.name : "cancel");
  }
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "exists.txt")), "kept") << "ask only names the file";

  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("ask", "save \"Save as\""), &box), 1);
  EXPECT_EQ(box.text, "ask save prompt outfile");
}

}  // namespace

namespace {

// -user from a service (a script run as SYSTEM): the question, message or
// program comes to the visible desktop, and the answer into the result
// file that the service's command names.
TEST_F(AskTest, UserSwitchFromAServiceReachesTheDesktop) {
  WriteFileBytes(JoinPath(scratch_, "names.csv"), "Carol,c\r\nAlice,a\r\nBob,b\r\n");
  std::string ask = "\"" + ToolPath("ask") + "\"";
  struct {
    const char* tool;
    std::string args;
    const char* windowClass;
    const char* caption;
    int pick;  // a list's position to select first
    int button;
    const char* result;  // null: not written
  } rows[] = {
      {"ask", "yn -user p {S}\\out.txt", MessageBoxClass, "Ask", -1, IDYES, "yes\r\n"},
      {"ask", "list p -user {S}\\names.csv {S}\\out.txt", DialogClass, "Ask", 1, 4003, "b\r\n"},
      {"say", "hello -user", MessageBoxClass, "Say", -1, IDOK, nullptr},
      {"run", "-user " + ask + " yn p {S}\\out.txt", MessageBoxClass, "Ask", -1, IDNO, "\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.tool + (" " + row.args));
    std::string out = JoinPath(scratch_, "out.txt");
    DeleteFileA(out.c_str());
    std::string args = row.args;
    for (size_t at; (at = args.find("{S}")) != std::string::npos;) args.replace(at, 3, scratch_);
    ASSERT_TRUE(StartInService(Command(row.tool, args)));
    HWND window = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
      window = FindWindowA(row.windowClass, row.caption);
      return window && GetDlgItem(window, row.button);  // its buttons made too
    })) << "nothing came to the desktop";
    if (window && row.pick >= 0) SendMessageA(GetDlgItem(window, 4001), LB_SETCURSEL, row.pick, 0);
    if (window) {
      EXPECT_TRUE(PressButton(window, row.button));
    }
    std::string errors;
    EXPECT_EQ(WaitForService(&errors), 0) << errors;
    EXPECT_EQ(ReadFileBytes(out), row.result ? row.result : "<missing>");
  }
}

}  // namespace

namespace {

// A run answered by hand with ASK_RECORD set, then replayed from its record:
// the same result files, and a record of the replay equal to the first.
TEST_F(AskTest, RecordedRunReplaysToTheSameResults) {
  WriteFileBytes(JoinPath(scratch_, "names.csv"), "Carol,c\r\nAlice,a\r\nBob,b\r\n");
  WriteFileBytes(JoinPath(scratch_, "feed.txt"), "#Copying\r\n50\r\nclose\r\n");
  std::string record = JoinPath(scratch_, "record.txt"), replay = JoinPath(scratch_, "replay.txt");
  const std::vector<std::string> commands = {"yn p yn.txt", "list p names.csv list.txt",
                                             "progress p feed.txt progress.txt"};
  options_.set.push_back({"ASK_RECORD", record});
  BoxSeen seen;
  EXPECT_EQ(RunWithBox(Command("ask", commands[0]), &seen, IDYES), 0);
  Child* list = Start(Command("ask", commands[1]));
  HWND window = WaitForWindow(*list, DialogClass);
  ASSERT_TRUE(window);
  SendMessageA(GetDlgItem(window, 4001), LB_SETCURSEL, 1, 0);  // Bob, sorted
  EXPECT_TRUE(PressButton(window, 4003));
  EXPECT_EQ(WaitForExit(list), 0);
  EXPECT_EQ(RunWithBox(Command("say", "hello"), &seen), 0);
  EXPECT_EQ(WaitForExit(Start(Command("ask", commands[2]))), 0);
  std::vector<std::string> byHand;
  for (const char* name : {"yn.txt", "list.txt", "progress.txt"}) {
    byHand.push_back(ReadFileBytes(JoinPath(scratch_, name)));
    DeleteFileA(JoinPath(scratch_, name).c_str());
  }
  EXPECT_EQ(ReadFileBytes(record), "yes\r\nBob\r\n#say: hello\r\n#progress: Copying\r\nok\r\n");

  options_.set = {{"TEMP", scratch_}, {"ASK_ANSWERS", record}, {"ASK_RECORD", replay}};
  for (const std::string& command : commands) {
    if (command == commands[2]) {
      EXPECT_EQ(RunWithoutWindow(Command("say", "hello")), 0);
    }
    EXPECT_EQ(RunWithoutWindow(Command("ask", command)), 0) << command;
  }
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "yn.txt")), byHand[0]);
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "list.txt")), byHand[1]);
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "progress.txt")), byHand[2]);
  EXPECT_EQ(ReadFileBytes(replay), ReadFileBytes(record));
}

// Several processes share one answer file: each line is taken once, in
// turn, whichever process asks first; then none is left.
TEST_F(AskTest, ProcessesShareOneAnswerFile) {
  constexpr int Processes = 8;
  std::string answers;
  for (int i = 0; i < Processes; i++) answers += "answer " + std::to_string(i) + "\r\n";
  WriteFileBytes(JoinPath(scratch_, "answers.txt"), answers);
  options_.set.push_back({"ASK_ANSWERS", JoinPath(scratch_, "answers.txt")});
  std::vector<Child*> children;
  for (int i = 0; i < Processes; i++)
    children.push_back(Start(Command("ask", "text p out" + std::to_string(i) + ".txt")));
  std::string taken;
  std::vector<std::string> results;
  for (int i = 0; i < Processes; i++) {
    EXPECT_EQ(WaitForExit(children[i]), 0);
    results.push_back(ReadFileBytes(JoinPath(scratch_, "out" + std::to_string(i) + ".txt")));
  }
  std::sort(results.begin(), results.end());
  for (const std::string& result : results) taken += result;
  EXPECT_EQ(taken, answers);
  EXPECT_EQ(RunWithoutWindow(Command("ask", "text p last.txt")), 1);
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "answers.txt.taken")), std::to_string(Processes) + "\n");
}

}  // namespace
