// ask's check dialog on Windows: the list dialog's list with a box before
// each entry, which a click on the entry or Space ticks and clears. The
// list box draws its entries through the dialog (owner-drawn), so that it
// keeps its own sorting and speed.
#include <algorithm>
#include <vector>

#include "kit.h"

namespace {

WNDPROC ListProc = nullptr;
int PromptHeight = 0;  // pixels at 96 DPI

bool Ticked(LPARAM row) {
  return row >= 1 && row < static_cast<LPARAM>(Dialog.ticks->size()) && (*Dialog.ticks)[row];
}

// Ticks or clears the entry at a list position.
void Toggle(HWND list, int position) {
  LRESULT row = SendMessageA(list, LB_GETITEMDATA, position, 0);
  if (row < 1 || row >= static_cast<LRESULT>(Dialog.ticks->size())) return;
  (*Dialog.ticks)[row] = !(*Dialog.ticks)[row];
  RECT item;
  if (SendMessageA(list, LB_GETITEMRECT, position, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
    InvalidateRect(list, &item, FALSE);
}

// The list's procedure before its own: a click on an entry and Space tick
// it or clear it.
LRESULT CALLBACK CheckListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      LRESULT result = CallWindowProcW(ListProc, list, message, wParam, lParam);
      LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lParam);
      if (HIWORD(hit) == 0) Toggle(list, LOWORD(hit));
      return result;
    }
    case WM_KEYDOWN:
      if (wParam != VK_SPACE) break;
      Toggle(list, static_cast<int>(SendMessageA(list, LB_GETCARETINDEX, 0, 0)));
      return 0;
    case WM_CHAR:
      if (wParam == ' ') return 0;  // no search for a blank
      break;
  }
  return CallWindowProcW(ListProc, list, message, wParam, lParam);
}

// Installed over the control's own procedure, guarded by the kit.
LRESULT CALLBACK CheckListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedControlMessage(CheckListMessage, ListProc, list, message, wParam, lParam);
}

// One entry: its box, ticked or not, and its text.
void DrawEntry(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  bool selected = item.itemState & ODS_SELECTED;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  int height = item.rcItem.bottom - item.rcItem.top;
  RECT box = {item.rcItem.left + 2, item.rcItem.top + 2, item.rcItem.left + height - 2,
              item.rcItem.bottom - 2};
  DrawFrameControl(
      item.hDC, &box, DFC_BUTTON,
      DFCS_BUTTONCHECK | (Ticked(static_cast<LPARAM>(item.itemData)) ? DFCS_CHECKED : 0));
  std::vector<char> text(SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) + 1, '\0');
  SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  RECT words = item.rcItem;
  words.left += height + 2;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(item.hDC, text.data(), -1, &words,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void CheckDialogCreate(HWND window, int h) {
  PromptHeight = h;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                LBS_HASSTRINGS | (SortLists ? LBS_SORT : 0);
  HWND list = CreateControl(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, style, window, FieldSlot,
                            Scaled(8), Scaled(h + 16), Scaled(300), Scaled(64));
  Shown.controls[FieldSlot] = list;
  CreateButtonPair(window, h + 88);
  FitWindow(window, 316, h + 120);
  FillListBox(list, Dialog.data, 1);
  ListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckListProc)));
  SendMessageA(list, LB_SETCARETINDEX, 0, FALSE);
  SetFocus(list);
}

// Height the window gains goes to the list; below its first size the list
// keeps its first height and the prompt gives up what is missing.
void CheckDialogLayout(HWND, int W, int H) {
  int listHeight = std::max(Scaled(64), H - Scaled(PromptHeight + 56));
  int listTop = H - Scaled(40) - listHeight;
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), std::max(0, listTop - Scaled(16)));
  Place(FieldSlot, Scaled(8), listTop, W - Scaled(16), listHeight);
  PlaceButtonPair(W, H);
}

// On Accept: the rows in the order the list shows them.
void NoteRowsShown(HWND) {
  HWND list = ControlAt(FieldSlot);
  int entries = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  Dialog.rowsShown->clear();
  for (int position = 0; position < entries; position++)
    Dialog.rowsShown->push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, position, 0)));
}

// The list's entries are drawn here: their height and each entry.
bool CheckDialogMessage(HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message == WM_MEASUREITEM)
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = LineHeight(window) + Scaled(4);
  else if (message == WM_DRAWITEM)
    DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  else
    return false;
  *result = TRUE;
  return true;
}

constexpr DialogKind CheckDialog = {136,           CheckDialogCreate, CheckDialogLayout, nullptr,
                                    NoteRowsShown, nullptr,           CheckDialogMessage};

}  // namespace

void RunCheckDialog() { RunDialog(CheckDialog); }
