// The progress page's failure dialogs as it opens them: each owned by the
// main window, centred over it inside the work area, shown, and served by a
// nested loop (PumpDialog) until it quits; the window is destroyed before
// the call returns. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "pages/error_window.h"
#include "ui/resource_mgr.h"

// The retry dialog over `mainWindow`. True when "立即重试" was chosen
// (WM_RETRY_CHOSEN went by); false when the dialog was dismissed or could not
// be created. A quit for the main loop that arrives meanwhile ends the dialog
// and is posted again.
bool AskRetry(HWND mainWindow, IResourceMgr* skin, FailureKind kind);

// The manual download dialog with `packageUrl` (UTF-8). The dialog's own quit
// is consumed: the caller ends the run itself.
void OfferManualDownload(HWND mainWindow, IResourceMgr* skin, const std::string& packageUrl);

// The manual install dialog with `packagePath`, the same way.
void OfferManualInstall(HWND mainWindow, IResourceMgr* skin, const std::wstring& packagePath);
