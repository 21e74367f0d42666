#include "pages/install_room.h"

#include "api/pkg_info.h"
#include "sys/volumes.h"

uint64_t RequiredInstallationSize() {
  IPkgInfo* package = GetPkgInfo();
  const int64_t size = package != nullptr ? package->GetInstallationSize() : DEFAULT_INSTALLATION_SIZE;
  return static_cast<uint64_t>(size);
}

bool HasRoomFor(const std::wstring& folder) {
  return RequiredInstallationSize() < GetVolumeFreeSpace(folder);
}
