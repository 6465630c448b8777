// The kit ask's dialog windows are built with, on Windows: controls with
// one look, scaling with the screen's DPI, the sizing of the prompt, the
// text field that turns Enter and Escape into commands, the keys that move
// through a dialog, the time limit, and the window class, procedure and
// message loop every dialog runs in. No dialog templates and no dialog manager: each
// window is built control by control.
#include "kit.h"

#include <commctrl.h>

#include <new>
#include <vector>

#include "frame.h"
#include "system_dll.h"

DialogWindow Shown;

namespace {

constexpr const char* WindowClassName = "Gui application";
constexpr int AcceleratorTableId = 201;

// The window procedure that TakeEnterAndEscape replaced: the text field's
// or the list's, one control only.
WNDPROC SavedFieldProc = nullptr;

// The kind of dialog shown, which the class's procedure follows.
const DialogKind* Kind = nullptr;

// While the window is being made: an end asked for then waits until it is.
bool Creating = false;

// Posted when the dialog ended while its window was being made.
constexpr UINT FinishLaterMessage = WM_APP + 100;

// Set once a procedure has run out of memory: the box that says so is up,
// and the dialog's code no longer runs (its messages would only fail
// again) until the tool ends.
bool OutOfMemory = false;

// The handle the message loop waits on beside its messages, and what it
// calls when the handle is signalled; null for none.
HANDLE WatchedHandle = nullptr;
void (*WatchedSignalled)(HWND window) = nullptr;

// --- Scaling with the screen's DPI ---
//
// Every size of the dialogs is given in pixels at 96 DPI and scaled with
// the DPI of the window's screen, so that a dialog looks the same at any
// scale and at 96 DPI is exactly as before. The calls for the window's own
// DPI exist only on newer Windows (10 1607 on); without them the system
// DPI serves, which is the window's DPI there.

constexpr int BaseDpi = 96;

// The DPI the dialog is laid out for, and the font at that DPI.
int DialogDpi = BaseDpi;
HFONT DialogFont = nullptr;

// The system's DPI, fixed for the process's life.
int SystemDpi() {
  static int dpi = 0;
  if (!dpi) {
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi <= 0) dpi = BaseDpi;
  }
  return dpi;
}

// A system metric at the dialog's DPI.
int MetricAtDpi(int index) {
  using ForDpiCall = int(WINAPI*)(int, UINT);
  static auto forDpi =
      reinterpret_cast<ForDpiCall>(SystemFunction("user32.dll", "GetSystemMetricsForDpi"));
  if (forDpi && DialogDpi != SystemDpi()) return forDpi(index, static_cast<UINT>(DialogDpi));
  return GetSystemMetrics(index);
}

}  // namespace

HWND CreateControl(DWORD exStyle, const char* className, const char* text, DWORD style, HWND parent,
                   int slot, int x, int y, int width, int height) {
  HWND control =
      CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdBase + slot)),
                      GetModuleHandleA(nullptr), nullptr);
  HFONT font = DialogFont ? DialogFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  return control;
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

// The outer size of a top-level window with the given client size, both
// in pixels at the dialog's DPI.
int ExtentWidth(int clientWidth) { return clientWidth + 2 * MetricAtDpi(SM_CXFRAME); }
int ExtentHeight(int clientHeight) {
  return clientHeight + 2 * MetricAtDpi(SM_CYFRAME) + MetricAtDpi(SM_CYCAPTION);
}

// --- The time limit ---

constexpr UINT_PTR CountdownTimer = 1;

// A key or a click anywhere in the dialog: someone is there, so the time
// limit no longer applies.
void StopCountdownOnInput(HWND window, const MSG& message) {
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCXBUTTONDOWN: KillTimer(window, CountdownTimer);
  }
}

// --- Keys that move through the dialog ---
//
// No dialog manager runs, so the loop itself gives the dialog the keys a
// dialog box has: Tab and Shift+Tab move the focus round the controls,
// and a focused button takes Enter as a press and Escape as Cancel (Space
// it takes by itself). The controls keep their own classes and styles.

// Whether the focus goes to a control: any visible, enabled one but a
// label or a progress bar.
bool TakesFocus(HWND control) {
  char name[32] = "";
  GetClassNameA(control, name, sizeof name);
  return IsWindowVisible(control) && IsWindowEnabled(control) && lstrcmpiA(name, "Static") != 0 &&
         lstrcmpiA(name, PROGRESS_CLASSA) != 0;
}

