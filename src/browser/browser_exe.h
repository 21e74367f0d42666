// Checks a browser path that a caller recorded, which may carry switches
// after the program ("...\chrome.exe --profile x").
#pragma once

#include <string>

// True at once, without looking at the disk, when the path's extension is
// exactly ".exe". Otherwise the path is cut right after its first ".exe"
// (when it has one) and the result says whether that names an existing file
// that is not a folder.
bool ValidateBrowserExe(std::wstring& path);
