// The progress page's notification-area icon: the installer's icon with a
// tip, reporting mouse clicks to the main window as WM_TRAY_ICON.
#pragma once

#include <windows.h>
#include <shellapi.h>

class TrayIcon {
 public:
  TrayIcon() = default;
  // Removes the icon if it is still shown.
  ~TrayIcon();

  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Shows the icon for `window`; false when the shell refused it.
  bool Add(HWND window);
  // Removes the icon; harmless when none is shown.
  void Remove();

  bool IsShown() const { return shown_; }

 private:
  NOTIFYICONDATAW data_{};
  bool shown_ = false;
};
