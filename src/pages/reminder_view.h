// CReminderView: shown instead of the start page when the newest version is
// already installed, in a 400 x 200 window. "打开" starts the installed
// application and ends the run, "安装" goes on to the start page, the close
// button ends the run. UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "ui/base_view.h"

class CReminderView : public IBaseView {
 public:
  // Builds and lays out the widgets, then sends "vInstallPage".
  CReminderView(HWND window, IResourceMgr* skin);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // The installed application's executable; set by the main window.
  std::wstring installedAppPath;

 protected:
  LRESULT OnResourceClick(int index, LPARAM lParam) override;

 private:
  void EndRun() const;
};
