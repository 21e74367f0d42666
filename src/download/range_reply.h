// The bytes of a ranged GET: the request text and the head of its reply. Pure
// functions; the download worker only moves the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A reply head this long without its blank line is no reply of ours; the
// worker gives the connection up rather than buffer it further.
constexpr size_t RANGE_HEAD_LIMIT = 16 * 1024;

// GET of path for bytes first..last (inclusive), asking the server to close
// the connection afterwards.
std::string BuildRangeRequest(const std::string& path, const std::string& host, int64_t first,
                              int64_t last);

// The length of the head at the start of data, up to and including its
// CR LF CR LF; 0 while the blank line has not arrived. `searched` is how many
// bytes an earlier call already looked at without finding it, so a head
// that arrives in many small pieces is not searched from the start each time.
size_t FindHeadEnd(const char* data, size_t size, size_t searched);

struct RangeReplyHead {
  int32_t status = 0;    // the status code; 0 when the status line has none
  std::string location;  // the Location value of a redirect (3xx), else empty
  bool IsRedirect() const { return status >= 300 && status <= 399; }
};

// Reads a complete head (as FindHeadEnd measured it).
RangeReplyHead ReadRangeReplyHead(const char* data, size_t headLength);
