#include "driver.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "e2e_config.h"

namespace {

bool SameNameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && _strnicmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The current environment with the options applied, as a block of
// "name=value" texts, each ended by a zero byte, with a final zero byte.
std::string BuildEnvironment(const LaunchOptions& options) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* p = strings; *p; p += strlen(p) + 1) {
    std::string entry = p;
    size_t eq = entry.find('=', 1);  // names like "=C:" begin with '='
    std::string name = entry.substr(0, eq);
    bool drop = false;
    for (const std::string& u : options.unset) drop = drop || SameNameNoCase(u, name);
    for (const auto& s : options.set) drop = drop || SameNameNoCase(s.first, name);
    if (!drop) block += entry + '\0';
  }
  FreeEnvironmentStringsA(strings);
  for (const auto& s : options.set) block += s.first + "=" + s.second + '\0';
  block += '\0';
  return block;
}

struct FindRequest {
  DWORD pid;
  const char* className;  // null: any class
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  FindRequest* request = reinterpret_cast<FindRequest*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != request->pid || !IsWindowVisible(window)) return TRUE;
  if (request->className && ClassOf(window) != request->className) return TRUE;
  request->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectButton(HWND control, LPARAM param) {
  auto* buttons = reinterpret_cast<std::vector<ButtonInfo>*>(param);
  if (_stricmp(ClassOf(control).c_str(), "Button") == 0)
    buttons->push_back({GetDlgCtrlID(control), TextOf(control)});
  return TRUE;
}

std::string IconByColour(HWND box) {
  HWND icon = GetDlgItem(box, MessageBoxIconId);
  if (!icon || !IsWindowVisible(icon)) return "none";
  // A box without an icon may still keep its icon control visible, where
  // the colours of the controls drawn around it (the version 6 controls'
  // blue focus frame) would be taken for one.
  if (!SendMessageA(icon, STM_GETICON, 0, 0)) return "none";
  RECT r;
  GetWindowRect(icon, &r);
  return IconOfColours(r);
}

}  // namespace

std::string IconOfColours(const RECT& r) {
  HDC screen = GetDC(nullptr);
  int red = 0, yellow = 0, blue = 0;
  for (int y = r.top; y < r.bottom; y++) {
    for (int x = r.left; x < r.right; x++) {
      COLORREF c = GetPixel(screen, x, y);
      int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
      if (R > 170 && G > 140 && B < 110)
        yellow++;
      else if (R > 150 && G < 100 && B < 100)
        red++;
      else if (B > 150 && R < 120)
        blue++;
    }
  }
  ReleaseDC(nullptr, screen);
  const int enough = 20;
  if (red < enough && yellow < enough && blue < enough) return "none";
  if (yellow >= red && yellow >= blue) return "warning";
  if (red >= blue) return "error";
  return "information";
}

// --- Programs ---

std::string ToolPath(const char* name) {
  char set[16] = "";
  GetEnvironmentVariableA("QUIL_TOOL_SET", set, sizeof set);
  if (strcmp(set, "utf8") == 0) return Utf8ToolPath(name);
  return std::string(TOOLS_DIR) + "\\" + name + ".exe";
}

std::string Utf8ToolPath(const char* name) {
  return std::string(TOOLS_DIR) + "\\utf8\\" + name + ".exe";
}

bool Launch(Child* child, const std::string& commandLine, const LaunchOptions& options) {
  std::string environment = BuildEnvironment(options);
  std::string line = commandLine;  // CreateProcessA may write into it
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  HANDLE input = nullptr;
  if (!options.input.empty()) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    input = CreateFileA(options.input.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited,
                        OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) return false;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
  }
  HANDLE errors = nullptr;
  if (!options.errors.empty()) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    errors = CreateFileA(options.errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                         CREATE_ALWAYS, 0, nullptr);
    if (errors == INVALID_HANDLE_VALUE) return false;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = errors;
  }
  PROCESS_INFORMATION info = {};
  BOOL started = CreateProcessA(
      nullptr, line.data(), nullptr, nullptr, input || errors, 0, environment.data(),
      options.workDir.empty() ? nullptr : options.workDir.c_str(), &startup, &info);
  if (input) CloseHandle(input);
  if (errors) CloseHandle(errors);
  if (!started) return false;
  CloseHandle(info.hThread);
  child->process = info.hProcess;
  child->pid = info.dwProcessId;
  return true;
}