// The focus round: the controls that take the focus, in the order they
// were made (a new child is placed after its older siblings).
std::vector<HWND> FocusRound(HWND window) {
  std::vector<HWND> round;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (TakesFocus(c)) round.push_back(c);
  return round;
}

// The dialog's own control that holds the focus (or holds the control
// that does), or null.
HWND FocusedControl(HWND window) {
  HWND focus = GetFocus();
  while (focus && GetParent(focus) != window) focus = GetParent(focus);
  return focus;
}

bool IsButton(HWND control) {
  char name[16] = "";
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "Button") == 0;
}

// Moves the focus to the next control of the round (step 1) or the one
// before (-1), among the buttons only where asked, and shows it: the focus
// rectangle is drawn from now on.
void MoveFocus(HWND window, int step, bool buttonsOnly = false) {
  std::vector<HWND> round = FocusRound(window);
  if (buttonsOnly) std::erase_if(round, [](HWND control) { return !IsButton(control); });
  if (round.empty()) return;
  int n = static_cast<int>(round.size());
  int at = -1;
  HWND focus = FocusedControl(window);
  for (int i = 0; i < n; i++)
    if (round[i] == focus) at = i;
  int next = at < 0 ? (step > 0 ? 0 : n - 1) : (at + step + n) % n;
  SetFocus(round[next]);
  char name[16] = "";
  GetClassNameA(round[next], name, sizeof name);
  // As in a dialog box: a field reached by Tab has its text selected.
  if (lstrcmpiA(name, "Edit") == 0) SendMessageA(round[next], EM_SETSEL, 0, -1);
  SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// A key the dialog handles itself, before the control with the focus
// would; true when it did.
bool DialogKey(HWND window, const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
  bool button = IsButton(message.hwnd);
  switch (message.wParam) {
    case VK_TAB: MoveFocus(window, GetKeyState(VK_SHIFT) < 0 ? -1 : 1); return true;
    case VK_RETURN:
      // A focused button is pressed; elsewhere Enter accepts.
      if (button)
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(message.hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(message.hwnd));
      else
        PostMessageA(window, WM_COMMAND, CmdAccept, 0);
      return true;
    case VK_ESCAPE: PostMessageA(window, WM_COMMAND, CmdCancel, 0); return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      // The arrows move along a row of buttons; in a list or a calendar
      // they stay the control's own.
      if (!button) return false;
      MoveFocus(window, message.wParam == VK_LEFT || message.wParam == VK_UP ? -1 : 1, true);
      return true;
  }
  return false;
}

}  // namespace

HWND ControlAt(int slot) { return Shown.controls[slot]; }

// --- Scaling ---

int WindowDpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static auto forWindow =
      reinterpret_cast<GetDpiForWindowCall>(SystemFunction("user32.dll", "GetDpiForWindow"));
  UINT dpi = forWindow ? forWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int Scaled(int value) { return MulDiv(value, DialogDpi, BaseDpi); }

// Lays the dialog out for a DPI: the stock GUI font where that is the
// system's DPI (the stock font's own), otherwise the same face made at
// that DPI.
void UseDpi(int dpi) {
  DialogDpi = dpi;
  HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HFONT old = DialogFont;
  DialogFont = stock;
  int systemDpi = SystemDpi();
  if (DialogDpi != systemDpi) {
    LOGFONTA face;
    if (GetObjectA(stock, sizeof face, &face) == sizeof face) {
      face.lfHeight = MulDiv(face.lfHeight, DialogDpi, systemDpi);
      face.lfWidth = MulDiv(face.lfWidth, DialogDpi, systemDpi);
      if (HFONT made = CreateFontIndirectA(&face)) DialogFont = made;
    }
  }
  if (old && old != stock) DeleteObject(old);
}

// --- Control creators ---

HWND CreateLabel(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  // The prompt shows as given: "&" is a character, not a mnemonic mark.
  return CreateControl(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, parent, slot, x, y,
                       width, height);
}

HWND CreateButton(HWND parent, int slot, int x, int y, int width, int height, DWORD extraStyle,
                  const char* caption) {
  return CreateControl(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle,
                       parent, slot, x, y, width, height);
}

HWND CreateEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  return CreateEditStyled(parent, slot, x, y, width, height, text, 0);
}

