#include "pages/dialog_loop.h"

POINT CentredOver(const RECT& owner, SIZE size, const RECT& workArea) {
  POINT at{owner.left + (owner.right - owner.left - size.cx) / 2,
           owner.top + (owner.bottom - owner.top - size.cy) / 2};
  if (at.x + size.cx > workArea.right) at.x = workArea.right - size.cx;
  if (at.x < workArea.left) at.x = workArea.left;
  if (at.y + size.cy > workArea.bottom) at.y = workArea.bottom - size.cy;
  if (at.y < workArea.top) at.y = workArea.top;
  return at;
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

void ShowOver(HWND dialog, HWND owner) {
  PlaceOver(dialog, owner);
  ::ShowWindow(dialog, SW_SHOW);
  ::UpdateWindow(dialog);
}

bool PumpDialog(HWND dialog, UINT watched, DialogQuit quit) {
  bool seen = false;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd != dialog) {
      // A paint left pending is generated again at once: dropping it would
      // spin this loop and leave the window unpainted.
      if (message.message == WM_PAINT) ::DispatchMessageW(&message);
      continue;
    }
    if (message.message == watched) seen = true;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (quit == DialogQuit::AfterClosing && message.message == WM_QUIT && ::IsWindow(dialog)) {
    ::PostQuitMessage(static_cast<int>(message.wParam));
  }
  return seen;
}

void CloseDialogAndQuit(HWND dialog) {
  ::ShowWindow(dialog, SW_HIDE);
  ::PostMessageW(dialog, WM_CLOSE, 0, 0);
  ::PostMessageW(dialog, WM_QUIT, 0, 0);
}
