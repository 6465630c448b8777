// ask's own dialogs run for real: the text dialog and the list dialog, their
// controls, keys, buttons, sizes and the result file's exact bytes.
#include <algorithm>
#include <string>
#include <vector>

#include "e2e_test.h"

namespace {

constexpr int LabelId = 4000, FieldId = 4001, LeftId = 4002, RightId = 4003;

class DialogTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    out_ = JoinPath(scratch_, "out.txt");
    WriteFileBytes(out_, "old answer\r\nsecond old line\r\n");
  }
  // Starts ask and waits for its dialog window.
  HWND StartDialog(const std::string& args) {
    child_ = Start(Command("ask", args));
    HWND dialog = WaitForWindow(*child_, DialogClass);
    EXPECT_TRUE(dialog) << "no dialog from ask " << args;
    return dialog;
  }
  // The exit status once the dialog has ended.
  int Finish() { return WaitForExit(child_); }
  // Ends a text dialog as its user would: "enter" or "escape" typed into
  // the field, the "right" or "left" button, or the "close" box.
  static void EndTextDialog(HWND dialog, const std::string& how) {
    HWND field = GetDlgItem(dialog, FieldId);
    if (how == "enter") SendChars(field, "\r");
    if (how == "escape") SendChars(field, "\x1b");
    if (how == "right") PressButton(dialog, RightId);
    if (how == "left") PressButton(dialog, LeftId);
    if (how == "close") CloseWindowNow(dialog);
  }
  Child* child_ = nullptr;
  std::string out_;
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// --- The text dialog ---

TEST_F(DialogTest, TextDialogControls) {
  struct {
    const char* args;
    const char* left;
    const char* right;
  } cases[] = {
      {"text \"Your name?\" out.txt", "Cancel", "Ok"},
      {"text -bn \"Your name?\" out.txt", "Back", "Next"},
      {"TEXT -bd \"Your name?\" out.txt", "Back", "Done"},
      {"text -bn -bd \"Your name?\" out.txt", "Back", "Done"},
      {"text \"Your name?\" out.txt -BN", "Back", "Next"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog(c.args);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextOf(dialog), "Ask");
    struct {
      int id;
      const char* cls;
      const char* text;
    } controls[] = {{LabelId, "Static", "Your name?"},
                    {FieldId, "Edit", ""},
                    {LeftId, "Button", c.left},
                    {RightId, "Button", c.right}};
    for (const auto& k : controls) {
      HWND control = GetDlgItem(dialog, k.id);
      ASSERT_TRUE(control) << "no control " << k.id << " for " << c.args;
      EXPECT_EQ(ClassOf(control), k.cls) << k.id;
      EXPECT_EQ(TextOf(control), k.text) << k.id << " for " << c.args;
    }
    PressButton(dialog, LeftId);
    EXPECT_EQ(Finish(), 0);
  }
}

TEST_F(DialogTest, TextDialogAnswers) {
  struct {
    const char* how;
    const char* typed;
    const char* written;
  } cases[] = {
      {"enter", "Ada Lovelace", "Ada Lovelace\r\n"},
      {"right", "Grace", "Grace\r\n"},
      {"right", "", "\r\n"},
      {"escape", "ignored", "\r\n"},
      {"left", "ignored", "\r\n"},
      {"close", "ignored", "\r\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old one\r\nold two\r\n");
    HWND dialog = StartDialog("text -bn \"Name?\" out.txt");
    ASSERT_TRUE(dialog);
    HWND field = GetDlgItem(dialog, FieldId);
    SendChars(field, c.typed);
    EndTextDialog(dialog, c.how);
    EXPECT_EQ(Finish(), 0) << c.how;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.how << " after typing \"" << c.typed << "\"";
  }
}

TEST_F(DialogTest, TextFieldTakesAtMost255Characters) {
  HWND dialog = StartDialog("text \"Long answer?\" out.txt");
  ASSERT_TRUE(dialog);
  HWND field = GetDlgItem(dialog, FieldId);
  std::string typed;
  for (int i = 0; i < 300; i++) typed += static_cast<char>('a' + i % 26);
  SendChars(field, typed);
  EXPECT_EQ(TextOf(field), typed.substr(0, 255)) << "what the user sees";
  SendChars(field, "\r");
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(ReadFileBytes(out_), typed.substr(0, 255) + "\r\n") << "is what is written";
}

