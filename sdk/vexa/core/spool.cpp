#include "vexa/core/spool.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/module_folder.h"
#include "sys/text_convert.h"
#include "sys/unique_handle.h"

namespace {

constexpr wchar_t kRecordPattern[] = L"*.rec";
constexpr wchar_t kTemporaryPattern[] = L"*.tmp";
constexpr wchar_t kRejectedFolder[] = L"rejected\\";
constexpr uint64_t kStaleAge100ns = 24ull * 3600 * 10000000;

bool EnsureFolder(const std::wstring& folder) {
  if (::CreateDirectoryW(folder.c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteAllAndFlush(const std::wstring& path, const std::string& bytes) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    return false;
  }
  // On the disk before the rename makes the record visible: a record that a
  // caller saw committed survives a crash or a power cut.
  return ::FlushFileBuffers(file.get()) != FALSE;
}

bool ReadWhole(const std::wstring& path, std::string& bytes) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) return false;
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return false;
  }
  return true;
}

struct FoundFile {
  std::wstring name;
  uint64_t writeTime;
};

bool EndsWith(const std::wstring& text, const wchar_t* suffix) {
  const std::wstring tail(suffix + 1);  // the pattern without its '*'
  return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Files whose long name matches "*<suffix>" (FindFirstFileW alone would also
// match longer extensions through their short names).
std::vector<FoundFile> FindFiles(const std::wstring& folder, const wchar_t* pattern) {
  std::vector<FoundFile> files;
  WIN32_FIND_DATAW data = {};
  UniqueFindHandle find(::FindFirstFileW((folder + pattern).c_str(), &data));
  if (!find) return files;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !EndsWith(data.cFileName, pattern)) continue;
    const uint64_t written = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    files.push_back({data.cFileName, written});
  } while (::FindNextFileW(find.get(), &data));
  return files;
}

}  // namespace

bool Spool::Append(const std::string& recordId, const std::string& jsonLine) const {
  if (folder_.empty() || recordId.empty() || !EnsureFolder(folder_)) return false;
  const std::wstring name = Utf8ToWide(recordId);
  const std::wstring temporary = folder_ + name + L".tmp";
  const std::wstring final = folder_ + name + L".rec";
  if (!WriteAllAndFlush(temporary, jsonLine)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  if (!::MoveFileExW(temporary.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

std::vector<std::wstring> Spool::RecordFiles() const {
  std::vector<std::wstring> names;
  for (FoundFile& file : FindFiles(folder_, kRecordPattern)) names.push_back(std::move(file.name));
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<Spool::Entry> Spool::Oldest(size_t maxRecords, size_t maxBytes) const {
  std::vector<Entry> entries;
  size_t bytes = 0;
  for (const std::wstring& name : RecordFiles()) {
    if (entries.size() >= maxRecords) break;
    Entry entry{name, {}};
    if (!ReadWhole(folder_ + name, entry.line)) continue;
    if (!entries.empty() && bytes + entry.line.size() > maxBytes) break;
    bytes += entry.line.size();
    entries.push_back(std::move(entry));
  }
  return entries;
}

void Spool::Remove(const std::vector<Entry>& entries) const {
  for (const Entry& entry : entries) ::DeleteFileW((folder_ + entry.fileName).c_str());
}

void Spool::Quarantine(const std::vector<Entry>& entries) const {
  const std::wstring rejected = folder_ + kRejectedFolder;
  if (!EnsureFolder(rejected)) return;
  for (const Entry& entry : entries) {
    ::MoveFileExW((folder_ + entry.fileName).c_str(), (rejected + entry.fileName).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
}

void Spool::RemoveStaleTemporaries() const {
  FILETIME nowTime = {};
  ::GetSystemTimeAsFileTime(&nowTime);
  const uint64_t now = (uint64_t{nowTime.dwHighDateTime} << 32) | nowTime.dwLowDateTime;
  for (const FoundFile& file : FindFiles(folder_, kTemporaryPattern)) {
    if (now > file.writeTime && now - file.writeTime > kStaleAge100ns) ::DeleteFileW((folder_ + file.name).c_str());
  }
}

std::wstring SpoolFolderBesideModule(const void* address) {
  const std::wstring folder = FolderOfModuleAt(address);
  return folder.empty() ? folder : folder + L"spool\\";
}
