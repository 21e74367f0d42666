// IOrvaneStream over a Windows file handle, and the open call that makes
// the handle. One stream is not safe for concurrent use; callers that share
// one lock around it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "sys/orvane_stream.h"
#include "sys/unique_handle.h"

// Mode words for OpenFileHandle. Other words are read bit by bit: the low two
// bits give the access (0 read, 1 write, 2 both, 3 refused) and bits 4 to 7
// the sharing (0 or 0x10 none, 0x20 read, 0x30 write, 0x40 both, higher
// values refused).
enum OpenMode : uint32_t {
  OpenModeCreate = 0xFFFF,     // create or truncate, read and write, fully shared
  OpenModeReadShared = 0x40,   // existing file, read, fully shared
};

// Opens `path` for a CFileStream. A refused mode word gives an empty handle.
// Throws std::runtime_error: "filename can't be empty" (create with an empty
// path), "OrvaneFileCreate failed", "OrvaneFileOpen failed".
UniqueFileHandle OpenFileHandle(uint32_t mode, const std::wstring& path);

class CFileStream : public IOrvaneStream {
 public:
  // Takes the handle over; an empty one makes every call fail.
  explicit CFileStream(UniqueFileHandle handle) : handle_(std::move(handle)) {}
  CFileStream(const CFileStream&) = delete;
  CFileStream& operator=(const CFileStream&) = delete;

  int64_t Tell() override;
  int64_t SeekTo(int64_t position) override;
  int64_t GetSize() override;
  bool SetSize(int64_t length) override;
  int64_t Read(void* buffer, uint32_t count) override;
  int64_t Write(const void* buffer, uint32_t count) override;
  int64_t Seek(int64_t distance, SeekOrigin origin) override;
  bool IsEof() override { return eof_; }
  void Release() override { delete this; }
  ~CFileStream() override = default;
  bool GetTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) override;

 private:
  UniqueFileHandle handle_;
  bool eof_ = false;
};
