// ask's list dialog on Windows: the prompt, column 1 of the list file's
// rows in a list box, and two buttons.
#include <cstdlib>

#include "kit.h"
#include "text.h"

namespace {

LRESULT ListDialogCreate(HWND window) {
  Dialog.accepted = 0;
  Dialog.result.position = -1;
  UseDpi(WindowDpi(window));
  int h = CreatePrompt(window);
  HWND list = CreateListBox(window, FieldSlot, Scaled(8), Scaled(h + 16), Scaled(300), Scaled(64));
  Dialog.controls[FieldSlot] = list;
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
  StartCountdown(window);
  return 0;
}

void ListDialogLayout(int W, int H) {
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(120));
  Place(FieldSlot, Scaled(8), H - Scaled(104), W - Scaled(16), Scaled(64));
  PlaceButtonPair(W, H);
  ShowControls();
}

LRESULT CALLBACK ListDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result;
  switch (message) {
    case WM_CREATE: return ListDialogCreate(window);
    case WM_SIZE:
      if (!Minimized(wParam, lParam)) ListDialogLayout(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case CmdAccept:
        case ControlIdBase + RightButtonSlot:
          Dialog.result.position =
              static_cast<int>(SendMessageA(ControlAt(FieldSlot), LB_GETCURSEL, 0, 0));
          Dialog.accepted = 1;
          return FinishDialog(window);
        case CmdCancel:
        case ControlIdBase + LeftButtonSlot:
          Dialog.accepted = 0;
          Dialog.result.position = -1;
          return FinishDialog(window);
      }
      break;
    default:
      if (SharedMessage(window, message, wParam, lParam, &result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

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

void RunListDialog() { RunDialog(ListDialogProc); }

int ListEntryRow(int position) {
  if (position < 0) return 0;
  LRESULT row = SendMessageA(ControlAt(FieldSlot), LB_GETITEMDATA, position, 0);
  return row == LB_ERR ? 0 : static_cast<int>(row);
}
