// The program the system opens web pages with, read from the registry.
// Nothing here writes to the registry or raises.
#pragma once

#include <windows.h>

#include <string>

// Where the default-browser records are read: the current user's root (for
// the http association) and the classes root (for the open commands).
struct BrowserRegistryRoots {
  HKEY user;
  HKEY classes;
};

// The open command of the default browser: on Windows XP (`osCode` 0) the
// command of "htmlfile", elsewhere the command of the ProgId the user chose
// for http. Empty when a record is missing.
std::wstring DefaultBrowserCommand(int osCode, const BrowserRegistryRoots& roots);

// The program path at the start of an open command: a quoted path with the
// spaces inside kept (runs of spaces become one), else the text up to the
// first space. False, with `path` untouched, for an empty or blank command.
bool BrowserPathOfCommand(const std::wstring& command, std::wstring& path);

// The default browser's program path on this machine; false, with `path`
// untouched, when the system records none.
bool GetDefaultBrowserPath(std::wstring& path);
