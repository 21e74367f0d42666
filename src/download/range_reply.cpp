#include "download/range_reply.h"

#include <cstring>

#include "net/codec/http_head.h"
#include "net/codec/http_header_fields.h"
#include "sys/text_util.h"

namespace {

constexpr char BLANK_LINE[] = "\r\n\r\n";
constexpr size_t BLANK_LINE_BYTES = 4;

}  // namespace

std::string BuildRangeRequest(const std::string& path, const std::string& host, int64_t first,
                              int64_t last) {
  return "GET " + path + " HTTP/1.1\r\n" +
         "Host:" + host + "\r\n" +
         "Accept:*/*\r\n" +
         "Range:bytes=" + FormatInt64(first) + "-" + FormatInt64(last) + "\r\n" +
         "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n" +
         "Connection:close\r\n" +
         "\r\n";
}

size_t FindHeadEnd(const char* data, size_t size, size_t searched) {
  // The blank line may straddle the bytes searched before and the new ones.
  size_t from = searched >= BLANK_LINE_BYTES - 1 ? searched - (BLANK_LINE_BYTES - 1) : 0;
  for (; from + BLANK_LINE_BYTES <= size; ++from) {
    if (std::memcmp(data + from, BLANK_LINE, BLANK_LINE_BYTES) == 0) return from + BLANK_LINE_BYTES;
  }
  return 0;
}

RangeReplyHead ReadRangeReplyHead(const char* data, size_t headLength) {
  const HttpResponseHead head = ParseResponseHead(std::string(data, headLength));
  RangeReplyHead result;
  result.status = static_cast<int32_t>(ParseInt64(head.status));
  if (result.IsRedirect()) HeaderLocation(head.lines, &result.location);
  return result;
}
