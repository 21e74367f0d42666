// The progress page's last word after the third failure of a kind: the
// manual download dialog ("网络异常") and the manual install dialog
// ("配置环境异常"). "确认" opens the package address in the browser or starts
// the downloaded setup program with its own windows; "取消" does neither.
// Either click ends the opener's nested loop with PostQuitMessage; the dialog
// stays as it is for the opener to destroy. UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "pages/failure_notice_view.h"
#include "ui/dialog_window.h"

class DownloadReminderView : public FailureNoticeView {
 public:
  // Builds the widgets on `window` and lays them out; sends nothing.
  DownloadReminderView(HWND window, IResourceMgr* skin);

  std::string downloadUrl;  // UTF-8; opened through the event logger

 protected:
  LRESULT OnResourceClick(int index, LPARAM lParam) override;
};

class InstallReminderView : public FailureNoticeView {
 public:
  // Builds the widgets on `window` and lays them out; sends nothing.
  InstallReminderView(HWND window, IResourceMgr* skin);

  std::wstring packagePath;  // the downloaded setup program

 protected:
  LRESULT OnResourceClick(int index, LPARAM lParam) override;
};

class DownloadReminderWindow : public DialogWindow {
 public:
  // The hidden dialog "ProgressDReminderWnd" owned by `parent`, with its view.
  // Throws std::runtime_error "create window error".
  DownloadReminderWindow(HWND parent, IResourceMgr* skin);

  DownloadReminderView& Content() { return *static_cast<DownloadReminderView*>(view.get()); }
};

class InstallReminderWindow : public DialogWindow {
 public:
  // The hidden dialog "ProgressIReminderWnd" owned by `parent`, with its view.
  // Throws std::runtime_error "create window error".
  InstallReminderWindow(HWND parent, IResourceMgr* skin);

  InstallReminderView& Content() { return *static_cast<InstallReminderView*>(view.get()); }
};
