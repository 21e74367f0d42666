// A download address (from the gateway or a redirect's Location) split into
// host, port and path, and a redirect target completed against it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "net/codec/url_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string address(reinterpret_cast<const char*>(data), size);
  UrlParts parts;
  if (!ParseUrl(address, &parts)) return 0;

  FUZZ_CHECK(!parts.host.empty());
  FUZZ_CHECK(parts.host.find_first_of("/:") == std::string::npos);
  FUZZ_CHECK(parts.path.size() >= 2 && parts.path[0] == '/');
  FUZZ_CHECK(parts.path.find("//") == std::string::npos && parts.path.back() != '/');

  // A relative target resolved against these parts parses back to them.
  const std::string target = ResolveLocation(parts.path, parts.host, parts.port);
  UrlParts again;
  FUZZ_CHECK(ParseUrl(target, &again));
  FUZZ_CHECK(again.host == parts.host && again.port == parts.port && again.path == parts.path);
  return 0;
}
