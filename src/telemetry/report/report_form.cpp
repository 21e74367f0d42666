#include "telemetry/report/report_form.h"

#include <windows.h>

#include "api/server_info.h"
#include "app/global_settings.h"
#include "deployment.h"
#include "net/codec/http_form.h"
#include "sys/app_info.h"
#include "sys/file_ops.h"
#include "sys/machine_identity.h"
#include "sys/md5.h"
#include "sys/text_convert.h"
#include "sys/unique_handle.h"
#include "telemetry/logger_server.h"
#include "telemetry/sdk_loader.h"
#include "vexa_api.h"

namespace {

constexpr char APP_ID[] = "52718340";
constexpr char UNKNOWN_OWN_VERSION[] = "0.9.0.1";
constexpr int NQUID_BUFFER_BYTES = 33;

std::string OwnVersion(IAppInfo* appInfo) {
  const std::string version = appInfo != nullptr ? WideToUtf8(appInfo->GetProductVersion(L"")) : "";
  return version.empty() ? UNKNOWN_OWN_VERSION : version;
}

std::string MachineDigest() {
  const std::string identity = GetMachineIdentity();
  return Md5HexOfData(identity.data(), static_cast<int64_t>(identity.size()));
}

}  // namespace

ReportEnvironment DefaultReportEnvironment() {
  ReportEnvironment environment;
  environment.sdkFolder = SdkCacheFolder();
  environment.serverInfo = GetServerInfo();
  environment.logger = GetLoggerServer();
  environment.appInfo = GetAppInfo();
  environment.host = deployment::REPORT_HOST;
  environment.port = deployment::REPORT_PORT;
  return environment;
}

std::string ReadNquid(const std::wstring& sdkFolder) {
  const std::wstring path = sdkFolder + L"NQUID.dll";
  if (!FileExists(path)) return std::string();
  // By full path, with its own folder searched for what it depends on.
  UniqueModule library(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library) return std::string();
  const auto getNquid = reinterpret_cast<GetNQUID_t>(
      reinterpret_cast<void*>(::GetProcAddress(library.get(), "GetNQUID")));
  if (getNquid == nullptr) return std::string();
  char buffer[NQUID_BUFFER_BYTES] = {};
  getNquid(buffer, NQUID_BUFFER_BYTES);
  buffer[NQUID_BUFFER_BYTES - 1] = '\0';
  return buffer;
}

bool FillReportForm(HttpForm& form, const ReportEnvironment& environment) {
  const std::string channel = GlobalChannel();
  const std::string uid = ReadNquid(environment.sdkFolder);
  const char* appName = environment.serverInfo != nullptr ? environment.serverInfo->GetAppName() : nullptr;
  const std::string productName = appName != nullptr ? appName : "";
  const std::string cam = MachineDigest();
  if (uid.empty() || productName.empty()) return false;
  const std::string mid = environment.logger != nullptr ? environment.logger->GetMachineId() : "";
  form.AddField("app_version", OwnVersion(environment.appInfo));
  form.AddField("product_name", productName);
  form.AddField("uid", uid);
  form.AddField("app_id", APP_ID);
  form.AddField("cam", cam);
  form.AddField("mid", mid);
  form.AddField("url_channel", channel);
  return true;
}
