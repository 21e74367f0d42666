#include "registry_tree.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlwapi.h>

#include <utility>

RegistryTree::RegistryTree(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
  if (::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
  }
}

RegistryTree::~RegistryTree() {
  if (key_ == nullptr) return;
  ::RegCloseKey(key_);
  ::SHDeleteKeyW(root_, path_.c_str());
}

bool RegistryTree::SetString(const std::wstring& subKey, const std::wstring& name,
                             const std::wstring& text) {
  HKEY target = nullptr;
  if (::RegCreateKeyExW(key_, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &target,
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG status =
      ::RegSetValueExW(target, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(target);
  return status == ERROR_SUCCESS;
}

bool RegistryKeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

std::wstring UniqueTestName(const wchar_t* prefix) {
  static int counter = 0;
  return prefix + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(++counter);
}
