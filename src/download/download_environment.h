// What the downloader and its threads work with besides the network: in the
// installer the process-wide objects, in tests stand-ins and private folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IAppInfo;
class ILoggerServer;
class IPkgInfo;
class InstallSettings;

// A host that answers TCP connections when the network is up.
struct ProbeTarget {
  std::string host;
  uint16_t port = 80;
};

struct DownloadEnvironment {
  ILoggerServer* logger = nullptr;            // every event; must be set
  IPkgInfo* pkgInfo = nullptr;                // null: no package information at all
  IAppInfo* appInfo = nullptr;                // ProductVersion of files, the installed product
  InstallSettings* installSettings = nullptr;  // the package record; null: none kept
  std::wstring cacheRoot;                     // ends in a backslash
  std::wstring ownModulePath;                 // the installer's own executable
  std::vector<ProbeTarget> probes;            // reachability probes, in order
  std::string fallbackUrl;                    // asked when the package information gives nothing
  int32_t segmentCount = 2;                   // byte ranges fetched side by side
  int32_t socketTimeoutMs = 2000;             // each worker's receive and send time-out
  int32_t maxRetries = 20;                    // each worker's attempts
};

// The fixed fallback package address on the CDN.
std::string FixedFallbackUrl();

// The installer's environment: the event logger, the package information,
// the application information, config.ini, the cache root, the own module,
// the analytics host and the gateway's fallback address as probes. Call it
// on the main thread after startup has created those objects.
DownloadEnvironment DefaultDownloadEnvironment();
