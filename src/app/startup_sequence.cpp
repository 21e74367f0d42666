#include "app/startup_sequence.h"

#include <winsock2.h>
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "api/pkg_info.h"
#include "api/server_info.h"
#include "app/first_page.h"
#include "app/global_settings.h"
#include "app/install_settings.h"
#include "app/run_flags.h"
#include "app/startup_rules.h"
#include "pages/main_window.h"
#include "sys/app_info.h"
#include "sys/cache_root.h"
#include "sys/file_ops.h"
#include "sys/file_stream.h"
#include "sys/process_query.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"
#include "telemetry/logger_server.h"

namespace {

constexpr wchar_t UNINSTALL_KEY[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63}_is1";

// The process-wide flags of the run.
struct RunFacts {
  bool isFirstInstall = true;
  std::string packageName;
  std::string parentAppName;
  int64_t downloadTime = 0;
};

void EnableDpiAwareness() {
  HMODULE user32 = LoadLibraryW(L"user32");
  if (!user32) return;
  using SetProcessDPIAwareFn = BOOL(WINAPI*)();
  auto setAware = reinterpret_cast<SetProcessDPIAwareFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")));
  if (setAware) setAware();
}

bool ProductIsInstalled() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring OwnPath() {
  wchar_t path[1024] = {};
  GetModuleFileNameW(nullptr, path, 1023);
  return path;
}

void PublishChannel(const std::string& packageName) {
  const std::string fileChannel = ChannelFromPackageName(packageName);
  const std::wstring productVersion = GetAppInfo()->GetProductVersion(L"");
  SetGlobalChannel(ChannelFromProductVersion(productVersion, fileChannel));
}

void RecordBeginTimestamp() {
  const std::wstring now = AnsiToWide(FormatInt64(NowUnixSeconds()));
  if (!now.empty()) GetInstallSettings().SetBeginTimestamp(now);
}

// Records which program launched the installer; returns its file name (UTF-8).
std::string RecordLaunchingApp() {
  DWORD parent = 0;
  std::wstring parentPath;
  if (!GetParentProcessId(GetCurrentProcessId(), parent) || !GetProcessImagePath(parent, parentPath) ||
      parentPath.empty())
    return {};
  GetInstallSettings().SetLaunchAppName(parentPath);
  const std::string utf8 = WideToUtf8(parentPath);
  const size_t slash = utf8.rfind('\\');
  return slash == std::string::npos ? std::string() : utf8.substr(slash + 1);
}

// How long the browser took to write the installer file; the stream stays open
// (in ownStream) until the main window is gone.
int64_t MeasureDownloadTime(std::unique_ptr<CFileStream>& ownStream, const std::wstring& ownPath) {
  ownStream = std::make_unique<CFileStream>(OpenFileHandle(OpenModeReadShared, ownPath));
  int64_t created = 0, accessed = 0, written = 0;
  if (!ownStream->GetTimes(created, accessed, written)) return 0;
  return DownloadDuration(created, written);
}

void SendStartOfRun(const RunFacts& facts) {
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SetBoolProperty("is_first_install", facts.isFirstInstall);
  logger->SetStringProperty("soft_package_name", facts.packageName);
  logger->SetIntProperty("download_time", static_cast<int32_t>(facts.downloadTime));
  logger->SetStringProperty("parent_app_name", facts.parentAppName);
  logger->SetStringProperty("install_type", WideToUtf8(L"安装器"));
  logger->SendEvent("pSoftInstall");
  logger->ReportBasic(1, "", "", "");
  logger->ReportRunState(4, "0001", "0001", facts.packageName, "", {});
}

// Sockets, the two gateway queries and the cache folder. A failure skips the
// rest of this step only.
void StartNetwork() {
  try {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    if (!GetPkgInfo()) throw std::runtime_error("Get package information error");
    if (!GetServerInfo()) throw std::runtime_error("Get server information error");
    if (!CreateDirectoryChain(GetCacheRoot() + L"TESSARO\\"))
      throw std::runtime_error("Create cache folder error");
  } catch (const std::exception&) {
  }
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

void RunInstallerSession(HINSTANCE) {
  try {
    RunFacts facts;
    EnableDpiAwareness();
    if (ProductIsInstalled()) GetRunFlags().isFirstInstall = false;
    facts.isFirstInstall = GetRunFlags().isFirstInstall;

    const std::wstring ownPath = OwnPath();
    facts.packageName = PackageNameFromPath(WideToUtf8(ownPath));
    PublishChannel(facts.packageName);

    RecordBeginTimestamp();
    facts.parentAppName = RecordLaunchingApp();
    std::unique_ptr<CFileStream> ownStream;
    facts.downloadTime = MeasureDownloadTime(ownStream, ownPath);
    SendStartOfRun(facts);
    StartNetwork();

    {
      MainWindow window(&ChooseFirstPage);
      if (IsWindow(window.hwnd)) {
        ShowWindow(window.hwnd, SW_SHOW);
        UpdateWindow(window.hwnd);
      }
      RunMessageLoop();
    }
    ownStream.reset();
  } catch (...) {
    // Whatever failed, the run ends in order.
  }
}

void EndRun() {
  ILoggerServer* logger = GetLoggerServer();
  logger->ReportRunState(4, "0001", "0002", "", "", {});
  logger->ClearProperties();
  logger->SetStringProperty("event_name", WideToUtf8(L"软件退出"));
  logger->SendEvent("vSoftQuit");
  // The SDK delivers in the background; freeing its handle gives the records
  // of the run's end a last, bounded chance to leave before the process does
  // (whatever is left stays in its spool for the next run).
  logger->ReleaseHandle();
}
