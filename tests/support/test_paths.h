// Test support: files built next to the running test program.
#pragma once

#include <string>

// The path of `name` in the folder of the running test program, in a form that
// opens under Wine too: a program started from a Linux path is named
// "unix\<host path>" there, which only opens as "\\?\unix\<host path>".
std::wstring BesideTestProgram(const std::wstring& name);
