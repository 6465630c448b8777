// ask's progress window on Windows: the prompt, a progress bar and Cancel,
// following the lines a batch file appends to a feed file (or writes to
// standard input). The feed is opened only for the moment of each read and
// with every sharing flag, so that the batch file's ">>" never fails or
// waits because of the window, and it may delete the feed at any time.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "feed.h"
#include "frame.h"
#include "kit.h"
#include "log.h"

namespace {

constexpr UINT_PTR FeedTimer = 2;
constexpr UINT FeedPollMs = 100;
constexpr DWORD MostBytesPerPoll = 1 << 20;
constexpr LONGLONG HeadBytes = 64;
constexpr int BarSlot = FieldSlot;
constexpr int CancelSlot = LeftButtonSlot;

// The layout, in pixels at 96 DPI below the label: 8, the bar, 8, the
// button, 8.
constexpr int BarHeight = 18;
constexpr int BelowLabel = 8 + BarHeight + 8 + 24 + 8;

struct Follower {
  FeedState state;
  LONGLONG offset;    // bytes of the feed file read so far
  std::string file;   // which file that was (volume and index)
  std::string head;   // its first bytes (up to HeadBytes) among those read
  HANDLE input;       // standard input, when the feed is "-"
  bool pipe;          // that input is a pipe (else a file)
  HANDLE shell;       // the batch file's cmd.exe, watched; null when not found
  DWORD lastLineAt;   // when the last whole line came
  std::string label;  // the label's text
} Feed;

// --- The batch file ---

struct ProcessEntry {
  DWORD parent;
  std::string name;
};

// When a process began.
ULONGLONG StartOf(HANDLE process) {
  FILETIME created, unused;
  if (!GetProcessTimes(process, &created, &unused, &unused, &unused)) return ~0ull;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A cmd.exe opened to wait on, when it began before this window (a
// process number is used again once its process has ended); else null.
HANDLE OpenOlderShell(DWORD pid, ULONGLONG* began) {
  HANDLE shell = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!shell) return nullptr;
  *began = StartOf(shell);
  if (*began <= StartOf(GetCurrentProcess())) return shell;
  CloseHandle(shell);
  return nullptr;
}

// The cmd.exe that runs the batch file which started this window, opened
// to wait on; null, with the reason, when there is none. On Windows that
// is the parent: cmd.exe's start creates the program itself. Wine's start
// is a program of its own that starts this one and ends at once, so that
// the parent is usually gone by now (else its parent is taken); then the
// batch file's cmd.exe is the youngest one that began before this window.
HANDLE FindBatchShell(std::string* why) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    *why = "the processes cannot be listed";
    return nullptr;
  }
  std::vector<PROCESSENTRY32> processes;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    processes.push_back(entry);
  CloseHandle(snapshot);
  auto find = [&](DWORD pid) -> const PROCESSENTRY32* {
    for (const PROCESSENTRY32& process : processes)
      if (process.th32ProcessID == pid) return &process;
    return nullptr;
  };
  const PROCESSENTRY32* me = find(GetCurrentProcessId());
  const PROCESSENTRY32* parent = me ? find(me->th32ParentProcessID) : nullptr;
  if (parent && lstrcmpiA(parent->szExeFile, "start.exe") == 0)
    parent = find(parent->th32ParentProcessID);
  ULONGLONG began = 0;
  if (parent) {
    if (lstrcmpiA(parent->szExeFile, "cmd.exe") != 0) {
      *why = std::string("it was started by ") + parent->szExeFile + ", not by a batch file";
      return nullptr;
    }
    if (HANDLE shell = OpenOlderShell(parent->th32ProcessID, &began)) return shell;
    *why = "the cmd.exe that started it cannot be opened";
    return nullptr;
  }
  HANDLE youngest = nullptr;
  ULONGLONG youngestBegan = 0;
  for (const PROCESSENTRY32& process : processes) {
    if (lstrcmpiA(process.szExeFile, "cmd.exe") != 0) continue;
    HANDLE shell = OpenOlderShell(process.th32ProcessID, &began);
    if (shell && (!youngest || began > youngestBegan)) {
      if (youngest) CloseHandle(youngest);
      youngest = shell;
      youngestBegan = began;
    } else if (shell) {
      CloseHandle(shell);
    }
  }
  if (!youngest) *why = "the program that started it has ended, and no cmd.exe runs";
  return youngest;
}

