// The kit ask's dialog windows are built with on Windows (kit.cpp), shared
// by the dialogs, one file each: controls with one look, scaling with the
// screen's DPI, the sizing of the prompt, the keys, the time limit, and the
// window class, procedure and message loop every dialog runs in, told by a
// record of what is the dialog's own (DialogKind). Sizes passed to the kit
// are pixels at 96 DPI unless a routine says otherwise.
#pragma once

#include <windows.h>

#include "dialogs.h"

// --- The window's parts ---

// Control ids are ControlIdBase + slot: label, field or list, left and
// right button; the buttons dialog's buttons take the slots from
// LeftButtonSlot on.
constexpr int ControlIdBase = 4000;
constexpr int LabelSlot = 0;
constexpr int FieldSlot = 1;
constexpr int LeftButtonSlot = 2;
constexpr int RightButtonSlot = 3;
constexpr int MaxSlots = 8;

// Commands the text field posts for Enter and Escape.
constexpr int CmdAccept = 301;
constexpr int CmdCancel = 302;

// What the Windows layer keeps of the one dialog shown, beside its
// request and answer in Dialog.
struct DialogWindow {
  HWND controls[MaxSlots];  // by slot
  int minWidth;             // client size limits for dragging, pixels at 96 DPI
  int minHeight;
  int maxWidth;
  int maxHeight;
  int timeoutSlot;  // the button the time limit presses
};
extern DialogWindow Shown;

// --- Controls ---

// The control in a slot of the dialog's state.
HWND ControlAt(int slot);

// A child control of any class with the dialog's font and the id
// ControlIdBase + slot, in pixels at the dialog's DPI.
HWND CreateControl(DWORD exStyle, const char* className, const char* text, DWORD style, HWND parent,
                   int slot, int x, int y, int width, int height);

// Child controls with the dialog's font and the id ControlIdBase + slot;
// positions and sizes in pixels at the dialog's DPI. A failed creation is
// not reported.
HWND CreateLabel(HWND parent, int slot, int x, int y, int width, int height, const char* text);
HWND CreateButton(HWND parent, int slot, int x, int y, int width, int height, DWORD extraStyle,
                  const char* caption);
HWND CreateEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text);
// The text field: CreateEdit (masked when Dialog.hidden) that takes Enter
// and Escape as commands.
HWND CreateInputEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text);
HWND CreateMultiEdit(HWND parent, int slot, int x, int y, int width, int height, const char* text);
// A list box, sorted while SortLists is set.
HWND CreateListBox(HWND parent, int slot, int x, int y, int width, int height);
// The label at the top left with the prompt, fitted to it (word-wrapped
// at 300 pixels); its height in pixels at 96 DPI.
int CreatePrompt(HWND window);

// The left and right buttons (Dialog.leftLabel, the default
// Dialog.rightLabel) at y, 100 x 24 each, in the slots of their names.
void CreateButtonPair(HWND window, int y);

// Moves those two buttons to the bottom corners of a client area W x H
// (pixels at the dialog's DPI).
void PlaceButtonPair(int W, int H);

// A control of one of the common controls' classes (comctl32, loaded at
// the first call with the classes named by the ICC_ flags).
HWND CreateCommonControl(HWND parent, int slot, const char* className, DWORD style, DWORD classes,
                         int x, int y, int width, int height);

// Installs InputEditProc on a control: Enter and Escape become the
// commands CmdAccept and CmdCancel to its parent. One control at a time.
// Running out of memory in it ends the tool with "Out of memory".
void TakeEnterAndEscape(HWND control);
LRESULT CALLBACK InputEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A message of a control's procedure that a dialog installed over the
// control's own (saved), handled by handle with the kit's guard: running
// out of memory in it ends the tool with "Out of memory", as in the
// dialogs' procedure; once it has, saved alone handles the messages.
LRESULT GuardedControlMessage(WNDPROC handle, WNDPROC saved, HWND control, UINT message,
                              WPARAM wParam, LPARAM lParam);

// --- Scaling ---

// The DPI of a window's screen.
int WindowDpi(HWND window);

// Lays the dialog out for a DPI: the font every control is made with.
void UseDpi(int dpi);

