// The close handling of the start and custom install pages: the cancel
// confirmation dialog over the main window with its nested message loop.
#pragma once

#include <windows.h>

#include "pages/dialog_loop.h"
#include "pages/warn_window.h"
#include "ui/resource_mgr.h"

// Asks whether the install should be cancelled. While the dialog is open
// `openDialog` holds its window; a second call then only brings the dialog
// to the front and returns false. Otherwise creates the dialog of class
// `className` owned by `mainWindow`, centred over it (kept inside the work
// area), and serves it with PumpDialog until it ends. True when the user confirmed; false when
// the dialog was dismissed or could not be created.
bool AskCancelInstall(HWND mainWindow, IResourceMgr* skin, const wchar_t* className,
                      CancelOpener opener, HWND& openDialog);

// What the page does after a confirmed cancel: "pCancelInstall" with the
// page's title, the main window hidden, the run told to end.
void EndRunAfterCancel(HWND mainWindow, const wchar_t* windowsName);
