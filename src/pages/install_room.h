// Whether a folder's volume has room for the package, as the package query
// reports its installation size.
#pragma once

#include <cstdint>
#include <string>

// The installation size of the package information; the built-in size when
// there is no package information.
uint64_t RequiredInstallationSize();

// True when the required size is less than the free space of the volume
// holding `folder` (which need not exist yet).
bool HasRoomFor(const std::wstring& folder);