int WaitForExit(Child* child, DWORD limitMs) {
  if (!child->process) return KilledStatus;
  if (WaitForSingleObject(child->process, limitMs) != WAIT_OBJECT_0) {
    Kill(child);
    return KilledStatus;
  }
  DWORD code = 0;
  GetExitCodeProcess(child->process, &code);
  CloseHandle(child->process);
  child->process = nullptr;
  return static_cast<int>(code);
}

void Kill(Child* child) {
  if (!child->process) return;
  TerminateProcess(child->process, KilledStatus);
  WaitForSingleObject(child->process, 5000);
  CloseHandle(child->process);
  child->process = nullptr;
}

// --- Windows ---

std::vector<HWND> WindowsOf(const Child& child) {
  FindRequest request{child.pid, nullptr, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&request));
  return request.found;
}

HWND WaitForWindow(const Child& child, const char* className, DWORD limitMs) {
  DWORD start = GetTickCount();
  for (;;) {
    FindRequest request{child.pid, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&request));
    if (!request.found.empty()) {
      // A message sent to the window is handled only once its thread waits
      // in its message loop: then the window is built and laid out.
      SendMessageTimeoutA(request.found.front(), WM_NULL, 0, 0, SMTO_NORMAL, limitMs, nullptr);
      return request.found.front();
    }
    if (!child.process || WaitForSingleObject(child.process, 0) == WAIT_OBJECT_0) return nullptr;
    if (GetTickCount() - start > limitMs) return nullptr;
    Sleep(20);
  }
}

void WaitUntilGone(const Child& child, HWND window, DWORD limitMs) {
  DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window) && GetTickCount() - start < limitMs) {
    if (!child.process || WaitForSingleObject(child.process, 10) == WAIT_OBJECT_0) return;
  }
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  // WM_GETTEXT is marshalled between processes; GetWindowTextA would not
  // ask another process's control for its text.
  LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got =
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  return text;
}

std::string MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, MessageBoxTextId);
  return text ? TextOf(text) : "<no text control>";
}

std::vector<ButtonInfo> ButtonsOf(HWND window) {
  std::vector<ButtonInfo> buttons;
  EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&buttons));
  return buttons;
}

