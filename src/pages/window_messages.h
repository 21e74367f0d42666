// The program's own window messages and the page indices of the wizard.
#pragma once

#include <windows.h>

enum PageIndex : int {
  PAGE_REMINDER = 0,
  PAGE_START = 1,
  PAGE_CUSTOM = 2,
  PAGE_PROGRESS = 3,
  PAGE_FINISHED = 4,
};

constexpr UINT WM_SWITCH_PAGE = 0x806A;       // wParam: page index
constexpr UINT WM_RESOURCE_CLICK = 0x806B;    // wParam: widget index, lParam: mouse position
constexpr UINT WM_TRAY_ICON = 0x806E;         // wParam: icon id, lParam: mouse message
constexpr UINT WM_CANCEL_CONFIRMED = 0x8072;  // posted by the cancel dialog to itself
constexpr UINT WM_RETRY_CHOSEN = 0x8073;      // posted by a network error dialog to itself
constexpr UINT WM_DOWNLOAD_FAILED = 0x8076;
constexpr UINT WM_INSTALL_FAILED = 0x8077;
constexpr UINT WM_PROGRESS_TICK = 0x807B;
constexpr UINT WM_BANNER_FRAME = 0x807C;
constexpr UINT WM_OPEN_WELCOME = 0x807D;
constexpr UINT WM_WAKE_INSTANCE = 0x80FF;     // from a second instance of the installer
