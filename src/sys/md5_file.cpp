#include "sys/md5_file.h"

#include <exception>
#include <utility>

#include "sys/file_stream.h"
#include "sys/md5.h"

namespace {

constexpr uint32_t kReadPieceSize = 4096;

UniqueFileHandle OpenForDigest(const std::wstring& path) {
  try {
    return OpenFileHandle(OpenModeReadShared, path);
  } catch (const std::exception&) {
    return UniqueFileHandle();
  }
}

}  // namespace

std::string Md5HexOfFile(const std::wstring& path) {
  UniqueFileHandle handle = OpenForDigest(path);
  if (!handle) return std::string();
  CFileStream file(std::move(handle));
  Md5 md5;
  uint64_t total = 0;
  char piece[kReadPieceSize];
  // Reads to the end rather than trusting a size taken first, so files past
  // 2 GiB digest too; a read error gives no digest rather than a wrong one.
  for (;;) {
    const int64_t read = file.Read(piece, kReadPieceSize);
    if (read == -1) break;
    if (read == 0) return std::string();
    md5.Update(piece, static_cast<size_t>(read));
    total += static_cast<uint64_t>(read);
  }
  if (total == 0) return std::string();
  return Md5ToHex(md5.Finish());
}
