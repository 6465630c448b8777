// ask's check, buttons and date dialogs, the choosers' folder and file
// types, and -title=, run for real: the keys and clicks a person uses, and
// the result file's exact bytes.
#include <string>
#include <vector>

#include "e2e_test.h"

#include <commctrl.h>

namespace {

constexpr int FieldId = 4001, LeftId = 4002, RightId = 4003;

class PickTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    out_ = JoinPath(scratch_, "out.txt");
    // Sorted: amber, Blue, green, Red; green ticked by its third column.
    WriteFileBytes(JoinPath(scratch_, "c.csv"),
                   "Red,1\r\ngreen,2,yes\r\nBlue,3,0\r\namber,4, \r\n");
  }
  HWND StartWindow(const std::string& args, const char* className = DialogClass) {
    child_ = Start(Command("ask", args));
    HWND window = WaitForWindow(*child_, className);
    EXPECT_TRUE(window) << "no window from ask " << args;
    return window;
  }
  Child* child_ = nullptr;
  std::string out_;
};

// Clicks the list entry at a position, as the mouse does.
void ClickEntry(HWND list, int position) {
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  LPARAM at = MAKELPARAM(10, height * position + height / 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
}

TEST_F(PickTest, CheckWritesEveryTickedEntryInTheOrderShown) {
  WriteFileBytes(JoinPath(scratch_, "marked.csv"), "\xEF\xBB\xBFRed,1\r\nBlue,3,1\r\n");
  struct {
    const char* args;
    const char* acts;  // digits: a click on that position; s: Space
    WPARAM key;        // VK_RETURN, VK_ESCAPE, or a button's id to press
    const char* written;
  } cases[] = {
      {"check p c.csv out.txt", "", VK_RETURN, "2\r\n"},
      {"check p c.csv out.txt", "0", RightId, "4\r\n2\r\n"},     // amber too
      {"check p c.csv out.txt", "s", VK_RETURN, "4\r\n2\r\n"},   // Space on the first
      {"check p c.csv out.txt", "2", VK_RETURN, ""},             // green cleared: nothing
      {"check -r -bn p c.csv out.txt", "01", RightId, "1\r\n"},  // Red ticked, green cleared
      {"check -bd p c.csv out.txt", "0", LeftId, "\r\n"},        // Back
      {"check p c.csv out.txt", "0", VK_ESCAPE, "\r\n"},
      {"check p marked.csv out.txt", "", VK_RETURN, "3\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartWindow(c.args);
    ASSERT_TRUE(dialog);
    HWND list = GetDlgItem(dialog, FieldId);
    for (const char* act = c.acts; *act; act++) {
      if (*act == 's') PressKey(dialog, VK_SPACE);
      if (*act >= '0' && *act <= '9') ClickEntry(list, *act - '0');
    }
    if (c.key == LeftId || c.key == RightId) {
      SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, WaitLimitMs, nullptr);
      PressButton(dialog, static_cast<int>(c.key));
    } else {
      PressKey(dialog, c.key);
    }
    EXPECT_EQ(WaitForExit(child_), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args << " " << c.acts;
  }
}

TEST_F(PickTest, ButtonsWriteTheLabelPressed) {
  std::string log = JoinPath(scratch_, "b.log");
  struct {
    const char* args;
    int press;  // the button by position, or -1 Enter, -2 Escape, -3 Right then Enter, 0xFF: wait
    const char* written;
  } cases[] = {
      {"buttons p Save|Discard|Cancel out.txt", 1, "Discard\r\n"},
      {"buttons p Save|Discard|Cancel out.txt", -1, "Save\r\n"},
      {"buttons -default=CANCEL p Save|Discard|Cancel out.txt", -1, "Cancel\r\n"},
      {"buttons p Save|Discard|Cancel out.txt", -3, "Discard\r\n"},
      {"buttons p Save|Discard|Cancel out.txt", -2, "\r\n"},
      {"buttons p \"A|B|C|R&D|E|F\" out.txt", 5, "F\r\n"},
      {"buttons p \"A|B|C|R&D|E|F\" out.txt", 3, "R&D\r\n"},
      {"buttons -timeout=1 -default=b p A|B out.txt", 0xFF, "B\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartWindow(c.args);
    ASSERT_TRUE(dialog);
    std::vector<ButtonInfo> buttons = ButtonsOf(dialog);
    // One row under a one-line prompt: the window no taller than they need.
    RECT label = RectOf(GetDlgItem(dialog, 4000)), button = RectOf(GetDlgItem(dialog, LeftId));
    EXPECT_LT(label.bottom - label.top, button.bottom - button.top) << c.args;
    if (std::string(c.args).find("R&D") != std::string::npos) {
      ASSERT_EQ(buttons.size(), 6u);
      EXPECT_EQ(buttons[3].text, "R&&D") << "shown as typed";
    }
    if (c.press >= 0 && c.press != 0xFF) PressButton(dialog, LeftId + c.press);
    if (c.press == -1) PressKey(dialog, VK_RETURN);
    if (c.press == -2) PressKey(dialog, VK_ESCAPE);
    if (c.press == -3) {
      PressKey(dialog, VK_RIGHT);
      // Enter goes to the focus, once the arrow has moved it.
      WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, LeftId + 1); });
      PressKey(dialog, VK_RETURN);
    }
    EXPECT_EQ(WaitForExit(child_), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
  }
}

TEST_F(PickTest, DateIsWrittenAsYearMonthDay) {
  SYSTEMTIME today;
  GetLocalTime(&today);
  char now[16];
  snprintf(now, sizeof now, "%04d-%02d-%02d\r\n", today.wYear, today.wMonth, today.wDay);
  struct {
    const char* args;
    WPARAM key;  // 0: let the time run out
    std::string written;
  } cases[] = {
      {"date -default=2026-02-28 p out.txt", VK_RETURN, "2026-02-28\r\n"},
      {"date p out.txt -default=2024-02-28", VK_RIGHT, "2024-02-29\r\n"},  // a day on
      {"date p out.txt", VK_RETURN, now},
      {"date -default=2026-02-28 p out.txt", VK_ESCAPE, "\r\n"},
      {"date -timeout=1 -default=1999-12-31 p out.txt", 0, "1999-12-31\r\n"},
  };
  for (const auto& c : cases) {
    HWND dialog = StartWindow(c.args);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ClassOf(GetDlgItem(dialog, FieldId)), "SysMonthCal32");
    RECT client, calendar = RectOf(GetDlgItem(dialog, FieldId));
    GetClientRect(dialog, &client);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&calendar), 2);
    EXPECT_LE(abs(calendar.left - (client.right - calendar.right)), 1) << "centred";
    if (c.key) PressKey(dialog, c.key);
    if (c.key == VK_RIGHT) PressKey(dialog, VK_RETURN);
    EXPECT_EQ(WaitForExit(child_), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
  }
}

