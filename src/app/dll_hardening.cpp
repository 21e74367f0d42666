#include "app/dll_hardening.h"

#include <windows.h>

#include "sys/system_library.h"

namespace {

// Not in the XP headers: the search flag of SetDefaultDllDirectories.
constexpr DWORD SEARCH_SYSTEM32 = 0x00000800;

// System libraries used through delay imports; loaded before any of them is
// needed so that the delay-load helper finds them in memory by name.
constexpr const wchar_t* DELAY_LOADED[] = {
    L"gdiplus.dll", L"winhttp.dll", L"iphlpapi.dll", L"version.dll",
    L"winmm.dll",   L"shlwapi.dll", L"setupapi.dll", L"psapi.dll",
};

}  // namespace

void HardenLibraryLoading() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  // Windows 8 and later (and 7 with its update): only the system folder for
  // later loads by name. Looked up at run time: XP lacks it.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(SEARCH_SYSTEM32);
  // XP SP1 and later: drop the current folder from the search path.
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  auto setDirectory = reinterpret_cast<SetDllDirectoryFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryW")));
  if (setDirectory) setDirectory(L"");

  for (const wchar_t* dll : DELAY_LOADED) SystemLibrary(dll);
}
