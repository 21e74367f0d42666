#include "pages/cancel_dialog.h"

#include <memory>

#include "pages/page_events.h"
#include "pages/window_messages.h"

bool AskCancelInstall(HWND mainWindow, IResourceMgr* skin, const wchar_t* className,
                      CancelOpener opener, HWND& openDialog) {
  if (openDialog != nullptr) {
    BringWindowToFront(openDialog, WindowZOrder::Topmost);
    ::SetWindowPos(openDialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return false;
  }
  std::unique_ptr<WarnWindow> dialog;
  try {
    dialog = std::make_unique<WarnWindow>(mainWindow, skin, className);
  } catch (...) {
    return false;  // without a dialog the page simply stays
  }
  dialog->Content().openedFrom = opener;
  openDialog = dialog->hwnd;
  ShowOver(dialog->hwnd, mainWindow);
  // The dialog closes itself before it quits (WarnView).
  const bool confirmed = PumpDialog(dialog->hwnd, WM_CANCEL_CONFIRMED, DialogQuit::AfterClosing);
  openDialog = nullptr;
  return confirmed;
}

void EndRunAfterCancel(HWND mainWindow, const wchar_t* windowsName) {
  SendPageEvent("pCancelInstall", windowsName);
  ::ShowWindow(mainWindow, SW_HIDE);
  ::PostQuitMessage(0);
}
