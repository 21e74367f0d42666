// The retry dialog of the progress page ("网络异常"): shown after a failed
// download or install while retries remain. A click on either button hides
// it and posts, to its own window, WM_RETRY_CHOSEN (only for "立即重试"),
// WM_CLOSE and WM_QUIT, which ends the opener's nested message loop.
// UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "pages/failure_notice_view.h"
#include "ui/dialog_window.h"

// What failed; decides the page code of the dialog's action records.
enum class FailureKind : int32_t { Download = 1, Install = 2 };

class ErrorView : public FailureNoticeView {
 public:
  // Builds the widgets on `window` and lays them out; sends nothing.
  ErrorView(HWND window, IResourceMgr* skin);

  FailureKind failureKind = FailureKind::Download;

 protected:
  LRESULT OnResourceClick(int index, LPARAM lParam) override;
};

class ErrorWindow : public DialogWindow {
 public:
  // The hidden dialog "ProgressChildCloseWnd" owned by `parent` (no taskbar
  // button), with its view. Throws std::runtime_error "create window error".
  ErrorWindow(HWND parent, IResourceMgr* skin);

  ErrorView& Content() { return *static_cast<ErrorView*>(view.get()); }
};
