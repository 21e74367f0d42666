// Reading strings from a file's version resource (version.dll, loaded at
// run time). Safe from any thread.
#pragma once

#include <string>

// The string `name` (for example L"ProductVersion") of the version block of
// the file at `path`, in the block's first language and code page; empty
// when the file has no version block or no such string.
std::wstring ReadVersionString(const std::wstring& path, const std::wstring& name);

// The full path of the running program; empty when it cannot be read.
std::wstring OwnProgramPath();
