#include "net/codec/dns_reply.h"

#include <cstring>

namespace {

constexpr size_t DNS_HEADER_BYTES = 12;
constexpr size_t RECORD_FIXED_BYTES = 10;  // type, class, TTL, data length
constexpr uint8_t POINTER_MARK = 192;
constexpr uint8_t MAX_LABEL_LENGTH = 63;
constexpr uint16_t TYPE_A = 1;

uint16_t BigEndian16(const uint8_t* bytes) {
  return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

}  // namespace

bool ReadDnsName(const uint8_t* message, size_t size, size_t offset, std::string* text,
                 size_t* wireLength) {
  text->clear();
  size_t pos = offset;
  int jumps = 0;
  bool jumped = false;
  for (;;) {
    if (pos >= size) return false;
    const uint8_t lead = message[pos];
    if (lead == 0) {
      if (!jumped) *wireLength = pos + 1 - offset;
      return true;
    }
    if (lead >= POINTER_MARK) {
      if (pos + 1 >= size) return false;
      if (!jumped) *wireLength = pos + 2 - offset;
      jumped = true;
      if (++jumps > DNS_MAX_POINTER_JUMPS) return false;
      pos = static_cast<size_t>(lead - POINTER_MARK) * 256 + message[pos + 1];
      continue;
    }
    if (lead > MAX_LABEL_LENGTH) return false;
    if (size - pos - 1 < lead) return false;
    if (!text->empty()) text->push_back('.');
    text->append(reinterpret_cast<const char*>(message + pos + 1), lead);
    if (text->size() > DNS_MAX_NAME_TEXT) return false;
    pos += 1 + static_cast<size_t>(lead);
  }
}

namespace {

// Reads one answer record at `*pos` and moves past it; an A record's address
// is appended to `result`. False when the record is malformed.
bool ReadAnswer(const uint8_t* reply, size_t size, size_t* pos, DnsResult* result) {
  std::string name;
  size_t wire = 0;
  if (!ReadDnsName(reply, size, *pos, &name, &wire)) return false;
  size_t at = *pos + wire;
  if (size - at < RECORD_FIXED_BYTES) return false;
  const uint16_t type = BigEndian16(reply + at);
  const uint16_t dataLength = BigEndian16(reply + at + 8);
  at += RECORD_FIXED_BYTES;
  if (size - at < dataLength) return false;

  if (type == TYPE_A) {
    if (dataLength != 4) return false;
    std::memcpy(&result->addresses[result->count], reply + at, 4);
    ++result->count;
    *pos = at + dataLength;
    return true;
  }
  // Other records (a CNAME in practice) carry a name; move past it.
  if (!ReadDnsName(reply, size, at, &name, &wire)) return false;
  *pos = at + wire;
  return true;
}

}  // namespace

bool ParseDnsReply(const uint8_t* reply, size_t size, size_t answerOffset, DnsResult* result) {
  std::memset(result, 0, sizeof(*result));
  if (reply == nullptr || size < DNS_HEADER_BYTES) return false;
  if (answerOffset < DNS_HEADER_BYTES || answerOffset > size) return false;

  int answers = BigEndian16(reply + 6);
  if (answers > DNS_MAX_ADDRESSES) answers = DNS_MAX_ADDRESSES;
  size_t pos = answerOffset;
  for (int i = 0; i < answers; ++i) {
    if (!ReadAnswer(reply, size, &pos, result)) {
      std::memset(result, 0, sizeof(*result));
      return false;
    }
  }
  return result->count > 0;
}
