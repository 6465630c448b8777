// The UTF-8 set of the programs (dist/utf8) with text in any language:
// prompts and messages as drawn (read back with wide calls), typed text
// written as exact UTF-8, the 255-character answer in whole characters,
// list files, the choosers, run's arguments, the log, files with each
// byte-order mark, and a batch file run by Wine's cmd.exe. And the ANSI set
// given the same typed text, whose bytes stay what the ANSI code page makes
// of it.
#include <shlobj.h>

#include <string>
#include <vector>

#include "e2e_config.h"
#include "e2e_test.h"

namespace {

constexpr int LabelId = 4000, FieldId = 4001, RightId = 4003;

// One text of each kind, in UTF-8: Polish, Greek, Russian, Chinese, and
// characters outside the Basic Multilingual Plane.
const std::vector<std::string> Texts = {
    "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84",
    "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 \xCE\xBA\xCF\x8C\xCF\x83\xCE"
    "\xBC\xCE\xB5",
    "\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB5\xD1\x89\xD1\x91",
    "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C",
    "\xF0\x9F\x98\x80 \xF0\x9D\x84\x9E",
};

// The bytes of a UTF-16 text with its mark, in either byte order.
std::string Utf16File(const std::string& utf8, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t unit : WideOf(utf8)) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

class Utf8Test : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    out_ = JoinPath(scratch_, "out.txt");
  }
  // "utf8-tool args", with the UTF-8 set's program quoted.
  static std::string Utf8Command(const char* tool, const std::string& args) {
    return "\"" + Utf8ToolPath(tool) + "\" " + args;
  }
  // Starts a command line given in UTF-8, as cmd.exe would start it.
  Child* StartWide(const std::string& commandLine) {
    children_.emplace_back();
    Child* child = &children_.back();
    std::wstring line = WideOf(commandLine);
    std::wstring environment;
    for (const auto& s : options_.set) environment += WideOf(s.first + "=" + s.second) + L'\0';
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* p = strings; *p; p += wcslen(p) + 1) {
      std::wstring entry = p;
      bool replaced = false;
      for (const auto& s : options_.set)
        replaced = replaced || _wcsnicmp(entry.c_str(), (WideOf(s.first) + L"=").c_str(),
                                         s.first.size() + 1) == 0;
      if (!replaced) environment += entry + L'\0';
    }
    FreeEnvironmentStringsW(strings);
    environment += L'\0';
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring dir = WideOf(scratch_);
    EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                               CREATE_UNICODE_ENVIRONMENT, environment.data(), dir.c_str(),
                               &startup, &info))
        << "cannot start " << commandLine;
    if (info.hThread) CloseHandle(info.hThread);
    child->process = info.hProcess;
    child->pid = info.dwProcessId;
    return child;
  }
  // The text of the child's message box as drawn, after which Ok is pressed.
  std::string BoxText(Child* child) {
    HWND box = WaitForWindow(*child, MessageBoxClass);
    if (!box) return "<no box>";
    std::string text = Utf8TextOf(GetDlgItem(box, MessageBoxTextId));
    PressButton(box, IDOK);
    return text;
  }
  std::string out_;
};

TEST_F(Utf8Test, PromptsAndMessagesAsDrawn) {
  std::string list;
  for (const std::string& text : Texts) list += "\"" + text + "\",x\r\n";
  WriteFileBytes(JoinPath(scratch_, "texts.csv"), list);
  for (const std::string& text : Texts) {
    SCOPED_TRACE(text);
    // say's box and its title.
    Child* say = StartWide(Utf8Command("say", "-t \"" + text + "\" \"" + text + "\""));
    HWND box = WaitForWindow(*say, MessageBoxClass);
    ASSERT_TRUE(box);
    EXPECT_EQ(Utf8TextOf(box), text);
    EXPECT_EQ(BoxText(say), text);
    EXPECT_EQ(WaitForExit(say), 0);

    // ask's question box, text dialog and list dialog.
    Child* ok = StartWide(Utf8Command("ask", "ok \"" + text + "\" out.txt"));
    EXPECT_EQ(BoxText(ok), text);
    EXPECT_EQ(WaitForExit(ok), 0);
    Child* ask = StartWide(Utf8Command("ask", "text \"" + text + "\" out.txt"));
    HWND dialog = WaitForWindow(*ask, DialogClass);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Utf8TextOf(GetDlgItem(dialog, LabelId)), text);
    CloseWindowNow(dialog);
    EXPECT_EQ(WaitForExit(ask), 0);
  }
  Child* ask = StartWide(Utf8Command("ask", "list -r Pick texts.csv out.txt"));
  HWND dialog = WaitForWindow(*ask, DialogClass);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Utf8ListBoxEntries(GetDlgItem(dialog, FieldId)), Texts);
  CloseWindowNow(dialog);
  EXPECT_EQ(WaitForExit(ask), 0);
}

