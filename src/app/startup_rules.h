// The decisions of the startup sequence that depend only on their inputs:
// package name and channel from the installer's own file, the channel override
// of its version block, the download duration, the install root and the
// version comparison that chooses the first page.
#pragma once

#include <cstdint>
#include <string>

// The installer's file name (UTF-8 path) without folder and last four characters.
std::string PackageNameFromPath(const std::string& installerPath);

// The text after the first "_" of the package name, skipping one leading "U",
// cut to 8 bytes; empty when there is no "_" or nothing follows it.
std::string ChannelFromPackageName(const std::string& packageName);

// The channel that a ProductVersion of four pieces whose second piece is 96 to
// 99 forces; fileChannel for every other version.
std::string ChannelFromProductVersion(const std::wstring& productVersion, const std::string& fileChannel);

// How long the browser took to write the installer: lastWrite - creation when
// positive, else 0.
int64_t DownloadDuration(int64_t creationSeconds, int64_t lastWriteSeconds);

// True when the installed version is not older than the newest one (the
// reinstall reminder is shown). Pieces are compared as numbers over as many
// pieces as both have; all equal, or nothing to compare, counts as not older.
bool InstalledIsNotOlder(const std::string& newestVersion, const std::string& installedVersion);

// The default install root: programFiles when it has strictly more than
// required bytes free, else roomiest when it has, else empty.
std::wstring ChooseInstallRoot(const std::wstring& programFiles, uint64_t programFilesFree,
                               const std::wstring& roomiest, uint64_t roomiestFree, uint64_t required);

// root + "Orvane\Tessaro", with a separator added where root lacks one.
std::wstring InstallPathUnder(const std::wstring& root);
