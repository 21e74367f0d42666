// CFinishedView: the last page of a successful run. Logo, "恭喜，安装成功",
// the "立即体验" button that starts the installed application as the desktop
// user, and a close button; either button (and WM_CLOSE) ends the run. The
// finishing work of the run is the main window's. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "pages/page_view.h"

class CFinishedView : public CPageView {
 public:
  // Builds and lays out the widgets; sends nothing.
  CFinishedView(HWND window, IResourceMgr* skin);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // The installed application's executable; set by the main window.
  std::wstring installedAppPath;

 protected:
  bool UpdateWidgetStates(int target, UINT msg) override;
  LRESULT OnResourceClick(int index, LPARAM lParam) override;

 private:
  void BuildWidgets();
};

enum FinishedWidgetId : int32_t {
  FINISHED_ID_CLOSE = 1,
  FINISHED_ID_LAUNCH = 2,
};
