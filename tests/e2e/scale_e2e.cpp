// ask's dialogs on screens of higher DPI: every position and size scaled
// from the layout at 96 DPI, the prompt fitting the label it was measured
// for, and the list showing as many rows. Wine reads the DPI (the value
// LogPixels) when each program starts, so the test sets it before starting
// ask and puts it back afterwards.
#include <string>
#include <vector>

#include "e2e_test.h"

namespace {

constexpr int LabelId = 4000, FieldId = 4001, LeftId = 4002, RightId = 4003;

const std::string LongPrompt =
    "Copy the R&D reports for Tom & Jerry && co? The copy replaces every report of the last "
    "quarter in the shared folder, including the ones that were corrected by hand since then, "
    "and cannot be undone later.";

// Where a dialog's controls stand, relative to its client area.
struct Layout {
  int width = 0, height = 0;  // the client area
  RECT controls[4] = {};      // label, field or list, left and right button
  int listRows = 0;           // whole rows the list shows
};

class ScaleTest : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    WriteFileBytes(JoinPath(scratch_, "l.csv"),
                   "Red,1\r\nGreen,2\r\nBlue,3\r\nAmber,4\r\nViolet,5\r\nBlack,6\r\nWhite,7\r\n");
  }

  // Starts "ask args" at the DPI and reads its dialog's layout.
  Layout Measure(int dpi, const std::string& args) {
    Layout layout;
    RegistryOverride setting(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                             DwordData(dpi));
    EXPECT_TRUE(setting.ok()) << "cannot set LogPixels";
    Child* child = Start(Command("ask", args));
    HWND dialog = WaitForWindow(*child, DialogClass);
    EXPECT_TRUE(dialog) << "no dialog at " << dpi << " DPI";
    if (!dialog) return layout;
    RECT client;
    GetClientRect(dialog, &client);
    layout.width = client.right;
    layout.height = client.bottom;
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    for (int slot = 0; slot < 4; slot++) {
      RECT r = RectOf(GetDlgItem(dialog, LabelId + slot));
      OffsetRect(&r, -origin.x, -origin.y);
      layout.controls[slot] = r;
    }
    HWND field = GetDlgItem(dialog, FieldId);
    if (ClassOf(field) == "ListBox") {
      RECT inside;
      GetClientRect(field, &inside);
      LRESULT item = SendMessageA(field, LB_GETITEMHEIGHT, 0, 0);
      layout.listRows = item > 0 ? static_cast<int>(inside.bottom / item) : 0;
    }
    lastLabel_ = TextOf(GetDlgItem(dialog, LabelId));
    CloseWindowNow(dialog);
    EXPECT_EQ(WaitForExit(child), 0);
    return layout;
  }

  // The height the label's text needs in the GUI font at the DPI (the
  // stock font's 8 points), wrapped at the label's width.
  static int NeededHeight(const std::string& text, int width, int dpi) {
    LOGFONTA face = {};
    face.lfHeight = MulDiv(-11, dpi, 96);
    lstrcpyA(face.lfFaceName, "MS Shell Dlg");
    HFONT font = CreateFontIndirectA(&face);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return r.bottom;
  }

  std::string lastLabel_;
};

// Each figure at the DPI is within one pixel of the 96-DPI figure scaled.
void ExpectScaled(int got, int at96, int dpi, const std::string& what) {
  double wanted = at96 * dpi / 96.0;
  EXPECT_LE(got > wanted ? got - wanted : wanted - got, 1.0)
      << what << " at " << dpi << " DPI: got " << got << ", 96 DPI gave " << at96;
}

void ExpectLayoutScaled(const Layout& got, const Layout& base, int dpi, bool list) {
  ExpectScaled(got.width, base.width, dpi, "client width");
  ExpectScaled(got.height, base.height, dpi, "client height");
  const char* names[] = {"label", list ? "list" : "field", "left button", "right button"};
  for (int slot = 0; slot < 4; slot++) {
    const RECT& r = got.controls[slot];
    const RECT& b = base.controls[slot];
    std::string name = names[slot];
    ExpectScaled(r.left, b.left, dpi, name + " left");
    ExpectScaled(r.top, b.top, dpi, name + " top");
    ExpectScaled(r.right - r.left, b.right - b.left, dpi, name + " width");
    // A list box rounds its height to whole rows; the rows are compared.
    if (!(list && slot == 1))
      ExpectScaled(r.bottom - r.top, b.bottom - b.top, dpi, name + " height");
  }
}

TEST_F(ScaleTest, DialogsScaleWithTheDpi) {
  struct {
    const char* what;
    std::string args;
    bool list;
  } dialogs[] = {
      {"text", "text -bn \"" + LongPrompt + "\" out.txt", false},
      {"list", "list \"" + LongPrompt + "\" l.csv out.txt", true},
  };
  for (const auto& d : dialogs) {
    Layout base = Measure(96, d.args);
    ASSERT_GT(base.width, 0) << d.what;
    EXPECT_EQ(base.width, 316) << d.what << ": at 96 DPI the pixels stay as they were";
    EXPECT_EQ(base.controls[0].left, 8);
    EXPECT_EQ(base.controls[3].right, 308);
    for (int dpi : {120, 144, 192}) {
      SCOPED_TRACE(std::string(d.what) + " at " + std::to_string(dpi) + " DPI");
      Layout scaled = Measure(dpi, d.args);
      ASSERT_GT(scaled.width, 0);
      ExpectLayoutScaled(scaled, base, dpi, d.list);
      EXPECT_EQ(lastLabel_, LongPrompt);
      const RECT& label = scaled.controls[0];
      EXPECT_LE(NeededHeight(LongPrompt, label.right - label.left, dpi), label.bottom - label.top)
          << "the prompt fits the label it was measured for";
      if (d.list) {
        EXPECT_EQ(scaled.listRows, base.listRows) << "the list shows as many rows";
      }
    }
  }
}

}  // namespace
