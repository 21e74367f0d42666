// Where records are uploaded: host, port and request path.
#pragma once

#include <cstdint>
#include <string>

struct UploadTarget {
  std::string host;
  int port = 0;
  std::string path;

  bool Complete() const { return IsValidHost(host) && IsValidPort(port) && IsValidPath(path); }

  // A host name or address: 1 to 253 bytes, none of them a control
  // character, a space, '/', '@' or a quote (it goes into a request head).
  static bool IsValidHost(const std::string& host);
  static bool IsValidPort(int port) { return port > 0 && port < 65536; }
  // An absolute request path with an optional query: starts with '/', at
  // most 2048 bytes, no control characters and no spaces.
  static bool IsValidPath(const std::string& path);
};