TEST_F(DialogTest, ManyLinePromptMakesTheWindowTaller) {
  WriteFileBytes(JoinPath(scratch_, "prompt.txt"), "One\r\nTwo\r\nThree\r\nFour\r\nFive\r\n");
  HWND small = StartDialog("text \"One line\" out.txt");
  ASSERT_TRUE(small);
  RECT smallRect = RectOf(small), smallLabel = RectOf(GetDlgItem(small, LabelId));
  PressButton(small, LeftId);
  EXPECT_EQ(Finish(), 0);

  HWND tall = StartDialog("text @prompt.txt out.txt");
  ASSERT_TRUE(tall);
  RECT tallRect = RectOf(tall), tallLabel = RectOf(GetDlgItem(tall, LabelId));
  EXPECT_EQ(TextOf(GetDlgItem(tall, LabelId)), "One\nTwo\nThree\nFour\nFive\n");
  EXPECT_GT(Height(tallRect), Height(smallRect) + 3 * Height(smallLabel))
      << "five lines against one: got " << Height(tallRect) << " and " << Height(smallRect);
  EXPECT_EQ(Height(tallRect) - Height(tallLabel), Height(smallRect) - Height(smallLabel))
      << "only the label grows";
  EXPECT_EQ(Width(tallRect), Width(smallRect));
  PressButton(tall, LeftId);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(DialogTest, ResizingGivesWidthToFieldAndHeightToLabel) {
  HWND dialog = StartDialog("text \"Resize me\" out.txt");
  ASSERT_TRUE(dialog);
  RECT before = RectOf(dialog);
  RECT label = RectOf(GetDlgItem(dialog, LabelId)), field = RectOf(GetDlgItem(dialog, FieldId));
  RECT left = RectOf(GetDlgItem(dialog, LeftId)), right = RectOf(GetDlgItem(dialog, RightId));
  MoveWindow(dialog, before.left, before.top, Width(before) + 100, Height(before) + 60, TRUE);
  RECT label2 = RectOf(GetDlgItem(dialog, LabelId)), field2 = RectOf(GetDlgItem(dialog, FieldId));
  RECT left2 = RectOf(GetDlgItem(dialog, LeftId)), right2 = RectOf(GetDlgItem(dialog, RightId));
  EXPECT_EQ(Width(field2), Width(field) + 100);
  EXPECT_EQ(Height(field2), Height(field));
  EXPECT_EQ(Width(label2), Width(label) + 100);
  EXPECT_EQ(Height(label2), Height(label) + 60);
  EXPECT_EQ(Width(left2), Width(left));
  EXPECT_EQ(Width(right2), Width(right));
  EXPECT_EQ(right2.left - right.left, 100) << "the right button stays in its corner";
  EXPECT_EQ(left2.top - left.top, 60);

  // Dragging cannot go below the smallest client size of 316 x 96.
  MoveWindow(dialog, before.left, before.top, 50, 50, TRUE);
  RECT shrunk = RectOf(dialog);
  EXPECT_GE(Width(shrunk), 316);
  EXPECT_GE(Height(shrunk), 96);
  PressButton(dialog, LeftId);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(DialogTest, ResizedCheckListTakesTheHeight) {
  WriteFileBytes(JoinPath(scratch_, "c.csv"), "Red,1\r\nGreen,2\r\nBlue,3\r\nGrey,4\r\n");
  HWND dialog = StartDialog("check \"Resize me\" c.csv out.txt");
  ASSERT_TRUE(dialog);
  HWND label = GetDlgItem(dialog, LabelId), list = GetDlgItem(dialog, FieldId);
  RECT before = RectOf(dialog), labelBefore = RectOf(label), listBefore = RectOf(list);
  MoveWindow(dialog, before.left, before.top, Width(before), Height(before) + 60, TRUE);
  int entry = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(Height(RectOf(label)), Height(labelBefore)) << "the prompt keeps its height";
  EXPECT_GT(Height(RectOf(list)), Height(listBefore) + 60 - entry) << "in whole entries";
  PressButton(dialog, LeftId);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(DialogTest, MinimizingKeepsTheLayout) {
  HWND dialog = StartDialog("text \"Minimize me\" out.txt");
  ASSERT_TRUE(dialog);
  RECT field = RectOf(GetDlgItem(dialog, FieldId)), label = RectOf(GetDlgItem(dialog, LabelId));
  ShowWindow(dialog, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(dialog));
  EXPECT_EQ(Width(RectOf(GetDlgItem(dialog, FieldId))), Width(field)) << "while minimized";
  EXPECT_EQ(Height(RectOf(GetDlgItem(dialog, LabelId))), Height(label)) << "while minimized";
  ShowWindow(dialog, SW_RESTORE);
  EXPECT_EQ(Width(RectOf(GetDlgItem(dialog, FieldId))), Width(field));
  SendChars(GetDlgItem(dialog, FieldId), "still works\r");
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(ReadFileBytes(out_), "still works\r\n");
}

TEST_F(DialogTest, UsageOfTheDialogModes) {
  struct {
    const char* args;
    const char* text;
  } cases[] = {
      {"text prompt", "ask text [-bn|-bd] prompt outfile"},
      {"text -r prompt out.txt", "ask text [-bn|-bd] prompt outfile"},
      {"text -bn out.txt", "ask text [-bn|-bd] prompt outfile"},
      {"list prompt out.txt", "ask list [-r] [-bn|-bd] prompt list.csv out.txt"},
      {"list -r -bn -x prompt l.csv out.txt", "ask list [-r] [-bn|-bd] prompt list.csv out.txt"},
      {"pass prompt", "ask pass [-bn|-bd] prompt outfile"},
      {"pass -bd prompt out.txt extra", "ask pass [-bn|-bd] prompt outfile"},
      {"edit prompt out.txt", "ask edit [-bn|-bd] prompt default outfile"},
      {"EDIT -bn prompt default out.txt extra", "ask edit [-bn|-bd] prompt default outfile"},
  };
  for (const auto& c : cases) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("ask", c.args), &box), 1) << c.args;
    EXPECT_EQ(box.text, c.text) << c.args;
    EXPECT_EQ(box.caption, "Ask Ver 0.12");
  }
  EXPECT_EQ(ReadFileBytes(out_), "old answer\r\nsecond old line\r\n") << "untouched";
}

