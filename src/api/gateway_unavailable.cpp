// This build has no gateway client yet: the two information objects cannot be
// had, which the startup treats like any failure to create them (it skips the
// network start and goes on with the package defaults).
#include "api/pkg_info.h"
#include "api/server_info.h"

IPkgInfo* GetPkgInfo() { return nullptr; }

IServerInfo* GetServerInfo() { return nullptr; }