bool ShellHasEnded() { return Feed.shell && WaitForSingleObject(Feed.shell, 0) == WAIT_OBJECT_0; }

// --- Reading the feed ---

// Bytes of an open file from an offset, at most that many.
std::string ReadAt(HANDLE file, LONGLONG offset, LONGLONG most) {
  std::string bytes;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  if (most <= 0 || !SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return bytes;
  bytes.resize(static_cast<size_t>(most));
  DWORD got = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
  bytes.resize(got);
  return bytes;
}

// The bytes appended to the feed file since the last read. A file that is
// gone, shorter than what was read, or begins otherwise than it did (the
// batch file deleted it and wrote it anew, or wrote it anew with ">")
// starts again: the window reads it from its start.
std::string ReadFeedFile() {
  HANDLE file =
      CreateFileA(Dialog.feed, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size;
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      Feed.offset = 0;
      Feed.head.clear();
      FeedRestart(&Feed.state);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return "";
  }
  // Which file it is: its volume and index (its creation time tells
  // nothing, as Wine gives the time of the last change), and its start,
  // since a file made anew may well get the index of the one deleted.
  BY_HANDLE_FILE_INFORMATION info = {};
  std::string identity;
  if (GetFileInformationByHandle(file, &info))
    identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
               std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
  std::string start = ReadAt(file, 0, std::min<LONGLONG>(size.QuadPart, HeadBytes));
  if (identity != Feed.file || size.QuadPart < Feed.offset ||
      start.compare(0, Feed.head.size(), Feed.head) != 0) {
    Feed.file = identity;
    Feed.offset = 0;
    FeedRestart(&Feed.state);
  }
  std::string bytes =
      ReadAt(file, Feed.offset, std::min<LONGLONG>(size.QuadPart - Feed.offset, MostBytesPerPoll));
  Feed.offset += static_cast<LONGLONG>(bytes.size());
  Feed.head = start.substr(0, static_cast<size_t>(std::min<LONGLONG>(Feed.offset, HeadBytes)));
  CloseHandle(file);
  return bytes;
}

// What standard input holds now, without waiting for more; *atEnd once
// its writer has finished.
std::string ReadInput(bool* atEnd) {
  DWORD wanted = MostBytesPerPoll;
  if (Feed.pipe) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(Feed.input, nullptr, 0, nullptr, &waiting, nullptr)) {
      *atEnd = true;  // the writing end is closed
      return "";
    }
    if (waiting == 0) return "";
    if (waiting < wanted) wanted = waiting;
  }
  std::string bytes(wanted, '\0');
  DWORD got = 0;
  if (!ReadFile(Feed.input, bytes.data(), wanted, &got, nullptr) || got == 0) *atEnd = !Feed.pipe;
  bytes.resize(got);
  return bytes;
}

// --- Commands ---

void SetMarquee(bool on) {
  HWND bar = ControlAt(BarSlot);
  LONG_PTR style = GetWindowLongPtrA(bar, GWL_STYLE);
  if (((style & PBS_MARQUEE) != 0) == on) return;
  if (on) {
    SetWindowLongPtrA(bar, GWL_STYLE, style | PBS_MARQUEE);
    SendMessageA(bar, PBM_SETMARQUEE, TRUE, 30);
  } else {
    SendMessageA(bar, PBM_SETMARQUEE, FALSE, 0);
    SetWindowLongPtrA(bar, GWL_STYLE, style & ~PBS_MARQUEE);
  }
}