// --- The password and default-text modes ---

TEST_F(DialogTest, PassMasksTheFieldAndWritesWhatWasTyped) {
  struct {
    const char* args;
    const char* right;
    const char* how;
    const char* written;
  } cases[] = {
      {"pass \"Password?\" out.txt", "Ok", "enter", "s3cret pass\r\n"},
      {"PASS -bn \"Password?\" out.txt", "Next", "right", "s3cret pass\r\n"},
      {"pass \"Password?\" out.txt -bd", "Done", "left", "\r\n"},
      {"pass \"Password?\" out.txt", "Ok", "escape", "\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog(c.args);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextOf(dialog), "Ask");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, LabelId)), "Password?");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, RightId)), c.right) << c.args;
    HWND field = GetDlgItem(dialog, FieldId);
    EXPECT_EQ(ClassOf(field), "Edit");
    EXPECT_TRUE(GetWindowLongA(field, GWL_STYLE) & ES_PASSWORD) << "masked: " << c.args;
    SendChars(field, "s3cret pass");
    EndTextDialog(dialog, c.how);
    EXPECT_EQ(Finish(), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args << " " << c.how;
  }
  // The text mode's field is not masked.
  HWND dialog = StartDialog("text \"Name?\" out.txt");
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, FieldId), GWL_STYLE) & ES_PASSWORD);
  PressButton(dialog, LeftId);
  EXPECT_EQ(Finish(), 0);
}

TEST_F(DialogTest, EditStartsWithTheDefaultSelected) {
  std::string longDefault;
  for (int i = 0; i < 300; i++) longDefault += static_cast<char>('a' + i % 26);
  WriteFileBytes(JoinPath(scratch_, "default.txt"), "from a file");
  struct {
    std::string defaultArg;
    std::string shown;
    const char* typed;  // replaces the selected default
    const char* how;
    std::string written;
  } cases[] = {
      {"\"C:\\Reports\\2026\"", "C:\\Reports\\2026", "", "enter", "C:\\Reports\\2026\r\n"},
      {"@default.txt", "from a file", "", "right", "from a file\r\n"},
      {"\"C:\\Reports\"", "C:\\Reports", "D:\\New", "enter", "D:\\New\r\n"},
      {"\"C:\\Reports\"", "C:\\Reports", "", "left", "\r\n"},
      {"\"C:\\Reports\"", "C:\\Reports", "x", "escape", "\r\n"},
      {"\"\"", "", "typed", "enter", "typed\r\n"},
      {longDefault, longDefault.substr(0, 255), "", "enter", longDefault.substr(0, 255) + "\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog("edit -bn \"Folder?\" " + c.defaultArg + " out.txt");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, RightId)), "Next");
    HWND field = GetDlgItem(dialog, FieldId);
    EXPECT_FALSE(GetWindowLongA(field, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(TextOf(field), c.shown) << c.defaultArg;
    DWORD selection = static_cast<DWORD>(SendMessageA(field, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0) << "the whole default is selected";
    EXPECT_EQ(HIWORD(selection), c.shown.size()) << "the whole default is selected";
    SendChars(field, c.typed);
    EndTextDialog(dialog, c.how);
    EXPECT_EQ(Finish(), 0) << c.defaultArg;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.defaultArg << " " << c.how;
  }
}

TEST_F(DialogTest, EditDefaultFromAFileIsItsFirstLine) {
  // As "echo C:\Reports>def.txt" writes it: the text and a line break.
  WriteFileBytes(JoinPath(scratch_, "def.txt"), "C:\\Reports\r\n");
  WriteFileBytes(JoinPath(scratch_, "two.txt"), "first line\r\nsecond line\r\n");
  WriteFileBytes(JoinPath(scratch_, "marked.txt"),
                 "\xEF\xBB\xBF"
                 "D:\\Gr\xC3\xBC"
                 "n\r\n");
  struct {
    const char* file;
    const char* shown;
    const char* typed;  // after End: appended to the default
    const char* written;
  } cases[] = {
      {"def.txt", "C:\\Reports", "", "C:\\Reports\r\n"},
      {"def.txt", "C:\\Reports", "\\2026", "C:\\Reports\\2026\r\n"},
      {"two.txt", "first line", "", "first line\r\n"},
      {"marked.txt", "D:\\Gr\xFCn", "", "D:\\Gr\xFCn\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog(std::string("edit \"Copy to:\" @") + c.file + " out.txt");
    ASSERT_TRUE(dialog);
    HWND field = GetDlgItem(dialog, FieldId);
    EXPECT_EQ(TextOf(field), c.shown) << c.file;
    SendMessageA(field, EM_SETSEL, 0x7FFF, 0x7FFF);  // the caret to the end, as End puts it
    SendChars(field, c.typed);
    SendChars(field, "\r");
    EXPECT_EQ(Finish(), 0) << c.file;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.file << " + " << c.typed;
  }
}

