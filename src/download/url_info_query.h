// QueryUrlInfoThread: finds out where the package really is, how large it is
// and what its file is called, before anything is downloaded. It waits for
// the package information, sends HEAD requests for each package address,
// follows redirects, and when nothing answers tries the fixed fallback
// address. Whatever it collected it hands to the sink (the downloader) on
// its own thread, once, at the end.
//
// Destroying the object stops the query promptly: the connection it waits on
// is aborted, its pauses end, and it still tells the sink what it has.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "download/client_slot.h"
#include "download/download_environment.h"
#include "download/url_info.h"
#include "net/codec/http_head.h"
#include "net/codec/url_parts.h"
#include "sys/worker_thread.h"
#include "sys/xmutex.h"

// A redirect chain longer than this is treated as a reply without head.
constexpr int32_t MAX_REDIRECTS = 10;

class QueryUrlInfoThread final : public COrvaneBasedThread {
 public:
  // Starts the query and returns once it runs. `address` is asked directly
  // when not empty; empty (as the downloader creates it) means the package
  // information's addresses, then the fallback address. `sink` must outlive
  // the object.
  QueryUrlInfoThread(std::string address, IUrlInfoSink& sink, DownloadEnvironment environment);
  ~QueryUrlInfoThread() override;

  // Set once the sink has been told. Any thread.
  bool IsFinished() const noexcept { return finished_.load(); }

  // The address the query fell back to (after its redirects), or empty when
  // it did not fall back. Any thread.
  std::string FallbackAddress();
  // The first address that answered, or empty. Any thread.
  std::string FirstFoundAddress();

 protected:
  int Run() override;
  void OnStopRequested() noexcept override { slot_.Abort(); }

 private:
  void Query();
  bool QueryFromPackageInfo();
  void WaitForNetwork();
  bool ProbeHost(const ProbeTarget& target);
  bool QueryUrl(const std::string& version, std::string& address);
  std::vector<std::string> HeadWithRedirects(std::string& address);
  HttpResponseHead HeadWithRetries(const UrlParts& parts);
  std::wstring ChooseFileName(const std::vector<std::string>& lines, const std::string& version) const;
  void SetAddress(const std::string& address);
  void ThrowIfStopped() const;

  IUrlInfoSink& sink_;
  const DownloadEnvironment environment_;
  ClientSlot slot_;
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  CXMutex lock_;  // guards address_ and info_.urls against the readers above
  std::string address_;
  UrlInfo info_;
  // The parts of the address most recently given to QueryUrl; relative
  // redirects are completed with them.
  UrlParts current_;
};
