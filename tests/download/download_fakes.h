// Stand-ins for what the download subsystem and the install report work
// with, and helpers shared by their test programs.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/pkg_info.h"
#include "api/server_info.h"
#include "download/download_environment.h"
#include "download/range_sink.h"
#include "download/url_info.h"
#include "sys/app_info.h"
#include "sys/xmutex.h"

// Package information as the test sets it; the status may change while a
// query runs.
class FakePkgInfo final : public IPkgInfo {
 public:
  std::atomic<int32_t> status{QueryDone};
  std::string versionCode;
  std::string md5;
  std::vector<std::string> urls;

  int32_t GetStatus() override { return status.load(); }
  int64_t GetPackageSize() override { return 0; }
  int64_t GetInstallationSize() override { return 0; }
  const char* GetVersionCode() override { return versionCode.empty() ? nullptr : versionCode.c_str(); }
  int32_t GetUrlCount() override { return static_cast<int32_t>(urls.size()); }
  const char* GetUrl(int32_t index) override;
  const char* GetMd5() override { return md5.empty() ? nullptr : md5.c_str(); }
  void Reset() override {}
};

// ProductVersion by path (L"" is the installer itself) and the installed product.
class FakeAppInfo final : public IAppInfo {
 public:
  std::map<std::wstring, std::wstring> versions;
  std::wstring appPath;
  std::wstring appVersion;

  bool Refresh() override { return true; }
  std::wstring GetAppPath() override { return appPath; }
  std::wstring GetAppVersion() override { return appVersion; }
  std::wstring GetProductVersion(const std::wstring& path) override;
};

class FakeServerInfo final : public IServerInfo {
 public:
  std::string appName;

  int32_t GetStatus() override { return QueryDone; }
  const char* GetWelcomeUrl() override { return ""; }
  const char* GetAdvertisingAccountName() override { return ""; }
  bool GetWantsReport() override { return true; }
  const char* GetAppId() override { return ""; }
  const char* GetAppName() override { return appName.c_str(); }
  void ClearWelcomeUrl() override {}
};

// A range sink over memory that remembers every write.
class MemorySink final : public IRangeSink {
 public:
  struct Write {
    int64_t offset;
    int32_t count;
  };
  explicit MemorySink(size_t size) : bytes_(size, '\0') {}
  bool WriteAt(int32_t count, int32_t index, const char* data, int64_t offset) override;
  std::string Bytes();
  std::vector<Write> Writes();

 private:
  CXMutex lock_;
  std::string bytes_;
  std::vector<Write> writes_;
};

// The sink of a URL query: keeps what OnUrlInfo got.
class UrlInfoRecorder final : public IUrlInfoSink {
 public:
  void OnUrlInfo(const UrlInfo& info) override;
  bool Called() const { return called_.load(); }
  UrlInfo Info();

 private:
  CXMutex lock_;
  UrlInfo info_;
  std::atomic<bool> called_{false};
};

// Bytes first..first+count-1 of every test package (testbed/fixtures/package_content.py).
std::string PackageBytes(int64_t first, int64_t count);
std::string PackageMd5(int64_t size);

// Polls predicate every 10 ms; false when it stayed false for ms.
bool WaitUntil(const std::function<bool()>& predicate, DWORD ms);

// Destroys the object on another thread; false when that did not end within ms.
bool DestroyWithin(std::function<void()> destroy, DWORD ms);

// An environment whose cache root is `cacheRoot` and whose probes and
// fallback address lead nowhere unless the test sets them.
DownloadEnvironment TestEnvironment(const std::wstring& cacheRoot, ILoggerServer* logger, IPkgInfo* pkgInfo,
                                    IAppInfo* appInfo);
