#include "sys/registry_query.h"

#include <cwchar>

#include "sys/os_version.h"
#include "sys/unique_handle.h"

namespace {

constexpr DWORD kValueBufferBytes = 520;

}  // namespace

std::wstring ReadRegistryString(HKEY root, const std::wstring& subKey,
                                const std::wstring& valueName, RegistryView view) {
  // Query rights only: the installer may run without administrator rights
  // (Windows XP ignores the manifest), and a read needs no more.
  REGSAM access = KEY_QUERY_VALUE;
  if (view == RegistryView::Native64) access |= KEY_WOW64_64KEY;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, subKey.c_str(), 0, access, &opened) != ERROR_SUCCESS) {
    return std::wstring();
  }
  const UniqueRegKey key(opened);
  // One spare character keeps the text terminated even when the value fills
  // the whole buffer without a NUL of its own.
  wchar_t buffer[kValueBufferBytes / sizeof(wchar_t) + 1] = {};
  DWORD bytes = kValueBufferBytes;
  if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS) {
    return std::wstring();
  }
  return std::wstring(buffer);
}

std::wstring UninstallKeyOf(const std::wstring& name) {
  return L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
}

std::wstring FolderOfDisplayIcon(const std::wstring& displayIcon) {
  const size_t start = displayIcon.find_first_not_of(L'"');
  if (start == std::wstring::npos) return std::wstring();
  const size_t lastSeparator = displayIcon.rfind(L'\\');
  if (lastSeparator == std::wstring::npos || lastSeparator < start) return std::wstring();
  return displayIcon.substr(start, lastSeparator - start);
}

bool FindUninstallLocation(const std::wstring& name, std::wstring& folder) {
  const std::wstring subKey = UninstallKeyOf(name);
  const RegistryView view = Is64BitWindows() ? RegistryView::Native64 : RegistryView::Default;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::wstring location = ReadRegistryString(root, subKey, L"InstallLocation", view);
    if (!location.empty()) {
      folder = location;
      return true;
    }
  }
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::wstring iconFolder =
        FolderOfDisplayIcon(ReadRegistryString(root, subKey, L"DisplayIcon", view));
    if (!iconFolder.empty()) {
      folder = iconFolder;
      return true;
    }
  }
  return false;
}
