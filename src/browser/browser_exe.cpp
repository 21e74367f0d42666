#include "browser/browser_exe.h"

#include "sys/file_ops.h"
#include "sys/path_pieces.h"

namespace {

constexpr wchar_t kExe[] = L".exe";

}  // namespace

bool ValidateBrowserExe(std::wstring& path) {
  if (ExtensionOf(path) == kExe) return true;
  const size_t found = path.find(kExe);
  if (found != std::wstring::npos) path.erase(found + (sizeof(kExe) / sizeof(wchar_t) - 1));
  return FileExists(path);
}
