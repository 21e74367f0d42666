// Reading zip archives (minizip over zlib) and extracting them into a
// folder. Archive paths are wide; entry names are the archive's narrow bytes.
#pragma once

#include <unzip.h>

#include <string>
#include <vector>

#include "sys/unique_handle.h"

// Opens an archive for reading; empty when it cannot be opened.
UniqueZipArchive OpenZipArchive(const std::wstring& path);

// Every entry name in central-directory order. Names longer than 260 bytes
// come back cut to 260 (and then cannot be extracted).
std::vector<std::string> ListZipEntries(unzFile archive);

// Writes one entry to `targetPath`, creating or truncating the file; the
// target's folder must exist. Returns 0, or -1 when the entry is missing,
// empty (folder entries are), unreadable, fails its CRC or cannot be written;
// a target file already begun is then deleted.
int ExtractZipEntry(unzFile archive, const std::string& entryName, const std::wstring& targetPath);

// Extracts every entry below `folder`; sub-folders named in entry names must
// already exist. Stops at the first entry that fails, including one whose
// name would leave the folder (IsSafeZipEntryName). Returns 0, or -1 also
// for an empty argument, an archive that cannot be opened or has no entries.
int ExtractZip(const std::wstring& folder, const std::wstring& archivePath);

// The same walk, but an entry that fails or is refused is skipped.
void ExtractZipQuiet(const std::wstring& folder, const std::wstring& archivePath);
