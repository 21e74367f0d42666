// A received datagram for the reply parser. The first input byte is where
// the answers start (the size of the query that was sent); the rest is the
// reply.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "net/codec/dns_query.h"
#include "net/codec/dns_reply.h"
#include "net/codec/ipv4_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t answerOffset = data[0];
  const uint8_t* reply = data + 1;
  const size_t replySize = size - 1;

  DnsResult result;
  const bool found = ParseDnsReply(reply, replySize, answerOffset, &result);
  FUZZ_CHECK(result.count >= 0 && result.count <= DNS_MAX_ADDRESSES);
  FUZZ_CHECK(found == (result.count > 0));

  for (int32_t i = 0; i < result.count; ++i) {
    char text[16];
    FUZZ_CHECK(AddressToText(result.addresses[i], text, sizeof(text)) == text);
    uint32_t back = 0;
    FUZZ_CHECK(IsValidIPv4(text, &back) && back == result.addresses[i]);
  }

  // Every name in the datagram, wherever it starts.
  for (size_t offset = 0; offset < replySize; ++offset) {
    std::string name;
    size_t wire = 0;
    if (!ReadDnsName(reply, replySize, offset, &name, &wire)) continue;
    FUZZ_CHECK(name.size() <= DNS_MAX_NAME_TEXT);
    FUZZ_CHECK(wire >= 1 && wire <= replySize - offset);
  }

  // The same bytes as a host name: a query either refuses it or holds it.
  const std::string host(reinterpret_cast<const char*>(reply), replySize);
  const std::vector<uint8_t> query = BuildDnsQuery(0x1234, host);
  FUZZ_CHECK(query.empty() || (query.size() > DNS_QUERY_FIXED_BYTES &&
                               query.size() <= DNS_QUERY_FIXED_BYTES + 254));
  return 0;
}
