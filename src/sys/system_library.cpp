#include "sys/system_library.h"

#include <cwchar>
#include <string>

#include "sys/xmutex.h"

namespace {

// The system folder followed by the file name; empty when the system folder
// cannot be read or the name carries a path of its own.
std::wstring SystemPathOf(const wchar_t* dll) {
  if (dll == nullptr || *dll == L'\0' || std::wcspbrk(dll, L"\\/:") != nullptr) {
    return std::wstring();
  }
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  return path + dll;
}

// Serialises the look-up-then-load step, so two threads asking for the same
// library at once do not both add a reference. Created on first use.
CXMutex& LoaderLock() {
  static CXMutex lock;
  return lock;
}

}  // namespace

HMODULE SystemLibrary(const wchar_t* dll) {
  const std::wstring path = SystemPathOf(dll);
  if (path.empty()) return nullptr;
  CXMutexLock hold(LoaderLock());
  // The loader is the cache: a library loaded here earlier (or by anyone,
  // from the same path) is found without another reference.
  if (HMODULE loaded = ::GetModuleHandleW(path.c_str())) return loaded;
  return ::LoadLibraryW(path.c_str());
}

FARPROC SystemFunction(const wchar_t* dll, const char* name) {
  if (name == nullptr) return nullptr;
  HMODULE module = SystemLibrary(dll);
  if (module == nullptr) return nullptr;
  return ::GetProcAddress(module, name);
}
