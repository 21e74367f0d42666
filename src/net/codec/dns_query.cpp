#include "net/codec/dns_query.h"

namespace {

constexpr size_t MAX_LABEL_BYTES = 63;
constexpr size_t MAX_ENCODED_NAME_BYTES = 255;  // including the final zero

void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value & 0xFF));
}

// Appends the labels of `name` and the final zero; false when a label is
// empty or too long.
bool AppendLabels(std::vector<uint8_t>& out, const std::string& name) {
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('.', start);
    if (end == std::string::npos) end = name.size();
    const size_t length = end - start;
    if (length == 0 || length > MAX_LABEL_BYTES) return false;
    out.push_back(static_cast<uint8_t>(length));
    out.insert(out.end(), name.begin() + static_cast<std::ptrdiff_t>(start),
               name.begin() + static_cast<std::ptrdiff_t>(end));
    start = end + 1;
  }
  out.push_back(0);
  return true;
}

}  // namespace

std::vector<uint8_t> BuildDnsQuery(uint32_t processId, const std::string& hostName) {
  std::string name = hostName;
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (name.empty()) return {};

  std::vector<uint8_t> query;
  query.push_back(static_cast<uint8_t>(processId & 0xFF));
  query.push_back(static_cast<uint8_t>((processId >> 8) & 0xFF));
  query.push_back(0x01);
  query.push_back(0x00);
  AppendBigEndian16(query, 1);  // QDCOUNT
  AppendBigEndian16(query, 0);  // ANCOUNT
  AppendBigEndian16(query, 0);  // NSCOUNT
  AppendBigEndian16(query, 0);  // ARCOUNT
  const size_t nameStart = query.size();
  if (!AppendLabels(query, name)) return {};
  if (query.size() - nameStart > MAX_ENCODED_NAME_BYTES) return {};
  AppendBigEndian16(query, 1);  // QTYPE A
  AppendBigEndian16(query, 1);  // QCLASS IN
  return query;
}