// A new label: the window grows to show all of it, and never shrinks.
void ShowLabel(HWND window, const std::string& text) {
  Feed.label = text;
  HWND label = ControlAt(LabelSlot);
  SetWindowTextA(label, Feed.label.c_str());
  int width = 0, height = 0;
  MeasureLabelText(label, Feed.label.c_str(), &width, &height);
  RECT client, outer;
  GetClientRect(window, &client);
  int wanted = Scaled(height + 8 + BelowLabel);
  if (wanted > client.bottom && GetWindowRect(window, &outer))
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + wanted - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Carries out one line; false once the feed said "close".
bool Obey(HWND window, const std::string& line) {
  FeedCommand command = ParseFeedLine(line);
  switch (command.kind) {
    case FeedValue:
      SetMarquee(false);
      SendMessageA(ControlAt(BarSlot), PBM_SETPOS, command.value, 0);
      return true;
    case FeedText: ShowLabel(window, command.text); return true;
    case FeedPulsate: SetMarquee(true); return true;
    case FeedClose: return false;
    case FeedIgnored:
      if (DebugLevel > 0) Log("Ignored feed line: %s", line.c_str());
      return true;
  }
  return true;
}

// One look at the feed: every whole line that has come is carried out;
// then, unless it said "close", the window ends when its batch file has.
void Poll(HWND window) {
  bool atEnd = false;
  std::string bytes = Feed.input ? ReadInput(&atEnd) : ReadFeedFile();
  for (const std::string& line : FeedLines(&Feed.state, bytes, atEnd)) {
    Feed.lastLineAt = GetTickCount();
    if (!Obey(window, line)) atEnd = true;
    if (atEnd) break;
  }
  if (atEnd) {
    Dialog.accepted = 1;
    KillTimer(window, FeedTimer);
    FinishDialog(window);
  } else if (ShellHasEnded()) {
    Dialog.orphaned = 1;
    KillTimer(window, FeedTimer);
    FinishDialog(window);
  } else if (Dialog.timeout > 0 &&
             GetTickCount() - Feed.lastLineAt >= static_cast<DWORD>(Dialog.timeout) * 1000u) {
    // Silence for that long: as Cancel.
    Dialog.timedOut = 1;
    KillTimer(window, FeedTimer);
    FinishDialog(window);
  }
}

// --- The window ---

LRESULT ProgressCreate(HWND window) {
  Dialog.accepted = 0;
  UseDpi(WindowDpi(window));
  int h = CreatePrompt(window);
  Dialog.controls[BarSlot] =
      CreateCommonControl(window, BarSlot, PROGRESS_CLASSA, 0, ICC_PROGRESS_CLASS, Scaled(8),
                          Scaled(h + 16), Scaled(300), Scaled(BarHeight));
  SendMessageA(ControlAt(BarSlot), PBM_SETRANGE32, 0, 100);
  Dialog.controls[RightButtonSlot] = nullptr;
  Dialog.controls[CancelSlot] =
      CreateButton(window, CancelSlot, Scaled(208), Scaled(h + 16 + BarHeight + 8), Scaled(100),
                   Scaled(24), BS_PUSHBUTTON, Dialog.leftLabel);
  FitWindow(window, 316, h + 8 + BelowLabel);
  SetFocus(ControlAt(CancelSlot));
  Feed.lastLineAt = GetTickCount();
  SetTimer(window, FeedTimer, FeedPollMs, nullptr);
  Poll(window);
  return 0;
}

void ProgressLayout(int W, int H) {
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(8 + BelowLabel));
  Place(BarSlot, Scaled(8), H - Scaled(BelowLabel - 8), W - Scaled(16), Scaled(BarHeight));
  Place(CancelSlot, W - Scaled(108), H - Scaled(32), Scaled(100), Scaled(24));
  for (int slot : {LabelSlot, BarSlot, CancelSlot}) ShowWindow(ControlAt(slot), SW_SHOWNORMAL);
}

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result;
  switch (message) {
    case WM_CREATE: return ProgressCreate(window);
    case WM_SIZE:
      if (!Minimized(wParam, lParam)) ProgressLayout(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_TIMER:
      if (wParam != FeedTimer) break;
      Poll(window);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case CmdCancel:
        case ControlIdBase + CancelSlot:
          Dialog.accepted = 0;
          KillTimer(window, FeedTimer);
          return FinishDialog(window);
      }
      break;
    default:
      if (SharedMessage(window, message, wParam, lParam, &result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RunProgressDialog() {
  Feed = Follower{};
  Feed.label = Dialog.prompt;
  // Looked for before anything else, while Wine's start may still be there.
  std::string why;
  Feed.shell = FindBatchShell(&why);
  if (!Feed.shell && DebugLevel > 0) Log("The window stays until Cancel: %s", why.c_str());
  if (lstrcmpA(Dialog.feed, "-") == 0) {
    Feed.input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD type = Feed.input && Feed.input != INVALID_HANDLE_VALUE ? GetFileType(Feed.input) : 0;
    if (type != FILE_TYPE_PIPE && type != FILE_TYPE_DISK)
      FatalError("No standard input to read the progress from.");
    Feed.pipe = type == FILE_TYPE_PIPE;
  }
  RunDialog(ProgressProc);
  if (Feed.shell) CloseHandle(Feed.shell);
}
