#include "pages/folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

constexpr size_t PATH_BUFFER = 1024;

// The new dialog style needs COM in a single-threaded apartment on this thread.
class ApartmentScope {
 public:
  ApartmentScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ApartmentScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ApartmentScope(const ApartmentScope&) = delete;
  ApartmentScope& operator=(const ApartmentScope&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

FolderChoice BrowseForInstallFolder(HWND owner, std::wstring& folder) {
  ApartmentScope apartment;
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = L"安装路径选择：";
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST item = ::SHBrowseForFolderW(&info);
  if (item == nullptr) return FolderChoice::Cancelled;
  wchar_t path[PATH_BUFFER] = {};
  const bool isPath = ::SHGetPathFromIDListW(item, path) != FALSE;
  ::CoTaskMemFree(item);
  if (!isPath) return FolderChoice::NotFileSystem;
  folder = path;
  return FolderChoice::Chosen;
}
