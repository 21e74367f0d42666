#include "pages/failure_dialogs.h"

#include <memory>

#include "pages/dialog_loop.h"
#include "pages/reminder_windows.h"
#include "pages/window_messages.h"

namespace {

// The dialog, or null when its window could not be created.
template <typename Window>
std::unique_ptr<Window> CreateOwnedDialog(HWND mainWindow, IResourceMgr* skin) {
  try {
    return std::make_unique<Window>(mainWindow, skin);
  } catch (...) {
    return nullptr;
  }
}

// Shows the manual dialog and serves it until its PostQuitMessage.
void ServeUntilItQuits(HWND dialog, HWND mainWindow) {
  ShowOver(dialog, mainWindow);
  PumpDialog(dialog, WM_NULL, DialogQuit::WhileOpen);
}

}  // namespace

bool AskRetry(HWND mainWindow, IResourceMgr* skin, FailureKind kind) {
  auto dialog = CreateOwnedDialog<ErrorWindow>(mainWindow, skin);
  if (!dialog) return false;
  dialog->Content().failureKind = kind;
  ShowOver(dialog->hwnd, mainWindow);
  // The dialog closes itself before it quits (ErrorView).
  return PumpDialog(dialog->hwnd, WM_RETRY_CHOSEN, DialogQuit::AfterClosing);
}

void OfferManualDownload(HWND mainWindow, IResourceMgr* skin, const std::string& packageUrl) {
  auto dialog = CreateOwnedDialog<DownloadReminderWindow>(mainWindow, skin);
  if (!dialog) return;
  dialog->Content().downloadUrl = packageUrl;
  ServeUntilItQuits(dialog->hwnd, mainWindow);
}

void OfferManualInstall(HWND mainWindow, IResourceMgr* skin, const std::wstring& packagePath) {
  auto dialog = CreateOwnedDialog<InstallReminderWindow>(mainWindow, skin);
  if (!dialog) return;
  dialog->Content().packagePath = packagePath;
  ServeUntilItQuits(dialog->hwnd, mainWindow);
}
