#include "net/tcp_client.h"

#include <cstring>
#include <stdexcept>

#include "net/codec/proxy_tunnel.h"
#include "net/dns_resolver.h"
#include "net/network_check.h"
#include "net/proxy_detect.h"

namespace {

// The proxy must accept the TCP connection within this time.
constexpr long PROXY_CONNECT_TIMEOUT_S = 1;
// The longest CONNECT reply head the client reads.
constexpr size_t TUNNEL_REPLY_LIMIT = 1023;

[[noreturn]] void Fail(const char* message) { throw std::runtime_error(message); }

// The first address gethostbyname gives for `name`; false when there is none.
bool LookUpSystem(const std::string& name, uint32_t* found) {
  const hostent* entry = ::gethostbyname(name.c_str());
  if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list == nullptr ||
      entry->h_addr_list[0] == nullptr) {
    return false;
  }
  std::memcpy(found, entry->h_addr_list[0], sizeof(*found));
  return true;
}

bool EndsWithBlankLine(const std::string& text) {
  return text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0;
}

sockaddr_in SocketAddress(uint32_t address, uint16_t netPort) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = netPort;
  return to;
}

bool ConnectTo(SOCKET s, const sockaddr_in& to) {
  return ::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) != SOCKET_ERROR;
}

enum class SocketMode { Blocking, NonBlocking };

void SetMode(SOCKET s, SocketMode mode, const char* failure) {
  u_long nonBlocking = mode == SocketMode::NonBlocking ? 1 : 0;
  if (::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) Fail(failure);
}

// Applies a time-out option; -1 puts back the system default (none).
void ApplyTimeout(SOCKET s, int option, int32_t ms) {
  const DWORD value = ms < 0 ? 0 : static_cast<DWORD>(ms);
  ::setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char*>(&value), sizeof(value));
}

}  // namespace

CTCPClient::CTCPClient() = default;

CTCPClient::~CTCPClient() { Close(); }

void CTCPClient::Resolve(const std::string& hostName, uint16_t portNumber) {
  host = hostName;
  port = portNumber;
  uint32_t found = INADDR_NONE;
  bool resolved = false;
  if (dns.mode == DnsSystem) {
    resolved = LookUpSystem(host, &found);
  } else if (dns.mode == DnsOwn) {
    resolved = ResolveOwn(&found);
  }
  if (!resolved) Fail("Can't resolve host name");
  address = found;
  netPort = ::htons(port);
}

