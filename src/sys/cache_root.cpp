#include "sys/cache_root.h"

#include <windows.h>
#include <shlobj.h>

#include "sys/file_ops.h"
#include "sys/path_pieces.h"

namespace {

std::wstring& StoredCacheRoot() {
  static std::wstring root;
  return root;
}

}  // namespace

std::wstring GetCacheRoot() {
  std::wstring& root = StoredCacheRoot();
  if (!root.empty()) return root;
  wchar_t appData[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE)) return root;
  const std::wstring folder = WithTrailingSeparator(appData) + L"OrvanePkg\\";
  if (!DirectoryExists(folder)) CreateDirectoryChain(folder);
  root = folder;
  return root;
}