// A bad value is named before the usage, and with a good -timeout= the box
// closes itself, as nobody may be there to press Ok.
TEST_F(PickTest, TimedUsageBoxesNameTheFaultAndCloseThemselves) {
  struct {
    const char* args;
    const char* text;
  } cases[] = {
      {"buttons -timeout=1 p A|B|C|D|E|F|G out.txt",
       "7 labels; at most 6\nask buttons prompt labels outfile"},
      {"ok p out.txt extra -timeout=1", "ask ok prompt outfile"},
  };
  for (const auto& c : cases) {
    child_ = Start(Command("ask", c.args));
    HWND box = WaitForWindow(*child_, MessageBoxClass);
    ASSERT_TRUE(box) << c.args;
    EXPECT_EQ(MessageBoxText(box), c.text) << c.args;
    EXPECT_EQ(WaitForExit(child_, 5000), 1) << c.args;
  }
}

TEST_F(PickTest, ChoosersOpenInTheFolderAndShowTheFileTypes) {
  std::string folder = JoinPath(scratch_, "Reports");
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"2026-10.csv", "2026-11.csv", "notes.txt"})
    WriteFileBytes(JoinPath(folder, name), "x");
  // A photo folder chosen whole, the names typed quoted as the file list
  // puts them there when all its entries are chosen (under Wine, choosing
  // 1,200 entries in the list with Shift+End takes over a minute).
  std::string photos = JoinPath(scratch_, "Photos"), typed, all;
  CreateDirectoryA(photos.c_str(), nullptr);
  for (int i = 1; i <= 1200; i++) {
    std::string name = "IMG_20240101_120000_" + std::to_string(10000 + i).substr(1) + ".jpg";
    WriteFileBytes(JoinPath(photos, name), "");
    typed += "\"" + name + "\" ";
    all += JoinPath(photos, name) + "\r\n";
  }
  struct {
    std::string args;
    const char* title;
    int shown;         // entries in the file list
    const char* name;  // typed into the name field
    std::string written;
  } cases[] = {
      {"file -folder=Reports -filter=\"CSV files|*.csv|All files|*.*\" Pick out.txt", "Pick", 2,
       "2026-11.csv", JoinPath(folder, "2026-11.csv") + "\r\n"},
      {"file -folder=Reports Pick out.txt", "Pick", 3, "notes.txt",
       JoinPath(folder, "notes.txt") + "\r\n"},
      {"save -filter=\"CSV files|*.csv\" -folder=Reports \"Save as\" out.txt", "Save as", 2,
       "summary", JoinPath(folder, "summary.csv") + "\r\n"},
      {"files -folder=Reports -filter=\"CSV files|*.csv\" Pick out.txt", "Pick", 2,
       "\"2026-10.csv\" \"2026-11.csv\"",
       JoinPath(folder, "2026-10.csv") + "\r\n" + JoinPath(folder, "2026-11.csv") + "\r\n"},
      {"files -folder=no-such-folder Pick out.txt", "Pick", -1, "", "\r\n"},  // Cancel
      {"files -folder=Photos Pick out.txt", "Pick", 1200, typed.c_str(), all},
  };
  for (const auto& c : cases) {
    HWND dialog = StartWindow(c.args, MessageBoxClass);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(TextOf(dialog), c.title);
    HWND view = FindChild(dialog, "SysListView32");
    if (c.shown >= 0) {
      EXPECT_TRUE(WaitUntil([&] {
        return view && SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) == c.shown;
      })) << c.args
          << ": " << (view ? SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) : -1) << " entries shown";
    }
    if (*c.name) {
      SetText(FindChild(dialog, "Edit"), c.name);
      PressButton(dialog, IDOK);
    } else {
      PressButton(dialog, IDCANCEL);
    }
    EXPECT_EQ(WaitForExit(child_), 0) << c.args;
    EXPECT_EQ(ReadFileBytes(out_), c.written) << c.args;
  }
}

