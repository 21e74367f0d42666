#include "net/network_check.h"

#include "app/global_settings.h"
#include "telemetry/logger_server.h"

namespace {

constexpr char NETWORK_CHECK_EVENT[] = "vNetworkCheck";
constexpr char KIND_PROXY[] = "网络代理";
constexpr char KIND_DNS[] = "DNS解析";

void SendNetworkCheck(ILoggerServer* logger, const char* kind, int32_t connType,
                      const std::string& hostName) {
  if (logger == nullptr) return;
  try {
    logger->ClearProperties();
    logger->SetStringProperty("network_type", kind);
    logger->SetIntProperty("conn_type", connType);
    logger->SetStringProperty("host_name", hostName);
    logger->SendEvent(NETWORK_CHECK_EVENT);
  } catch (...) {
    // Telemetry never stops a repair from being kept.
  }
}

}  // namespace

ProxySetting CurrentProxySetting() {
  GlobalSettings* settings = GetGlobalSettings();
  if (settings == nullptr) return {};
  CXMutexLock guard(settings->mutex);
  return settings->proxy;
}

DnsSetting CurrentDnsSetting() {
  GlobalSettings* settings = GetGlobalSettings();
  if (settings == nullptr) return {};
  CXMutexLock guard(settings->mutex);
  return settings->dns;
}

ILoggerServer* CNetworkCheck::Logger() const {
  return logger_ != nullptr ? logger_ : GetLoggerServer();
}

void CNetworkCheck::PublishProxy(GlobalSettings& settings, const ProxySetting& setting) {
  CXMutexLock guard(settings.mutex);
  if (!proxyReported_) {
    SendNetworkCheck(Logger(), KIND_PROXY, setting.type, setting.host);
    proxyReported_ = true;
  }
  settings.proxy = setting;
}

void CNetworkCheck::PublishDns(GlobalSettings& settings, const DnsSetting& setting) {
  CXMutexLock guard(settings.mutex);
  if (!dnsReported_) {
    SendNetworkCheck(Logger(), KIND_DNS, setting.mode, setting.server);
    dnsReported_ = true;
  }
  settings.dns = setting;
}

CNetworkCheck& GetNetworkCheck() {
  static CNetworkCheck instance;
  return instance;
}

void PublishProxySetting(const ProxySetting& setting) {
  GlobalSettings* settings = GetGlobalSettings();
  if (settings == nullptr) return;
  try {
    GetNetworkCheck().PublishProxy(*settings, setting);
  } catch (...) {
    // Only copying the host name can fail (out of memory); the old setting stays.
  }
}

void PublishDnsSetting(const DnsSetting& setting) {
  GlobalSettings* settings = GetGlobalSettings();
  if (settings == nullptr) return;
  try {
    GetNetworkCheck().PublishDns(*settings, setting);
  } catch (...) {
  }
}
