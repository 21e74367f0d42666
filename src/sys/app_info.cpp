#include "sys/app_info.h"

#include <windows.h>

#include "sys/file_ops.h"
#include "sys/unique_handle.h"
#include "sys/version_block.h"

namespace {

constexpr DWORD kDisplayIconBytes = 1023;

// The product's DisplayIcon value: the installed program's path, read with
// the default registry view. Empty when the key or value is missing.
std::wstring ReadProductDisplayIcon() {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY, 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  const UniqueRegKey key(opened);
  // Zero-filled with room for a terminator past the bytes the call may fill.
  wchar_t buffer[kDisplayIconBytes / sizeof(wchar_t) + 2] = {};
  DWORD bytes = kDisplayIconBytes;
  if (::RegQueryValueExW(key.get(), L"DisplayIcon", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS) {
    return std::wstring();
  }
  return std::wstring(buffer);
}

}  // namespace

const wchar_t* const PRODUCT_UNINSTALL_KEY =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63}_is1";

bool CAppInfo::Refresh() {
  try {
    path.clear();
    version.clear();
    path = ReadProductDisplayIcon();
    // An icon value with an icon index appended names no file: not installed.
    if (!path.empty() && !FileExists(path)) path.clear();
    if (!path.empty()) version = GetProductVersion(path);
    return true;
  } catch (...) {
    return false;
  }
}

std::wstring CAppInfo::GetProductVersion(const std::wstring& filePath) {
  const std::wstring file = filePath.empty() ? OwnProgramPath() : filePath;
  if (file.empty()) return std::wstring();
  return ReadVersionString(file, L"ProductVersion");
}

IAppInfo* GetAppInfo() {
  static CAppInfo info;
  static const bool refreshed = info.Refresh();
  static_cast<void>(refreshed);
  return &info;
}
