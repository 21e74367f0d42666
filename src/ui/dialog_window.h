// DialogWindow: the base of the small layered dialogs. It owns the dialog's
// view and hands it every message except WM_ERASEBKGND, which it swallows
// (the view paints every pixel itself).
#pragma once

#include <memory>

#include "ui/base_view.h"
#include "ui/base_window.h"

class DialogWindow : public IBaseWindow {
 public:
  // Detaches the window first, so no message reaches the view while it is
  // being deleted.
  ~DialogWindow() override;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  std::unique_ptr<IBaseView> view;

 protected:
  DialogWindow(const wchar_t* className, HWND parent, uint32_t width, uint32_t height)
      : IBaseWindow(className, parent, width, height) {}
};
