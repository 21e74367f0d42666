// CServerInfo and its worker, CReadServerInfoThread, behind IServerInfo.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "api/gateway.h"
#include "api/server_info.h"
#include "sys/worker_thread.h"
#include "sys/xmutex.h"

// The values of a channel welcome reply; all empty unless the envelope is a
// success with data.
struct ChannelReply {
  std::string appId;
  std::string appName;
  bool wantsReport = false;
  std::string welcomeUrl;
  std::string advertisingAccountName;
};

// Reads a reply leniently; raises only "parse decrypt data error" (and "request
// error" for a "code" that is not a string).
ChannelReply ReadChannelReply(const std::string& body);

std::string ChannelQueryPath(const std::string& channel);

class CReadServerInfoThread;

class CServerInfo final : public IServerInfo {
 public:
  // Starts the query for channel against host.
  CServerInfo(std::string channel, std::string host);
  ~CServerInfo();

  int32_t GetStatus() override { return status_.load(); }
  const char* GetWelcomeUrl() override { return welcomeUrl_.c_str(); }
  const char* GetAdvertisingAccountName() override { return advertisingAccountName_.c_str(); }
  bool GetWantsReport() override { return wantsReport_; }
  const char* GetAppId() override { return appId_.c_str(); }
  const char* GetAppName() override { return appName_.c_str(); }
  void ClearWelcomeUrl() override { welcomeUrl_.clear(); }

 private:
  friend class CReadServerInfoThread;
  // The values are written once, before the status changes; readers check
  // the status first.
  void Publish(const ChannelReply& reply);

  std::atomic<int32_t> status_{QueryPending};
  CXMutex lock_;
  std::string appId_;
  std::string appName_;
  bool wantsReport_ = false;
  std::string welcomeUrl_;
  std::string advertisingAccountName_;
  std::unique_ptr<CReadServerInfoThread> worker_;
};

class CReadServerInfoThread final : public COrvaneBasedThread {
 public:
  CReadServerInfoThread(CServerInfo& info, std::string channel, std::string host);
  ~CReadServerInfoThread() override;

 protected:
  int Run() override;
  void OnStopRequested() noexcept override { canceller_.Abort(); }

 private:
  std::string Fetch();

  CServerInfo& info_;
  const std::string channel_;
  const std::string host_;
  RequestCanceller canceller_;
};
