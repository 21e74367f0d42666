// The distribution channel's welcome information from the gateway: the welcome
// page, the advertising account, and whether the install report is wanted.
#pragma once

#include <cstdint>

#include "api/query_status.h"

class IServerInfo {
 public:
  virtual int32_t GetStatus() = 0;
  virtual const char* GetWelcomeUrl() = 0;  // never null
  virtual const char* GetAdvertisingAccountName() = 0;
  virtual bool GetWantsReport() = 0;
  virtual const char* GetAppId() = 0;
  virtual const char* GetAppName() = 0;
  virtual void ClearWelcomeUrl() = 0;

 protected:
  ~IServerInfo() = default;
};

// The process-wide instance, starting its query on first use; null when it
// cannot be had.
IServerInfo* GetServerInfo();
