#include "net/dns_resolver.h"

#include <winsock2.h>
#include <iptypes.h>

#include <cstring>
#include <iterator>

#include "deployment.h"
#include "net/codec/dns_query.h"
#include "net/unique_socket.h"
#include "sys/system_library.h"

namespace {

// A reply is one datagram; a UDP datagram never exceeds this.
constexpr size_t MAX_DATAGRAM = 65536;

using GetNetworkParamsFn = DWORD(WINAPI*)(PFIXED_INFO, PULONG);

// The DNS servers the system reports, read with one FIXED_INFO-sized buffer:
// any error, a buffer too small for the server chain included, gives none.
std::vector<std::string> SystemDnsServers() {
  // iphlpapi is not among the libraries the executable may import.
  const auto getNetworkParams =
      SystemFunctionAs<GetNetworkParamsFn>(L"iphlpapi.dll", "GetNetworkParams");
  if (getNetworkParams == nullptr) return {};
  FIXED_INFO info = {};
  ULONG size = sizeof(info);
  if (getNetworkParams(&info, &size) != ERROR_SUCCESS) return {};
  std::vector<std::string> servers;
  for (const IP_ADDR_STRING* entry = &info.DnsServerList; entry != nullptr; entry = entry->Next) {
    const char* text = entry->IpAddress.String;
    servers.emplace_back(text, strnlen(text, sizeof(entry->IpAddress.String)));
  }
  return servers;
}

std::vector<std::string> BuiltInDnsServers() {
  return std::vector<std::string>(std::begin(deployment::PUBLIC_DNS_SERVERS),
                                  std::end(deployment::PUBLIC_DNS_SERVERS));
}

// True when `s` becomes readable within the time-out; false on time-out,
// on an error condition and when select itself fails.
bool WaitForReply(SOCKET s) {
  fd_set readable;
  fd_set failed;
  FD_ZERO(&readable);
  FD_ZERO(&failed);
  FD_SET(s, &readable);
  FD_SET(s, &failed);
  timeval timeout = {static_cast<long>(DNS_REPLY_TIMEOUT_MS / 1000), 0};
  if (::select(0, &readable, nullptr, &failed, &timeout) <= 0) return false;
  return FD_ISSET(s, &readable) && !FD_ISSET(s, &failed);
}

}  // namespace

std::vector<std::string> DnsServerList(const char* server) {
  if (server != nullptr && IsValidIPv4(server, nullptr)) return {server};
  std::vector<std::string> servers = SystemDnsServers();
  if (servers.empty()) servers = BuiltInDnsServers();
  return servers;
}

int DnsQuery(DnsResult* result, const char* server, const char* hostName) {
  if (result == nullptr || hostName == nullptr) return -1;
  result->count = 0;

  const std::vector<std::string> servers = DnsServerList(server);
  uint32_t serverAddress = 0;
  if (servers.empty() || !IsValidIPv4(servers.front(), &serverAddress)) return -1;
  const std::vector<uint8_t> query = BuildDnsQuery(::GetCurrentProcessId(), hostName);
  if (query.empty()) return -1;

  UniqueSocket udp(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  if (!udp) return -1;
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = ::htons(deployment::DNS_PORT);
  to.sin_addr.s_addr = serverAddress;
  const int sent = ::sendto(udp.get(), reinterpret_cast<const char*>(query.data()),
                            static_cast<int>(query.size()), 0,
                            reinterpret_cast<const sockaddr*>(&to), sizeof(to));
  if (sent == SOCKET_ERROR) return -1;
  if (!WaitForReply(udp.get())) return -1;

  std::vector<uint8_t> reply(MAX_DATAGRAM);
  const int received = ::recvfrom(udp.get(), reinterpret_cast<char*>(reply.data()),
                                  static_cast<int>(reply.size()), 0, nullptr, nullptr);
  if (received <= 0) return -1;
  return ParseDnsReply(reply.data(), static_cast<size_t>(received), query.size(), result) ? 0 : -1;
}
