// Where the product goes and which page the wizard opens with.
#pragma once

#include <windows.h>

#include <string>

#include "pages/window_messages.h"

struct FirstPageChoice {
  std::wstring installPath;       // the folder of the installed program, or root\Orvane\Tessaro
  std::wstring installedAppPath;  // empty when the product is not installed
  PageIndex page = PAGE_START;
};

// The default install root for a package needing requiredBytes: Program Files
// when it has room, else the roomiest writable volume when it has room; empty
// (after sending "vInstallPathError") when neither has.
std::wstring DefaultInstallRoot(uint64_t requiredBytes);

// Decides the install folder and the first page: the reinstall reminder when
// the installed version is not older than the newest one (waiting up to two
// seconds for the package query), else the start page. When no volume has room
// it shows the disk-space message box (owned by owner) and raises.
FirstPageChoice ChooseFirstPage(HWND owner);
