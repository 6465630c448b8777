// The platform layer on Windows: thin wrappers over the ANSI Win32 calls.
#include "platform.h"

#include <windows.h>

#include <direct.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "system_dll.h"

const char* PlatformCommandLine() { return GetCommandLineA(); }

int PlatformModuleFileName(char* buf, int size) {
  return static_cast<int>(GetModuleFileNameA(nullptr, buf, static_cast<DWORD>(size)));
}

// The C runtime's getenv already ignores case on Windows.
const char* PlatformGetEnv(const char* name) { return getenv(name); }

void PlatformExit(int status) { exit(status); }

bool PlatformSetEnv(const char* name, const char* value) {
  return SetEnvironmentVariableA(name, value) != 0;
}

bool PlatformStartSelf(const char* arguments) {
  char path[MAX_PATH * 3];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return false;
  std::string line = std::string("\"") + path + "\" " + arguments;
  // The new process works in the system folder, not in the caller's: a
  // batch file may delete its own folder while the new process still runs.
  char folder[MAX_PATH] = "";
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  // No handle is inherited, so that a caller reading this program's
  // output through a pipe is not kept waiting by the new process.
  if (!CreateProcessA(path, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      length > 0 && length < sizeof folder ? folder : nullptr, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

namespace {

// The message box's style for what the tools ask of it.
UINT MessageBoxType(BoxStyle style) {
  UINT type = MB_OK;
  switch (style.buttons) {
    case ButtonsOk: type = MB_OK; break;
    case ButtonsOkCancel: type = MB_OKCANCEL; break;
    case ButtonsYesNo: type = MB_YESNO; break;
    case ButtonsYesNoCancel: type = MB_YESNOCANCEL; break;
  }
  switch (style.icon) {
    case IconNone: break;
    case IconInformation: type |= MB_ICONINFORMATION; break;
    case IconWarning: type |= MB_ICONWARNING; break;
    case IconError: type |= MB_ICONERROR; break;
  }
  if (style.defaultButton == 1) type |= MB_DEFBUTTON2;
  if (style.defaultButton == 2) type |= MB_DEFBUTTON3;
  return type;
}

// The button a message box's result names.
BoxAnswer AnswerOf(int pressed) {
  switch (pressed) {
    case IDOK: return AnswerOk;
    case IDCANCEL: return AnswerCancel;
    case IDYES: return AnswerYes;
    case IDNO: return AnswerNo;
    default: return AnswerNone;
  }
}

// The control id of a message box's button.
int ButtonId(BoxAnswer button) {
  switch (button) {
    case AnswerCancel: return IDCANCEL;
    case AnswerYes: return IDYES;
    case AnswerNo: return IDNO;
    default: return IDOK;
  }
}

}  // namespace

BoxAnswer PlatformMessageBox(const char* text, const char* caption, BoxStyle style) {
  return AnswerOf(MessageBoxA(nullptr, text, caption, MessageBoxType(style)));
}

namespace {

// The message box that a time limit ends: the button it presses, and
// whether it did.
int TimeoutButton = 0;
bool BoxTimedOut = false;

BOOL CALLBACK PressTimeoutButton(HWND window, LPARAM) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  // As a click on the button: the box ends with its id.
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(TimeoutButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, TimeoutButton)));
  BoxTimedOut = true;
  return FALSE;
}

// A thread timer: the box's own message loop dispatches it to this
// routine, which finds the box among the thread's windows.
void CALLBACK BoxTimeUp(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EnumThreadWindows(GetCurrentThreadId(), PressTimeoutButton, 0);
}

}  // namespace

BoxAnswer PlatformMessageBoxTimed(const char* text, const char* caption, BoxStyle style,
                                  int seconds, BoxAnswer button, bool* timedOut) {
  TimeoutButton = ButtonId(button);
  BoxTimedOut = false;
  UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000u, BoxTimeUp);
  int pressed = MessageBoxA(nullptr, text, caption, MessageBoxType(style));
  if (timer) KillTimer(nullptr, timer);
  *timedOut = BoxTimedOut;
  return AnswerOf(pressed);
}

namespace {

constexpr UINT NotifyIconMessage = WM_APP + 1;
constexpr UINT_PTR NotifyTimer = 1;

// The notification's window: it ends the wait when the balloon is clicked
// or dismissed or its time is up.
LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == NotifyIconMessage &&
       (lParam == NIN_BALLOONTIMEOUT || lParam == NIN_BALLOONUSERCLICK)) ||
      (message == WM_TIMER && wParam == NotifyTimer)) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Text of the ANSI code page into a fixed wide field, cut to fit.
template <size_t N>
void CopyWide(wchar_t (&field)[N], const char* text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, field, N);
  if (n == 0) {
    // Too long: as much as fits, never half a surrogate pair.
    std::vector<wchar_t> whole(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) + 1);
    MultiByteToWideChar(CP_ACP, 0, text, -1, whole.data(), static_cast<int>(whole.size()));
    size_t keep = N - 1;
    if (whole[keep - 1] >= 0xD800 && whole[keep - 1] <= 0xDBFF) keep--;
    memcpy(field, whole.data(), keep * sizeof(wchar_t));
    field[keep] = 0;
  }
}

}  // namespace

