// CPkgInfo and its worker, CReadPkgInfoThread, behind IPkgInfo.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "api/gateway.h"
#include "api/pkg_info.h"
#include "sys/worker_thread.h"
#include "sys/xmutex.h"

struct PackageUrl {
  int32_t number = 0;
  std::string url;
  int32_t priority = 0;
};

// The values a package reply carries; defaults where a member is absent.
struct PackageReply {
  std::string softwareCode;
  std::string versionCode;
  int64_t size = DEFAULT_PACKAGE_SIZE;
  int64_t installationSize = DEFAULT_INSTALLATION_SIZE;
  std::string md5;
  std::vector<PackageUrl> downloadUrls;
};

// Reads a reply body strictly; raises the envelope's error texts.
PackageReply ReadPackageReply(const std::string& body);

// The request path for the installer's own version and the system kind.
std::string PackageQueryPath(const std::string& ownVersion, bool is64BitWindows);

class CReadPkgInfoThread;

class CPkgInfo final : public IPkgInfo {
 public:
  // Starts the query against host, then fallbackHost, in every pass.
  CPkgInfo(std::string path, std::string host, std::string fallbackHost);
  ~CPkgInfo();

  int32_t GetStatus() override { return status_.load(); }
  int64_t GetPackageSize() override { return size_.load(); }
  int64_t GetInstallationSize() override { return installationSize_.load(); }
  const char* GetVersionCode() override;
  int32_t GetUrlCount() override;
  const char* GetUrl(int32_t index) override;
  const char* GetMd5() override;
  void Reset() override;

 private:
  friend class CReadPkgInfoThread;
  void Publish(const PackageReply& reply);
  void SetStatus(QueryStatus status) { status_.store(status); }

  std::atomic<int32_t> status_{QueryPending};
  CXMutex lock_;
  std::string softwareCode_;
  std::string versionCode_;
  std::atomic<int64_t> size_{DEFAULT_PACKAGE_SIZE};
  std::atomic<int64_t> installationSize_{DEFAULT_INSTALLATION_SIZE};
  std::string md5_;
  std::vector<PackageUrl> downloadUrls_;
  std::unique_ptr<CReadPkgInfoThread> worker_;
};

class CReadPkgInfoThread final : public COrvaneBasedThread {
 public:
  CReadPkgInfoThread(CPkgInfo& info, std::string path, std::string host, std::string fallbackHost);
  ~CReadPkgInfoThread() override;

 protected:
  int Run() override;
  void OnStopRequested() noexcept override { canceller_.Abort(); }

 private:
  void Query();

  CPkgInfo& info_;
  const std::string path_;
  const std::string host_;
  const std::string fallbackHost_;
  RequestCanceller canceller_;
};
