#include "pages/cancel_dialog.h"

#include <memory>

#include "pages/page_events.h"
#include "pages/window_messages.h"

namespace {

// Pumps the thread's messages until WM_QUIT, dispatching only those for
// `dialog`; true when WM_CANCEL_CONFIRMED went by.
bool PumpDialog(HWND dialog) {
  bool confirmed = false;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd != dialog) continue;
    if (message.message == WM_CANCEL_CONFIRMED) confirmed = true;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  // The dialog quits only after its WM_CLOSE destroyed it; a quit that came
  // while it still exists was meant for the main loop and must reach it.
  if (message.message == WM_QUIT && ::IsWindow(dialog)) {
    ::PostQuitMessage(static_cast<int>(message.wParam));
  }
  return confirmed;
}

void PlaceOver(HWND dialog, HWND owner) {
  RECT ownerRect{};
  RECT dialogRect{};
  RECT workArea{};
  ::GetWindowRect(owner, &ownerRect);
  ::GetWindowRect(dialog, &dialogRect);
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) workArea = ownerRect;
  const SIZE size{dialogRect.right - dialogRect.left, dialogRect.bottom - dialogRect.top};
  const POINT at = CentredOver(ownerRect, size, workArea);
  ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

POINT CentredOver(const RECT& owner, SIZE size, const RECT& workArea) {
  POINT at{owner.left + (owner.right - owner.left - size.cx) / 2,
           owner.top + (owner.bottom - owner.top - size.cy) / 2};
  if (at.x + size.cx > workArea.right) at.x = workArea.right - size.cx;
  if (at.x < workArea.left) at.x = workArea.left;
  if (at.y + size.cy > workArea.bottom) at.y = workArea.bottom - size.cy;
  if (at.y < workArea.top) at.y = workArea.top;
  return at;
}

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
  PlaceOver(dialog->hwnd, mainWindow);
  ::ShowWindow(dialog->hwnd, SW_SHOW);
  ::UpdateWindow(dialog->hwnd);
  const bool confirmed = PumpDialog(dialog->hwnd);
  openDialog = nullptr;
  return confirmed;
}

void EndRunAfterCancel(HWND mainWindow, const wchar_t* windowsName) {
  SendPageEvent("pCancelInstall", windowsName);
  ::ShowWindow(mainWindow, SW_HIDE);
  ::PostQuitMessage(0);
}
