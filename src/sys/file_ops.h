// Existence tests, folder creation and deletion, file size. Every path is
// wide; nothing here raises, failures show in the result.
#pragma once

#include <cstdint>
#include <string>

// True when the path names something that is not a folder.
bool FileExists(const std::wstring& path);

// True when the path names an existing folder.
bool DirectoryExists(const std::wstring& path);

// Creates every missing folder of a drive-letter path (the drive itself is
// never created). Returns whether the whole path is a folder afterwards.
bool CreateDirectoryChain(const std::wstring& path);

bool DeleteFileAt(const std::wstring& path);

// Deletes a folder with everything in it, or a single file. A path that does
// not exist counts as deleted. Read-only files are left in place, and then
// the result is false. Linked folders (junctions, symbolic links) inside the
// tree are unlinked, never descended into.
bool DeleteTree(const std::wstring& path);

// Size in bytes; 0 for folders and when the path cannot be queried.
int64_t FileSize(const std::wstring& path);
