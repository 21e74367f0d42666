// The folder of the module (DLL or EXE) that holds a given address.
#pragma once

#include <string>

// The full folder path ending in a backslash; empty when it cannot be found.
std::wstring FolderOfModuleAt(const void* address);
