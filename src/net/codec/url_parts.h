// Splitting a download address into host, port and path, and completing a
// relative redirect target.
#pragma once

#include <cstdint>
#include <string>

struct UrlParts {
  std::string host;
  uint16_t port = 80;
  std::string path;  // begins with "/"
};

// Splits `address` at every "/" (empty pieces dropped) into scheme, host and
// path pieces. The scheme is ignored: every address, https too, is fetched
// with plain HTTP, on port 80 unless "host:port" names one (read as a decimal
// number, kept to 16 bits). The path is "/" and the remaining pieces joined
// by "/", so a trailing "/" and doubled slashes disappear:
// http://example:8080/a/b?x=1 gives example, 8080, /a/b?x=1.
// Returns false, leaving `parts` untouched, when there are fewer than three
// pieces (http://example/) or the host piece has more than one ":".
bool ParseUrl(const std::string& address, UrlParts* parts);

// The address a redirect's Location leads to. A target that does not begin
// with "http" but begins with "/" is completed with the host and port of
// the address the query started from: "http://" + host + ":" + port + target.
// Any other target is returned as it is.
std::string ResolveLocation(const std::string& location, const std::string& host, uint16_t port);
