// How connections reach the network: the proxy and the name resolution that
// worked last. GlobalSettings holds the process-wide pair; each TCP client
// starts from a copy and publishes what repaired a failure.
#pragma once

#include <cstdint>
#include <string>

enum ProxyType : int32_t {
  ProxyNone = 0,  // direct connection
  ProxyHttp = 1,  // HTTP proxy, tunnelled with CONNECT
};

struct ProxySetting {
  int32_t type = ProxyNone;  // any value but the two above is refused
  std::string host;
  uint16_t port = 0;  // host byte order
};

enum DnsMode : int32_t {
  DnsSystem = 0,  // the operating system's resolver
  DnsOwn = 1,     // our own UDP resolver, asking server
};

struct DnsSetting {
  int32_t mode = DnsSystem;  // any value but the two above fails resolution
  std::string server;        // dotted-decimal IPv4 address; may be empty
};
