// Free space of volumes and the choice of the roomiest writable volume.
// Nothing here raises: failures give 0, an empty path or an unchanged list.
// Safe from any thread (FindRoomiestVolume briefly creates a probe folder).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Bytes available to the current user (not the volume's total free bytes) on
// the volume that holds `path`, which need not exist yet; 0 when unknown,
// for a path that does not start with a drive (relative paths, UNC shares),
// and when the volume is not a removable or fixed drive (optical drives, RAM
// disks). "C:" and "C:\a\b" ask about the same volume; a path inside a
// folder that another volume is mounted on asks about that volume.
uint64_t GetVolumeFreeSpace(const std::wstring& path);

// Appends every mount path of the volume (a \\?\Volume{...}\ name): drive
// roots such as C:\ and folders the volume is mounted on, each ending in a
// backslash. The list is left unchanged when the system cannot answer.
void ListVolumeMountPaths(const std::wstring& volumeName, std::vector<std::wstring>& paths);

struct VolumeCandidate {
  std::wstring path;   // a mount path, ending in a backslash
  uint64_t freeBytes;  // as GetVolumeFreeSpace reports it
};

// Whether a folder can be created (and removed again) at a mount path.
using VolumeProbe = std::function<bool(const std::wstring& mountPath)>;

// The candidate with the most free bytes among those the probe accepts, or
// empty. Ties keep the earlier candidate and a volume with nothing free is
// never chosen. The probe is asked only about a candidate that would beat
// the best one so far, so volumes that cannot win are left untouched.
std::wstring PickRoomiestVolume(const std::vector<VolumeCandidate>& candidates,
                                const VolumeProbe& probe);

// The mount path of the writable volume with the most free space. Falls back
// to the cache root, then to the system drive's root; empty when even that is
// unknown. No probe folder is left behind.
std::wstring FindRoomiestVolume();