bool PlatformNotify(const char* title, const char* text, BoxIcon iconShown, int seconds) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = NotifyWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "Say notification";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return false;

  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE | NIF_INFO;
  icon.uCallbackMessage = NotifyIconMessage;
  icon.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  CopyWide(icon.szTip, title);
  CopyWide(icon.szInfoTitle, title);
  CopyWide(icon.szInfo, text);
  icon.uTimeout = static_cast<UINT>(seconds) * 1000u;
  switch (iconShown) {
    case IconInformation: icon.dwInfoFlags = NIIF_INFO; break;
    case IconWarning: icon.dwInfoFlags = NIIF_WARNING; break;
    case IconError: icon.dwInfoFlags = NIIF_ERROR; break;
    default: icon.dwInfoFlags = NIIF_NONE;
  }
  if (!Shell_NotifyIconW(NIM_ADD, &icon)) {
    DestroyWindow(window);
    return false;
  }
  SetTimer(window, NotifyTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  DestroyWindow(window);
  return true;
}

namespace {

// The show command for the way a program is to show.
int ShowCommand(ShowWay show) {
  switch (show) {
    case ShowHidden: return SW_HIDE;
    case ShowMinimized: return SW_SHOWMINNOACTIVE;
    case ShowMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

}  // namespace

void PlatformShellExecute(const char* operation, const char* file, const char* parameters,
                          const char* directory, ShowWay show) {
  PrepareShell();
  ShellExecuteA(nullptr, operation, file, parameters, directory, ShowCommand(show));
}

// The record the shell's extended execute call takes; its size is part of
// the interface of 32-bit Windows.
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOA) == 60,
              "SHELLEXECUTEINFOA must be 60 bytes in a 32-bit program");

namespace {

// The Windows error behind a failed shell call: the thread's last error,
// or else the shell's own code (below 32) taken for the error it stands
// for. A file type without a program is told by the shell's code, since
// Wine leaves a less telling last error for it.
DWORD ShellError(const SHELLEXECUTEINFOA& request) {
  INT_PTR code = reinterpret_cast<INT_PTR>(request.hInstApp);
  if (code == SE_ERR_NOASSOC || code == SE_ERR_ASSOCINCOMPLETE) return ERROR_NO_ASSOCIATION;
  DWORD error = GetLastError();
  if (error) return error;
  switch (code) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    default: return ERROR_BAD_FORMAT;
  }
}

// The system's text for an error, on one line, without its final blanks.
std::string ErrorText(DWORD error) {
  char* text = nullptr;
  DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n && text ? std::string(text, n) : "";
  if (text) LocalFree(text);
  for (char& c : message) c = c == '\r' || c == '\n' ? ' ' : c;
  while (!message.empty() && message.back() == ' ') message.pop_back();
  if (message.empty()) message = "error " + std::to_string(error);
  return message;
}

}  // namespace

int RunAndWait(const char* program, const char* parameters, ShowWay show, bool quiet,
               std::string* whyNot) {
  SHELLEXECUTEINFOA request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS | (quiet ? SEE_MASK_FLAG_NO_UI : 0);
  request.lpFile = program;
  request.lpParameters = parameters;
  request.nShow = ShowCommand(show);
  PrepareShell();
  SetLastError(0);
  if (!ShellExecuteExA(&request)) {
    *whyNot = ErrorText(ShellError(request));
    return -1;
  }
  // A document opened by a program that was already running may leave no
  // process handle: the wait then returns at once and the exit-code query
  // fails, so the result is -1.
  WaitForSingleObject(request.hProcess, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(request.hProcess, &code)) return -1;
  return static_cast<int>(code);
}

// Where appenders take turns: byte 2^40 (a terabyte) of the file.
constexpr DWORD LogTurnOffsetHigh = 0x100;

void PlatformAppendText(const char* path, const char* text) {
  std::string bytes;
  bytes.reserve(strlen(text) + 8);
  for (const char* p = text; *p; p++) {
    if (*p == '\n') bytes += '\r';
    bytes += *p;
  }
  // Append-only access makes every write land at the end of the file as
  // one piece, even while other processes append to it: a write that first
  // moved to the end and then wrote could overwrite theirs.
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  // Some file systems (and Wine) carry out an append as a move to the end
  // and a write, so the writers also take turns: each holds an exclusive
  // lock on one byte far beyond any log's end while it appends. The lock
  // keeps no reader out of the text, and it ends with the handle.
  OVERLAPPED turn = {};
  turn.OffsetHigh = LogTurnOffsetHigh;
  bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (locked) UnlockFileEx(file, 0, 1, 0, &turn);
  CloseHandle(file);
}

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 is the wide text of Windows");

bool PlatformAnsiIsUtf8() { return GetACP() == CP_UTF8; }

std::string PlatformToAnsi(const std::u16string& text) {
  // UTF-8 takes no flags; every other code page is told not to guess.
  DWORD flags = PlatformAnsiIsUtf8() ? 0 : WC_NO_BEST_FIT_CHARS;
  std::string out;
  // In pieces that an int can count, never splitting a surrogate pair.
  constexpr size_t Piece = 1 << 20;
  for (size_t from = 0; from < text.size();) {
    size_t n = text.size() - from < Piece ? text.size() - from : Piece;
    if (from + n < text.size() && text[from + n - 1] >= 0xD800 && text[from + n - 1] <= 0xDBFF) n--;
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data() + from);
    int size =
        WideCharToMultiByte(CP_ACP, flags, wide, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    if (size > 0) {
      size_t at = out.size();
      out.resize(at + static_cast<size_t>(size));
      WideCharToMultiByte(CP_ACP, flags, wide, static_cast<int>(n), out.data() + at, size, nullptr,
                          nullptr);
    }
    from += n;
  }
  return out;
}

std::vector<FolderEntry> PlatformFindEntries(const char* pattern) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

void PlatformMakeFolder(const char* path) { _mkdir(path); }
