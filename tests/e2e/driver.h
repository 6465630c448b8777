// A small driver for end-to-end tests: starts a program with an exact
// command line, working folder and environment, finds its top-level
// windows, reads and presses their controls, and collects the exit status.
// Every wait is bounded; a program still running at the end is killed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// How long a window or an exit may take before the test fails.
constexpr DWORD WaitLimitMs = 20000;

// Exit status reported when a program had to be killed.
constexpr int KilledStatus = 0x7FFFDEAD;

// Window classes of a message box and of ask's own dialogs.
constexpr const char* MessageBoxClass = "#32770";
constexpr const char* DialogClass = "Gui application";

// Control ids inside a message box: its text and (under Wine) its icon.
constexpr int MessageBoxTextId = 0xFFFF;
constexpr int MessageBoxIconId = 0x440;

struct LaunchOptions {
  std::string workDir;                                   // empty: inherit
  std::vector<std::string> unset;                        // variables removed
  std::vector<std::pair<std::string, std::string>> set;  // set or replaced
  std::string input;                                     // a file as standard input; empty: none
  std::string errors;  // a file made for standard error; empty: none
};

struct Child {
  HANDLE process = nullptr;
  DWORD pid = 0;
};

struct ButtonInfo {
  int id;
  std::string text;
  bool operator==(const ButtonInfo&) const = default;
};

// --- Programs ---

// Full Windows path of a tool under test, as in ToolPath("say"): of the
// ANSI set, or of the UTF-8 set when the environment variable
// QUIL_TOOL_SET is "utf8" (the suites run once for each set).
std::string ToolPath(const char* name);

// The same in the UTF-8 set, whatever QUIL_TOOL_SET says.
std::string Utf8ToolPath(const char* name);

// Starts commandLine exactly as given; false (and nothing running) when
// CreateProcessA fails.
bool Launch(Child* child, const std::string& commandLine, const LaunchOptions& options = {});

// Waits for the exit and returns the status; after WaitLimitMs the program
// is killed and KilledStatus returned.
int WaitForExit(Child* child, DWORD limitMs = WaitLimitMs);

// Kills the program if it still runs and closes its handle.
void Kill(Child* child);

// --- Windows ---

// The first visible top-level window of that class owned by the child, or
// null after limitMs (or as soon as the child has ended).
HWND WaitForWindow(const Child& child, const char* className, DWORD limitMs = WaitLimitMs);

// Waits (at most limitMs) until the window is gone or hidden, or the child
// has ended, so that the next wait does not find it again.
void WaitUntilGone(const Child& child, HWND window, DWORD limitMs = WaitLimitMs);

// All visible top-level windows owned by the child.
std::vector<HWND> WindowsOf(const Child& child);

std::string ClassOf(HWND window);
std::string TextOf(HWND window);

// The text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND box);

// The buttons of a window, in z-order, with ids and captions.
std::vector<ButtonInfo> ButtonsOf(HWND window);

// Presses a button (a direct child) by id with BM_CLICK; false when there
// is no such button.
bool PressButton(HWND window, int id);

// The first descendant control of that class, or null.
HWND FindChild(HWND window, const char* className);

// The texts of all descendant controls of that class.
std::vector<std::string> ChildTexts(HWND window, const char* className);

// The entries of a list box in another process (read with the wide call,
// which Wine marshals between processes).
std::vector<std::string> ListBoxEntries(HWND list);

// --- Text in any language ---

// UTF-8 and UTF-16, converted both ways.
std::string Utf8Of(const std::wstring& wide);
std::wstring WideOf(const std::string& utf8);

// A window's text as drawn (read with the wide call), in UTF-8.
std::string Utf8TextOf(HWND window);

// The entries of a list box as drawn, in UTF-8.
std::vector<std::string> Utf8ListBoxEntries(HWND list);

// Posts the UTF-16 units of a UTF-8 text as wide WM_CHAR messages, as
// typing does: they pass the program's message loop, in order with other
// posted keys. (A message sent afterwards may be handled before them; see
// WaitUntil.)
void TypeWide(HWND control, const std::string& utf8);

// Waits (at most limitMs) until the condition holds; whether it did.
bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs = WaitLimitMs);

// Sends one WM_CHAR per character and waits for each to be handled.
void SendChars(HWND control, const std::string& text);

// A window's outer rectangle in screen coordinates.
RECT RectOf(HWND window);

// Sets a control's text (WM_SETTEXT).
void SetText(HWND control, const std::string& text);

// A key press (WM_KEYDOWN, WM_KEYUP) for the control with the focus in the
// window's thread, or the window itself.
void PressKey(HWND window, WPARAM key);

// The control that has the focus in the window's thread.
HWND FocusOf(HWND window);

// Asks the window to close, as its close box does.
void CloseWindowNow(HWND window);

// Which icon a message box shows, told by the colour of its icon area:
// "none", "information", "warning", "error", or "unknown".
std::string MessageBoxIcon(HWND box);

// Which of those icons the screen shows in a rectangle, told by its colours.
std::string IconOfColours(const RECT& r);

// --- Registry ---

// Sets a registry value for the life of the object and then puts back what
// was there before (or removes it). An empty value name is the key's
// default value.
class RegistryOverride {
 public:
  RegistryOverride(HKEY root, const std::string& key, const std::string& name, DWORD type,
                   const std::string& data);
  ~RegistryOverride();
  RegistryOverride(const RegistryOverride&) = delete;
  RegistryOverride& operator=(const RegistryOverride&) = delete;
  bool ok() const { return ok_; }

 private:
  HKEY root_;
  std::string key_, name_;
  bool ok_ = false, had_ = false, createdKey_ = false;
  DWORD oldType_ = 0;
  std::string oldData_;
};

// The data of a DWORD value.
std::string DwordData(DWORD value);

// --- Files ---

// A new empty folder for one test, under the Windows temporary folder.
std::string NewScratchFolder();

// Removes a folder and everything in it, ignoring failures.
void RemoveFolder(const std::string& folder);

std::string JoinPath(const std::string& folder, const std::string& name);

// The file's exact bytes; "<missing>" when it cannot be opened.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
