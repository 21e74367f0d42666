// Facts about processes: parent, image path, start time, and the processes
// whose image names pass a test. Nothing here changes the system or keeps
// state; safe from any thread. Process ids are 32-bit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// The id of the process that started `processId` (0 when the system does
// not know it). False when the process table cannot be read or the id is
// not in it.
bool GetParentProcessId(DWORD processId, DWORD& parentId);

// The full image path of a process. False when the process cannot be opened
// with query-information and read-memory rights (another user's or a
// protected process) or the system call fails; true with an empty path on a
// system that offers neither way of asking.
bool GetProcessImagePath(DWORD processId, std::wstring& path);

// Tests a process image file name such as L"chrome.exe".
using ImageNameTest = std::function<bool(const std::wstring& imageName)>;

// Adds every running process whose image file name passes `test`, keyed by
// its id; an id already in the map keeps its name. False only when the
// process table cannot be read.
bool CollectBrowserProcesses(const ImageNameTest& test, std::map<DWORD, std::wstring>& found);

// The creation time of a process in seconds since 1970 (UTC). False when the
// process cannot be opened or its times cannot be read.
bool GetProcessStartTime(DWORD processId, int64_t& unixSeconds);
