// Where a download worker puts the bytes of its range.
#pragma once

#include <cstdint>

class IRangeSink {
 public:
  // Writes count bytes of data at the file offset and advances segment
  // index; false when they could not be written. Called on the worker's
  // thread; workers of different segments call it concurrently.
  virtual bool WriteAt(int32_t count, int32_t index, const char* data, int64_t offset) = 0;

 protected:
  ~IRangeSink() = default;
};
