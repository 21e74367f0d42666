#include "sys/find_entry.h"

#include <cwchar>

#include "sys/path_pieces.h"

namespace {

bool IsDotEntry(const WIN32_FIND_DATAW& data) {
  return std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0;
}

}  // namespace

bool FindEntry::Next() {
  // The system usually lists "." and ".." first, but not on every file
  // system; skipping them wherever they come keeps a recursive delete from
  // walking into the parent folder.
  do {
    if (!::FindNextFileW(handle_.get(), &current_)) return false;
  } while (IsDotEntry(current_));
  return true;
}

std::unique_ptr<FindEntry> FindFirstEntry(const std::wstring& folder, const std::wstring& pattern) {
  std::wstring directory = WithTrailingSeparator(folder);
  WIN32_FIND_DATAW data{};
  UniqueFindHandle handle(::FindFirstFileW((directory + pattern).c_str(), &data));
  if (!handle) return nullptr;
  auto entry = std::make_unique<FindEntry>(std::move(directory), std::move(handle), data);
  if (IsDotEntry(data) && !entry->Next()) return nullptr;
  return entry;
}

bool FindNextEntry(FindEntry* entry) { return entry != nullptr && entry->Next(); }

bool IsDirectoryEntry(const FindEntry* entry) {
  return entry != nullptr && (entry->current().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring EntryFullPath(const FindEntry* entry) {
  if (entry == nullptr) return std::wstring();
  return entry->directory() + entry->current().cFileName;
}

void CloseFindEntry(std::unique_ptr<FindEntry>& entry) { entry.reset(); }
