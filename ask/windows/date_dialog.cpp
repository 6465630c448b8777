// ask's date dialog on Windows: the prompt, the common controls' month
// calendar and two buttons. The arrows move the day, Page Up and Page Down
// the month; Enter accepts.
#include "kit.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The calendar's size in pixels at 96 DPI, once it has its font.
SIZE CalendarSize(HWND calendar) {
  RECT needed = {0, 0, 0, 0};
  SendMessageA(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed));
  return {MulDiv(needed.right - needed.left, 96, Scaled(96)),
          MulDiv(needed.bottom - needed.top, 96, Scaled(96))};
}

SIZE Calendar;
WNDPROC CalendarProc = nullptr;

// The day a number of days (or months) after the calendar's own.
void MoveDay(HWND calendar, int days, int months) {
  SYSTEMTIME day = {};
  SendMessageA(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  if (months) {
    int month = day.wYear * 12 + (day.wMonth - 1) + months;
    day.wYear = static_cast<WORD>(month / 12);
    day.wMonth = static_cast<WORD>(month % 12 + 1);
    static const int lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int last = lengths[day.wMonth - 1] - (day.wMonth == 2 && !IsLeapYear(day.wYear));
    if (day.wDay > last) day.wDay = static_cast<WORD>(last);
  } else {
    FILETIME time;
    SystemTimeToFileTime(&day, &time);
    ULARGE_INTEGER at = {{time.dwLowDateTime, time.dwHighDateTime}};
    at.QuadPart += static_cast<LONGLONG>(days) * 24 * 3600 * 10000000LL;
    time = {at.LowPart, at.HighPart};
    FileTimeToSystemTime(&time, &day);
  }
  SendMessageA(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
}

// The calendar's keys, the same on every system: the arrows move a day or
// a week, Page Up and Page Down a month.
LRESULT CALLBACK CalendarMessage(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    switch (wParam) {
      case VK_LEFT: MoveDay(calendar, -1, 0); return 0;
      case VK_RIGHT: MoveDay(calendar, 1, 0); return 0;
      case VK_UP: MoveDay(calendar, -7, 0); return 0;
      case VK_DOWN: MoveDay(calendar, 7, 0); return 0;
      case VK_PRIOR: MoveDay(calendar, 0, -1); return 0;
      case VK_NEXT: MoveDay(calendar, 0, 1); return 0;
    }
  }
  return CallWindowProcW(CalendarProc, calendar, message, wParam, lParam);
}

// Installed over the control's own procedure, guarded by the kit.
LRESULT CALLBACK CalendarKeys(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedControlMessage(CalendarMessage, CalendarProc, calendar, message, wParam, lParam);
}

void DateDialogCreate(HWND window, int h) {
  HWND calendar = CreateCommonControl(window, FieldSlot, MONTHCAL_CLASSA, 0, ICC_DATE_CLASSES,
                                      Scaled(8), Scaled(h + 16), Scaled(200), Scaled(160));
  Shown.controls[FieldSlot] = calendar;
  CalendarProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(calendar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CalendarKeys)));
  Calendar = CalendarSize(calendar);
  if (Dialog.date[0]) {
    SYSTEMTIME day = {};
    day.wYear = static_cast<WORD>(Dialog.date[0]);
    day.wMonth = static_cast<WORD>(Dialog.date[1]);
    day.wDay = static_cast<WORD>(Dialog.date[2]);
    SendMessageA(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  }
  CreateButtonPair(window, 0);
  Shown.minWidth = std::max(316, static_cast<int>(Calendar.cx) + 16);
  Shown.minHeight = h + 16 + Calendar.cy + 48;
  FitWindow(window, Shown.minWidth, Shown.minHeight);
  SetFocus(calendar);
}

void DateDialogLayout(HWND, int W, int H) {
  int below = Scaled(8 + static_cast<int>(Calendar.cy) + 48);
  Place(LabelSlot, Scaled(8), Scaled(8), W - Scaled(16), H - Scaled(8) - below);
  // Centred: the window is as wide as the prompt wants, mostly wider than
  // the calendar.
  Place(FieldSlot, (W - Scaled(Calendar.cx)) / 2, H - below + Scaled(8), Scaled(Calendar.cx),
        Scaled(Calendar.cy));
  PlaceButtonPair(W, H);
}

void DateDialogAccept(HWND) {
  SYSTEMTIME day = {};
  SendMessageA(ControlAt(FieldSlot), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  Dialog.date[0] = day.wYear;
  Dialog.date[1] = day.wMonth;
  Dialog.date[2] = day.wDay;
}

// Its smallest size is the calendar's, known once it is made.
constexpr DialogKind DateDialog = {96, DateDialogCreate, DateDialogLayout, nullptr,
                                   DateDialogAccept};

}  // namespace

void RunDateDialog() { RunDialog(DateDialog); }
