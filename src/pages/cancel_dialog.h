// The close handling of the start and custom install pages: the cancel
// confirmation dialog over the main window with its nested message loop.
#pragma once

#include <windows.h>

#include "pages/warn_window.h"
#include "ui/resource_mgr.h"

// Asks whether the install should be cancelled. While the dialog is open
// `openDialog` holds its window; a second call then only brings the dialog
// to the front and returns false. Otherwise creates the dialog of class
// `className` owned by `mainWindow`, centred over it (kept inside the work
// area), and pumps only the dialog's messages (everything else for the
// thread is dropped) until it ends. True when the user confirmed; false when
// the dialog was dismissed or could not be created.
bool AskCancelInstall(HWND mainWindow, IResourceMgr* skin, const wchar_t* className,
                      CancelOpener opener, HWND& openDialog);

// Where a window of `size` goes to be centred over `owner`, moved back inside
// `workArea` where it would cross its left, right or bottom edge (the top
// edge wins when the area is too small).
POINT CentredOver(const RECT& owner, SIZE size, const RECT& workArea);

// What the page does after a confirmed cancel: "pCancelInstall" with the
// page's title, the main window hidden, the run told to end.
void EndRunAfterCancel(HWND mainWindow, const wchar_t* windowsName);
