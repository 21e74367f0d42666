#include "app/first_page.h"

#include <shlobj.h>

#include <stdexcept>

#include "api/pkg_info.h"
#include "app/run_flags.h"
#include "app/startup_rules.h"
#include "sys/app_info.h"
#include "sys/path_pieces.h"
#include "sys/text_convert.h"
#include "sys/volumes.h"
#include "telemetry/logger_server.h"

namespace {

constexpr int PACKAGE_WAIT_POLLS = 40;
constexpr DWORD PACKAGE_WAIT_STEP_MS = 50;

uint64_t RequiredInstallationSize() {
  IPkgInfo* package = GetPkgInfo();
  return static_cast<uint64_t>(package ? package->GetInstallationSize() : DEFAULT_INSTALLATION_SIZE);
}

std::wstring ProgramFilesFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return folder;
}

// The newest version once the package query has finished, waiting at most
// two seconds; empty when there is none yet.
std::string NewestVersion() {
  IPkgInfo* package = GetPkgInfo();
  if (!package) return {};
  for (int poll = 0; poll < PACKAGE_WAIT_POLLS && package->GetStatus() == QueryPending; ++poll)
    Sleep(PACKAGE_WAIT_STEP_MS);
  const char* version = package->GetVersionCode();
  return version ? version : "";
}

}  // namespace

std::wstring DefaultInstallRoot(uint64_t requiredBytes) {
  const std::wstring programFiles = ProgramFilesFolder();
  const uint64_t programFilesFree = programFiles.empty() ? 0 : GetVolumeFreeSpace(programFiles);
  std::wstring roomiest;
  uint64_t roomiestFree = 0;
  if (programFiles.empty() || programFilesFree <= requiredBytes) {
    roomiest = FindRoomiestVolume();
    roomiestFree = roomiest.empty() ? 0 : GetVolumeFreeSpace(roomiest);
  }
  std::wstring root = ChooseInstallRoot(programFiles, programFilesFree, roomiest, roomiestFree, requiredBytes);
  if (root.empty()) {
    ILoggerServer* logger = GetLoggerServer();
    logger->ClearProperties();
    logger->SetStringProperty("error_status", WideToUtf8(L"最大磁盘空间不足"));
    logger->SendEvent("vInstallPathError");
  }
  return root;
}

FirstPageChoice ChooseFirstPage(HWND owner) {
  FirstPageChoice choice;
  IAppInfo* app = GetAppInfo();
  choice.installedAppPath = app->GetAppPath();

  if (choice.installedAppPath.empty()) {
    const std::wstring root = DefaultInstallRoot(RequiredInstallationSize());
    if (root.empty()) {
      MessageBoxW(owner, L"磁盘空间不足，无法创建软件缓存", L"错误", MB_OK);
      throw std::runtime_error("Get DefaultPath error");
    }
    choice.installPath = InstallPathUnder(root);
    choice.page = PAGE_START;
    return choice;
  }

  std::wstring folder = DirectoryOfPath(choice.installedAppPath);
  if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  choice.installPath = folder;

  const std::string newest = NewestVersion();
  if (newest.empty() || !InstalledIsNotOlder(newest, WideToUtf8(app->GetAppVersion()))) {
    choice.page = PAGE_START;
    return choice;
  }
  GetRunFlags().isReinstall = true;
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SendEvent("vReInstall");
  choice.page = PAGE_REMINDER;
  return choice;
}
