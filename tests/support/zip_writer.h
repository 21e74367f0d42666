// Test support: writes small zip archives with arbitrary entry names, stored
// or deflated, so zip fixtures are built at run time instead of checked in.
#pragma once

#include <string>
#include <vector>

enum class ZipMethod { Stored, Deflated };

struct ZipFixtureEntry {
  std::string name;  // written byte for byte, unchecked
  std::string data;
  ZipMethod method = ZipMethod::Stored;
  bool corruptCrc = false;  // records a CRC that does not match the data
};

// Writes the archive (local headers, central directory, end record); false
// when compressing or writing fails.
bool WriteZipArchive(const std::wstring& path, const std::vector<ZipFixtureEntry>& entries);
