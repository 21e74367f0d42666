// The cancel confirmation dialog: a 400 x 200 layered popup asking
// "确定要取消安装吗？" with "确认" (cancel the install) and "取消" (go on). A
// click on any of its buttons hides it and posts, to its own window,
// WM_CANCEL_CONFIRMED (only for "确认"), WM_CLOSE and WM_QUIT, which ends the
// opener's nested message loop. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/dialog_window.h"

// Which page opened the dialog; decides the page code of its action records.
enum class CancelOpener : int32_t {
  StartPage = 1,
  CustomPage = 2,
};

class WarnView : public IBaseView {
 public:
  // Builds the widgets on `window` and lays them out; sends nothing.
  WarnView(HWND window, IResourceMgr* skin);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  CancelOpener openedFrom = CancelOpener::StartPage;

 protected:
  LRESULT OnResourceClick(int index, LPARAM lParam) override;
};

class WarnWindow : public DialogWindow {
 public:
  // A dialog of class `className` owned by `parent` (no taskbar button), with
  // its view. Throws std::runtime_error "create window error".
  WarnWindow(HWND parent, IResourceMgr* skin, const wchar_t* className);

  WarnView& Content() { return *static_cast<WarnView*>(view.get()); }
};
