// The CONNECT exchange that opens a tunnel through an HTTP proxy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// "CONNECT <host>:<port> HTTP/1.1" and a blank line; no Host line and no
// proxy authentication.
std::string BuildConnectRequest(const std::string& host, uint16_t port);

// Judges the bytes of the proxy's first reply. The text up to its first zero
// byte must be longer than 11 characters; the three characters at offset 9
// are read as a decimal number and only exactly 200 opens the tunnel
// ("HTTP/1.0 200 Connection established" does; 407 or a short reply does not).
bool ProxyTunnelAccepted(const char* reply, size_t size);
