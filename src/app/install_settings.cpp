#include "app/install_settings.h"

#include <windows.h>

#include "sys/file_ops.h"
#include "sys/md5_file.h"
#include "sys/path_pieces.h"
#include "sys/text_convert.h"

namespace {

constexpr wchar_t SECTION[] = L"General";
constexpr DWORD MAX_VALUE_CHARS = 1023;

}  // namespace

InstallSettings::InstallSettings(std::wstring filePath) : filePath_(std::move(filePath)) {
  CreateDirectoryChain(DirectoryOfPath(filePath_));
  if (FileExists(filePath_)) {
    RecordPackage(Read(L"md5"), Read(L"path"), RecordUpdate::MemoryOnly);
    return;
  }
  Write(L"md5", L"");
  Write(L"path", L"");
}

void InstallSettings::Write(const wchar_t* key, const std::wstring& value) {
  // Write failures are ignored: the member keeps the value for this run.
  WritePrivateProfileStringW(SECTION, key, value.c_str(), filePath_.c_str());
}

std::wstring InstallSettings::Read(const wchar_t* key) const {
  wchar_t value[MAX_VALUE_CHARS + 1] = {};
  GetPrivateProfileStringW(SECTION, key, L"", value, MAX_VALUE_CHARS, filePath_.c_str());
  return value;
}

void InstallSettings::SetAndWrite(std::wstring& member, const wchar_t* key, const std::wstring& value) {
  if (value.empty()) return;
  member = value;
  Write(key, value);
}

void InstallSettings::SetBeginTimestamp(const std::wstring& v) { SetAndWrite(beginTimestamp_, L"begin_timestamp", v); }
void InstallSettings::SetLaunchAppName(const std::wstring& v) { SetAndWrite(launchAppName_, L"launch_appname", v); }
void InstallSettings::SetEndTimestamp(const std::wstring& v) { SetAndWrite(endTimestamp_, L"end_timestamp", v); }
void InstallSettings::SetCam(const std::wstring& v) { SetAndWrite(cam_, L"cam", v); }
void InstallSettings::SetChannelId(const std::wstring& v) { SetAndWrite(channelId_, L"channel_id", v); }
void InstallSettings::SetMid(const std::wstring& v) { SetAndWrite(mid_, L"mid", v); }
void InstallSettings::SetAppId(const std::wstring& v) { SetAndWrite(appId_, L"app_id", v); }
void InstallSettings::SetAppVersion(const std::wstring& v) { SetAndWrite(appVersion_, L"app_version", v); }
void InstallSettings::SetAdvertisingAccountName(const std::wstring& v) {
  SetAndWrite(advertisingAccountName_, L"advertising_account_name", v);
}
void InstallSettings::SetSessionId(const std::wstring& v) { SetAndWrite(sessionId_, L"session_id", v); }
void InstallSettings::SetWelcomeUrl(const std::wstring& v) { SetAndWrite(welcomeUrl_, L"welcome_url", v); }

void InstallSettings::SetInstall() { SetAndWrite(install_, L"install", L"1"); }

void InstallSettings::SetIsSem(bool welcomeUrlFromServer) {
  SetAndWrite(isSem_, L"is_sem", welcomeUrlFromServer ? L"1" : L"0");
}

bool InstallSettings::RecordPackage(const std::wstring& md5, const std::wstring& path, RecordUpdate update) {
  if (md5.empty() || path.empty()) return false;

  if (Utf8ToWide(Md5HexOfFile(path)) == md5) {
    if (md5_ != md5 || path_ != path) {
      md5_ = md5;
      path_ = path;
      if (update == RecordUpdate::WriteFile) {
        Write(L"md5", md5_);
        Write(L"path", path_);
      }
    }
    return true;
  }

  if (!md5_.empty() || !path_.empty()) {
    Write(L"md5", L"");
    Write(L"path", L"");
  }
  md5_.clear();
  path_.clear();
  return false;
}
