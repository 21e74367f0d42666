// The local file name of the package in the cache folder: the name the
// server offers, a name made up from the installer's own, or the fixed name
// of a channel build.
#pragma once

#include <string>
#include <vector>

// Used when neither the server nor the installer's own name gives one.
constexpr wchar_t FALLBACK_PACKAGE_NAME[] = L"OrvanePkg.exe";

// True for a name that stays a plain file inside the folder it is appended
// to: not empty, at most 255 characters, no \ / : * ? " < > | or control
// character (so no drive, stream or parent folder), not ending in a dot or a
// blank (Windows would strip them, so "." and ".." are refused too), and not
// a device name such as CON, NUL, COM1 or LPT1, with or without extension.
bool IsPlainFileName(const std::wstring& name);

// The name offered by the first header line that contains "filename=",
// converted from the system code page; empty when there is none or it is no
// plain file name.
std::wstring PackageNameFromHead(const std::vector<std::string>& lines);

// The installer's own file name with every occurrence of its extension
// removed, "_install" appended unless already present, "_v" and the version
// (UTF-8) when there is one, and ".exe": Tessaro_setup.exe and 1.2.3 give
// Tessaro_setup_install_v1.2.3.exe. Empty when the path has no file name or
// the result is no plain file name.
std::wstring MadeUpPackageName(const std::wstring& ownModulePath, const std::string& version);

// The fixed package name of a channel build: when the installer's
// ProductVersion has exactly four parts and the second reads 96 to 99, the
// name that channel's builds keep their package under; else empty.
std::wstring ChannelPackageName(const std::wstring& ownProductVersion);
