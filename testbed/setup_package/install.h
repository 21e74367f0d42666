// The install itself: the payload files, the settings file and the
// uninstall-list entry.
#pragma once

#include <string>

#include "setup_options.h"

// Installs into `folder` (a full path without trailing backslash), creating
// it when needed: Tessaro.exe and unins000.exe from this program's payload
// resources, install.ini with the join-plan and welcome choices, and the
// uninstall entry for `version`. On failure whatever was written is removed
// again and the result is false.
bool InstallProduct(const SetupOptions& options, const std::wstring& folder,
                    const std::wstring& version);

// Where a setup without /DIR installs: "<Program Files>\Tessaro".
std::wstring DefaultInstallFolder();
