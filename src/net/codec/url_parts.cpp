#include "net/codec/url_parts.h"

#include <vector>

#include "net/codec/codec_text.h"

namespace {

// Decimal digits at the start of the port text, reduced modulo 65536;
// 0 when it does not start with a digit.
uint16_t PortOf(const std::string& text) {
  uint32_t value = 0;
  for (size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = (value * 10 + static_cast<uint32_t>(text[i] - '0')) & 0xFFFFu;
  }
  return static_cast<uint16_t>(value);
}

}  // namespace

bool ParseUrl(const std::string& address, UrlParts* parts) {
  const std::vector<std::string> pieces = codec_text::SplitNonEmpty(address, "/");
  if (pieces.size() < 3) return false;

  const std::vector<std::string> hostPieces = codec_text::SplitNonEmpty(pieces[1], ":");
  if (hostPieces.size() != 1 && hostPieces.size() != 2) return false;

  UrlParts result;
  result.host = hostPieces[0];
  result.port = hostPieces.size() == 2 ? PortOf(hostPieces[1]) : 80;
  for (size_t i = 2; i < pieces.size(); ++i) result.path += "/" + pieces[i];
  *parts = result;
  return true;
}

std::string ResolveLocation(const std::string& location, const std::string& host, uint16_t port) {
  if (codec_text::StartsWith(location, "http") || !codec_text::StartsWith(location, "/")) {
    return location;
  }
  return "http://" + host + ":" + std::to_string(port) + location;
}
