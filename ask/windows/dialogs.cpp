// ask's dialog windows on Windows: a small kit of controls with one look,
// the sizing of the prompt, the text field that turns Enter and Escape into
// commands, the window class and message loop every dialog runs in, and
// the text and list dialogs built with it. No dialog templates and no
// dialog manager: each window is built control by control.
#include <windows.h>

#include <cstdlib>

#include "dialogs.h"
#include "frame.h"
#include "text.h"

DialogState Dialog;
int SortLists = 1;

// --- The kit ---

HWND CreateLabel(HWND parent, int slot, int x, int y, int width, int height, const char* text);
HWND CreateButton(HWND parent, int slot, int x, int y, int width, int height, DWORD extraStyle,
                  const char* caption);
HWND CreateEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text);
HWND CreateInputEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text);
HWND CreateMultiEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text);
HWND CreateListBox(HWND parent, int slot, int x, int y, int width, int height);
int FitLabel(HWND label, int x, int y, int* width, int* height, const char* text);
int FitWindow(HWND window, int clientWidth, int clientHeight);
int CountLines(const char* text);
LRESULT CALLBACK InputEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int FillListBox(HWND list, const CsvTable* table, int column);

namespace {

constexpr const char* WindowClassName = "Gui application";
constexpr int AcceleratorTableId = 201;

// The window procedure that CreateInputEdit replaced; one text field only.
WNDPROC SavedFieldProc = nullptr;

HWND ControlAt(int slot) { return static_cast<HWND>(Dialog.controls[slot]); }

HWND CreateControl(DWORD exStyle, const char* className, const char* text, DWORD style, HWND parent,
                   int slot, int x, int y, int width, int height) {
  HWND control =
      CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdBase + slot)),
                      GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return control;
}

// The outer size of a top-level window with the given client size.
int ExtentWidth(int clientWidth) { return clientWidth + 2 * GetSystemMetrics(SM_CXFRAME); }
int ExtentHeight(int clientHeight) {
  return clientHeight + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
}

// Handling every dialog procedure shares; false for a message it leaves
// to the dialog or to DefWindowProcA.
bool SharedMessage(UINT message, LPARAM lParam, LRESULT* result) {
  if (message == WM_GETMINMAXINFO) {
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = ExtentWidth(Dialog.minWidth);
    info->ptMinTrackSize.y = ExtentHeight(Dialog.minHeight);
    info->ptMaxTrackSize.x = ExtentWidth(Dialog.maxWidth);
    info->ptMaxTrackSize.y = ExtentHeight(Dialog.maxHeight);
    *result = 0;
    return true;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    *result = 0;
    return true;
  }
  return false;
}

// Ends the dialog: the quit message that WM_DESTROY posts ends the loop.
LRESULT EndDialog(HWND window) {
  PostMessageA(window, WM_DESTROY, 0, 0);
  return 0;
}

// A minimized window gets WM_SIZE with 0 x 0; its controls keep their
// places instead of being moved to negative sizes.
bool Minimized(WPARAM wParam, LPARAM lParam) {
  return wParam == SIZE_MINIMIZED || (LOWORD(lParam) == 0 && HIWORD(lParam) == 0);
}

void Place(int slot, int x, int y, int width, int height) {
  MoveWindow(ControlAt(slot), x, y, width, height, TRUE);
}

void ShowControls() {
  for (void* control : Dialog.controls) ShowWindow(static_cast<HWND>(control), SW_SHOWNORMAL);
}

