// ask's list dialog on Windows: the prompt, column 1 of the list file's
// rows in a list box, and two buttons.
#include <cstdlib>
#include <vector>

#include "kit.h"
#include "text.h"

namespace {

// The row of the position chosen, read as the dialog ends, since the list
// is gone after.
int PositionChosen = -1;
int RowChosen = 0;

void ListDialogCreate(HWND window, int h) {
  Dialog.result.position = -1;
  HWND list = CreateListBox(window, FieldSlot, Scaled(8), Scaled(h + 16), Scaled(300), Scaled(64));
  Shown.controls[FieldSlot] = list;
  CreateButtonPair(window, h + 88);
  FitWindow(window, 316, h + 120);
  FillListBox(list, Dialog.data, 1);
  // The first entry equal to the default, case ignored, is selected and
  // scrolled into view; without one nothing is.
  if (Dialog.defaultEntry) {
    LRESULT found = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(Dialog.defaultEntry));
    if (found != LB_ERR) SendMessageA(list, LB_SETCURSEL, found, 0);
  }
  // Enter and Escape answer the list as they answer the text field, so the
  // dialog can be used from the keyboard alone.
  TakeEnterAndEscape(list);
  SetFocus(list);
}

void ListDialogLayout(HWND, int W, int H) {
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(120));
  Place(FieldSlot, Scaled(8), H - Scaled(104), W - Scaled(16), Scaled(64));
  PlaceButtonPair(W, H);
}

void ListDialogAccept(HWND) {
  HWND list = ControlAt(FieldSlot);
  Dialog.result.position = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  PositionChosen = Dialog.result.position;
  LRESULT row = PositionChosen < 0 ? 0 : SendMessageA(list, LB_GETITEMDATA, PositionChosen, 0);
  RowChosen = row == LB_ERR ? 0 : static_cast<int>(row);
}

void ListDialogCancel() { Dialog.result.position = -1; }

constexpr DialogKind ListDialog = {136,     ListDialogCreate, ListDialogLayout,
                                   nullptr, ListDialogAccept, ListDialogCancel};

}  // namespace

int FillListBox(HWND list, const CsvTable* table, int column) {
  // The list is already on screen: redrawing it (and its scroll bar) after
  // every entry would cost far more than adding the entries.
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_INITSTORAGE, table->rowCount, 0);
  // The entries go in in file order. A sorted list box places each one
  // itself, so the order shown is exactly its own, also among entries it
  // compares as equal (Apple and apple); the returned position may
  // therefore be anywhere, and the entry remembers its row so that the
  // choice still finds it.
  for (int row = 1; row <= table->rowCount; row++) {
    const char* cell = CsvCell(table, row, column);
    char* shown = StripQuotes(cell ? cell : "");
    LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown));
    if (at >= 0) SendMessageA(list, LB_SETITEMDATA, at, row);
    free(shown);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return table->rowCount;
}

void RunListDialog() {
  PositionChosen = -1;
  RowChosen = 0;
  RunDialog(ListDialog);
}

std::vector<int> RowsInShownOrder(const CsvTable* table) {
  // A list box of the same kind as the dialogs', never shown, orders the
  // entries as theirs do.
  std::vector<int> rows;
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | (SortLists ? LBS_SORT : 0),
                              0, 0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!list) {
    for (int row = 1; row <= table->rowCount; row++) rows.push_back(row);
    return rows;
  }
  FillListBox(list, table, 1);
  int entries = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int position = 0; position < entries; position++)
    rows.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, position, 0)));
  DestroyWindow(list);
  return rows;
}

int ListEntryRow(int position) {
  return position >= 0 && position == PositionChosen ? RowChosen : 0;
}
