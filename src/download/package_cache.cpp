// CDownloader: the package check and the reuse of a package an earlier run
// recorded in config.ini.
#include "api/pkg_info.h"
#include "app/install_settings.h"
#include "download/c_downloader.h"
#include "download/download_events.h"
#include "download/package_version.h"
#include "sys/app_info.h"
#include "sys/md5_file.h"
#include "sys/text_convert.h"

bool CDownloader::VerifyPackage() {
  const std::wstring path = FilePath();
  if (path.empty()) return false;
  const std::string expected = PackageMd5();
  if (expected.empty()) return true;
  return Md5HexOfFile(path) == expected;
}

void CDownloader::RememberPackage() {
  if (environment_.installSettings == nullptr) return;
  const std::wstring path = FilePath();
  std::string md5 = PackageMd5();
  if (md5.empty()) md5 = Md5HexOfFile(path);
  if (md5.empty() || path.empty()) return;
  environment_.installSettings->RecordPackage(Utf8ToWide(md5), path, RecordUpdate::WriteFile);
}

bool CDownloader::UseCachedPackage() {
  if (environment_.pkgInfo == nullptr || environment_.installSettings == nullptr ||
      environment_.appInfo == nullptr) {
    return false;
  }
  const char* versionCode = environment_.pkgInfo->GetVersionCode();
  const std::wstring path = environment_.installSettings->PackagePath();
  if (versionCode == nullptr || path.empty()) return false;
  const std::string version = WideToUtf8(environment_.appInfo->GetProductVersion(path));
  if (!IsVersionNotOlder(version, versionCode)) return false;
  if (!RecordedPackageMatches(path)) return false;
  UseLocalPackage(path);
  return true;
}

bool CDownloader::UseRecordedPackage() {
  if (environment_.installSettings == nullptr || environment_.appInfo == nullptr) return false;
  const std::wstring path = environment_.installSettings->PackagePath();
  if (path.empty()) return false;
  if (!environment_.appInfo->GetAppPath().empty()) {
    const std::string version = WideToUtf8(environment_.appInfo->GetProductVersion(path));
    if (!IsVersionNotOlder(version, WideToUtf8(environment_.appInfo->GetAppVersion()))) return false;
  }
  if (!RecordedPackageMatches(path)) return false;
  UseLocalPackage(path);
  return true;
}

// The recorded file is run elevated later, and config.ini lies in the user's
// writable profile: it must match the digest the gateway gives for the
// current package, and without one the digest it was recorded with, now.
bool CDownloader::RecordedPackageMatches(const std::wstring& path) {
  std::string expected = PackageMd5();
  if (expected.empty()) expected = WideToUtf8(environment_.installSettings->PackageMd5());
  return !expected.empty() && Md5HexOfFile(path) == expected;
}

void CDownloader::UseLocalPackage(const std::wstring& path) {
  SetFilePath(path);
  if (!MakeReady()) return;
  SendDownloadResult(environment_.logger, download_event::LOCAL_FILE, -1);
}
