#include "net/codec/proxy_tunnel.h"

#include "net/codec/codec_text.h"

std::string BuildConnectRequest(const std::string& host, uint16_t port) {
  return "CONNECT " + host + ":" + std::to_string(port) + " HTTP/1.1\r\n\r\n";
}

bool ProxyTunnelAccepted(const char* reply, size_t size) {
  if (reply == nullptr) return false;
  const std::string status = codec_text::StatusTextOf(std::string(reply, size));
  return !status.empty() && codec_text::ParseDecimalInt64(status) == 200;
}