// A size at 96 DPI in pixels at the dialog's DPI.
int Scaled(int value);

// --- Sizing ---

// The size of text word-wrapped at the label's width, as the label draws
// it, in pixels at 96 DPI.
void MeasureLabelText(HWND label, const char* text, int* width, int* height);

// MeasureLabelText, then moves the label to x, y with that size and shows
// it. Returns 0.
int FitLabel(HWND label, int x, int y, int* width, int* height, const char* text);

// Gives the window the outer size of that client size, keeping its top
// left corner, and shows it. Returns 0.
int FitWindow(HWND window, int clientWidth, int clientHeight);

// The number of line feeds in text.
int CountLines(const char* text);

// The width of one line of text in the dialog's font, in pixels at 96 DPI.
int TextWidth(HWND window, const char* text);

// The height of a line of text in the dialog's font, in pixels at the
// dialog's DPI.
int LineHeight(HWND window);

// --- Lists ---

// Adds the given column of every row of the table to the list, each entry
// remembering its row (LB_GETITEMDATA); returns the number of rows.
int FillListBox(HWND list, const CsvTable* table, int column);

// Moves the control of a slot; in pixels at the dialog's DPI.
void Place(int slot, int x, int y, int width, int height);

// --- Running a dialog ---

// What a command of the window means to the dialog.
enum DialogAnswer { NoAnswer, AcceptAnswer, CancelAnswer };

// One kind of dialog: what is its own, around the run every dialog shares
// (the prompt, the size limits, the time limit, the keys, the end). Each
// dialog writes its record with the parts in this order; a routine left
// null does nothing.
struct DialogKind {
  int smallestHeight = 0;  // the smallest client height, pixels at 96 DPI
  // Makes the controls below the prompt, whose height (pixels at 96 DPI)
  // is given, fits the window and gives the focus.
  void (*create)(HWND window, int promptHeight) = nullptr;
  // Places the controls for a client area W x H, pixels at the dialog's
  // DPI; the kit shows them after.
  void (*layout)(HWND window, int W, int H) = nullptr;
  // What a command means; null: the button pair's (Enter and the right
  // button accept, Escape and the left button cancel).
  DialogAnswer (*command)(HWND window, int id, int code) = nullptr;
  // Reads the answer into Dialog on Accept.
  void (*accept)(HWND window) = nullptr;
  // Leaves the answer of a Cancel in Dialog.
  void (*cancel)() = nullptr;
  // A message the dialog handles before the kit; true with its result
  // when it did.
  bool (*message)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT* result) = nullptr;
  // Runs as the window ends.
  void (*ending)(HWND window) = nullptr;
  bool ownTimeLimit = false;  // the dialog keeps Dialog.timeout itself; else the default button
                              // presses itself when it runs out
};

// What a command means to a dialog with the button pair: Enter and the
// right button accept, Escape and the left button cancel.
DialogAnswer PairAnswer(int id);

// Ends the dialog: the kind's ending, then the window is destroyed, which
// ends the loop of RunDialog. Called while the window is being made, the
// window is destroyed as soon as that is done.
void FinishDialog(HWND window);

// Registers the window class, creates the window of a kind of dialog,
// shows it and runs the message loop until the dialog ends: Dialog.accepted
// is 0 until an Accept sets it. The window may be dragged from 316 pixels
// wide and the kind's smallest height (at 96 DPI) up to 800 x 1024. Tab and Shift+Tab move the
// focus round the controls that take it, in the order they were made; a focused button takes Enter
// as a press, elsewhere Enter is CmdAccept; Escape is CmdCancel; the arrows move along the buttons.
// A key or a click stops the time limit. The procedure runs guarded: running out of memory in it
// (std::bad_alloc) ends the tool with the frame's "Out of memory", as
// InputEditProc does.
void RunDialog(const DialogKind& kind);

// Makes the message loop of RunDialog wait on a handle too: each time it
// is signalled, the loop calls signalled with the dialog's window, which
// must reset it (or watch another). Null: none. One handle at a time; any
// routine of the dialog may change it.
void WatchInLoop(HANDLE handle, void (*signalled)(HWND window));
