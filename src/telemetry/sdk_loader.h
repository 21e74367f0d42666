// Unpacks the SDK archive embedded in the installer (resource "BinarySystem"
// 105) into the SDK cache folder, loads Vexa.dll and Ostrel.dll, binds their
// entry points and initialises the SDK. Failures raise std::runtime_error with
// a plain message; the logger's constructor swallows them and runs silently.
#pragma once

#include <memory>
#include <string>

#include "telemetry/sdk_tables.h"

// What LoadSdk binds. A table stays null when its component or a required
// entry point is missing; what was bound before a failure stays bound.
struct LoadedSdk {
  std::wstring sdkLibraryPath;
  std::wstring launcherLibraryPath;
  std::unique_ptr<SdkCoreTable> core;
  std::unique_ptr<SdkReportTable> report;
  std::unique_ptr<SdkUtilityTable> utility;
  std::unique_ptr<SdkLauncherTable> launcher;
};

// Writes the embedded archive to the work folder; returns the archive's path.
std::wstring ExtractSdkArchive();

// Unpacks the archive into the SDK cache folder (overwriting older files);
// returns that folder, ending in a backslash.
std::wstring PrepareSdkFolder(const std::wstring& archivePath);

// The SDK cache folder: the cache root followed by "Vexa\".
std::wstring SdkCacheFolder();

// Loads the two libraries from folder and fills sdk (see LoadedSdk).
void LoadSdk(LoadedSdk& sdk, const std::wstring& folder);

// The SDK's initialisation sequence on a bound core table; raises on the first
// step that fails. Registers the crash callback when the SDK offers it.
void InitialiseSdk(SdkCoreTable& core);
