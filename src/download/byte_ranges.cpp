#include "download/byte_ranges.h"

std::vector<ByteRange> SplitIntoRanges(int64_t total, int32_t count) {
  std::vector<ByteRange> ranges;
  if (count < 1 || total < 0) return ranges;
  const int64_t per = total / count;
  const int64_t rest = total % count;
  for (int32_t i = 0; i < count; ++i) {
    ByteRange range;
    range.next = i * per;
    range.last = i * per + per - 1;
    if (i == count - 1) range.last += rest;
    ranges.push_back(range);
  }
  return ranges;
}
