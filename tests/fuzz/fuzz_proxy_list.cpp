// A proxy list as the system settings may hold it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "net/codec/proxy_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string list(reinterpret_cast<const char*>(data), size);
  const ProxySetting setting = ParseProxyList(list);
  FUZZ_CHECK(setting.type == ProxyNone || setting.type == ProxyHttp);
  if (setting.type == ProxyNone) {
    FUZZ_CHECK(setting.host.empty() && setting.port == 0);
    return 0;
  }
  FUZZ_CHECK(!setting.host.empty());
  FUZZ_CHECK(setting.host.find_first_of(";:") == std::string::npos);
  FUZZ_CHECK(list.find(setting.host) != std::string::npos);
  return 0;
}
