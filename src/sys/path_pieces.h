// Splitting wide paths into folder, file name and extension. Only
// DirectoryOfPath and FileNameOfPath consult the system (for the full path);
// nothing here touches the disk.
#pragma once

#include <string>

// The path with a backslash appended, unless it is empty or already ends in
// a backslash or a slash.
std::wstring WithTrailingSeparator(const std::wstring& path);

// The full path up to and including the separator before its file-name part
// (C:\a\b.txt gives C:\a\); the whole full path when it ends in a separator;
// empty when no full path can be made.
std::wstring DirectoryOfPath(const std::wstring& path);

// The file-name part of the full path; empty when there is none.
std::wstring FileNameOfPath(const std::wstring& path);

// The text from the last dot to the end (".exe"), or empty when there is no
// dot after the last separator.
std::wstring ExtensionOf(const std::wstring& path);