bool CTCPClient::ResolveOwn(uint32_t* found) {
  // A name server answers no query for an address written as a name; the
  // address is its own answer.
  if (IsValidIPv4(host, found)) return true;
  try {
    DnsResult result = {};
    if (DnsQuery(&result, dns.server.c_str(), host.c_str()) != 0 || result.count <= 0) return false;
    char text[256] = {};
    if (AddressToText(result.addresses[0], text, sizeof(text)) == nullptr) return false;
    *found = result.addresses[0];
    host = text;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void CTCPClient::Connect() {
  proxy = CurrentProxySetting();
  try {
    ConnectOnce();
    return;
  } catch (const std::exception&) {
    ThrowIfAborted();
  }
  ++connectFailures;
  if (connectFailures % 2 == 0) {
    proxy.type = ProxyNone;
  } else {
    proxy = DetectSystemProxy("http://" + host);
  }
  ConnectOnce();
  PublishProxySetting(proxy);
}

void CTCPClient::ConnectOnce() {
  const SOCKET s = OpenSocket();
  if (proxy.type != ProxyNone) {
    ConnectToProxy(s);
  } else {
    ConnectDirect(s);
  }
  ApplyTimeouts(s);
  if (proxy.type == ProxyNone) return;
  if (proxy.type != ProxyHttp) Fail("Proxy not support");
  if (!OpenProxyTunnel()) Fail("Proxy failed");
}

SOCKET CTCPClient::OpenSocket() {
  CXMutexLock guard(socketLock);
  socket.reset();
  ThrowIfAborted();
  socket.reset(::socket(AF_INET, SOCK_STREAM, 0));
  if (!socket) Fail("Can't create socket");
  return socket.get();
}

void CTCPClient::ConnectToProxy(SOCKET s) {
  SetMode(s, SocketMode::NonBlocking, "Can't set not block");
  // The proxy is always found with the system resolver, whatever the DNS mode.
  uint32_t proxyAddress = INADDR_NONE;
  if (!LookUpSystem(proxy.host, &proxyAddress)) Fail("Can't connect proxy server");
  if (!ConnectTo(s, SocketAddress(proxyAddress, ::htons(proxy.port)))) {
    // Refusals show as an error condition, so wait for that too rather than
    // for the whole time-out.
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval timeout = {PROXY_CONNECT_TIMEOUT_S, 0};
    if (::select(0, nullptr, &writable, &failed, &timeout) <= 0) Fail("Can't connect proxy server");
    int error = -1;
    int length = sizeof(error);
    ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    if (error != 0) Fail("Can't connect proxy server");
  }
  SetMode(s, SocketMode::Blocking, "Can't set block");
}

void CTCPClient::ConnectDirect(SOCKET s) {
  const sockaddr_in to = SocketAddress(address, netPort);
  // Tried twice on the same socket before giving up.
  if (ConnectTo(s, to)) return;
  if (ConnectTo(s, to)) return;
  Fail("Connect failed");
}

void CTCPClient::ApplyTimeouts(SOCKET s) {
  if (recvTimeoutMs != -1) ApplyTimeout(s, SO_RCVTIMEO, recvTimeoutMs);
  if (sendTimeoutMs != -1) ApplyTimeout(s, SO_SNDTIMEO, sendTimeoutMs);
}

bool CTCPClient::OpenProxyTunnel() {
  const SOCKET s = Socket();
  const std::string request = BuildConnectRequest(host, port);
  // The proxy's answer tells whether the request arrived; send's result adds nothing.
  ::send(s, request.data(), static_cast<int>(request.size()), 0);
  // The reply head is read to its blank line one byte at a time: a head that
  // arrives in pieces must not leave its rest in front of the server's reply,
  // and nothing the server sends through the tunnel may be taken with it.
  std::string reply;
  while (reply.size() < TUNNEL_REPLY_LIMIT && !EndsWithBlankLine(reply)) {
    char byte = 0;
    if (::recv(s, &byte, 1, 0) < 1) break;
    reply.push_back(byte);
  }
  if (reply.empty()) return false;
  return ProxyTunnelAccepted(reply.data(), reply.size());
}

void CTCPClient::SetRecvTimeout(int32_t ms) {
  if (ms == recvTimeoutMs) return;
  recvTimeoutMs = ms;
  const SOCKET s = Socket();
  if (s != INVALID_SOCKET) ApplyTimeout(s, SO_RCVTIMEO, ms);
}

void CTCPClient::SetSendTimeout(int32_t ms) {
  if (ms == sendTimeoutMs) return;
  sendTimeoutMs = ms;
  const SOCKET s = Socket();
  if (s != INVALID_SOCKET) ApplyTimeout(s, SO_SNDTIMEO, ms);
}

void CTCPClient::Close() {
  CXMutexLock guard(socketLock);
  socket.reset();
}

void CTCPClient::Abort() noexcept {
  CXMutexLock guard(socketLock);
  aborted.store(true);
  if (!socket) return;
  // shutdown ends a blocked recv or send; closing ends a blocked connect. The
  // handle is given up here, so the owner never closes it a second time.
  const SOCKET s = socket.release();
  ::shutdown(s, SD_BOTH);
  ::closesocket(s);
}

SOCKET CTCPClient::Socket() const {
  CXMutexLock guard(socketLock);
  return socket.get();
}

void CTCPClient::ThrowIfAborted() const {
  if (aborted.load()) Fail("Connection aborted");
}
