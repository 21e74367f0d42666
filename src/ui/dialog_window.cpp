#include "ui/dialog_window.h"

DialogWindow::~DialogWindow() {
  DetachWindow();
  view.reset();
}

LRESULT DialogWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ERASEBKGND) return 0;
  if (view) return view->HandleMessage(msg, wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
