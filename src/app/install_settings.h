// config.ini, the hand-off file the installed application reads after us:
// section "General" of a profile file in the product's cache folder. The
// object mirrors every key it writes; each setter writes through at once.
//
// Only the package record (md5, path) is ever read back, so a later run can
// reuse a downloaded setup program whose digest still matches.
#pragma once

#include <string>

// Whether RecordPackage writes an accepted pair to the file or only keeps it.
enum class RecordUpdate { MemoryOnly, WriteFile };

class InstallSettings {
 public:
  // Opens (or creates) the file at filePath: creates its folder, then either
  // reads and verifies the recorded package or writes an empty record.
  explicit InstallSettings(std::wstring filePath);

  InstallSettings(const InstallSettings&) = delete;
  InstallSettings& operator=(const InstallSettings&) = delete;

  // Each setter stores and writes its key; an empty value is ignored.
  void SetBeginTimestamp(const std::wstring& value);
  void SetLaunchAppName(const std::wstring& value);
  void SetEndTimestamp(const std::wstring& value);
  void SetCam(const std::wstring& value);
  void SetChannelId(const std::wstring& value);
  void SetMid(const std::wstring& value);
  void SetAppId(const std::wstring& value);
  void SetAppVersion(const std::wstring& value);
  void SetAdvertisingAccountName(const std::wstring& value);
  void SetSessionId(const std::wstring& value);
  void SetWelcomeUrl(const std::wstring& value);
  // These two always write: "1", and "1" or "0".
  void SetInstall();
  void SetIsSem(bool welcomeUrlFromServer);

  // Accepts the pair only when md5 is exactly the lower-case digest of the file
  // at path. A rejected pair empties the record (and clears it in the file when
  // one was stored). Called from the downloader's thread after a download.
  bool RecordPackage(const std::wstring& md5, const std::wstring& path, RecordUpdate update);

  const std::wstring& PackageMd5() const { return md5_; }
  const std::wstring& PackagePath() const { return path_; }
  const std::wstring& LaunchAppName() const { return launchAppName_; }
  const std::wstring& FilePath() const { return filePath_; }

 private:
  void Write(const wchar_t* key, const std::wstring& value);
  void SetAndWrite(std::wstring& member, const wchar_t* key, const std::wstring& value);
  std::wstring Read(const wchar_t* key) const;

  std::wstring filePath_;
  std::wstring md5_;
  std::wstring path_;
  std::wstring beginTimestamp_;
  std::wstring launchAppName_;
  std::wstring install_;
  std::wstring endTimestamp_;
  std::wstring isSem_;
  std::wstring cam_;
  std::wstring channelId_;
  std::wstring mid_;
  std::wstring appId_;
  std::wstring appVersion_;
  std::wstring advertisingAccountName_;
  std::wstring sessionId_;
  std::wstring welcomeUrl_;
};

// The process-wide instance for the product's config.ini under the cache root;
// created on first use (the startup's begin_timestamp write).
InstallSettings& GetInstallSettings();