TEST_F(DialogTest, LabelsShowAmpersandsAsTyped) {
  WriteFileBytes(JoinPath(scratch_, "l.csv"), "a,1\r\n");
  const std::string prompt = "Copy the R&D reports for Tom & Jerry && co?";
  for (const char* mode : {"text", "pass", "edit", "list"}) {
    std::string args = std::string(mode) + " \"" + prompt + "\" ";
    if (std::string(mode) == "edit") args += "default ";
    if (std::string(mode) == "list") args += "l.csv ";
    HWND dialog = StartDialog(args + "out.txt");
    ASSERT_TRUE(dialog) << mode;
    HWND label = GetDlgItem(dialog, LabelId);
    EXPECT_EQ(TextOf(label), prompt) << mode;
    // A static control draws "&" as a mark unless told not to.
    EXPECT_TRUE(GetWindowLongA(label, GWL_STYLE) & SS_NOPREFIX) << mode;
    CloseWindowNow(dialog);
    EXPECT_EQ(Finish(), 0) << mode;
  }
}

TEST_F(DialogTest, TimeLimitPressesTheRightButton) {
  // Where the test sets the field, the dialog gets two seconds, so that a
  // slow start of the test's own calls cannot let the time run out first.
  struct {
    const char* args;
    int seconds;
    const char* set;  // the field's text, set without a key
    const char* written;
  } cases[] = {
      {"text -timeout=2 p out.txt", 2, "set by the batch", "set by the batch\r\n"},
      {"text -bn -timeout=1 p out.txt", 1, "", "\r\n"},
      {"pass p out.txt -timeout=2", 2, "s3cret", "s3cret\r\n"},
      {"edit -bd -timeout=1 p \"C:\\Reports\" out.txt", 1, nullptr, "C:\\Reports\r\n"},
  };
  for (const auto& c : cases) {
    std::string log = JoinPath(scratch_, "timed.log");
    DeleteFileA(log.c_str());
    HWND dialog = StartDialog(std::string(c.args) + " -dbg=1 -log=" + log);
    ASSERT_TRUE(dialog);
    if (c.set) SetText(GetDlgItem(dialog, FieldId), c.set);
    EXPECT_EQ(Finish(), 0) << c.args << " ends by itself";
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
    EXPECT_NE(ReadFileBytes(log).find(" Timed out after " + std::to_string(c.seconds) + " s\r\n"),
              std::string::npos)
        << ReadFileBytes(log);
  }
}

TEST_F(DialogTest, KeyOrClickStopsTheCountdown) {
  for (bool click : {false, true}) {
    HWND dialog = StartDialog("text -timeout=2 \"Still there?\" out.txt");
    ASSERT_TRUE(dialog);
    if (click) {
      PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    } else {
      PressKey(dialog, VK_END);
    }
    EXPECT_EQ(WaitForSingleObject(child_->process, 4000), static_cast<DWORD>(WAIT_TIMEOUT))
        << (click ? "a click" : "a key") << " must stop the countdown";
    SendChars(GetDlgItem(dialog, FieldId), "here\r");
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(ReadFileBytes(out_), "here\r\n") << "the user's answer";
  }
}

