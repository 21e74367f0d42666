// Enumeration of one folder's entries. "." and ".." are never reported.
// A FindEntry belongs to whoever started the enumeration; destroying it (or
// CloseFindEntry) closes the system's find handle.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "sys/unique_handle.h"

class FindEntry {
 public:
  FindEntry(std::wstring directory, UniqueFindHandle handle, const WIN32_FIND_DATAW& current)
      : directory_(std::move(directory)), handle_(std::move(handle)), current_(current) {}

  const std::wstring& directory() const { return directory_; }
  const WIN32_FIND_DATAW& current() const { return current_; }

  // Moves to the next entry other than "." and ".."; false at the end.
  bool Next();

 private:
  std::wstring directory_;  // always ends in a separator
  UniqueFindHandle handle_;
  WIN32_FIND_DATAW current_;
};

// Starts listing `folder` with a pattern such as L"*". Null when nothing but
// "." and ".." matches, or when the folder cannot be listed.
std::unique_ptr<FindEntry> FindFirstEntry(const std::wstring& folder, const std::wstring& pattern);

// False at the end of the listing, or for a null entry.
bool FindNextEntry(FindEntry* entry);

// Whether the current entry is a folder; false for a null entry.
bool IsDirectoryEntry(const FindEntry* entry);

// The listed folder followed by the current entry's name; empty for null.
std::wstring EntryFullPath(const FindEntry* entry);

// Closes the enumeration and leaves `entry` null.
void CloseFindEntry(std::unique_ptr<FindEntry>& entry);
