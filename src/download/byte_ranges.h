// How a package is split into the byte ranges that the download workers
// fetch side by side.
#pragma once

#include <cstdint>
#include <vector>

struct ByteRange {
  int64_t next = 0;  // first byte still to fetch
  int64_t last = 0;  // last byte of the range, inclusive

  // A range whose next byte lies beyond its last one has nothing left.
  bool Complete() const { return next > last; }
};

// `count` ranges over `total` bytes: each gets total / count bytes and the
// last one also the remainder. A range may be empty from the start (a 1-byte
// package in two ranges gives 0..-1 and 0..0). An empty vector for a count
// below 1 or a negative total.
std::vector<ByteRange> SplitIntoRanges(int64_t total, int32_t count);