HWND CreateInputEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text) {
  // A hidden answer shows a mask character for each typed one; the style
  // counts only when the field is made.
  HWND edit =
      CreateEditStyled(parent, slot, x, y, width, height, text, Dialog.hidden ? ES_PASSWORD : 0);
  TakeEnterAndEscape(edit);
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

int CreatePrompt(HWND window) {
  HWND label =
      CreateLabel(window, LabelSlot, Scaled(8), Scaled(8), Scaled(300), Scaled(200), Dialog.prompt);
  Shown.controls[LabelSlot] = label;
  int width = 0, height = 0;
  FitLabel(label, 8, 8, &width, &height, Dialog.prompt);
  return height;
}

void CreateButtonPair(HWND window, int y) {
  Shown.controls[LeftButtonSlot] =
      CreateButton(window, LeftButtonSlot, Scaled(8), Scaled(y), Scaled(100), Scaled(24),
                   BS_PUSHBUTTON, Dialog.leftLabel);
  Shown.controls[RightButtonSlot] =
      CreateButton(window, RightButtonSlot, Scaled(208), Scaled(y), Scaled(100), Scaled(24),
                   BS_DEFPUSHBUTTON, Dialog.rightLabel);
}

void PlaceButtonPair(int W, int H) {
  Place(LeftButtonSlot, Scaled(8), H - Scaled(32), Scaled(100), Scaled(24));
  Place(RightButtonSlot, W - Scaled(108), H - Scaled(32), Scaled(100), Scaled(24));
}

HWND CreateCommonControl(HWND parent, int slot, const char* className, DWORD style, DWORD classes,
                         int x, int y, int width, int height) {
  // comctl32 is loaded at the first such control, not at every start of
  // ask: most questions use none.
  INITCOMMONCONTROLSEX wanted = {sizeof wanted, classes};
  XSystemFunctionAs<decltype(&InitCommonControlsEx)>("comctl32.dll",
                                                     "InitCommonControlsEx")(&wanted);
  return CreateControl(0, className, nullptr, WS_CHILD | WS_VISIBLE | style, parent, slot, x, y,
                       width, height);
}

// --- Sizing ---

// The size is in pixels at 96 DPI. The text is measured as at 96 DPI, in
// the device context's default font at that DPI, and wrapped at the
// label's width at 96 DPI. (Measuring at a higher DPI instead wraps
// differently: the default font grows in height but not in width there,
// measured under Wine, and a long prompt drawn in the GUI font was cut.)
void MeasureLabelText(HWND label, const char* text, int* width, int* height) {
  RECT r;
  GetWindowRect(label, &r);
  r.right = r.left + MulDiv(r.right - r.left, BaseDpi, DialogDpi);
  HDC dc = GetDC(label);
  // The default font is made for the system's DPI; at any other, the same
  // font at 96 DPI is measured.
  int fontDpi = GetDeviceCaps(dc, LOGPIXELSY);
  HFONT measuring = nullptr;
  HGDIOBJ previous = nullptr;
  LOGFONTA font;
  if (fontDpi != BaseDpi && fontDpi > 0 &&
      GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font) == sizeof font) {
    font.lfHeight = MulDiv(font.lfHeight, BaseDpi, fontDpi);
    measuring = CreateFontIndirectA(&font);
    if (measuring) previous = SelectObject(dc, measuring);
  }
  // As the label draws it: "&" is no mnemonic mark.
  DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (measuring) {
    SelectObject(dc, previous);
    DeleteObject(measuring);
  }
  ReleaseDC(label, dc);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
}

// x, y and the measured size are in pixels at 96 DPI; the label gets that
// size scaled.
int FitLabel(HWND label, int x, int y, int* width, int* height, const char* text) {
  MeasureLabelText(label, text, width, height);
  MoveWindow(label, Scaled(x), Scaled(y), Scaled(*width), Scaled(*height), TRUE);
  ShowWindow(label, SW_SHOWNORMAL);
  return 0;
}

// The client size is in pixels at 96 DPI.
int FitWindow(HWND window, int clientWidth, int clientHeight) {
  RECT r;
  GetWindowRect(window, &r);
  MoveWindow(window, r.left, r.top, ExtentWidth(Scaled(clientWidth)),
             ExtentHeight(Scaled(clientHeight)), TRUE);
  if (!Dialog.unseen) ShowWindow(window, SW_SHOWNORMAL);
  return 0;
}

int TextWidth(HWND window, const char* text) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, DialogFont ? DialogFont : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return MulDiv(size.cx, BaseDpi, DialogDpi);
}

