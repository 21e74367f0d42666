// The product's uninstall-list entry: written by the setup, removed by the
// uninstaller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct InstallRecord {
  std::wstring folder;   // without a trailing backslash
  std::wstring version;  // four dotted numbers
  bool noIcons = false;
  uint32_t sizeKb = 0;
};

// Writes the entry with the values an Inno Setup package records; false when
// the key cannot be created or a value cannot be written.
bool WriteInstallRecord(const InstallRecord& record);

// Removes the entry; true when it is gone afterwards.
bool RemoveInstallRecord();
