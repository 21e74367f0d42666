// The current package as the gateway describes it: where to download it, its
// version, sizes and MD5. Filled in the background by the package query,
// which starts when the instance is first requested.
#pragma once

#include <cstdint>

#include "api/query_status.h"

// Sizes in effect until the gateway has answered.
constexpr int64_t DEFAULT_PACKAGE_SIZE = 48560128;
constexpr int64_t DEFAULT_INSTALLATION_SIZE = 261485343;

class IPkgInfo {
 public:
  virtual int32_t GetStatus() = 0;
  virtual int64_t GetPackageSize() = 0;
  virtual int64_t GetInstallationSize() = 0;
  // Null when the text is empty.
  virtual const char* GetVersionCode() = 0;
  virtual int32_t GetUrlCount() = 0;
  // Null when index is not below GetUrlCount.
  virtual const char* GetUrl(int32_t index) = 0;
  virtual const char* GetMd5() = 0;
  virtual void Reset() = 0;

 protected:
  ~IPkgInfo() = default;
};

// The process-wide instance, starting its query on first use; null when it
// cannot be had.
IPkgInfo* GetPkgInfo();
