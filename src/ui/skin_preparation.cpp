// The three ways CResourceManager gets its pictures onto disk: an images
// folder that already holds files, an archive already in the work folder, and
// the archive embedded in the program.
#include <algorithm>
#include <exception>
#include <stdexcept>

#include "sys/file_ops.h"
#include "sys/file_stream.h"
#include "sys/find_entry.h"
#include "sys/path_pieces.h"
#include "sys/zip_extract.h"
#include "ui/resource_manager.h"
#include "ui/skin_events.h"

namespace {

// The archive's bytes as the loader maps them; empty when any step fails.
struct EmbeddedBytes {
  const void* data = nullptr;
  DWORD size = 0;
};

EmbeddedBytes FindEmbeddedArchive(HMODULE module) {
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(SKIN_RESOURCE_ID), SKIN_RESOURCE_TYPE);
  if (found == nullptr) return {};
  const DWORD size = ::SizeofResource(module, found);
  if (size == 0) return {};
  HGLOBAL loaded = ::LoadResource(module, found);
  if (loaded == nullptr) return {};
  const void* data = ::LockResource(loaded);
  if (data == nullptr) return {};
  // Resources of a loaded module stay mapped with it; nothing to free.
  return EmbeddedBytes{data, size};
}

// Writes the bytes to a new file; the count written, 0 when the file could
// not be created.
int64_t WriteArchiveFile(const std::wstring& path, const EmbeddedBytes& bytes) {
  try {
    CFileStream stream(OpenFileHandle(OpenModeCreate, path));
    return stream.Write(bytes.data, bytes.size);
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

bool CResourceManager::ScanImages() {
  const std::wstring folder = source_.workFolder + L"images\\";
  entries.clear();
  if (!DirectoryExists(folder)) {
    if (!CreateDirectoryChain(folder)) throw std::runtime_error("make dir failed");
    return false;
  }
  std::unique_ptr<FindEntry> entry = FindFirstEntry(folder, L"*");
  for (bool more = entry != nullptr; more; more = FindNextEntry(entry.get())) {
    if (IsDirectoryEntry(entry.get())) continue;
    const std::wstring fullPath = folder + entry->current().cFileName;
    entries.push_back(SkinEntry{fullPath, FileNameOfPath(fullPath), nullptr});
  }
  if (entries.empty()) {
    ReportError(SKIN_ERROR_NOT_FOUND);
    return false;
  }
  // A folder that is not what the archive unpacks to is used all the same,
  // but reported: some pictures may be missing.
  if (entries.size() != SKIN_FILE_COUNT) ReportError(SKIN_ERROR_NOT_FOUND);
  std::sort(entries.begin(), entries.end(),
            [](const SkinEntry& a, const SkinEntry& b) { return a.fileName < b.fileName; });
  return true;
}

bool CResourceManager::UnpackCachedArchive() {
  const std::wstring archive = source_.workFolder + L"Resource.zip";
  if (!FileExists(archive) || FileSize(archive) == 0) return false;
  if (ExtractZip(source_.workFolder + L"images\\", archive) != 0) {
    ReportError(SKIN_ERROR_UNPACK);
    return false;
  }
  return ScanImages();
}

bool CResourceManager::ExtractEmbeddedArchive() {
  if (source_.workFolder.empty()) ReportError(SKIN_ERROR_NO_WORK_FOLDER);
  const EmbeddedBytes bytes = FindEmbeddedArchive(source_.module);
  if (bytes.data == nullptr) {
    ReportError(SKIN_ERROR_UNPACK);
    return false;
  }
  // A short write is reported but not decisive: the unpacking below finds
  // out whether the archive is usable.
  if (WriteArchiveFile(source_.workFolder + L"Resource.zip", bytes) < 1) ReportError(SKIN_ERROR_UNPACK);
  return UnpackCachedArchive();
}
