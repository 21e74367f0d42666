// Bytes from a server as the head reader receives them, then the header
// lookups, the body framing and the proxy tunnel's judgement of the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "net/codec/http_body.h"
#include "net/codec/http_head.h"
#include "net/codec/http_header_fields.h"
#include "net/codec/proxy_tunnel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);

  // Byte by byte, as the client reads a head, and in bulk: the same result.
  HttpHeadBuffer single;
  size_t used = 0;
  while (used < size && !single.Complete()) used += single.Feed(bytes + used, 1);
  HttpHeadBuffer bulk;
  FUZZ_CHECK(bulk.Feed(bytes, size) == used);
  FUZZ_CHECK(bulk.Text() == single.Text());
  FUZZ_CHECK(single.Text().size() <= HTTP_HEAD_LIMIT);

  const HttpResponseHead head = ParseResponseHead(single.Text());
  FUZZ_CHECK(head.status.empty() || head.status.size() == 3);
  for (const std::string& line : head.lines) {
    FUZZ_CHECK(!line.empty() && line.find_first_of("\r\n") == std::string::npos);
  }

  const BodyFraming framing = ChooseBodyFraming(head);
  if (framing == BodyFraming::ByLength) {
    FUZZ_CHECK(head.contentLength > 0 && head.contentLength <= HTTP_BODY_LIMIT);
  }

  std::string location;
  if (HeaderLocation(head.lines, &location)) {
    FUZZ_CHECK(location.empty() || (location[0] != ' ' && location[0] != '\t'));
  }
  const std::string fileName = ContentDispositionFileName(head.lines);
  FUZZ_CHECK(fileName.find_first_of("\\/:") == std::string::npos && fileName != "..");

  ProxyTunnelAccepted(bytes, size);
  return 0;
}
