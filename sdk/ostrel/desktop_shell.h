// Starting a program through the desktop shell (the shell's own process),
// so that it runs with the shell's token rather than the caller's.
#pragma once

#include <string>

// Asks the desktop shell to run `file` with `verb` (empty: the default
// verb). True when the shell accepted the request; false when there is no
// desktop shell to ask or it refused. The calling thread must have COM.
bool ShellExecuteThroughDesktop(const std::wstring& verb, const std::wstring& file);