int LineHeight(HWND window) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, DialogFont ? DialogFont : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

int CountLines(const char* text) {
  int n = 0;
  for (; *text; text++) n += *text == '\n';
  return n;
}

// --- Enter and Escape ---

// Installs InputEditProc on the text field or the list, keeping the
// control's own procedure for everything else.
void TakeEnterAndEscape(HWND control) {
  // A wide procedure, so that typed characters pass through it to the
  // control in their UTF-16 form (see the message loop).
  SavedFieldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputEditProc)));
}

namespace {

// Ends the tool from inside a window procedure as every allocation failure
// ends it (the frame's message, status 1). A C++ exception must not unwind
// through the system's frames that called the procedure, so the kit's
// procedures catch it and come here; while the box is up, the dialog's own
// code no longer runs, as its messages would only fail again.
[[noreturn]] void EndOutOfMemory() {
  OutOfMemory = true;
  FatalError("Out of memory");
}

LRESULT CALLBACK InputEditMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && (LOWORD(wParam) == 13 || LOWORD(wParam) == 27)) {
    PostMessageA(GetParent(window), WM_COMMAND, LOWORD(wParam) == 13 ? CmdAccept : CmdCancel, 0);
    return 0;
  }
  return CallWindowProcW(SavedFieldProc, window, message, wParam, lParam);
}

}  // namespace

LRESULT GuardedControlMessage(WNDPROC handle, WNDPROC saved, HWND control, UINT message,
                              WPARAM wParam, LPARAM lParam) {
  if (OutOfMemory) return CallWindowProcW(saved, control, message, wParam, lParam);
  try {
    return handle(control, message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    EndOutOfMemory();
  }
}

LRESULT CALLBACK InputEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedControlMessage(InputEditMessage, SavedFieldProc, window, message, wParam, lParam);
}

// --- Running a dialog ---

void FinishDialog(HWND window) {
  if (Kind->ending) Kind->ending(window);
  // Destroyed in the middle of WM_CREATE, the window would be reported as
  // never made.
  if (Creating)
    PostMessageA(window, FinishLaterMessage, 0, 0);
  else
    DestroyWindow(window);
}

// Moves a control; x and y in pixels at the dialog's DPI.
void Place(int slot, int x, int y, int width, int height) {
  MoveWindow(ControlAt(slot), x, y, width, height, TRUE);
}

DialogAnswer PairAnswer(int id) {
  if (id == CmdAccept || id == ControlIdBase + RightButtonSlot) return AcceptAnswer;
  if (id == CmdCancel || id == ControlIdBase + LeftButtonSlot) return CancelAnswer;
  return NoAnswer;
}

namespace {

// Ends the dialog with an answer: the dialog's own read into Dialog.
void Answer(HWND window, DialogAnswer answer) {
  if (answer == AcceptAnswer) {
    if (Kind->accept) Kind->accept(window);
    Dialog.accepted = 1;
  } else {
    Dialog.accepted = 0;
    if (Kind->cancel) Kind->cancel();
  }
  FinishDialog(window);
}

// The window is made: the prompt and the kind's controls, then the time
// limit starts.
void CreateDialogParts(HWND window) {
  Dialog.accepted = 0;
  UseDpi(WindowDpi(window));
  Kind->create(window, CreatePrompt(window));
  if (!Kind->ownTimeLimit && Dialog.timeout > 0)
    SetTimer(window, CountdownTimer, Dialog.timeout * 1000u, nullptr);
}

// The messages of every dialog, after the kind's own; false for one left
// to DefWindowProcA.
bool KitMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_CREATE: CreateDialogParts(window); return true;
    case WM_SIZE:
      // A minimized window gets 0 x 0; its controls keep their places
      // instead of being moved to negative sizes.
      if (wParam == SIZE_MINIMIZED || (LOWORD(lParam) == 0 && HIWORD(lParam) == 0)) return false;
      Kind->layout(window, LOWORD(lParam), HIWORD(lParam));
      for (HWND control : Shown.controls) ShowWindow(control, SW_SHOWNORMAL);
      return false;
    case WM_COMMAND: {
      DialogAnswer answer = Kind->command ? Kind->command(window, LOWORD(wParam), HIWORD(wParam))
                                          : PairAnswer(LOWORD(wParam));
      if (answer == NoAnswer) return false;
      Answer(window, answer);
      return true;
    }
    case WM_GETMINMAXINFO: {
      // Sent before WM_CREATE: the limits are those of the window's DPI.
      DialogDpi = WindowDpi(window);
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = ExtentWidth(Scaled(Shown.minWidth));
      info->ptMinTrackSize.y = ExtentHeight(Scaled(Shown.minHeight));
      info->ptMaxTrackSize.x = ExtentWidth(Scaled(Shown.maxWidth));
      info->ptMaxTrackSize.y = ExtentHeight(Scaled(Shown.maxHeight));
      return true;
    }
    case WM_DPICHANGED: {
      // Moved to a screen of another scale: the new font for every control,
      // then the size the system suggests, whose WM_SIZE lays them out again.
      UseDpi(HIWORD(wParam));
      for (HWND control : Shown.controls)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont), TRUE);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return true;
    }
    case WM_TIMER:
      if (wParam != CountdownTimer) return false;
      // Time is up: the right button (Ok, Next or Done), or the default one,
      // presses itself.
      KillTimer(window, CountdownTimer);
      Dialog.timedOut = 1;
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(ControlIdBase + Shown.timeoutSlot, BN_CLICKED),
                   reinterpret_cast<LPARAM>(ControlAt(Shown.timeoutSlot)));
      return true;
    case FinishLaterMessage: DestroyWindow(window); return true;
    case WM_DESTROY: PostQuitMessage(0); return true;
  }
  return false;
}