namespace {

struct ButtonSearch {
  HWND parent;
  int id;
  HWND found;
};

BOOL CALLBACK FindButton(HWND control, LPARAM param) {
  auto* search = reinterpret_cast<ButtonSearch*>(param);
  if (GetParent(control) == search->parent && GetDlgCtrlID(control) == search->id &&
      _stricmp(ClassOf(control).c_str(), "Button") == 0) {
    search->found = control;
    return FALSE;
  }
  return TRUE;
}

struct ClassSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK FindByClass(HWND control, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (_stricmp(ClassOf(control).c_str(), search->className) == 0) {
    search->found = control;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool PressButton(HWND window, int id) {
  // Other controls may share a button's id (a file dialog's toolbar does),
  // so only a button that is a direct child counts.
  ButtonSearch search{window, id, nullptr};
  EnumChildWindows(window, FindButton, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  SendMessageA(search.found, BM_CLICK, 0, 0);
  return true;
}

HWND FindChild(HWND window, const char* className) {
  ClassSearch search{className, nullptr};
  EnumChildWindows(window, FindByClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

struct TextSearch {
  const char* className;
  std::vector<std::string> texts;
};

BOOL CALLBACK CollectText(HWND control, LPARAM param) {
  auto* search = reinterpret_cast<TextSearch*>(param);
  if (_stricmp(ClassOf(control).c_str(), search->className) == 0)
    search->texts.push_back(TextOf(control));
  return TRUE;
}

}  // namespace

std::vector<std::string> ChildTexts(HWND window, const char* className) {
  TextSearch search{className, {}};
  EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&search));
  return search.texts;
}

namespace {

// The entries of a list box in another process, converted to the code page.
std::vector<std::string> ListBoxEntriesIn(HWND list, UINT codePage) {
  std::vector<std::string> entries;
  LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; i++) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::wstring wide(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(got < 0 ? 0 : static_cast<size_t>(got));
    int n = WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(codePage, 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
    text.resize(strlen(text.c_str()));
    entries.push_back(text);
  }
  return entries;
}

}  // namespace

std::vector<std::string> ListBoxEntries(HWND list) { return ListBoxEntriesIn(list, CP_ACP); }

// --- Text in any language ---

std::string Utf8Of(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), n,
                        nullptr, nullptr);
  return text;
}

std::wstring WideOf(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8TextOf(HWND window) {
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring wide(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
  LRESULT got =
      SendMessageW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return Utf8Of(wide);
}

std::vector<std::string> Utf8ListBoxEntries(HWND list) { return ListBoxEntriesIn(list, CP_UTF8); }

void TypeWide(HWND control, const std::string& utf8) {
  for (wchar_t unit : WideOf(utf8)) PostMessageW(control, WM_CHAR, unit, 1);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs) {
  for (DWORD start = GetTickCount();; Sleep(20)) {
    if (condition()) return true;
    if (GetTickCount() - start > limitMs) return false;
  }
}

void SendChars(HWND control, const std::string& text) {
  for (char c : text) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

RECT RectOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

void SetText(HWND control, const std::string& text) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressKey(HWND window, WPARAM key) {
  // Keys go to the control that has the focus in the window's thread, as
  // they would from the keyboard.
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  HWND target = window;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus)
    target = info.hwndFocus;
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void CloseWindowNow(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

std::string MessageBoxIcon(HWND box) {
  // The box may not be painted yet when it first shows: look again a few
  // times before deciding that it has no icon.
  std::string icon;
  for (int i = 0; i < 10; i++) {
    icon = IconByColour(box);
    if (icon != "none") break;
    Sleep(100);
  }
  return icon;
}

// --- Registry ---

RegistryOverride::RegistryOverride(HKEY root, const std::string& key, const std::string& name,
                                   DWORD type, const std::string& data)
    : root_(root), key_(key), name_(name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
    DWORD size = 0;
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &oldType_, nullptr, &size) ==
        ERROR_SUCCESS) {
      oldData_.resize(size);
      had_ = RegQueryValueExA(handle, name.c_str(), nullptr, &oldType_,
                              reinterpret_cast<BYTE*>(oldData_.data()), &size) == ERROR_SUCCESS;
      oldData_.resize(size);
    }
    RegCloseKey(handle);
  } else {
    createdKey_ = true;
  }
  DWORD disposition = 0;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      &disposition) != ERROR_SUCCESS)
    return;
  ok_ = RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  RegCloseKey(handle);
}

RegistryOverride::~RegistryOverride() {
  if (createdKey_) {
    RegDeleteTreeA(root_, key_.c_str());
    return;
  }
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_WRITE, &handle) != ERROR_SUCCESS) return;
  if (had_) {
    RegSetValueExA(handle, name_.c_str(), 0, oldType_,
                   reinterpret_cast<const BYTE*>(oldData_.data()),
                   static_cast<DWORD>(oldData_.size()));
  } else {
    RegDeleteValueA(handle, name_.c_str());
  }
  RegCloseKey(handle);
}

std::string DwordData(DWORD value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// --- Files ---

std::string NewScratchFolder() {
  // Wine reuses process ids between runs, so the name also carries the
  // time, and a folder that already exists is never taken.
  static unsigned counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  for (;;) {
    std::string folder = std::string(temp) + "quil-e2e-" + std::to_string(GetCurrentProcessId()) +
                         "-" + std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return folder;  // the test will fail on use
  }
}

void RemoveFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}
