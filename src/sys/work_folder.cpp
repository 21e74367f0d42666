#include "sys/work_folder.h"

#include <windows.h>

#include "sys/file_ops.h"
#include "sys/path_pieces.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"
#include "sys/volumes.h"

namespace {

// Owns the folder for the rest of the process.
class WorkFolder {
 public:
  WorkFolder() : path_(Create()) {}
  ~WorkFolder() {
    if (!path_.empty()) DeleteTree(path_);
    path_.clear();
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::wstring& path() const { return path_; }

 private:
  static std::wstring Create() {
    const std::wstring root = FindRoomiestVolume();
    if (root.empty() || !CreateDirectoryChain(root)) return std::wstring();
    const std::wstring base =
        WithTrailingSeparator(root) + L"OrvanePkg_" + AnsiToWide(FormatInt64(NowUnixSeconds()));
    // The folder must be this process's alone: a second instance started in
    // the same second would otherwise share it and delete it at its exit.
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
      const std::wstring folder = attempt == 0 ? base : base + L"_" + std::to_wstring(attempt);
      if (::CreateDirectoryW(folder.c_str(), nullptr)) return WithTrailingSeparator(folder);
      if (::GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
    }
    return std::wstring();
  }

  static constexpr int kMaxAttempts = 100;

  std::wstring path_;
};

// Constructed on the first call; destroyed at exit in reverse order of
// construction, so after every static object created later.
const WorkFolder& TheWorkFolder() {
  static const WorkFolder folder;
  return folder;
}

}  // namespace

std::wstring GetWorkFolder() { return TheWorkFolder().path(); }

void PrepareWorkFolder() { TheWorkFolder(); }