TEST_F(Utf8Test, TypedTextIsWrittenAsUtf8) {
  for (const char* mode : {"text", "pass"}) {
    for (const std::string& text : Texts) {
      Child* ask = Start(Utf8Command("ask", std::string(mode) + " Name? out.txt"));
      HWND dialog = WaitForWindow(*ask, DialogClass);
      ASSERT_TRUE(dialog);
      HWND field = GetDlgItem(dialog, FieldId);
      TypeWide(field, text + "\r");
      EXPECT_EQ(WaitForExit(ask), 0);
      EXPECT_EQ(ReadFileBytes(out_), text + "\r\n") << mode;
    }
  }
}

TEST_F(Utf8Test, AnsiSetWritesWhatItsCodePageMakesOfTypedText) {
  // What the ANSI programs have always written: the system's conversion of
  // the typed characters to its code page (Windows-1252 here), one byte
  // each, the same whether a character passes the message loop as UTF-16
  // or was converted there.
  for (const std::string& text : Texts) {
    std::wstring wide = WideOf(text + "\xC3\xA9\xE2\x82\xAC");  // and two it has: e acute, euro
    int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string expected(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), expected.data(), n,
                        nullptr, nullptr);
    Child* ask = Start(Command("ask", "text Name? out.txt"));
    HWND dialog = WaitForWindow(*ask, DialogClass);
    ASSERT_TRUE(dialog);
    TypeWide(GetDlgItem(dialog, FieldId), Utf8Of(wide) + "\r");
    EXPECT_EQ(WaitForExit(ask), 0);
    EXPECT_EQ(ReadFileBytes(out_), expected + "\r\n") << text;
  }
}

TEST_F(Utf8Test, AnswerOf255WholeCharacters) {
  struct {
    const char* character;  // of two, three and four bytes
    size_t bytes;
  } cases[] = {{"\xC5\x82", 2}, {"\xE4\xB8\xAD", 3}, {"\xF0\x9F\x98\x80", 4}};
  for (const auto& c : cases) {
    std::string typed;
    for (int i = 0; i < 300; i++) typed += c.character;
    std::string kept = typed.substr(0, 255 * c.bytes);
    Child* ask = Start(Utf8Command("ask", "text Long? out.txt"));
    HWND dialog = WaitForWindow(*ask, DialogClass);
    ASSERT_TRUE(dialog);
    HWND field = GetDlgItem(dialog, FieldId);
    TypeWide(field, typed);
    EXPECT_TRUE(WaitUntil([&] { return Utf8TextOf(field) == kept; }))
        << "the field shows 255 characters: got " << Utf8TextOf(field).size() / c.bytes;
    TypeWide(field, "\r");
    EXPECT_EQ(WaitForExit(ask), 0);
    EXPECT_EQ(ReadFileBytes(out_), kept + "\r\n") << c.bytes << "-byte characters";

    // A default as long is cut the same way, never inside a character.
    WriteFileBytes(JoinPath(scratch_, "default.txt"), typed + "\r\n");
    ask = Start(Utf8Command("ask", "edit Long? @default.txt out.txt"));
    dialog = WaitForWindow(*ask, DialogClass);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Utf8TextOf(GetDlgItem(dialog, FieldId)), kept);
    PressButton(dialog, RightId);
    EXPECT_EQ(WaitForExit(ask), 0);
    EXPECT_EQ(ReadFileBytes(out_), kept + "\r\n") << c.bytes << "-byte default";
  }
}

