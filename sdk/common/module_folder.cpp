#include "common/module_folder.h"

#include <windows.h>

#include <string>

std::wstring FolderOfModuleAt(const void* address) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module)) {
    return {};
  }
  // Grow until the whole path fits: the SDK may sit below a long cache path.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  return path.substr(0, separator + 1);
}
