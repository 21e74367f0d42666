// Registry reads and the uninstall list. Nothing here writes to the
// registry or raises; failures give empty results. Safe from any thread.
#pragma once

#include <windows.h>

#include <string>

// Which view of the registry a 32-bit program reads on a 64-bit Windows.
enum class RegistryView { Default, Native64 };

// The text of value `valueName` under `root`\`subKey`, up to its first NUL;
// empty when the key cannot be opened or the value cannot be read (values
// longer than 259 characters included). The value's type is not checked.
std::wstring ReadRegistryString(HKEY root, const std::wstring& subKey,
                                const std::wstring& valueName, RegistryView view);

// The uninstall-list key of an application, without the root.
std::wstring UninstallKeyOf(const std::wstring& name);

// Where the application recorded as `name` in the uninstall list lives: its
// "InstallLocation" for the current user, then for the machine, else the
// folder of its "DisplayIcon" (current user, then machine), without a
// trailing backslash. Read through the 64-bit view on a 64-bit Windows.
// False when none of them gives a folder.
bool FindUninstallLocation(const std::wstring& name, std::wstring& folder);

// The folder part of a DisplayIcon value: surrounding quotes and anything
// after the file name (an icon index such as ",0") do not matter, the text
// is cut before its last backslash. Empty when there is no backslash.
std::wstring FolderOfDisplayIcon(const std::wstring& displayIcon);
