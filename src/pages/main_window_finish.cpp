// What the main window does when the finished page is entered, and the
// welcome page it then opens.
#include <string>

#include "api/pkg_info.h"
#include "api/server_info.h"
#include "app/global_settings.h"
#include "app/install_settings.h"
#include "app/run_flags.h"
#include "app/startup_rules.h"
#include "browser/open_url.h"
#include "deployment.h"
#include "pages/finished_view.h"
#include "pages/main_window.h"
#include "pages/welcome_url.h"
#include "sys/app_info.h"
#include "sys/machine_identity.h"
#include "sys/md5.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"
#include "telemetry/logger_server.h"
#include "telemetry/report/install_report.h"

namespace {

constexpr wchar_t APP_ID[] = L"52718340";

std::string TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

std::string NewestPackageVersion() {
  IPkgInfo* package = GetPkgInfo();
  return package != nullptr ? TextOrEmpty(package->GetVersionCode()) : std::string();
}

std::string OwnPackageName() {
  wchar_t path[1024] = {};
  ::GetModuleFileNameW(nullptr, path, 1023);
  return PackageNameFromPath(WideToUtf8(path));
}

void SendInstallResult() {
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SetBoolProperty("is_first_install", GetRunFlags().isFirstInstall);
  logger->SetBoolProperty("is_reinstall", GetRunFlags().isReinstall);
  logger->SetStringProperty("install_status", WideToUtf8(L"安装成功"));
  logger->SetStringProperty("soft_package_name", OwnPackageName());
  logger->SetStringProperty("install_type", WideToUtf8(L"安装器"));
  logger->SendEvent("pSoftInstallResult");
}

}  // namespace

void MainWindow::EnterFinishedPage() {
  CFinishedView& finished = Finished();
  InstallSettings& settings = GetInstallSettings();
  settings.SetInstall();
  settings.SetEndTimestamp(Utf8ToWide(FormatInt64(NowUnixSeconds())));

  IServerInfo* server = GetServerInfo();
  const std::string identity = GetMachineIdentity();
  WelcomeInputs inputs;
  inputs.channel = GlobalChannel();
  inputs.serverWelcomeUrl = server != nullptr ? TextOrEmpty(server->GetWelcomeUrl()) : "";
  inputs.siteRoot = deployment::WEB_SITE_ROOT;
  inputs.machineId = GetLoggerServer()->GetMachineId();
  inputs.cam = Md5HexOfData(identity.data(), static_cast<int64_t>(identity.size()));
  inputs.appVersion = NewestPackageVersion();
  inputs.timeStamp = NowUnixSeconds();
  inputs.adAccount = server != nullptr ? TextOrEmpty(server->GetAdvertisingAccountName()) : "";
  const WelcomeAddress address = BuildWelcomeAddress(inputs);
  welcomeUrl = address.url;

  settings.SetIsSem(address.fromServer);
  settings.SetCam(Utf8ToWide(inputs.cam));
  settings.SetChannelId(Utf8ToWide(inputs.channel));
  settings.SetMid(Utf8ToWide(inputs.machineId));
  settings.SetAppId(APP_ID);
  settings.SetAppVersion(Utf8ToWide(inputs.appVersion));
  settings.SetAdvertisingAccountName(Utf8ToWide(inputs.adAccount));
  settings.SetSessionId(Utf8ToWide(address.sessionId));

  SendInstallResult();

  IAppInfo* app = GetAppInfo();
  app->Refresh();
  installedAppPath = app->GetAppPath();
  finished.installedAppPath = installedAppPath;

  if (server != nullptr && server->GetWantsReport() && !reportThread) {
    reportThread = std::make_unique<CNQReportThread>(hwnd);
  }
  ::PostMessageW(hwnd, WM_OPEN_WELCOME, 0, 0);
}

void MainWindow::OpenWelcomePage() {
  InstallSettings& settings = GetInstallSettings();
  const std::wstring launchingApp = settings.LaunchAppName();
  const std::wstring url = welcomeUrl;
  settings.SetWelcomeUrl(url);
  OpenUrlInBrowser(url.c_str(), launchingApp.c_str());
}
