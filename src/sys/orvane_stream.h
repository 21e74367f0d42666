// The byte-stream interface the installer reads and writes files through.
// Positions and lengths are signed 64-bit; -1 means failure. The order of
// the virtual operations is fixed and must not change.
#pragma once

#include <cstdint>

enum SeekOrigin : int { SeekBegin = 0, SeekCurrent = 1, SeekEnd = 2 };

class IOrvaneStream {
 public:
  // The current position.
  virtual int64_t Tell() = 0;
  // Moves to an absolute position; returns it, or -1.
  virtual int64_t SeekTo(int64_t position) = 0;
  // The stream's length; the position is left where it was.
  virtual int64_t GetSize() = 0;
  // Sets the length and moves to position 0; false when the end cannot be set.
  virtual bool SetSize(int64_t length) = 0;
  // Bytes read (possibly fewer than asked), -1 at the end, 0 on other failures
  // and for a null buffer or a count of 0.
  virtual int64_t Read(void* buffer, uint32_t count) = 0;
  // Bytes written in one call, -1 on failure, 0 for a null buffer or count 0.
  virtual int64_t Write(const void* buffer, uint32_t count) = 0;
  // Returns the new position, or -1.
  virtual int64_t Seek(int64_t distance, SeekOrigin origin) = 0;
  // Set when a read hit the end; seeks, writes and SetSize clear it.
  virtual bool IsEof() = 0;
  // Destroys a stream created with new.
  virtual void Release() = 0;
  virtual ~IOrvaneStream() = default;
  // Creation, last-access and last-write times in seconds since 1970 (UTC).
  virtual bool GetTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) = 0;
};