// Tab, or Shift+Tab, from the keyboard: Shift must be down as the dialog
// reads the key, which a posted message cannot arrange.
void PressTab(HWND dialog, bool shift) {
  SetForegroundWindow(dialog);
  std::vector<INPUT> keys;
  auto key = [&](WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  key(VK_TAB, false);
  key(VK_TAB, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

TEST_F(DialogTest, TabGoesRoundEveryDialog) {
  WriteFileBytes(JoinPath(scratch_, "l.csv"), "a,1\r\nb,2\r\n");
  const char* cases[] = {"text p out.txt", "pass -bn p out.txt", "edit p default out.txt",
                         "list p l.csv out.txt"};
  // The order of the round from the field or list: Tab forward twice
  // round, then Shift+Tab back.
  const int forward[] = {LeftId, RightId, FieldId, LeftId};
  const int back[] = {FieldId, RightId, LeftId, FieldId};
  for (const char* args : cases) {
    HWND dialog = StartDialog(args);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, FieldId)) << args;
    LONG styles[4];
    for (int slot = 0; slot < 4; slot++)
      styles[slot] = GetWindowLongA(GetDlgItem(dialog, LabelId + slot), GWL_STYLE);
    EXPECT_FALSE(styles[1] & WS_TABSTOP) << args;
    for (int id : forward) {
      PressTab(dialog, false);
      EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, id); }, 5000))
          << args << ": Tab should reach " << id << ", got " << GetDlgCtrlID(FocusOf(dialog));
    }
    for (int id : back) {
      PressTab(dialog, true);
      EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, id); }, 5000))
          << args << ": Shift+Tab should reach " << id << ", got " << GetDlgCtrlID(FocusOf(dialog));
    }
    // The controls keep their styles: the round adds no tab stop and moves
    // no default button.
    for (int slot = 0; slot < 4; slot++)
      EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, LabelId + slot), GWL_STYLE), styles[slot])
          << args << " slot " << slot;
    CloseWindowNow(dialog);
    EXPECT_EQ(Finish(), 0);
  }
}

TEST_F(DialogTest, FocusedButtonTakesSpaceAndEnter) {
  WriteFileBytes(JoinPath(scratch_, "l.csv"), "a,1\r\nb,2\r\n");
  struct {
    const char* args;
    int tabs;  // 1: the left button, 2: the right one
    WPARAM key;
    const char* written;
  } cases[] = {
      {"text -bn p out.txt", 1, VK_SPACE, "\r\n"},
      {"text p out.txt", 1, VK_RETURN, "\r\n"},
      {"text p out.txt", 2, VK_SPACE, "typed\r\n"},
      {"text p out.txt", 2, VK_RETURN, "typed\r\n"},
      {"list p l.csv out.txt", 1, VK_RETURN, "\r\n"},
      {"list p l.csv out.txt", 2, VK_SPACE, "2\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog(c.args);
    ASSERT_TRUE(dialog);
    HWND field = GetDlgItem(dialog, FieldId);
    if (ClassOf(field) == "Edit") {
      SendChars(field, "typed");
    } else {
      SendMessageA(field, LB_SETCURSEL, 1, 0);
    }
    for (int i = 1; i <= c.tabs; i++) {
      PressTab(dialog, false);
      WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, FieldId + i); }, 5000);
    }
    PressKey(dialog, c.key);
    EXPECT_EQ(Finish(), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args << " tabs " << c.tabs << " key " << c.key;
  }
}

// --- The list dialog ---

class ListTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    WriteFileBytes(JoinPath(scratch_, "colours.csv"),
                   "Red,\"#ff0000\"\r\n"
                   "green, 2\r\n"
                   "Blue,\"b,l,u,e\"\r\n"
                   "Red,second red\r\n"
                   "amber,\"\"\"quoted\"\"\"\r\n");
  }
  // Chooses the entry at position, presses the right button and returns
  // what was written.
  std::string Choose(HWND dialog, int position) {
    SendMessageA(GetDlgItem(dialog, FieldId), LB_SETCURSEL, position, 0);
    PressButton(dialog, RightId);
    EXPECT_EQ(Finish(), 0);
    return ReadFileBytes(out_);
  }
};