// Registers the class, creates the window with the dialog's procedure,
// shows it and runs the message loop until the dialog ends.
void RunDialog(WNDPROC procedure) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor =
      static_cast<HCURSOR>(LoadImageA(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = WindowClassName;
  if (!RegisterClassExA(&windowClass)) FatalError("Error registering window class.");

  HWND window = CreateWindowExA(0, WindowClassName, Dialog.title, WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, Dialog.minWidth, Dialog.minHeight,
                                nullptr, nullptr, instance, nullptr);
  if (!window) FatalError("Error creating window.");
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(AcceleratorTableId));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// --- The text dialog ---

LRESULT TextDialogCreate(HWND window) {
  Dialog.accepted = 0;
  Dialog.result.text = XStrDup("");
  HWND label = CreateLabel(window, LabelSlot, 8, 8, 300, 200, Dialog.prompt);
  Dialog.controls[LabelSlot] = label;
  int width = 0, h = 0;
  FitLabel(label, 8, 8, &width, &h, Dialog.prompt);
  HWND field = CreateInputEdit(window, FieldSlot, 8, h + 16, 300, 24, Dialog.initialText);
  Dialog.controls[FieldSlot] = field;
  // What the user sees is what is written: no more than the answer holds.
  SendMessageA(field, EM_LIMITTEXT, TextAnswerMax, 0);
  Dialog.controls[LeftButtonSlot] =
      CreateButton(window, LeftButtonSlot, 8, h + 48, 100, 24, BS_PUSHBUTTON, Dialog.leftLabel);
  Dialog.controls[RightButtonSlot] = CreateButton(window, RightButtonSlot, 208, h + 48, 100, 24,
                                                  BS_DEFPUSHBUTTON, Dialog.rightLabel);
  FitWindow(window, 316, h + 80);
  SetFocus(field);
  // A first text is selected whole, so that typing replaces it.
  SendMessageA(field, EM_SETSEL, 0, -1);
  return 0;
}

void TextDialogLayout(int W, int H) {
  Place(LabelSlot, 8, 8, W - 16, H - 80);
  Place(FieldSlot, 8, H - 64, W - 16, 24);
  Place(LeftButtonSlot, 8, H - 32, 100, 24);
  Place(RightButtonSlot, W - 108, H - 32, 100, 24);
  ShowControls();
}

LRESULT CALLBACK TextDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result;
  switch (message) {
    case WM_CREATE: return TextDialogCreate(window);
    case WM_SIZE:
      if (!Minimized(wParam, lParam)) TextDialogLayout(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case CmdAccept:
        case ControlIdBase + RightButtonSlot: {
          char typed[TextAnswerMax + 1] = "";
          SendMessageA(ControlAt(FieldSlot), WM_GETTEXT, sizeof typed,
                       reinterpret_cast<LPARAM>(typed));
          Dialog.accepted = 1;
          free(Dialog.result.text);
          Dialog.result.text = XStrDup(typed);
          return EndDialog(window);
        }
        case CmdCancel:
        case ControlIdBase + LeftButtonSlot:
          Dialog.accepted = 0;
          free(Dialog.result.text);
          Dialog.result.text = XStrDup("");
          return EndDialog(window);
      }
      break;
    default:
      if (SharedMessage(message, lParam, &result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// --- The list dialog ---

LRESULT ListDialogCreate(HWND window) {
  Dialog.accepted = 0;
  Dialog.result.position = -1;
  HWND label = CreateLabel(window, LabelSlot, 8, 8, 300, 200, Dialog.prompt);
  Dialog.controls[LabelSlot] = label;
  int width = 0, h = 0;
  FitLabel(label, 8, 8, &width, &h, Dialog.prompt);
  HWND list = CreateListBox(window, FieldSlot, 8, h + 16, 300, 64);
  Dialog.controls[FieldSlot] = list;
  Dialog.controls[LeftButtonSlot] =
      CreateButton(window, LeftButtonSlot, 8, h + 88, 100, 24, BS_PUSHBUTTON, Dialog.leftLabel);
  Dialog.controls[RightButtonSlot] = CreateButton(window, RightButtonSlot, 208, h + 88, 100, 24,
                                                  BS_DEFPUSHBUTTON, Dialog.rightLabel);
  FitWindow(window, 316, h + 120);
  FillListBox(list, Dialog.data, 1);
  SetFocus(list);
  return 0;
}

void ListDialogLayout(int W, int H) {
  Place(LabelSlot, 8, 8, W - 16, H - 120);
  Place(FieldSlot, 8, H - 104, W - 16, 64);
  Place(LeftButtonSlot, 8, H - 32, 100, 24);
  Place(RightButtonSlot, W - 108, H - 32, 100, 24);
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
          return EndDialog(window);
        case CmdCancel:
        case ControlIdBase + LeftButtonSlot:
          Dialog.accepted = 0;
          Dialog.result.position = -1;
          return EndDialog(window);
      }
      break;
    default:
      if (SharedMessage(message, lParam, &result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// --- Control creators ---

HWND CreateLabel(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  return CreateControl(0, "STATIC", text, WS_CHILD | WS_VISIBLE, parent, slot, x, y, width, height);
}

HWND CreateButton(HWND parent, int slot, int x, int y, int width, int height, DWORD extraStyle,
                  const char* caption) {
  return CreateControl(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle,
                       parent, slot, x, y, width, height);
}

namespace {

// A one-line field with extra styles beside the usual ones.
HWND CreateEditStyled(HWND parent, int slot, int x, int y, int width, int height, const char* text,
                      DWORD extraStyle) {
  HWND edit = CreateControl(WS_EX_CLIENTEDGE, "EDIT", text,
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | extraStyle, parent, slot, x, y,
                            width, height);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return edit;
}

}  // namespace

HWND CreateEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  return CreateEditStyled(parent, slot, x, y, width, height, text, 0);
}

HWND CreateInputEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  // A hidden answer shows a mask character for each typed one; the style
  // counts only when the field is made.
  HWND edit =
      CreateEditStyled(parent, slot, x, y, width, height, text, Dialog.hidden ? ES_PASSWORD : 0);
  SavedFieldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputEditProc)));
  return edit;
}

HWND CreateMultiEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  HWND edit = CreateControl(WS_EX_CLIENTEDGE, "EDIT", text,
                            WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                            parent, slot, x, y, width, height);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return edit;
}

