// Stands in for the installed product: the uninstall key's DisplayIcon names
// it, its version block carries the installed version, and when started it
// leaves "launched.txt" beside itself so a test sees that it ran.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring marker(path, length);
  marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"launched.txt";
  HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, "launched", 8, &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
