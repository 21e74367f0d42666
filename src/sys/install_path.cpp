#include "sys/install_path.h"

#include <vector>

#include "sys/text_util.h"

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool IsDriveComponent(const std::wstring& component) {
  return component.size() == 2 && component.find(L':') != std::wstring::npos &&
         IsAsciiLetter(component[0]);
}

bool IsFolderComponent(const std::wstring& component) {
  return !component.empty() && component.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

}  // namespace

bool IsValidInstallPath(const std::wstring& path) {
  if (path.find(L"\\\\") != std::wstring::npos) return false;
  const std::vector<std::wstring> components = SplitWide(path, L"\\");
  if (components.empty()) return false;
  if (!IsDriveComponent(components[0])) return false;
  for (size_t i = 1; i < components.size(); ++i) {
    if (!IsFolderComponent(components[i])) return false;
  }
  return true;
}
