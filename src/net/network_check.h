// Making a network repair permanent for the process. The TCP client publishes
// the proxy setting that healed a failed connection, the HTTP client and the
// download worker the DNS setting that resolved a name the system could not;
// every later connection starts from the published pair in GlobalSettings.
// The first repair of each kind is reported as the event "vNetworkCheck".
#pragma once

#include "net/net_settings.h"

class ILoggerServer;
struct GlobalSettings;

// Copies of the pair every connection starts from, taken under the
// GlobalSettings lock; the initial values when there is no GlobalSettings.
ProxySetting CurrentProxySetting();
DnsSetting CurrentDnsSetting();

// The process-wide reporter: GetNetworkCheck().PublishProxy(...) on the
// process's GlobalSettings is what PublishProxySetting does.
class CNetworkCheck {
 public:
  // `logger` receives the events; null means GetLoggerServer() at send time.
  explicit CNetworkCheck(ILoggerServer* logger = nullptr) : logger_(logger) {}

  CNetworkCheck(const CNetworkCheck&) = delete;
  CNetworkCheck& operator=(const CNetworkCheck&) = delete;

  // Under the settings' lock: reports the first proxy (DNS) repair ever
  // published through this object, then stores the setting. The event is
  // sent while the lock is held, which is the one allowed nesting of the
  // settings lock and the event logger's lock.
  void PublishProxy(GlobalSettings& settings, const ProxySetting& setting);
  void PublishDns(GlobalSettings& settings, const DnsSetting& setting);

  // Sends later events to `logger` (null: back to GetLoggerServer()). For
  // programs that observe the reports; call it before any network work.
  void ReportTo(ILoggerServer* logger) { logger_ = logger; }

 private:
  ILoggerServer* Logger() const;

  ILoggerServer* logger_;
  // Guarded by the settings' lock of the publish call.
  bool proxyReported_ = false;
  bool dnsReported_ = false;
};

// The process-wide reporter, created on first use.
CNetworkCheck& GetNetworkCheck();

// Store the setting that just worked in GlobalSettings (nothing happens
// without one) and report the first change of each kind once per process.
// Safe from any thread; never raises.
void PublishProxySetting(const ProxySetting& setting);
void PublishDnsSetting(const DnsSetting& setting);
