#include "sys/volumes.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>

#include "sys/cache_root.h"
#include "sys/file_ops.h"
#include "sys/path_pieces.h"
#include "sys/text_util.h"
#include "sys/unique_handle.h"

namespace {

constexpr DWORD kVolumeNameChars = 260;

// Only \\?\Volume{...}\ names can be asked for their mount paths.
bool IsVolumeGuidName(const std::wstring& name) {
  return name.size() > 4 && name.compare(0, 4, L"\\\\?\\") == 0 && name.back() == L'\\';
}

std::vector<std::wstring> ListVolumeNames() {
  std::vector<std::wstring> names;
  wchar_t name[kVolumeNameChars] = {};
  UniqueFindVolume find(::FindFirstVolumeW(name, kVolumeNameChars));
  if (!find) return names;
  do {
    names.emplace_back(name);
  } while (::FindNextVolumeW(find.get(), name, kVolumeNameChars));
  return names;
}

std::vector<std::wstring> ListAllMountPaths() {
  std::vector<std::wstring> paths;
  for (const std::wstring& name : ListVolumeNames()) {
    if (IsVolumeGuidName(name)) ListVolumeMountPaths(name, paths);
  }
  return paths;
}

bool IsLocalDisk(const std::wstring& root) {
  const UINT type = ::GetDriveTypeW(root.c_str());
  return type == DRIVE_REMOVABLE || type == DRIVE_FIXED;
}

// The mount point of the volume that holds `path` (it need not exist yet):
// the drive root, or the folder another volume is mounted on when the path
// lies inside one, so the figure is that volume's and not its host drive's.
// `root` (the path's drive root) when the system cannot tell.
std::wstring MountPointOf(const std::wstring& path, const std::wstring& root) {
  wchar_t mountPoint[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), mountPoint, MAX_PATH + 1)) return root;
  const std::wstring found = mountPoint;
  if (found.size() < root.size() || ::_wcsnicmp(found.c_str(), root.c_str(), root.size()) != 0) {
    return root;
  }
  return WithTrailingSeparator(found);
}

bool ProbeWritable(const std::wstring& mountPath) {
  const std::wstring probe = mountPath + L"OrvanePkg";
  if (!CreateDirectoryChain(probe)) return false;
  DeleteTree(probe);
  return true;
}

// The root of the drive that holds the Windows folder, e.g. C:\.
std::wstring SystemDriveRoot() {
  wchar_t windows[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, windows))) {
    return std::wstring();
  }
  const std::vector<std::wstring> parts = SplitWide(windows, L"\\");
  if (parts.empty()) return std::wstring();
  return parts.front() + L"\\";
}

}  // namespace

uint64_t GetVolumeFreeSpace(const std::wstring& path) {
  const std::vector<std::wstring> parts = SplitWide(path, L"\\");
  if (parts.empty()) return 0;
  const std::wstring root = parts.front() + L"\\";
  if (!IsLocalDisk(root)) return 0;
  const std::wstring volume = MountPointOf(path, root);
  if (!IsLocalDisk(volume)) return 0;
  ULARGE_INTEGER availableToCaller{};
  if (!::GetDiskFreeSpaceExW(volume.c_str(), &availableToCaller, nullptr, nullptr)) return 0;
  return availableToCaller.QuadPart;
}

void ListVolumeMountPaths(const std::wstring& volumeName, std::vector<std::wstring>& paths) {
  std::vector<wchar_t> buffer(kVolumeNameChars, L'\0');
  DWORD needed = 0;
  while (!::GetVolumePathNamesForVolumeNameW(volumeName.c_str(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), &needed)) {
    // Only "more room needed" with a larger figure is worth another try.
    if (::GetLastError() != ERROR_MORE_DATA || needed <= buffer.size()) return;
    buffer.assign(needed, L'\0');
  }
  // NUL-separated paths ended by an empty one; never read past the buffer.
  size_t at = 0;
  while (at < buffer.size() && buffer[at] != L'\0') {
    size_t end = at;
    while (end < buffer.size() && buffer[end] != L'\0') ++end;
    paths.emplace_back(buffer.data() + at, end - at);
    at = end + 1;
  }
}

std::wstring PickRoomiestVolume(const std::vector<VolumeCandidate>& candidates,
                                const VolumeProbe& probe) {
  uint64_t best = 0;
  std::wstring result;
  for (const VolumeCandidate& candidate : candidates) {
    if (candidate.freeBytes <= best) continue;
    if (!probe(candidate.path)) continue;
    best = candidate.freeBytes;
    result = candidate.path;
  }
  return result;
}

std::wstring FindRoomiestVolume() {
  std::vector<VolumeCandidate> candidates;
  for (const std::wstring& path : ListAllMountPaths()) {
    candidates.push_back(VolumeCandidate{path, GetVolumeFreeSpace(path)});
  }
  std::wstring result = PickRoomiestVolume(candidates, &ProbeWritable);
  if (result.empty()) result = GetCacheRoot();
  if (result.empty()) result = SystemDriveRoot();
  return result;
}
