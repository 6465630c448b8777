// The kit ask's dialog windows are built with on Windows (kit.cpp), shared
// by the dialogs, one file each: controls with one look, scaling with the
// screen's DPI, the sizing of the prompt, the keys, the time limit, and the
// window class and message loop every dialog runs in. Sizes passed to the
// kit are pixels at 96 DPI unless a routine says otherwise.
#pragma once

#include <windows.h>

#include "dialogs.h"

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

// --- Running a dialog ---

// Handling every dialog procedure shares (size limits, a change of DPI,
// the time limit, the end); false for a message it leaves to the dialog or
// to DefWindowProcA.
bool SharedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Starts the dialog's time limit (Dialog.timeout), if it has one: when it
// runs out, the right button presses itself. A key or click stops it.
void StartCountdown(HWND window);

// Ends the dialog: the quit message that WM_DESTROY posts ends the loop.
LRESULT FinishDialog(HWND window);

// Whether a WM_SIZE is that of a minimized window (0 x 0).
bool Minimized(WPARAM wParam, LPARAM lParam);

// Moves the control of a slot; in pixels at the dialog's DPI.
void Place(int slot, int x, int y, int width, int height);

// Shows every control of the dialog's state.
void ShowControls();

// Registers the window class, creates the window with the procedure,
// shows it and runs the message loop until the dialog ends. Tab and
// Shift+Tab move the focus round the controls that take it, in the order
// they were made; a focused button takes Enter as a press, elsewhere Enter
// is CmdAccept; Escape is CmdCancel; the arrows move along the buttons.
// The procedure runs guarded: running out of memory in it (std::bad_alloc)
// ends the tool with the frame's "Out of memory", as InputEditProc does.
void RunDialog(WNDPROC procedure);

// Makes the message loop of RunDialog wait on a handle too: each time it
// is signalled, the loop calls signalled with the dialog's window, which
// must reset it (or watch another). Null: none. One handle at a time; any
// routine of the dialog may change it.
void WatchInLoop(HANDLE handle, void (*signalled)(HWND window));