TEST_F(Utf8Test, ListFilesInEveryEncodingSortedAndChosen) {
  std::string rows;
  for (size_t i = 0; i < Texts.size(); i++)
    rows += "\"" + Texts[i] + "\",\"" + Texts[(i + 1) % Texts.size()] + "\"\r\n";
  struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"plain.csv", rows},  // Notepad's default: UTF-8 without a mark
      {"marked.csv", "\xEF\xBB\xBF" + rows},
      {"little.csv", Utf16File(rows, false)},
      {"big.csv", Utf16File(rows, true)},
  };
  for (const auto& f : files) {
    WriteFileBytes(JoinPath(scratch_, f.name), f.bytes);
    for (size_t i = 0; i < Texts.size(); i++) {
      Child* ask = Start(Utf8Command("ask", std::string("list Pick ") + f.name + " out.txt"));
      HWND dialog = WaitForWindow(*ask, DialogClass);
      ASSERT_TRUE(dialog);
      HWND list = GetDlgItem(dialog, FieldId);
      std::vector<std::string> shown = Utf8ListBoxEntries(list);
      EXPECT_TRUE(std::is_permutation(shown.begin(), shown.end(), Texts.begin(), Texts.end()))
          << f.name;
      int position =
          static_cast<int>(std::find(shown.begin(), shown.end(), Texts[i]) - shown.begin());
      SendMessageA(list, LB_SETCURSEL, position, 0);
      PressButton(dialog, RightId);
      EXPECT_EQ(WaitForExit(ask), 0);
      EXPECT_EQ(ReadFileBytes(out_), Texts[(i + 1) % Texts.size()] + "\r\n") << f.name << " " << i;
    }
  }
}

TEST_F(Utf8Test, FileArgumentsWithEachMark) {
  const std::string& text = Texts[0];
  struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"plain.txt", text + "\r\n"},
      {"utf8.txt", "\xEF\xBB\xBF" + text + "\r\n"},
      {"little.txt", Utf16File(text + "\r\n", false)},
      {"big.txt", Utf16File(text + "\r\n", true)},
  };
  for (const auto& f : files) {
    WriteFileBytes(JoinPath(scratch_, f.name), f.bytes);
    Child* say = Start(Utf8Command("say", std::string("@") + f.name));
    EXPECT_EQ(BoxText(say), text + "\n") << f.name;
    EXPECT_EQ(WaitForExit(say), 0);
  }
  // Bytes that are no UTF-8 are read as they are, and shown replaced.
  WriteFileBytes(JoinPath(scratch_, "latin1.txt"), "Gr\xFCn");
  Child* say = Start(Utf8Command("say", "@latin1.txt"));
  EXPECT_EQ(BoxText(say), "Gr\xEF\xBF\xBDn");
  EXPECT_EQ(WaitForExit(say), 0);
}

TEST_F(Utf8Test, RunPassesArgumentsAndLogsInUtf8) {
  std::string wideOut = JoinPath(scratch_, "wide.txt"), log = JoinPath(scratch_, "run.log");
  options_.set.push_back({"PROBE_WIDE_OUT", wideOut});
  std::string args = "\"" + Texts[0] + "\" \"" + Texts[3] + " " + Texts[4] + "\"";
  Child* run =
      StartWide(Utf8Command("run", "-dbg=1 -log=" + log + " \"" + PROBE_PATH + "\" " + args));
  EXPECT_EQ(WaitForExit(run), 0);
  std::string line = ReadFileBytes(wideOut);
  std::string probe = std::string("\"") + PROBE_PATH + "\"";
  EXPECT_EQ(line, probe + "  " + args) << "the probe's wide command line";
  std::string bytes = ReadFileBytes(log);
  EXPECT_NE(bytes.find(" Cmdline: \"" + Utf8ToolPath("run") + "\" -dbg=1"), std::string::npos)
      << bytes;
  EXPECT_NE(bytes.find(" Running prog=" + std::string(PROBE_PATH) + " args= " + args + " mode=1"),
            std::string::npos)
      << bytes;
}

