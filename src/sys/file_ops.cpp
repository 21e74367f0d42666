#include "sys/file_ops.h"

#include <sys/stat.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "sys/find_entry.h"
#include "sys/text_util.h"
#include "sys/unique_handle.h"

namespace {

bool StatPath(const std::wstring& path, struct _stat64& status) {
  return ::_wstat64(path.c_str(), &status) == 0;
}

bool IsMissingPathError(DWORD error) {
  return error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

void DeleteListedEntry(const FindEntry* entry) {
  const std::wstring fullPath = EntryFullPath(entry);
  if (!IsDirectoryEntry(entry)) {
    DeleteFileAt(fullPath);
    return;
  }
  // A linked folder's content belongs elsewhere: remove only the link.
  if (entry->current().dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    ::RemoveDirectoryW(fullPath.c_str());
    return;
  }
  DeleteTree(fullPath);
}

// The path could not be listed: an empty folder, a file, or nothing at all.
bool DeleteUnlisted(const std::wstring& path) {
  if (DirectoryExists(path)) return ::RemoveDirectoryW(path.c_str()) != FALSE;
  if (FileExists(path)) return DeleteFileAt(path);
  return true;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  struct _stat64 status {};
  return StatPath(path, status) && (status.st_mode & _S_IFDIR) == 0;
}

bool DirectoryExists(const std::wstring& path) {
  if (path.empty()) return false;
  std::wstring probe = path;
  if (probe.back() != L'/' && probe.back() != L'\\') probe += L'/';
  probe += L'.';
  // The open tells a missing parent or a malformed name apart; on a folder it
  // normally fails with another error, which says nothing.
  UniqueFileHandle handle(::CreateFileW(probe.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle && IsMissingPathError(::GetLastError())) return false;
  handle.reset();
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(probe.c_str(), GetFileExInfoStandard, &attributes)) return false;
  return (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectoryChain(const std::wstring& path) {
  const std::vector<std::wstring> components = SplitWide(path, L"\\/");
  std::wstring running;
  for (size_t i = 0; i < components.size(); ++i) {
    running += components[i] + L'/';
    if (i == 0) continue;
    // Already-exists and similar failures are expected on the way down.
    if (!::CreateDirectoryW(running.c_str(), nullptr) && IsMissingPathError(::GetLastError())) {
      break;
    }
  }
  return DirectoryExists(path);
}

bool DeleteFileAt(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

bool DeleteTree(const std::wstring& path) {
  if (path.empty()) return false;
  std::unique_ptr<FindEntry> entry = FindFirstEntry(path, L"*");
  if (!entry) return DeleteUnlisted(path);
  do {
    DeleteListedEntry(entry.get());
  } while (FindNextEntry(entry.get()));
  CloseFindEntry(entry);
  return ::RemoveDirectoryW(path.c_str()) != FALSE;
}

int64_t FileSize(const std::wstring& path) {
  struct _stat64 status {};
  if (!StatPath(path, status) || (status.st_mode & _S_IFDIR) != 0) return 0;
  return status.st_size;
}
