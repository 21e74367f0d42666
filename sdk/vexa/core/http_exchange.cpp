#include "vexa/core/http_exchange.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "sys/unique_handle.h"
#include "vexa/core/http_codec.h"

namespace {

constexpr DWORD kSliceMs = 100;
constexpr size_t kMaxHeadBytes = 64 * 1024;

enum class Readiness { Ready, TimedOut, Cancelled, Failed };
enum class Direction { Read, Write, Connect };

bool IsSignalled(HANDLE event) { return event && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// Milliseconds left until `deadline` (a GetTickCount value), 0 when past.
DWORD Remaining(DWORD deadline) {
  const DWORD now = ::GetTickCount();
  const auto left = static_cast<LONG>(deadline - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

// Waits in short slices so that a cancel request is seen quickly.
Readiness WaitFor(SOCKET socket, Direction direction, DWORD deadline, HANDLE cancel) {
  for (;;) {
    if (IsSignalled(cancel)) return Readiness::Cancelled;
    const DWORD left = Remaining(deadline);
    if (left == 0) return Readiness::TimedOut;
    const DWORD slice = left < kSliceMs ? left : kSliceMs;
    fd_set wanted;
    fd_set failed;
    FD_ZERO(&wanted);
    FD_ZERO(&failed);
    FD_SET(socket, &wanted);
    FD_SET(socket, &failed);
    timeval timeout = {static_cast<long>(slice / 1000), static_cast<long>((slice % 1000) * 1000)};
    const int ready = direction == Direction::Read ? ::select(0, &wanted, nullptr, &failed, &timeout)
                                                   : ::select(0, nullptr, &wanted, &failed, &timeout);
    if (ready == SOCKET_ERROR) return Readiness::Failed;
    // A failed non-blocking connect shows in the exception set.
    if (FD_ISSET(socket, &failed)) return Readiness::Failed;
    if (FD_ISSET(socket, &wanted)) return Readiness::Ready;
  }
}

UniqueSocket ConnectTo(const addrinfo& address, DWORD connectDeadline, HANDLE cancel) {
  UniqueSocket socket(::socket(address.ai_family, address.ai_socktype, address.ai_protocol));
  if (!socket) return socket;
  u_long nonBlocking = 1;
  if (::ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) return UniqueSocket();
  if (::connect(socket.get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0) return socket;
  if (::WSAGetLastError() != WSAEWOULDBLOCK) return UniqueSocket();
  if (WaitFor(socket.get(), Direction::Connect, connectDeadline, cancel) != Readiness::Ready) return UniqueSocket();
  int error = 0;
  int length = sizeof(error);
  if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0) {
    return UniqueSocket();
  }
  return socket;
}

UniqueSocket ConnectAny(const UploadTarget& target, DWORD connectDeadline, HANDLE cancel) {
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* addresses = nullptr;
  const std::string port = std::to_string(target.port);
  if (::getaddrinfo(target.host.c_str(), port.c_str(), &hints, &addresses) != 0 || !addresses) return UniqueSocket();
  UniqueSocket connected;
  for (const addrinfo* address = addresses; address && !connected; address = address->ai_next) {
    if (IsSignalled(cancel) || Remaining(connectDeadline) == 0) break;
    connected = ConnectTo(*address, connectDeadline, cancel);
  }
  ::freeaddrinfo(addresses);
  return connected;
}

bool SendAll(SOCKET socket, const std::string& bytes, DWORD deadline, HANDLE cancel) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const size_t chunk = bytes.size() - sent < 65536 ? bytes.size() - sent : 65536;
    const int result = ::send(socket, bytes.data() + sent, static_cast<int>(chunk), 0);
    if (result > 0) {
      sent += static_cast<size_t>(result);
      continue;
    }
    if (result == SOCKET_ERROR && ::WSAGetLastError() != WSAEWOULDBLOCK) return false;
    if (WaitFor(socket, Direction::Write, deadline, cancel) != Readiness::Ready) return false;
  }
  return true;
}

// The reply head, or empty when none arrived whole.
std::string ReceiveHead(SOCKET socket, DWORD deadline, HANDLE cancel) {
  std::string received;
  char buffer[4096];
  for (;;) {
    if (ReplyHeadEnd(received) != std::string::npos) return received;
    if (received.size() > kMaxHeadBytes) return {};
    const int result = ::recv(socket, buffer, sizeof(buffer), 0);
    if (result > 0) {
      received.append(buffer, static_cast<size_t>(result));
      continue;
    }
    // Closed by the server: what came may still be a complete status line.
    if (result == 0) return received;
    if (::WSAGetLastError() != WSAEWOULDBLOCK) return {};
    if (WaitFor(socket, Direction::Read, deadline, cancel) != Readiness::Ready) return {};
  }
}

}  // namespace

int ExchangeHttp(const UploadTarget& target, const std::string& request, HANDLE cancel, const ExchangeLimits& limits) {
  if (!target.Complete()) return 0;
  const DWORD start = ::GetTickCount();
  const DWORD connectDeadline = start + limits.connectMs;
  const DWORD deadline = start + limits.totalMs;
  UniqueSocket socket = ConnectAny(target, connectDeadline, cancel);
  if (!socket) return 0;
  if (!SendAll(socket.get(), request, deadline, cancel)) return 0;
  return ReplyStatus(ReceiveHead(socket.get(), deadline, cancel));
}
