// Runs a wizard batch file through cmd.exe and answers its pages as a
// person would: a name, a colour from the list, a note, and Ok on the
// closing message. Once each page is filled in, and before it is answered,
// a picture of it is saved as NAME.bmp in the output folder; at the end the
// batch file's exit status is printed.
//
//   try_wizard wizard.bat output-folder
//
// The tools come from this build's folder, put first on the PATH that
// cmd.exe sees, and TEMP points at a scratch folder, where the wizard keeps
// its answer file. Every wait is bounded: when a page does not come, the
// batch file and everything it started are killed and the program ends
// with status 1, naming the page.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "driver.h"
#include "e2e_config.h"

namespace {

// Controls of ask's dialogs: the prompt, the field and the two buttons.
constexpr int LabelId = 4000, FieldId = 4001, RightId = 4003;

// What the pages are answered with.
constexpr const char* Name = "Ada";
constexpr const char* Colour = "Green";
constexpr const char* Note = "For the hall";

// Each process's parent, from a snapshot of all processes.
std::map<DWORD, DWORD> ParentIds() {
  std::map<DWORD, DWORD> parents;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return parents;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    parents[entry.th32ProcessID] = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parents;
}

// Whether pid is root or was started, directly or not, by root. The walk
// is bounded, since a reused id could make the chain a loop.
bool DescendsFrom(DWORD pid, DWORD root, const std::map<DWORD, DWORD>& parents) {
  for (int depth = 0; depth < 32 && pid != 0; depth++) {
    if (pid == root) return true;
    auto parent = parents.find(pid);
    if (parent == parents.end()) return false;
    pid = parent->second;
  }
  return false;
}

// The pages are windows of ask and say, which cmd.exe starts: a window
// counts when its process descends from the batch file's cmd.exe, so that
// windows of other programs on the same Wine server are never taken.
struct PageSearch {
  DWORD root;
  const char* className;
  std::map<DWORD, DWORD> parents;
  HWND found;
};

BOOL CALLBACK FindPageWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<PageSearch*>(param);
  if (!IsWindowVisible(window) || ClassOf(window) != search->className) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (!DescendsFrom(pid, search->root, search->parents)) return TRUE;
  search->found = window;
  return FALSE;
}

// The first visible window of that class started by the batch file, or
// null after limitMs or as soon as the batch file has ended.
HWND WaitForPage(const Child& batch, const char* className, DWORD limitMs = WaitLimitMs) {
  DWORD start = GetTickCount();
  for (;;) {
    PageSearch search{batch.pid, className, ParentIds(), nullptr};
    EnumWindows(FindPageWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      // Answered once the window's thread waits in its message loop, that
      // is, once the window is built and laid out.
      SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, nullptr);
      return search.found;
    }
    if (WaitForSingleObject(batch.process, 0) == WAIT_OBJECT_0) return nullptr;
    if (GetTickCount() - start > limitMs) return nullptr;
    Sleep(50);
  }
}

// Kills every process the batch file started, then cmd.exe itself. The
// descendants are found first, while cmd.exe still heads their chain.
// Nothing is done once cmd.exe has ended and been waited for: Wine reuses
// process ids, so its id may by then stand for another program.
void KillBatch(Child* batch) {
  if (!batch->process) return;
  std::map<DWORD, DWORD> parents = ParentIds();
  for (const auto& [pid, parent] : parents) {
    if (pid == batch->pid || !DescendsFrom(pid, batch->pid, parents)) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
      TerminateProcess(process, KilledStatus);
      CloseHandle(process);
    }
  }
  Kill(batch);
}

// Saves what the screen shows inside the window's rectangle as a 24-bit
// BMP file. The window is made the active one first, as a window that a
// batch file just opened is on Windows, so that its title bar is drawn as
// the one in use; then it is repainted, and given a moment to reach the
// display, so that what was just typed or chosen is in the picture.
bool SavePicture(HWND window, const std::string& path) {
  SetForegroundWindow(window);
  WaitUntil([&] { return GetForegroundWindow() == window; }, 2000);
  SendMessageTimeoutA(window, WM_NCACTIVATE, TRUE, 0, SMTO_NORMAL, 2000, nullptr);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(400);
  RECT r = RectOf(window);
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // positive: rows run from the bottom up, as BMP files keep them
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                       reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  bool written = fwrite(&file, sizeof file, 1, out) == 1 &&
                 fwrite(&header, sizeof header, 1, out) == 1 &&
                 fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return fclose(out) == 0 && written;
}

class WizardRun {
 public:
  explicit WizardRun(const std::string& pictures) : pictures_(pictures) {}
  ~WizardRun() {
    KillBatch(&batch_);
    if (!scratch_.empty()) RemoveFolder(scratch_);
  }

