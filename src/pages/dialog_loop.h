// What every dialog of the wizard shares with its opener: the placement over
// the main window and the nested message loop that serves the dialog until it
// quits. UI thread only.
#pragma once

#include <windows.h>

// How a dialog ends the nested loop that serves it.
enum class DialogQuit {
  // It closes itself (WM_CLOSE) and then posts WM_QUIT: a quit that arrives
  // while it still exists was meant for the main loop and is posted again.
  AfterClosing,
  // It calls PostQuitMessage and stays open: the quit ending the loop is its
  // own and is consumed.
  WhileOpen,
};

// A dialog of the AfterClosing kind ends: hidden at once, then WM_CLOSE and
// WM_QUIT to itself, queued behind whatever the click posted for the opener's
// loop to notice.
void CloseDialogAndQuit(HWND dialog);

// Where a window of `size` goes to be centred over `owner`, moved back inside
// `workArea` where it would cross its left, right or bottom edge (the top
// edge wins when the area is too small).
POINT CentredOver(const RECT& owner, SIZE size, const RECT& workArea);

// Moves `dialog` centred over `owner`, inside the work area.
void PlaceOver(HWND dialog, HWND owner);

// Places `dialog` over `owner`, shows it and paints it at once.
void ShowOver(HWND dialog, HWND owner);

// Serves `dialog` until WM_QUIT: its messages are translated and dispatched,
// other windows only get their paints (so the main window is not left blank
// and the loop does not spin on a pending WM_PAINT), everything else for the
// thread is dropped. True when a message `watched` to the dialog went by
// (WM_NULL when the caller watches for nothing).
bool PumpDialog(HWND dialog, UINT watched, DialogQuit quit);
