#include "net/codec/proxy_list.h"

#include "net/codec/codec_text.h"

namespace {

// Decimal digits at the start of `text` (after blanks and a sign, as atoi
// reads them), reduced modulo 65536.
uint16_t PortNumber(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = (value * 10 + static_cast<uint32_t>(text[i] - '0')) & 0xFFFFu;
  }
  if (negative) value = (0x10000u - value) & 0xFFFFu;
  return static_cast<uint16_t>(value);
}

}  // namespace

ProxySetting ParseProxyList(const std::string& list) {
  ProxySetting setting;
  for (const std::string& entry : codec_text::SplitNonEmpty(list, ";")) {
    const size_t equals = entry.find('=');
    const std::string scheme = equals == std::string::npos ? std::string() : entry.substr(0, equals);
    const size_t hostStart = equals == std::string::npos ? 0 : equals + 1;
    const size_t colon = entry.find(':', hostStart);
    const std::string host = entry.substr(hostStart, colon == std::string::npos
                                                         ? std::string::npos
                                                         : colon - hostStart);
    if (host.empty()) continue;
    if (!scheme.empty() && scheme != "http") continue;
    setting.type = ProxyHttp;
    setting.host = host;
    setting.port = PortNumber(colon == std::string::npos ? entry : entry.substr(colon + 1));
  }
  return setting;
}