  bool Start(const std::string& batchFile) {
    scratch_ = NewScratchFolder();
    char path[32767] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    char shell[MAX_PATH] = "cmd.exe";
    GetEnvironmentVariableA("ComSpec", shell, sizeof shell);
    LaunchOptions options;
    options.workDir = scratch_;
    options.set = {
        {"PATH", std::string(TOOLS_DIR) + ";" + path}, {"TEMP", scratch_}, {"TMP", scratch_}};
    std::string command = std::string("\"") + shell + "\" /c \"" + batchFile + "\"";
    if (Launch(&batch_, command, options)) return true;
    printf("try: could not start %s (error %lu)\n", command.c_str(), GetLastError());
    return false;
  }

  // Waits for the page's window; null (and a message naming the page) when
  // it does not come or the batch file ends first.
  HWND Page(const char* name, const char* className) {
    HWND window = WaitForPage(batch_, className);
    if (window) return window;
    if (WaitForSingleObject(batch_.process, 0) == WAIT_OBJECT_0) {
      printf("try: the batch file ended before page %s came, with exit status %d\n", name,
             WaitForExit(&batch_));
    } else {
      printf("try: page %s did not come within %lu seconds; stopping the batch file\n", name,
             WaitLimitMs / 1000);
    }
    return nullptr;
  }

  // Saves the page's picture, presses the button and waits until the page
  // has gone, so that the next page is not mistaken for this one.
  bool Answer(const char* name, HWND window, int button, const std::string& shown) {
    std::string picture = JoinPath(pictures_, std::string(name) + ".bmp");
    if (!SavePicture(window, picture)) {
      printf("try: could not save the picture of page %s as %s\n", name, picture.c_str());
      return false;
    }
    std::string pressed = TextOf(GetDlgItem(window, button));
    printf("%-9s %s  [%s; pressed %s]\n", name, TextOf(GetDlgItem(window, LabelId)).c_str(),
           shown.c_str(), pressed.c_str());
    if (!PressButton(window, button)) {
      printf("try: page %s has no button %d\n", name, button);
      return false;
    }
    WaitUntilGone(batch_, window);
    if (IsWindow(window) && IsWindowVisible(window)) {
      printf("try: page %s stayed open after %s was pressed\n", name, pressed.c_str());
      return false;
    }
    return true;
  }

  // A text page: types the answer into the field.
  bool TextPage(const char* name, const std::string& answer) {
    HWND window = Page(name, DialogClass);
    if (!window) return false;
    HWND field = GetDlgItem(window, FieldId);
    if (_stricmp(ClassOf(field).c_str(), "Edit") != 0) {
      printf("try: page %s shows no text field\n", name);
      return false;
    }
    SendChars(field, answer);
    return Answer(name, window, RightId, "typed " + answer);
  }

  // A list page: chooses the entry shown as answer.
  bool ListPage(const char* name, const std::string& answer) {
    HWND window = Page(name, DialogClass);
    if (!window) return false;
    HWND list = GetDlgItem(window, FieldId);
    std::vector<std::string> entries;
    if (_stricmp(ClassOf(list).c_str(), "ListBox") == 0) entries = ListBoxEntries(list);
    int position = -1;
    for (size_t i = 0; i < entries.size(); i++)
      if (entries[i] == answer) position = static_cast<int>(i);
    if (position < 0) {
      printf("try: page %s has no list entry \"%s\"\n", name, answer.c_str());
      return false;
    }
    SendMessageA(list, LB_SETCURSEL, position, 0);
    return Answer(name, window, RightId, "chose " + answer);
  }

  // The closing message box: pressed Ok.
  bool MessagePage(const char* name) {
    HWND box = Page(name, MessageBoxClass);
    if (!box) return false;
    std::string picture = JoinPath(pictures_, std::string(name) + ".bmp");
    if (!SavePicture(box, picture)) {
      printf("try: could not save the picture of page %s as %s\n", name, picture.c_str());
      return false;
    }
    printf("%-9s %s  [title %s; pressed OK]\n", name, MessageBoxText(box).c_str(),
           TextOf(box).c_str());
    if (!PressButton(box, IDOK)) {
      printf("try: page %s has no OK button\n", name);
      return false;
    }
    return true;
  }

  // The batch file's exit status, or KilledStatus when it had to be killed.
  int Finish() { return WaitForExit(&batch_); }

 private:
  std::string pictures_;
  std::string scratch_;
  Child batch_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    printf("usage: try_wizard wizard.bat output-folder\n");
    return 2;
  }
  // Lines reach the calling script at once, even through a pipe.
  setvbuf(stdout, nullptr, _IONBF, 0);
  WizardRun run(argv[2]);
  if (!run.Start(argv[1])) return 1;
  if (!run.TextPage("1-name", Name) || !run.ListPage("2-colour", Colour) ||
      !run.TextPage("3-note", Note) || !run.MessagePage("4-thanks"))
    return 1;
  int status = run.Finish();
  if (status == KilledStatus) {
    printf("try: the batch file did not end within %lu seconds after the last page\n",
           WaitLimitMs / 1000);
    return 1;
  }
  printf("the batch file ended with exit status %d\n", status);
  return status == 0 ? 0 : 1;
}
