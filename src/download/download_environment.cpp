#include "download/download_environment.h"

#include <windows.h>

#include "api/pkg_info.h"
#include "app/install_settings.h"
#include "deployment.h"
#include "sys/app_info.h"
#include "sys/cache_root.h"
#include "telemetry/logger_server.h"

namespace {

constexpr char FALLBACK_PACKAGE_PATH[] = "/application/soft_package/pc/52718340/software/install.exe";
constexpr DWORD MODULE_PATH_CHARS = 1024;

std::wstring OwnModulePath() {
  wchar_t path[MODULE_PATH_CHARS] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MODULE_PATH_CHARS);
  if (length == 0 || length >= MODULE_PATH_CHARS) return std::wstring();
  return std::wstring(path, length);
}

}  // namespace

std::string FixedFallbackUrl() {
  // The scheme is not honoured (every address is fetched with plain HTTP);
  // the port only appears where the deployment moves it off 80.
  std::string host = deployment::CDN_HOST;
  if (deployment::CDN_PORT != 80) host += ":" + std::to_string(deployment::CDN_PORT);
  return "https://" + host + FALLBACK_PACKAGE_PATH;
}

DownloadEnvironment DefaultDownloadEnvironment() {
  DownloadEnvironment environment;
  environment.logger = GetLoggerServer();
  environment.pkgInfo = GetPkgInfo();
  environment.appInfo = GetAppInfo();
  environment.installSettings = &GetInstallSettings();
  environment.cacheRoot = GetCacheRoot();
  environment.ownModulePath = OwnModulePath();
  environment.probes = {{deployment::ANALYTICS_HOST, deployment::ANALYTICS_PORT},
                        {deployment::GATEWAY_FALLBACK_IP, deployment::GATEWAY_PORT}};
  environment.fallbackUrl = FixedFallbackUrl();
  return environment;
}
