#include "sys/zip_extract.h"

#include <iowin32.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "sys/file_ops.h"
#include "sys/file_stream.h"
#include "sys/path_pieces.h"
#include "sys/text_convert.h"
#include "sys/zip_name.h"

namespace {

constexpr int kCaseSensitive = 1;
constexpr unsigned kNameBufferSize = 260;
constexpr unsigned kCopyPieceSize = 2048;

enum class OnEntryFailure { Stop, Skip };

// Closes the entry opened with unzOpenCurrentFile; Finish reports the CRC
// check minizip makes once the whole entry has been read.
class OpenedEntry {
 public:
  explicit OpenedEntry(unzFile archive) : archive_(archive) {}
  ~OpenedEntry() {
    if (archive_ != nullptr) unzCloseCurrentFile(archive_);
  }
  OpenedEntry(const OpenedEntry&) = delete;
  OpenedEntry& operator=(const OpenedEntry&) = delete;

  bool Finish() { return unzCloseCurrentFile(std::exchange(archive_, nullptr)) == UNZ_OK; }

 private:
  unzFile archive_;
};

UniqueFileHandle CreateTarget(const std::wstring& path) {
  try {
    return OpenFileHandle(OpenModeCreate, path);
  } catch (const std::exception&) {
    return UniqueFileHandle();
  }
}

bool CopyEntry(unzFile archive, CFileStream& target, ZPOS64_T expectedSize) {
  char piece[kCopyPieceSize];
  ZPOS64_T copied = 0;
  for (;;) {
    const int read = unzReadCurrentFile(archive, piece, kCopyPieceSize);
    if (read < 0) return false;
    if (read == 0) break;
    if (target.Write(piece, static_cast<uint32_t>(read)) != read) return false;
    copied += static_cast<ZPOS64_T>(read);
  }
  return copied == expectedSize;
}

// Joins a checked entry name to the folder; empty when the name is refused.
std::wstring TargetPathFor(const std::wstring& root, const std::string& entryName) {
  std::wstring relative = AnsiToWide(entryName);
  // Checked after conversion: that is the text the file system will parse.
  if (!IsSafeZipEntryName(WideToUtf8(relative))) return std::wstring();
  std::replace(relative.begin(), relative.end(), L'/', L'\\');
  return root + relative;
}

int ExtractAll(const std::wstring& folder, const std::wstring& archivePath,
               OnEntryFailure onFailure) {
  if (folder.empty() || archivePath.empty()) return -1;
  UniqueZipArchive archive = OpenZipArchive(archivePath);
  if (!archive) return -1;
  const std::vector<std::string> names = ListZipEntries(archive.get());
  if (names.empty()) return -1;
  const std::wstring root = WithTrailingSeparator(folder);
  for (const std::string& name : names) {
    const std::wstring target = TargetPathFor(root, name);
    const bool ok = !target.empty() && ExtractZipEntry(archive.get(), name, target) == 0;
    if (!ok && onFailure == OnEntryFailure::Stop) return -1;
  }
  return 0;
}

}  // namespace

void ZipArchiveTraits::Close(Type h) noexcept { unzClose(h); }

UniqueZipArchive OpenZipArchive(const std::wstring& path) {
  zlib_filefunc64_def fileFunctions;
  fill_win32_filefunc64W(&fileFunctions);
  return UniqueZipArchive(unzOpen2_64(path.c_str(), &fileFunctions));
}

std::vector<std::string> ListZipEntries(unzFile archive) {
  std::vector<std::string> names;
  if (archive == nullptr) return names;
  for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
    char name[kNameBufferSize] = {};
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, name, kNameBufferSize, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      break;
    }
    // minizip leaves a name that fills the buffer without its terminating NUL.
    names.emplace_back(name, strnlen(name, kNameBufferSize));
  }
  return names;
}

int ExtractZipEntry(unzFile archive, const std::string& entryName, const std::wstring& targetPath) {
  if (archive == nullptr) return -1;
  if (unzLocateFile(archive, entryName.c_str(), kCaseSensitive) != UNZ_OK) return -1;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return -1;
  }
  if (info.uncompressed_size == 0) return -1;
  if (unzOpenCurrentFile(archive) != UNZ_OK) return -1;
  OpenedEntry entry(archive);
  UniqueFileHandle handle = CreateTarget(targetPath);
  if (!handle) return -1;
  bool copied = false;
  {
    CFileStream target(std::move(handle));
    copied = CopyEntry(archive, target, info.uncompressed_size) && entry.Finish();
  }
  if (copied) return 0;
  // A cut-short or corrupt file must not pass for the entry later on.
  DeleteFileAt(targetPath);
  return -1;
}

int ExtractZip(const std::wstring& folder, const std::wstring& archivePath) {
  return ExtractAll(folder, archivePath, OnEntryFailure::Stop);
}

void ExtractZipQuiet(const std::wstring& folder, const std::wstring& archivePath) {
  ExtractAll(folder, archivePath, OnEntryFailure::Skip);
}
