#include "sys/file_stream.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr uint32_t kAccessMask = 0x3;
constexpr uint32_t kShareMask = 0xF0;

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;
constexpr int64_t kFileTimeUnitsPerSecond = 10000000LL;

bool AccessFor(uint32_t mode, DWORD& access) {
  switch (mode & kAccessMask) {
    case 0: access = GENERIC_READ; return true;
    case 1: access = GENERIC_WRITE; return true;
    case 2: access = GENERIC_READ | GENERIC_WRITE; return true;
    default: return false;
  }
}

bool SharingFor(uint32_t mode, DWORD& share) {
  switch (mode & kShareMask) {
    case 0x00:
    case 0x10: share = 0; return true;
    case 0x20: share = FILE_SHARE_READ; return true;
    case 0x30: share = FILE_SHARE_WRITE; return true;
    case 0x40: share = FILE_SHARE_READ | FILE_SHARE_WRITE; return true;
    default: return false;
  }
}

UniqueFileHandle CreateForWriting(const std::wstring& path) {
  if (path.empty()) throw std::runtime_error("filename can't be empty");
  UniqueFileHandle handle(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) throw std::runtime_error("OrvaneFileCreate failed");
  return handle;
}

int64_t UnixSecondsOf(const FILETIME& time) {
  const int64_t ticks =
      (static_cast<int64_t>(time.dwHighDateTime) << 32) | static_cast<int64_t>(time.dwLowDateTime);
  return (ticks - kUnixEpochAsFileTime) / kFileTimeUnitsPerSecond;
}

}  // namespace

UniqueFileHandle OpenFileHandle(uint32_t mode, const std::wstring& path) {
  if (mode == OpenModeCreate) return CreateForWriting(path);
  DWORD access = 0;
  DWORD share = 0;
  if (!AccessFor(mode, access) || !SharingFor(mode, share)) return UniqueFileHandle();
  UniqueFileHandle handle(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) throw std::runtime_error("OrvaneFileOpen failed");
  return handle;
}

int64_t CFileStream::Tell() { return Seek(0, SeekCurrent); }

int64_t CFileStream::SeekTo(int64_t position) { return Seek(position, SeekBegin); }

int64_t CFileStream::GetSize() {
  const int64_t saved = Tell();
  if (saved == -1) return -1;
  const int64_t size = Seek(0, SeekEnd);
  Seek(saved, SeekBegin);
  return size;
}

bool CFileStream::SetSize(int64_t length) {
  if (SeekTo(length) == -1) return false;
  const bool ok = ::SetEndOfFile(handle_.get()) != FALSE;
  Seek(0, SeekBegin);
  eof_ = false;
  return ok;
}

int64_t CFileStream::Read(void* buffer, uint32_t count) {
  if (buffer == nullptr || count == 0) return 0;
  DWORD read = 0;
  if (::ReadFile(handle_.get(), buffer, count, &read, nullptr)) {
    if (read != 0) return read;
    eof_ = true;
    return -1;
  }
  if (::GetLastError() == ERROR_HANDLE_EOF) {
    eof_ = true;
    return -1;
  }
  return read;
}

int64_t CFileStream::Write(const void* buffer, uint32_t count) {
  eof_ = false;
  if (buffer == nullptr || count == 0) return 0;
  DWORD written = 0;
  if (!::WriteFile(handle_.get(), buffer, count, &written, nullptr)) return -1;
  return written;
}

int64_t CFileStream::Seek(int64_t distance, SeekOrigin origin) {
  eof_ = false;
  LARGE_INTEGER move;
  move.QuadPart = distance;
  LARGE_INTEGER position;
  position.QuadPart = 0;
  if (!::SetFilePointerEx(handle_.get(), move, &position, static_cast<DWORD>(origin))) return -1;
  return position.QuadPart;
}

bool CFileStream::GetTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) {
  FILETIME created{};
  FILETIME accessed{};
  FILETIME written{};
  if (!::GetFileTime(handle_.get(), &created, &accessed, &written)) return false;
  creation = UnixSecondsOf(created);
  lastAccess = UnixSecondsOf(accessed);
  lastWrite = UnixSecondsOf(written);
  return true;
}
