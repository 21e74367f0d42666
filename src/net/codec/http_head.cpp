#include "net/codec/http_head.h"

#include "net/codec/codec_text.h"
#include "net/codec/http_header_fields.h"

namespace {

bool EndsWithBlankLine(const std::string& text) {
  const size_t n = text.size();
  return n >= 4 && text[n - 4] == '\r' && text[n - 3] == '\n' && text[n - 2] == '\r' &&
         text[n - 1] == '\n';
}

}  // namespace

size_t HttpHeadBuffer::Feed(const char* data, size_t size) {
  size_t taken = 0;
  while (!complete && taken < size) {
    text.push_back(data[taken++]);
    complete = EndsWithBlankLine(text) || text.size() >= HTTP_HEAD_LIMIT;
  }
  return taken;
}

HttpResponseHead ParseResponseHead(const std::string& head) {
  HttpResponseHead parsed;
  parsed.lines = codec_text::SplitNonEmpty(head, "\r\n");
  if (parsed.lines.empty()) return parsed;
  parsed.status = codec_text::StatusTextOf(parsed.lines[0]);
  parsed.contentLength = HeaderContentLength(parsed.lines);
  parsed.chunked = HeaderSaysChunked(parsed.lines);
  return parsed;
}