TEST_F(ListTest, SortedAndRawEntries) {
  HWND dialog = StartDialog("list \"Pick a colour\" colours.csv out.txt");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(TextOf(GetDlgItem(dialog, LabelId)), "Pick a colour");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, FieldId)), "ListBox");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, LeftId)), "Cancel");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, RightId)), "Ok");
  std::vector<std::string> sorted = ListBoxEntries(GetDlgItem(dialog, FieldId));
  EXPECT_EQ(sorted, (std::vector<std::string>{"amber", "Blue", "green", "Red", "Red"}));
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, FieldId), LB_GETCURSEL, 0, 0), LB_ERR)
      << "nothing selected at first";
  PressButton(dialog, LeftId);
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(ReadFileBytes(out_), "\r\n");

  dialog = StartDialog("list -bd \"Pick a colour\" colours.csv out.txt -R");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ListBoxEntries(GetDlgItem(dialog, FieldId)),
            (std::vector<std::string>{"Red", "green", "Blue", "Red", "amber"}));
  EXPECT_EQ(TextOf(GetDlgItem(dialog, LeftId)), "Back");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, RightId)), "Done");
  CloseWindowNow(dialog);
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(ReadFileBytes(out_), "\r\n");
}

TEST_F(ListTest, ColumnTwoOfTheChosenRowInBothOrders) {
  struct {
    const char* switches;
    int position;
    const char* written;
  } cases[] = {
      {"", 0, "\"quoted\"\r\n"},  // amber
      {"", 1, "b,l,u,e\r\n"},     // Blue
      {"", 2, "2\r\n"},           // green
      {"-r ", 0, "#ff0000\r\n"},  // the first Red
      {"-r ", 2, "b,l,u,e\r\n"}, {"-r ", 3, "second red\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog(std::string("list ") + c.switches + "Colour colours.csv out.txt");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Choose(dialog, c.position), c.written) << c.switches << "position " << c.position;
  }
}

TEST_F(ListTest, DuplicateEntriesKeepTheirOwnRows) {
  std::vector<std::string> written;
  for (int position : {3, 4}) {  // the two Reds of the sorted list
    HWND dialog = StartDialog("list Colour colours.csv out.txt");
    ASSERT_TRUE(dialog);
    written.push_back(Choose(dialog, position));
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{"#ff0000\r\n", "second red\r\n"}));
}

TEST_F(ListTest, NoSelectionOrOneColumnWritesBlank) {
  HWND dialog = StartDialog("list Colour colours.csv out.txt");
  ASSERT_TRUE(dialog);
  PressButton(dialog, RightId);
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(ReadFileBytes(out_), "\r\n") << "Ok with nothing selected";

  WriteFileBytes(JoinPath(scratch_, "names.csv"), "Ann\r\nBob\r\n");
  WriteFileBytes(out_, "old\r\n");
  dialog = StartDialog("list Name names.csv out.txt");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ListBoxEntries(GetDlgItem(dialog, FieldId)), (std::vector<std::string>{"Ann", "Bob"}));
  EXPECT_EQ(Choose(dialog, 1), "\r\n") << "no second column";
}

TEST_F(ListTest, DoubleClickSelectsButDoesNotEnd) {
  HWND dialog = StartDialog("list -r Colour colours.csv out.txt");
  ASSERT_TRUE(dialog);
  HWND list = GetDlgItem(dialog, FieldId);
  // A point inside the second entry.
  LPARAM at = MAKELPARAM(10, 5 + SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1) << "the second entry is selected";
  EXPECT_EQ(WaitForExit(child_, 1000), KilledStatus) << "a double-click must not end the dialog";
}

TEST_F(ListTest, EnterAndEscapeAnswerFromTheKeyboard) {
  // Column 2 of the sorted entries: amber, Blue, green, Red, Red.
  const std::vector<std::string> values = {"\"quoted\"", "b,l,u,e", "2", "#ff0000", "second red"};
  struct {
    const char* switches;
    int downs;   // arrow-down presses: 0 leaves nothing selected
    WPARAM key;  // VK_RETURN (the right button) or VK_ESCAPE (the left one)
  } cases[] = {
      {"", 3, VK_RETURN},     {"", 0, VK_RETURN},     {"", 1, VK_ESCAPE},
      {"", 0, VK_ESCAPE},     {"-bn ", 1, VK_RETURN}, {"-bn ", 2, VK_ESCAPE},
      {"-bd ", 2, VK_RETURN}, {"-bd ", 0, VK_ESCAPE},
  };
  for (const auto& c : cases) {
    WriteFileBytes(out_, "old\r\n");
    HWND dialog = StartDialog(std::string("list ") + c.switches + "Colour colours.csv out.txt");
    ASSERT_TRUE(dialog);
    HWND list = GetDlgItem(dialog, FieldId);
    // The keys go to the focus, as typed: the list has it from the start.
    int before = LB_ERR;
    for (int i = 0; i < c.downs; i++) {
      PressKey(dialog, VK_DOWN);
      int now = LB_ERR;
      // The posted key is handled in its turn.
      WaitUntil([&] {
        now = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        return now >= 0 && now != before;
      });
      EXPECT_TRUE(now >= 0 && (before == LB_ERR || now == before + 1))
          << "down moves the selection: " << before << " then " << now;
      before = now;
    }
    std::string expected = "\r\n";
    if (c.key == VK_RETURN && before >= 0) expected = values[before] + "\r\n";
    PressKey(dialog, c.key);
    EXPECT_EQ(Finish(), 0) << c.switches << c.downs << " " << c.key;
    std::string written = ReadFileBytes(out_);
    // The two Reds are tied: either row may sit at either place.
    if (before >= 3 && (written == "#ff0000\r\n" || written == "second red\r\n"))
      expected = written;
    EXPECT_EQ(written, expected) << c.switches << c.downs << " " << c.key;
  }
}