// The procedure of the dialogs' window class: the kind's messages, then
// the kit's, guarded.
LRESULT CALLBACK GuardedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (OutOfMemory) return DefWindowProcA(window, message, wParam, lParam);
  try {
    LRESULT result = 0;
    if (Kind->message && Kind->message(window, message, wParam, lParam, &result)) return result;
    if (KitMessage(window, message, wParam, lParam, &result)) return result;
    return DefWindowProcA(window, message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    EndOutOfMemory();
  }
}

}  // namespace

// Registers the class, creates the window of the dialog's kind, shows it
// and runs the message loop until the dialog ends.
void RunDialog(const DialogKind& kind) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  Kind = &kind;
  Shown = DialogWindow{};
  Shown.minWidth = 316;
  Shown.minHeight = kind.smallestHeight;
  Shown.maxWidth = 800;
  Shown.maxHeight = 1024;
  Shown.timeoutSlot = RightButtonSlot;
  windowClass.lpfnWndProc = GuardedDialogProc;
  windowClass.hInstance = instance;
  windowClass.hCursor =
      static_cast<HCURSOR>(LoadImageA(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = WindowClassName;
  if (!RegisterClassExA(&windowClass)) FatalError("Error registering window class.");

  // The first size only stands until WM_CREATE fits the window.
  DialogDpi = SystemDpi();
  Creating = true;
  HWND window = CreateWindowExA(0, WindowClassName, Dialog.title, WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, Scaled(Shown.minWidth),
                                Scaled(Shown.minHeight), nullptr, nullptr, instance, nullptr);
  Creating = false;
  if (!window) FatalError("Error creating window.");
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(AcceleratorTableId));
  // A window that nobody can see (the progress window following its feed
  // without anybody) is never shown.
  if (!Dialog.unseen) {
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
  }

  // The loop takes and hands on messages in their wide forms: what the
  // person types then reaches the text field (whose procedure is wide too)
  // as UTF-16, where an ANSI loop would squeeze each character through the
  // system's code page first. Every other call stays ANSI. While a handle
  // is watched, the loop waits on it beside the messages, and takes one
  // message after each signal, so that neither starves the other.
  MSG message;
  for (;;) {
    if (WatchedHandle) {
      DWORD woke = MsgWaitForMultipleObjectsEx(1, &WatchedHandle, INFINITE, QS_ALLINPUT,
                                               MWMO_INPUTAVAILABLE);
      if (woke == WAIT_OBJECT_0) WatchedSignalled(window);
      if (woke == WAIT_FAILED) WatchedHandle = nullptr;
      // A message sent from another thread is handled inside the look.
      if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) continue;
      if (message.message == WM_QUIT) break;
    } else if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      break;
    }
    StopCountdownOnInput(window, message);
    if (DialogKey(window, message)) continue;
    if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  WatchedHandle = nullptr;
}

void WatchInLoop(HANDLE handle, void (*signalled)(HWND window)) {
  WatchedHandle = handle;
  WatchedSignalled = signalled;
}
