// Run-time access to system libraries that the program must not import
// statically: either Windows XP lacks the export, or the library is not one
// of the few the executable links against (version, psapi, iphlpapi,
// setupapi, gdiplus, winhttp, winmm, shlwapi, dbghelp and the like).
//
// A library is only ever loaded from the system folder by its full path, so
// a DLL of the same name beside the installer or in the current folder is
// never picked up. A loaded library stays loaded until the process ends.
// Safe from any thread.
#pragma once

#include <windows.h>

// The exported function `name` of the system library `dll` (a file name such
// as L"version.dll"); null when the library cannot be loaded or lacks the
// export.
FARPROC SystemFunction(const wchar_t* dll, const char* name);

// SystemFunction cast to the function pointer type F, for example
// SystemFunctionAs<decltype(&::GetFileVersionInfoSizeW)>(L"version.dll",
// "GetFileVersionInfoSizeW").
template <typename F>
F SystemFunctionAs(const wchar_t* dll, const char* name) {
  // Through void*: a direct cast between unrelated function types warns.
  return reinterpret_cast<F>(reinterpret_cast<void*>(SystemFunction(dll, name)));
}

// The module of the system library `dll`, loading it on first use; null when
// it cannot be loaded. Never free it: other callers share it.
HMODULE SystemLibrary(const wchar_t* dll);