TEST_F(Utf8Test, ChoosersTakeSuchNames) {
  // A folder and a file named in four scripts, chosen in the file dialog
  // by typing the full path.
  std::string folder = JoinPath(scratch_, Texts[0] + " " + Texts[3]);
  ASSERT_TRUE(CreateDirectoryW(WideOf(folder).c_str(), nullptr));
  std::string file = JoinPath(folder, Texts[1] + " " + Texts[4] + ".txt");
  HANDLE made =
      CreateFileW(WideOf(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);
  Child* ask = Start(Utf8Command("ask", "file Pick out.txt"));
  HWND dialog = WaitForWindow(*ask, MessageBoxClass);
  ASSERT_TRUE(dialog);
  HWND name = FindChild(dialog, "Edit");
  ASSERT_TRUE(name);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideOf(file).c_str()));
  EXPECT_TRUE(PressButton(dialog, IDOK));
  EXPECT_EQ(WaitForExit(ask), 0);
  EXPECT_EQ(ReadFileBytes(out_), file + "\r\n");

  // The folder dialog's tree has Wine's view of the Unix root ("/") among
  // its first items: the folder is made in /tmp and chosen by keys, as a
  // person would: "/", open it, "t" for tmp, open it, and the folder's
  // first letters.
  std::string unique = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  std::string chosen = "Z:\\tmp\\qz" + unique + " " + Texts[2] + " " + Texts[4];
  ASSERT_TRUE(CreateDirectoryW(WideOf(chosen).c_str(), nullptr));
  ask = Start(Utf8Command("ask", "dir Where? out.txt"));
  dialog = WaitForWindow(*ask, MessageBoxClass);
  HWND tree = dialog ? FindChild(dialog, "SysTreeView32") : nullptr;
  EXPECT_TRUE(tree);
  // Each key is sent to the tree and handled before the next. The tree
  // finds an item by the letters typed within a second or so of each other:
  // a search starts after a longer pause.
  auto key = [&](UINT message, wchar_t code) { SendMessageW(tree, message, code, 1); };
  auto search = [&](const std::wstring& letters) {
    Sleep(1500);
    for (wchar_t letter : letters) key(WM_CHAR, letter);
  };
  if (tree) {
    search(L"/");
    key(WM_KEYDOWN, VK_RIGHT);  // opens "/"
    key(WM_KEYDOWN, VK_RIGHT);  // its first folder
    search(L"t");
    key(WM_KEYDOWN, VK_RIGHT);
    key(WM_KEYDOWN, VK_RIGHT);
    search(WideOf("qz" + unique));
    EXPECT_TRUE(PressButton(dialog, IDOK));
  }
  EXPECT_EQ(WaitForExit(ask), 0);
  RemoveDirectoryW(WideOf(chosen).c_str());
  std::string written = ReadFileBytes(out_);
  if (written.size() > 3 && written.compare(written.size() - 3, 3, "\\\r\n") == 0)
    written.erase(written.size() - 3, 1);  // Wine gives some folders with a final backslash
  EXPECT_EQ(written, chosen + "\r\n");
}

TEST_F(Utf8Test, BatchFileRoundTripThroughCmd) {
  // A batch file saved as UTF-8 without a mark, chcp 65001 at its top (as
  // Windows needs; Wine's cmd.exe refuses that code page and goes on): the
  // answer typed into the UTF-8 ask comes back through set /p. Wine's
  // cmd.exe passes those bytes through its own code page, so a program
  // started with %NAME% receives, in its ANSI command line, exactly the
  // bytes ask wrote: the round trip shows the tools' bytes.
  std::string tools = std::string(TOOLS_DIR) + "\\utf8";
  options_.set.push_back({"PROBE_OUT", JoinPath(scratch_, "probe-out.txt")});
  WriteFileBytes(JoinPath(scratch_, "hello.bat"),
                 "@echo off\r\n"
                 "chcp 65001 >nul\r\n"
                 "\"" +
                     tools +
                     "\\ask.exe\" text \"Name?\" \"%TEMP%\\name.txt\"\r\n"
                     "if errorlevel 1 exit /b 1\r\n"
                     "set \"NAME=\"\r\n"
                     "set /p NAME=<\"%TEMP%\\name.txt\"\r\n"
                     "\"" +
                     std::string(PROBE_PATH) + "\" \"%NAME%\"\r\n");
  Child* batch = Start("cmd.exe /c hello.bat");
  // The dialog belongs to ask, a child of cmd.exe; it is ready once its
  // thread answers.
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    dialog = FindWindowA(DialogClass, "Ask");
    return dialog && IsWindowVisible(dialog);
  }));
  SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, WaitLimitMs, nullptr);
  TypeWide(GetDlgItem(dialog, FieldId), Texts[0] + "\r");
  int status = WaitForExit(batch);
  EXPECT_EQ(status, 0);
  if (status == KilledStatus && IsWindow(dialog)) CloseWindowNow(dialog);  // leave no ask behind
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "name.txt")), Texts[0] + "\r\n");
  EXPECT_EQ(ReadFileBytes(JoinPath(scratch_, "probe-out.txt")),
            "\"" + std::string(PROBE_PATH) + "\" \"" + Texts[0] + "\"");
}

}  // namespace
