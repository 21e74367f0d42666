// Syntax check of an install folder typed or chosen by the user.
#pragma once

#include <string>

// True for a drive-letter path such as D:\Program Files\Tessaro: a first
// component of a letter and a colon, then non-empty components free of
// / : * ? " < > |, no doubled backslash. A bare drive (D: or D:\) and a
// trailing backslash are accepted; forward slashes are not separators.
bool IsValidInstallPath(const std::wstring& path);