HWND CreateListBox(HWND parent, int slot, int x, int y, int width, int height) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;
  if (SortLists) style |= LBS_SORT;
  return CreateControl(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, style, parent, slot, x, y, width,
                       height);
}

// --- Sizing ---

int FitLabel(HWND label, int x, int y, int* width, int* height, const char* text) {
  RECT r;
  GetWindowRect(label, &r);
  HDC dc = GetDC(label);
  DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
  ReleaseDC(label, dc);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  MoveWindow(label, x, y, *width, *height, TRUE);
  ShowWindow(label, SW_SHOWNORMAL);
  return 0;
}

int FitWindow(HWND window, int clientWidth, int clientHeight) {
  RECT r;
  GetWindowRect(window, &r);
  MoveWindow(window, r.left, r.top, ExtentWidth(clientWidth), ExtentHeight(clientHeight), TRUE);
  ShowWindow(window, SW_SHOWNORMAL);
  return 0;
}

int CountLines(const char* text) {
  int n = 0;
  for (; *text; text++) n += *text == '\n';
  return n;
}

// --- The text field ---

LRESULT CALLBACK InputEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && (LOWORD(wParam) == 13 || LOWORD(wParam) == 27)) {
    PostMessageA(GetParent(window), WM_COMMAND, LOWORD(wParam) == 13 ? CmdAccept : CmdCancel, 0);
    return 0;
  }
  return CallWindowProcA(SavedFieldProc, window, message, wParam, lParam);
}

// --- The list ---

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

// --- Running the dialogs ---

void RunTextDialog() { RunDialog(TextDialogProc); }

void RunListDialog() { RunDialog(ListDialogProc); }

int ListEntryRow(int position) {
  if (position < 0) return 0;
  LRESULT row = SendMessageA(ControlAt(FieldSlot), LB_GETITEMDATA, position, 0);
  return row == LB_ERR ? 0 : static_cast<int>(row);
}
