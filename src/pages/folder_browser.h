// The system's folder browser for the custom install page.
#pragma once

#include <windows.h>

#include <string>

enum class FolderChoice {
  Cancelled,      // the user closed the browser
  Chosen,         // `folder` holds the chosen file-system folder
  NotFileSystem,  // a folder with no file-system path (a library, the network)
};

// Shows the browser "安装路径选择：" owned by `owner` and waits for it.
FolderChoice BrowseForInstallFolder(HWND owner, std::wstring& folder);