TEST_F(PickTest, TitleCaptionsEveryWindowThatTakesIt) {
  WriteFileBytes(JoinPath(scratch_, "feed.txt"), "");
  struct {
    const char* args;
    const char* className;
  } cases[] = {
      {"ok -title=Backup p out.txt", MessageBoxClass},
      {"ync p out.txt -title=Backup", MessageBoxClass},
      {"text -title=Backup p out.txt", DialogClass},
      {"list -title=Backup p c.csv out.txt", DialogClass},
      {"check -title=Backup p c.csv out.txt", DialogClass},
      {"buttons -title=Backup p A|B out.txt", DialogClass},
      {"date -title=Backup p out.txt", DialogClass},
      {"progress -title=Backup p feed.txt out.txt", DialogClass},
      {"dir -title=Backup p out.txt", MessageBoxClass},
  };
  for (const auto& c : cases) {
    HWND window = StartWindow(c.args, c.className);
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(window) == "Backup"; }))
        << c.args << ": " << TextOf(window);
    CloseWindowNow(window);
    EXPECT_EQ(WaitForExit(child_), 0) << c.args;
  }
  // The file dialogs keep the prompt as their title: -title= is a word too many.
  BoxSeen box;
  EXPECT_EQ(RunWithBox(Command("ask", "file -title=Backup p out.txt"), &box), 1);
  EXPECT_EQ(box.text, "ask file prompt outfile");
}

}  // namespace
