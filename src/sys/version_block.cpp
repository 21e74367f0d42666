#include "sys/version_block.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "sys/system_library.h"

namespace {

using GetFileVersionInfoSizeFn = DWORD(WINAPI*)(const wchar_t*, DWORD*);
using GetFileVersionInfoFn = BOOL(WINAPI*)(const wchar_t*, DWORD, DWORD, void*);
using VerQueryValueFn = BOOL(WINAPI*)(const void*, const wchar_t*, void**, UINT*);

constexpr DWORD kOwnPathChars = 1024;

struct Translation {
  WORD language;
  WORD codePage;
};

}  // namespace

std::wstring ReadVersionString(const std::wstring& path, const std::wstring& name) {
  const auto infoSize =
      SystemFunctionAs<GetFileVersionInfoSizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
  const auto info = SystemFunctionAs<GetFileVersionInfoFn>(L"version.dll", "GetFileVersionInfoW");
  const auto query = SystemFunctionAs<VerQueryValueFn>(L"version.dll", "VerQueryValueW");
  if (infoSize == nullptr || info == nullptr || query == nullptr || path.empty()) {
    return std::wstring();
  }
  DWORD ignored = 0;
  const DWORD size = infoSize(path.c_str(), &ignored);
  if (size == 0) return std::wstring();
  std::vector<unsigned char> block(size);
  if (!info(path.c_str(), 0, size, block.data())) return std::wstring();

  void* found = nullptr;
  UINT length = 0;
  if (!query(block.data(), L"\\VarFileInfo\\Translation", &found, &length) ||
      length < sizeof(Translation)) {
    return std::wstring();
  }
  const Translation first = *static_cast<const Translation*>(found);
  wchar_t subBlock[128] = {};
  std::swprintf(subBlock, 128, L"\\StringFileInfo\\%04x%04x\\%ls", first.language, first.codePage,
                name.c_str());
  found = nullptr;
  length = 0;
  if (!query(block.data(), subBlock, &found, &length) || found == nullptr || length == 0) {
    return std::wstring();
  }
  // The length counts characters and may include the terminating NUL.
  const wchar_t* text = static_cast<const wchar_t*>(found);
  return std::wstring(text, ::wcsnlen(text, length));
}

std::wstring OwnProgramPath() {
  wchar_t path[kOwnPathChars] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, kOwnPathChars);
  if (length == 0 || length >= kOwnPathChars) return std::wstring();
  return std::wstring(path, length);
}
