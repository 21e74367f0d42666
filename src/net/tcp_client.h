// CTCPClient: one blocking IPv4 TCP connection to one host and port, direct
// or through an HTTP proxy (CONNECT tunnel), with the repairs that keep the
// installer working on awkward networks: a failed connection is retried
// through the user's system proxy or, the next time, directly; what worked
// is published for every later connection of the process.
//
// Errors are raised as std::runtime_error carrying a plain message text
// ("Connect failed", "Proxy failed", ...); callers catch them at their
// boundary and count the attempt as failed.
//
// Threads: one thread owns the object and calls everything except Abort,
// which any thread may call to make the owner's blocking call fail at once.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "net/net_settings.h"
#include "net/unique_socket.h"
#include "sys/xmutex.h"

class CTCPClient {
 public:
  // Closed, unresolved, time-outs at the system defaults, direct connection,
  // system resolver. Opens nothing.
  CTCPClient();
  virtual ~CTCPClient();

  CTCPClient(const CTCPClient&) = delete;
  CTCPClient& operator=(const CTCPClient&) = delete;

  // Stores host and port and resolves the host by the DNS setting: the
  // system resolver, or the own resolver, after which host becomes the
  // address as dotted text. Raises "Can't resolve host name".
  void Resolve(const std::string& hostName, uint16_t portNumber);

  // Connects to the resolved address, starting from the process's proxy
  // setting. When that attempt fails, one more is made: through the system
  // proxy after an odd number of failures of this object, directly after an
  // even one; if it works, the setting is published for the process. Raises
  // the message of the last failed attempt.
  void Connect();

  // One attempt: a new socket (closing the previous one), the TCP connection
  // directly or to the proxy, the time-outs, the tunnel.
  void ConnectOnce();

  // Sends the CONNECT request for host:port on the connection to the proxy;
  // true when the proxy answered with status 200.
  bool OpenProxyTunnel();

  // Time-outs in milliseconds; -1 leaves the system default. A change is
  // applied at once to an open socket and to every socket opened later.
  void SetRecvTimeout(int32_t ms);
  void SetSendTimeout(int32_t ms);

  // Closes the connection, if any. Run by the destructor.
  void Close();

  // Any thread: shuts the connection down and closes it, so that a connect,
  // send or recv blocked on it fails at once, and refuses every later
  // attempt of this object ("Connection aborted"). A name lookup in progress
  // is not interrupted; it ends within its own time-out.
  void Abort() noexcept;
  bool IsAborted() const noexcept { return aborted.load(); }

  // The connection for sending and receiving; INVALID_SOCKET when closed or
  // aborted. Owner thread only.
  SOCKET Socket() const;

  const std::string& Host() const { return host; }
  uint32_t Address() const { return address; }  // network byte order
  uint16_t Port() const { return port; }
  int32_t RecvTimeoutMs() const { return recvTimeoutMs; }
  int32_t SendTimeoutMs() const { return sendTimeoutMs; }
  int32_t ConnectFailures() const { return connectFailures; }
  const ProxySetting& Proxy() const { return proxy; }
  const DnsSetting& Dns() const { return dns; }

 protected:
  std::string host;
  uint32_t address = INADDR_NONE;
  uint16_t port = 0;
  uint16_t netPort = 0xFFFF;
  int32_t recvTimeoutMs = -1;
  int32_t sendTimeoutMs = -1;
  int32_t connectFailures = 0;
  UniqueSocket socket;  // guarded by socketLock: Abort may close it from another thread
  ProxySetting proxy;
  DnsSetting dns;

 private:
  // The address of host through the own resolver; false when there is none.
  bool ResolveOwn(uint32_t* found);
  // A new socket in place of the old one; raises when aborted or socket() fails.
  SOCKET OpenSocket();
  void ConnectToProxy(SOCKET s);
  void ConnectDirect(SOCKET s);
  void ApplyTimeouts(SOCKET s);
  void ThrowIfAborted() const;

  mutable CXMutex socketLock;
  std::atomic<bool> aborted{false};
};
