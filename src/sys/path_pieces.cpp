#include "sys/path_pieces.h"

#include <windows.h>

#include <utility>

namespace {

struct FullPath {
  std::wstring path;
  size_t fileNameAt = std::wstring::npos;  // npos when the path ends in a separator
};

// GetFullPathNameW fails for an empty path; the caller then gets empty text.
bool MakeFullPath(const std::wstring& path, FullPath& out) {
  if (path.empty()) return false;
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  std::wstring buffer(needed, L'\0');
  wchar_t* filePart = nullptr;
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, &buffer[0], &filePart);
  if (written == 0 || written >= needed) return false;
  buffer.resize(written);
  out.fileNameAt = filePart ? static_cast<size_t>(filePart - buffer.c_str()) : std::wstring::npos;
  out.path = std::move(buffer);
  return true;
}

}  // namespace

std::wstring WithTrailingSeparator(const std::wstring& path) {
  if (path.empty()) return path;
  const wchar_t last = path.back();
  if (last == L'\\' || last == L'/') return path;
  return path + L'\\';
}

std::wstring DirectoryOfPath(const std::wstring& path) {
  FullPath full;
  if (!MakeFullPath(path, full)) return std::wstring();
  if (full.fileNameAt == std::wstring::npos) return full.path;
  return full.path.substr(0, full.fileNameAt);
}

std::wstring FileNameOfPath(const std::wstring& path) {
  FullPath full;
  if (!MakeFullPath(path, full)) return std::wstring();
  if (full.fileNameAt == std::wstring::npos) return std::wstring();
  return full.path.substr(full.fileNameAt);
}

std::wstring ExtensionOf(const std::wstring& path) {
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos) return std::wstring();
  const size_t separator = path.find_last_of(L"\\/");
  if (separator != std::wstring::npos && dot < separator) return std::wstring();
  return path.substr(dot);
}