TEST_F(ListTest, DefaultEntryIsSelectedAndTimeLimitTakesIt) {
  struct {
    const char* args;
    int selected;         // sorted: amber, Blue, green, Red, Red
    const char* written;  // when the time runs out
  } cases[] = {
      {"list -default=GREEN -timeout=1 p colours.csv out.txt", 2, "2\r\n"},
      {"list -r p colours.csv out.txt -timeout=1 -default=blue", 2, "b,l,u,e\r\n"},
      {"list -default=purple -timeout=1 p colours.csv out.txt", LB_ERR, "\r\n"},
      {"list -timeout=1 p colours.csv out.txt", LB_ERR, "\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartDialog(c.args);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, FieldId), LB_GETCURSEL, 0, 0), c.selected) << c.args;
    EXPECT_EQ(Finish(), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
  }
  // Without a time limit, Enter takes the default entry.
  HWND dialog = StartDialog("list -default=amber p colours.csv out.txt");
  ASSERT_TRUE(dialog);
  PressKey(dialog, VK_RETURN);
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(ReadFileBytes(out_), "\"quoted\"\r\n");
}

TEST_F(ListTest, ListFilesWithByteOrderMarks) {
  // Saved by Excel ("CSV UTF-8") and by Windows PowerShell 5.1 (UTF-16,
  // either byte order): the mark is no part of the first entry, and the
  // text reaches the list and the result in the ANSI code page.
  std::u16string rows =
      u"\"Smith, John\",42\r\nGr\u00FCn,\"gr\u00FCn \u20AC\"\r\n\u0141\u00F3d\u017A,3\r\n";
  std::string utf8 =
      "\xEF\xBB\xBF\"Smith, John\",42\r\nGr\xC3\xBCn,\"gr\xC3\xBCn \xE2\x82\xAC\"\r\n"
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA,3\r\n";
  std::string little = "\xFF\xFE", big = "\xFE\xFF";
  for (char16_t unit : rows) {
    little += std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    big += std::string{static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
  }
  const std::vector<std::string> raw = {"Smith, John", "Gr\xFCn",
                                        "?\xF3"
                                        "d?"};
  struct {
    const char* name;
    std::string bytes;
  } files[] = {{"utf8.csv", utf8}, {"utf16le.csv", little}, {"utf16be.csv", big}};
  for (const auto& f : files) {
    WriteFileBytes(JoinPath(scratch_, f.name), f.bytes);
    struct {
      const char* shown;
      const char* written;
    } choices[] = {{"Smith, John", "42\r\n"},
                   {"Gr\xFCn", "gr\xFCn \x80\r\n"},
                   {"?\xF3"
                    "d?",
                    "3\r\n"}};
    for (const char* switches : {"-r ", ""}) {
      for (const auto& choice : choices) {
        HWND dialog = StartDialog(std::string("list ") + switches + "Who " + f.name + " out.txt");
        ASSERT_TRUE(dialog);
        std::vector<std::string> shown = ListBoxEntries(GetDlgItem(dialog, FieldId));
        if (*switches) {
          EXPECT_EQ(shown, raw) << f.name;
        } else {
          EXPECT_TRUE(std::is_permutation(shown.begin(), shown.end(), raw.begin(), raw.end()))
              << f.name << " sorted";
        }
        int position =
            static_cast<int>(std::find(shown.begin(), shown.end(), choice.shown) - shown.begin());
        EXPECT_EQ(Choose(dialog, position), choice.written)
            << f.name << " " << switches << choice.shown;
      }
    }
  }
}

TEST_F(ListTest, NoDataIsFatalAndLeavesTheResult) {
  WriteFileBytes(JoinPath(scratch_, "empty.csv"), "");
  for (const char* list : {"empty.csv", "missing.csv"}) {
    BoxSeen box;
    EXPECT_EQ(RunWithBox(Command("ask", std::string("list p ") + list + " out.txt"), &box), 1);
    EXPECT_EQ(box.text, std::string("No data in list file: ") + list);
    EXPECT_EQ(box.caption, "Ask Ver 0.12");
    EXPECT_EQ(box.icon, "warning");
  }
  EXPECT_EQ(ReadFileBytes(out_), "old answer\r\nsecond old line\r\n");
}

// Column 1 of a list file full of entries a sorted list box compares as
// equal: case variants, hyphens and apostrophes, ss and sharp s, accents,
// and duplicates, in an order far from sorted. Column 2 is the entry's own
// text and its row, so that a choice tells which row it came from.
std::vector<std::string> TiedWords() {
  static const char* const Words[] = {
      "apple",
      "Apple",
      "APPLE",
      "aPple",
      "co-op",
      "coop",
      "Co-op",
      "CO-OP",
      "its",
      "it's",
      "Its",
      "IT'S",
      "ss",
      "\xDF",
      "SS",
      "Strasse",
      "Stra\xDF"
      "e",
      "STRASSE",
      "eclair",
      "\xE9"
      "clair",
      "Eclair",
      "\xC9"
      "clair",
      "resume",
      "r\xE9sum\xE9",
      "Resume",
      "R\xC9SUM\xC9",
      "ab",
      "a-b",
      "A-B",
      "Ab",
      "naive",
      "na\xEFve",
      "Naive",
      "NA\xCFVE",
      "cafe",
      "caf\xE9",
      "Cafe",
      "CAF\xC9",
      "re-sign",
      "resign",
      "Re-Sign",
      "o'neil",
      "oneil",
      "O'Neil",
      "zebra",
      "Zebra",
  };
  std::vector<std::string> rows;
  constexpr int Count = sizeof Words / sizeof Words[0];
  for (int r = 0; r < 3 * Count; r++) rows.push_back(Words[(r * 17 + r / Count) % Count]);
  return rows;
}

TEST_F(ListTest, SortedOrderIsTheListBoxOwnForTiesToo) {
  std::vector<std::string> words = TiedWords();
  std::string file;
  for (size_t r = 0; r < words.size(); r++)
    file += "\"" + words[r] + "\",\"" + words[r] + "#" + std::to_string(r + 1) + "\"\r\n";
  WriteFileBytes(JoinPath(scratch_, "ties.csv"), file);

  HWND dialog = StartDialog("list -r Pick ties.csv out.txt");
  ASSERT_TRUE(dialog);
  std::vector<std::string> raw = ListBoxEntries(GetDlgItem(dialog, FieldId));
  CloseWindowNow(dialog);
  EXPECT_EQ(Finish(), 0);
  ASSERT_EQ(raw, words) << "-r shows column 1 in file order";

  // The oracle: a sorted list box of this process, filled entry by entry in
  // file order, the way the platform sorts.
  HWND oracle = CreateWindowExA(0, "LISTBOX", nullptr,
                                WS_POPUP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_SORT, 0, 0,
                                200, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(oracle);
  for (const std::string& word : raw)
    SendMessageA(oracle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word.c_str()));
  std::vector<std::string> expected = ListBoxEntries(oracle);
  DestroyWindow(oracle);
  ASSERT_EQ(expected.size(), raw.size());

  dialog = StartDialog("list Pick ties.csv out.txt");
  ASSERT_TRUE(dialog);
  std::vector<std::string> shown = ListBoxEntries(GetDlgItem(dialog, FieldId));
  CloseWindowNow(dialog);
  EXPECT_EQ(Finish(), 0);
  ASSERT_EQ(shown.size(), expected.size());
  for (size_t i = 0; i < shown.size(); i++) EXPECT_EQ(shown[i], expected[i]) << "position " << i;

  // Two entries the list box calls equal each write their own row.
  for (const char* text : {"Apple", "aPple",
                           "Stra\xDF"
                           "e",
                           "STRASSE"}) {
    int position =
        static_cast<int>(std::find(expected.begin(), expected.end(), text) - expected.begin());
    ASSERT_LT(position, static_cast<int>(expected.size())) << text;
    dialog = StartDialog("list Pick ties.csv out.txt");
    ASSERT_TRUE(dialog);
    std::string written = Choose(dialog, position);
    EXPECT_EQ(written.rfind(std::string(text) + "#", 0), 0u)
        << "chose " << text << " at " << position << ", got " << written;
  }
}

}  // namespace
