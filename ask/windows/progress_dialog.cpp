// ask's progress window on Windows: the prompt, a progress bar and Cancel,
// following the lines a batch file appends to a feed file (or writes to
// standard input). What is not window code (the batch file's cmd.exe,
// where the feed is, the reading of the feed file) is in follower.h.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "feed.h"
#include "follower.h"
#include "frame.h"
#include "kit.h"
#include "log.h"
#include "unicode.h"

namespace {

constexpr UINT_PTR FeedTimer = 2;
constexpr UINT FeedPollMs = 100;
constexpr DWORD ReadGapMs = 10;
constexpr int BarSlot = FieldSlot;
constexpr int CancelSlot = LeftButtonSlot;

// The layout, in pixels at 96 DPI below the label: 8, the bar, 8, the
// button, 8.
constexpr int BarHeight = 18;
constexpr int BelowLabel = 8 + BarHeight + 8 + 24 + 8;

struct Follower {
  FeedState state;
  bool input;            // the feed is standard input ("-")
  HANDLE shell;          // the batch file's cmd.exe, watched; null when not found
  DWORD lastLineAt;      // when the last whole line came
  std::string label;     // the label's text
  std::string folder;    // the feed file's folder, watched for changes; "": not watched
  HANDLE folderChanges;  // the watch on it, once made
  bool shellEnded;       // the cmd.exe was seen to have ended ...
  DWORD shellEndedAt;    // ... then,
  unsigned lastAsk;      // ... and this read was asked for after
  DWORD readError;       // the failure of the feed's reads last logged, 0 for none
  bool ended;            // the window has ended: what still comes is not looked at
} Feed;

// --- The batch file ---

bool ShellHasEnded() { return Feed.shell && WaitForSingleObject(Feed.shell, 0) == WAIT_OBJECT_0; }

// --- Where the feed is ---

// The feed's full path, made from its name alone (no file system is asked).
std::string FullFeedPath() {
  DWORD size = GetFullPathNameA(Dialog.feed, 0, nullptr, nullptr);
  std::string full(size, '\0');
  DWORD length = size ? GetFullPathNameA(Dialog.feed, size, full.data(), nullptr) : 0;
  full.resize(length < size ? length : 0);
  return full.empty() ? Dialog.feed : full;
}

[[noreturn]] void NotAFeed(const char* what) {
  FatalError("Can't read the progress from %s: it is %s, not a file.", Dialog.feed, what);
}

// --- Reading the feed ---
//
// The feed file is read on a thread of its own, one read at a time when
// the window asks, so that no read can hold up the window: opening a file
// on a network share that cannot be reached blocks for seconds. The window
// asks at each look at the feed and at each change in the feed's folder;
// the reader posts FeedReadMessage when a read is done, and reads again
// only once the window has taken what it read. Standard input is read by
// the window itself, as a look at it never waits.

constexpr UINT FeedReadMessage = WM_APP + 1;

// What the window and the reader share, under the lock. Made once and never
// freed, so that the reader can never meet it destroyed at the tool's end.
struct Reading {
  CRITICAL_SECTION lock;
  HANDLE wake;     // auto-reset: the window asks for a read
  HWND window;     // told when a read is done
  unsigned asked;  // reads asked for so far
  unsigned done;   // the ask the last read answered
  bool ready;      // a read is done and not yet taken
  bool quit;       // the window has ended
  FeedRead read;
};
Reading* Shared = nullptr;

// The reader's thread: a read for each ask, one at a time. Reads follow
// one another at least ReadGapMs apart, unless one goes on where a full
// one stopped: a folder that changes all the time (the feed beside files
// being copied) would otherwise keep the reader reading without a pause.
DWORD WINAPI ReaderThread(void*) {
  FileSeen seen;
  DWORD lastRead = GetTickCount() - ReadGapMs;
  bool continuing = false;
  for (;;) {
    WaitForSingleObject(Shared->wake, INFINITE);
    DWORD since = GetTickCount() - lastRead;
    if (!continuing && since < ReadGapMs) Sleep(ReadGapMs - since);
    EnterCriticalSection(&Shared->lock);
    bool idle = Shared->quit || Shared->ready || Shared->done == Shared->asked;
    bool quit = Shared->quit;
    unsigned ask = Shared->asked;
    LeaveCriticalSection(&Shared->lock);
    if (quit) return 0;
    if (idle) continue;
    FeedRead read = ReadFeedFile(Dialog.feed, &seen);
    continuing = read.full;
    lastRead = GetTickCount();
    EnterCriticalSection(&Shared->lock);
    quit = Shared->quit;
    if (!quit) {
      Shared->read = std::move(read);
      Shared->done = ask;
      Shared->ready = true;
      PostMessageA(Shared->window, FeedReadMessage, 0, 0);
    }
    LeaveCriticalSection(&Shared->lock);
    if (quit) return 0;
  }
}

// Starts the reader for the window.
void StartReader(HWND window) {
  Shared = new Reading{};
  InitializeCriticalSection(&Shared->lock);
  Shared->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  Shared->window = window;
  HANDLE thread =
      Shared->wake ? CreateThread(nullptr, 0, ReaderThread, nullptr, 0, nullptr) : nullptr;
  if (!thread) FatalError("Can't start reading the progress from %s.", Dialog.feed);
  CloseHandle(thread);
}

// Asks the reader for a read (after the one under way, if any); the ask's
// number.
unsigned AskForRead() {
  EnterCriticalSection(&Shared->lock);
  unsigned ask = ++Shared->asked;
  LeaveCriticalSection(&Shared->lock);
  SetEvent(Shared->wake);
  return ask;
}

// Takes the read that is done; *answered is the ask it answered. A read
// that filled up, or an ask that came while it ran, has the reader read
// again.
FeedRead TakeRead(unsigned* answered) {
  EnterCriticalSection(&Shared->lock);
  FeedRead read = std::move(Shared->read);
  Shared->read = FeedRead{};
  bool ready = Shared->ready;
  Shared->ready = false;
  if (read.full) Shared->asked++;
  bool again = Shared->asked != Shared->done;
  *answered = Shared->done;
  LeaveCriticalSection(&Shared->lock);
  if (again) SetEvent(Shared->wake);
  if (!ready) read = FeedRead{};
  return read;
}

// Tells the reader that the window has ended: it reads no more.
void StopReader() {
  if (!Shared) return;
  EnterCriticalSection(&Shared->lock);
  Shared->quit = true;
  LeaveCriticalSection(&Shared->lock);
  SetEvent(Shared->wake);
}

// --- Changes in the feed's folder ---
//
// A change of size or last write in the feed's folder (or a file made or
// removed there) wakes the window at once, so that a line reaches the bar
// without waiting for the next look. Only on a local disk: notifications
// from a network share may never come, and asking for them may wait on the
// network. The looks every FeedPollMs stay for what notifications miss.

void FolderChanged(HWND) {
  if (!FindNextChangeNotification(Feed.folderChanges)) {
    // Asked for again at the next look (the folder may have gone).
    WatchInLoop(nullptr, nullptr);
    FindCloseChangeNotification(Feed.folderChanges);
    Feed.folderChanges = nullptr;
  }
  AskForRead();
}

// Watches the feed's folder where that is wanted and the folder exists.
void WatchFeedFolder() {
  if (Feed.folderChanges || Feed.folder.empty()) return;
  HANDLE changes = FindFirstChangeNotificationA(
      Feed.folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
  if (changes == INVALID_HANDLE_VALUE) return;
  Feed.folderChanges = changes;
  WatchInLoop(changes, FolderChanged);
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

// The tallest the window's client area may be, in pixels at the dialog's
// DPI: the window stays within its screen's work area.
int TallestClient(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  RECT outer, client;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
      !GetWindowRect(window, &outer) || !GetClientRect(window, &client))
    return INT_MAX;
  int frame = (outer.bottom - outer.top) - client.bottom;
  return monitor.rcWork.bottom - monitor.rcWork.top - frame;
}

// The label's text cut (with "...") to the longest start that is at most
// that high, in pixels at 96 DPI, as the label draws it.
std::string CutToHeight(HWND label, const std::string& text, int most) {
  int width = 0, height = 0;
  MeasureLabelText(label, text.c_str(), &width, &height);
  if (height <= most) return text;
  size_t fits = 0, over = CountCharacters(text.c_str());
  while (over - fits > 1) {
    size_t middle = fits + (over - fits) / 2;
    std::string cut = text.substr(0, CharactersLength(text.c_str(), middle)) + "...";
    MeasureLabelText(label, cut.c_str(), &width, &height);
    (height <= most ? fits : over) = middle;
  }
  return text.substr(0, CharactersLength(text.c_str(), fits)) + "...";
}

// A new label: the window grows to show all of it, and never shrinks, but
// stays within the screen's work area and its largest size, the label cut
// to fit.
void ShowLabel(HWND window, const std::string& text) {
  Feed.label = text;
  HWND label = ControlAt(LabelSlot);
  int tallest = std::min(TallestClient(window), Scaled(Shown.maxHeight));
  int most = MulDiv(tallest, 96, WindowDpi(window)) - 8 - BelowLabel;
  std::string shown = CutToHeight(label, Feed.label, std::max(most, 0));
  SetWindowTextA(label, shown.c_str());
  int width = 0, height = 0;
  MeasureLabelText(label, shown.c_str(), &width, &height);
  RECT client, outer;
  GetClientRect(window, &client);
  int wanted = Scaled(height + 8 + BelowLabel);
  if (wanted > client.bottom && GetWindowRect(window, &outer))
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + wanted - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Carries out one line; false once the feed said "close" (or the line is
// to cancel).
bool Obey(HWND window, const std::string& line) {
  // An answer without the window said Cancel: the next line ends it so.
  if (Dialog.cancelAtLine) return false;
  FeedCommand command = ParseFeedLine(line);
  switch (command.kind) {
    case FeedValue:
      SetMarquee(false);
      SendMessageA(ControlAt(BarSlot), PBM_SETPOS, command.value, 0);
      return true;
    case FeedText:
      ShowLabel(window, command.text);
      if (Dialog.labelShown) Dialog.labelShown(command.text);
      return true;
    case FeedPulsate: SetMarquee(true); return true;
    case FeedClose: return false;
    case FeedIgnored:
      // Without the CR of a CR LF: the log ends each entry with its own.
      if (DebugLevel > 0)
        Log("Ignored feed line: %.*s", static_cast<int>(line.find_last_not_of('\r') + 1),
            line.c_str());
      return true;
  }
  return true;
}

// As the window ends: no more looks at the feed, and the reader stops.
void StopFollowing(HWND window) {
  Feed.ended = true;
  KillTimer(window, FeedTimer);
  WatchInLoop(nullptr, nullptr);
  StopReader();
}

// Carries out every whole line the bytes complete; true when the window
// has ended: the feed said "close", or ended.
bool Follow(HWND window, const std::string& bytes, bool atEnd) {
  bool closed = atEnd;
  for (const std::string& line : FeedLines(&Feed.state, bytes, atEnd)) {
    Feed.lastLineAt = GetTickCount();
    if (!Obey(window, line)) closed = true;
    if (closed) break;
  }
  if (DebugLevel > 0)
    for (const std::string& note : Feed.state.notes) Log("%s", note.c_str());
  Feed.state.notes.clear();
  if (closed) {
    Dialog.accepted = !Dialog.cancelAtLine;
    FinishDialog(window);
  }
  return closed;
}

// A read of the feed file is done: its lines carried out. Once the batch
// file has ended, the window ends when a read asked for after that has
// found no "close".
void ReadDone(HWND window) {
  if (Feed.ended) return;
  unsigned answered = 0;
  FeedRead read = TakeRead(&answered);
  if (read.folder) NotAFeed("a folder");
  if (read.device) NotAFeed("a device");
  if (read.error != Feed.readError) {
    Feed.readError = read.error;
    if (read.error && DebugLevel > 0)
      Log("Can't read the progress from %s: error %lu", Dialog.feed, read.error);
  }
  if (read.restart) FeedRestart(&Feed.state);
  if (Follow(window, read.bytes, false)) return;
  if (Feed.shellEnded && static_cast<int>(answered - Feed.lastAsk) >= 0) {
    Dialog.orphaned = 1;
    FinishDialog(window);
  }
}

// One look at the feed, every FeedPollMs: a read asked for (standard input
// read at once), then, unless the feed said "close", whether the window
// ends because its batch file has, or because no line came for the time
// given.
void Poll(HWND window) {
  if (Feed.ended) return;
  if (Feed.input) {
    bool atEnd = false;
    std::string bytes = ReadFeedInput(&atEnd);
    if (Follow(window, bytes, atEnd)) return;
  } else {
    WatchFeedFolder();
    // The read that decides is asked for once the end has been seen.
    bool ended = !Feed.shellEnded && ShellHasEnded();
    unsigned ask = AskForRead();
    if (ended) {
      Feed.shellEnded = true;
      Feed.shellEndedAt = GetTickCount();
      Feed.lastAsk = ask;
    }
  }
  // Standard input has been read to now; a read of the file that does not
  // come within a moment (a network that has gone) is not waited for.
  if (Feed.shellEnded ? GetTickCount() - Feed.shellEndedAt >= 2000
                      : Feed.input && ShellHasEnded()) {
    Dialog.orphaned = 1;
    FinishDialog(window);
  } else if (Dialog.timeout > 0 &&
             GetTickCount() - Feed.lastLineAt >= static_cast<DWORD>(Dialog.timeout) * 1000u) {
    // Silence for that long: as Cancel.
    Dialog.timedOut = 1;
    FinishDialog(window);
  }
}

// --- The window ---

void ProgressCreate(HWND window, int h) {
  Shown.controls[BarSlot] =
      CreateCommonControl(window, BarSlot, PROGRESS_CLASSA, 0, ICC_PROGRESS_CLASS, Scaled(8),
                          Scaled(h + 16), Scaled(300), Scaled(BarHeight));
  SendMessageA(ControlAt(BarSlot), PBM_SETRANGE32, 0, 100);
  Shown.controls[CancelSlot] =
      CreateButton(window, CancelSlot, Scaled(208), Scaled(h + 16 + BarHeight + 8), Scaled(100),
                   Scaled(24), BS_PUSHBUTTON, Dialog.leftLabel);
  FitWindow(window, 316, h + 8 + BelowLabel);
  SetFocus(ControlAt(CancelSlot));
  Feed.lastLineAt = GetTickCount();
  if (!Feed.input) StartReader(window);
  SetTimer(window, FeedTimer, FeedPollMs, nullptr);
  Poll(window);
}

// Every control placed for a client area W x H, and drawn again: a control
// moved over a part of the window not yet drawn anew would otherwise show
// half drawn until something passes over it.
void ProgressLayout(HWND window, int W, int H) {
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(8 + BelowLabel));
  Place(BarSlot, Scaled(8), H - Scaled(BelowLabel - 8), W - Scaled(16), Scaled(BarHeight));
  Place(CancelSlot, W - Scaled(108), H - Scaled(32), Scaled(100), Scaled(24));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Cancel and Escape only: there is nothing to accept.
DialogAnswer ProgressCommand(HWND, int id, int) {
  bool cancel = id == CmdCancel || id == ControlIdBase + CancelSlot;
  return cancel && !Feed.ended ? CancelAnswer : NoAnswer;
}

// The looks at the feed and the reads done.
bool ProgressMessage(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message == WM_TIMER && wParam == FeedTimer)
    Poll(window);
  else if (message == FeedReadMessage)
    ReadDone(window);
  else
    return false;
  *result = 0;
  return true;
}

// The feed keeps the time limit: it counts from the last line.
constexpr DialogKind ProgressWindow = {90,      ProgressCreate, ProgressLayout,  ProgressCommand,
                                       nullptr, nullptr,        ProgressMessage, StopFollowing,
                                       true};

// --- Boxes after the window ---

// Closes a message box as its Ok button does.
BOOL CALLBACK CloseBox(HWND box, LPARAM) {
  char name[16] = "";
  GetClassNameA(box, name, sizeof name);
  if (lstrcmpA(name, "#32770") == 0) PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return TRUE;
}

// Waits for the batch file's cmd.exe to end, then closes every message box
// of the tool's window thread, as the window ends with it: a box shown at
// the end (a result that cannot be written) has nobody left to read it.
DWORD WINAPI CloseBoxesAtShellEnd(void* thread) {
  WaitForSingleObject(Feed.shell, INFINITE);
  EnumThreadWindows(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(thread)), CloseBox, 0);
  return 0;
}

// The tool's window thread, which shows the boxes, given to a thread.
void* ThisThread() { return reinterpret_cast<void*>(static_cast<UINT_PTR>(GetCurrentThreadId())); }

}  // namespace

void RunProgressDialog() {
  Feed = Follower{};
  Feed.label = Dialog.prompt;
  // Looked for before anything else, while Wine's start may still be there.
  std::string why;
  Feed.shell = static_cast<HANDLE>(FindBatchShell(&why));
  if (!Feed.shell && DebugLevel > 0) Log("The window stays until Cancel: %s", why.c_str());
  // Kept open to the tool's end: the box closer waits on it.
  if (Feed.shell) {
    HANDLE closer = CreateThread(nullptr, 0, CloseBoxesAtShellEnd, ThisThread(), 0, nullptr);
    if (closer) CloseHandle(closer);
  }
  if (lstrcmpA(Dialog.feed, "-") == 0) {
    Feed.input = true;
    if (!OpenFeedInput()) FatalError("No standard input to read the progress from.");
  } else {
    // What cannot be a feed is refused before the window waits: a device
    // by its name, a folder on a local disk. On a network share only the
    // reader looks (a look may wait on the network), and a folder found
    // there ends the window the same way.
    std::string full = FullFeedPath();
    FeedPlace place = PlaceOf(full);
    if (place == DeviceFeed) NotAFeed("a device");
    if (place == LocalFeed) {
      DWORD attributes = GetFileAttributesA(full.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        NotAFeed("a folder");
      Feed.folder = FolderOf(full);
    }
  }
  RunDialog(ProgressWindow);
}

bool ResultWritable(const char* path) {
  DWORD size = GetFullPathNameA(path, 0, nullptr, nullptr);
  std::string full(size, '\0');
  DWORD length = size ? GetFullPathNameA(path, size, full.data(), nullptr) : 0;
  if (!length || length >= size) return false;
  full.resize(length);
  // A device (NUL) takes what is written.
  if (full.rfind("\\\\.\\", 0) == 0) return true;
  // A result file there already must open for writing; it is left as it is.
  HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return true;
  }
  if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  // Else its folder must take a new file: one of a name of its own, gone
  // again when closed.
  std::string folder = full.substr(0, full.find_last_of('\\') + 1);
  for (int attempt = 0; attempt < 16; attempt++) {
    std::string scratch = folder + "~ask" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(GetTickCount() + attempt) + ".tmp";
    HANDLE made = CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (made != INVALID_HANDLE_VALUE) {
      CloseHandle(made);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}
