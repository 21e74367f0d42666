#include "support/test_paths.h"

#include <windows.h>

std::wstring BesideTestProgram(const std::wstring& name) {
  wchar_t buffer[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  std::wstring self = buffer;
  if (self.rfind(L"unix\\", 0) == 0) self.insert(0, L"\\\\?\\");
  return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}
