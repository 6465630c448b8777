// ask's buttons dialog on Windows: the prompt and one button for each of
// the batch file's labels, right-aligned in rows at the bottom, as wide as
// their words; the default one has the focus.
#include <algorithm>
#include <string>
#include <vector>

#include "kit.h"

namespace {

constexpr int ButtonHeight = 24;
constexpr int Gap = 8;
constexpr int WidestRow = 800 - 16;  // pixels at 96 DPI

struct Layout {
  std::vector<int> widths;             // each button's, pixels at 96 DPI
  std::vector<std::vector<int>> rows;  // the buttons of each row, top row first
  int promptHeight = 0;
} Buttons;

// The height of the rows of buttons with their gaps and margins.
int RowsHeight() { return static_cast<int>(Buttons.rows.size()) * (ButtonHeight + Gap) + Gap; }

// A label as a button shows it: "&" is a character, not a mnemonic mark.
std::string Caption(const std::string& label) {
  std::string caption;
  for (char c : label) caption += c == '&' ? std::string("&&") : std::string(1, c);
  return caption;
}

// Rows of buttons, left to right, each row no wider than a window may be.
void SplitIntoRows() {
  Buttons.rows.clear();
  int used = 0;
  for (int i = 0; i < static_cast<int>(Buttons.widths.size()); i++) {
    if (Buttons.rows.empty() || used + Gap + Buttons.widths[i] > WidestRow) {
      Buttons.rows.emplace_back();
      used = -Gap;
    }
    Buttons.rows.back().push_back(i);
    used += Gap + Buttons.widths[i];
  }
}

int RowWidth(const std::vector<int>& row) {
  int width = -Gap;
  for (int i : row) width += Gap + Buttons.widths[i];
  return width;
}

void ButtonsDialogCreate(HWND window, int h) {
  Dialog.result.position = -1;
  Buttons.promptHeight = h;
  const std::vector<std::string>& labels = *Dialog.labels;
  Buttons.widths.clear();
  for (const std::string& text : labels)
    Buttons.widths.push_back(std::max(100, TextWidth(window, text.c_str()) + 24));
  SplitIntoRows();
  int clientWidth = 316;
  for (const auto& row : Buttons.rows) clientWidth = std::max(clientWidth, RowWidth(row) + 16);
  Shown.minWidth = clientWidth;
  for (int i = 0; i < static_cast<int>(labels.size()); i++) {
    DWORD style = i == Dialog.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    Shown.controls[LeftButtonSlot + i] =
        CreateButton(window, LeftButtonSlot + i, 0, 0, Scaled(Buttons.widths[i]),
                     Scaled(ButtonHeight), style, Caption(labels[i]).c_str());
  }
  // As tall as the prompt and the rows need, and no smaller.
  Shown.minHeight = std::min(8 + Buttons.promptHeight + RowsHeight(), Shown.maxHeight);
  FitWindow(window, clientWidth, 8 + Buttons.promptHeight + RowsHeight());
  SetFocus(ControlAt(LeftButtonSlot + Dialog.defaultButton));
  // The time limit presses the default button.
  Shown.timeoutSlot = LeftButtonSlot + Dialog.defaultButton;
}

// Each row right-aligned, the last one at the bottom; the prompt takes the
// rest.
void ButtonsDialogLayout(HWND, int W, int H) {
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(8 + RowsHeight()));
  int rows = static_cast<int>(Buttons.rows.size());
  for (int r = 0; r < rows; r++) {
    int x = W - Scaled(8 + RowWidth(Buttons.rows[r]));
    int y = H - Scaled((rows - r) * (ButtonHeight + Gap));
    for (int i : Buttons.rows[r]) {
      Place(LeftButtonSlot + i, x, y, Scaled(Buttons.widths[i]), Scaled(ButtonHeight));
      x += Scaled(Buttons.widths[i] + Gap);
    }
  }
}

// Every button answers with itself, Enter with the default one; Escape
// cancels.
DialogAnswer ButtonsDialogCommand(HWND, int id, int) {
  if (id == CmdAccept) id = ControlIdBase + LeftButtonSlot + Dialog.defaultButton;
  int pressed = id - ControlIdBase - LeftButtonSlot;
  if (pressed >= 0 && pressed < static_cast<int>(Dialog.labels->size())) {
    Dialog.result.position = pressed;
    return AcceptAnswer;
  }
  return id == CmdCancel ? CancelAnswer : NoAnswer;
}

// Its smallest size is that of its rows of buttons, known once they are
// measured.
constexpr DialogKind ButtonsDialog = {96, ButtonsDialogCreate, ButtonsDialogLayout,
                                      ButtonsDialogCommand};

}  // namespace

void RunButtonsDialog() { RunDialog(ButtonsDialog); }
