#include "download/url_info_query.h"

#include <stdexcept>
#include <utility>

#include "api/pkg_info.h"
#include "download/download_events.h"
#include "net/tcp_client.h"

namespace {

// How long the query waits for the package information to arrive.
constexpr DWORD PACKAGE_WAIT_MS = 10000;
// Between two reachability probes while the package information is pending,
// so a quick network is not flooded with connections for the whole wait.
constexpr DWORD PROBE_PASS_PAUSE_MS = 100;
constexpr DWORD START_POLL_MS = 5;

}  // namespace

QueryUrlInfoThread::QueryUrlInfoThread(std::string address, IUrlInfoSink& sink,
                                       DownloadEnvironment environment)
    : sink_(sink), environment_(std::move(environment)), address_(std::move(address)) {
  ReleaseThread();
  // Returns only once Run executes (or when there is no thread at all).
  while (!started_.load() && IsRunning()) ::Sleep(START_POLL_MS);
}

QueryUrlInfoThread::~QueryUrlInfoThread() { StopWorkerThread(); }

std::string QueryUrlInfoThread::FallbackAddress() {
  CXMutexLock guard(lock_);
  return address_;
}

std::string QueryUrlInfoThread::FirstFoundAddress() {
  CXMutexLock guard(lock_);
  return info_.urls.empty() ? std::string() : info_.urls.front();
}

int QueryUrlInfoThread::Run() {
  started_ = true;
  try {
    Query();
  } catch (...) {
    // Every failure ends the query; the sink still gets what was found.
  }
  try {
    sink_.OnUrlInfo(info_);
  } catch (...) {
  }
  finished_ = true;
  return 0;
}

void QueryUrlInfoThread::Query() {
  if (address_.empty()) {
    if (QueryFromPackageInfo()) return;
    ThrowIfStopped();
    SetAddress(environment_.fallbackUrl);
  }
  std::string address = address_;
  const bool found = QueryUrl(std::string(), address);
  SetAddress(address);
  if (found) return;
  SendDownloadError(environment_.logger, download_event::QUERY_ERROR, download_event::NO_PACKAGE_INFO);
}

bool QueryUrlInfoThread::QueryFromPackageInfo() {
  IPkgInfo* const package = environment_.pkgInfo;
  if (package == nullptr) return false;
  const DWORD start = ::GetTickCount();
  for (int32_t status = package->GetStatus(); status != QueryDone; status = package->GetStatus()) {
    if (status == QueryFailed) return false;
    ThrowIfStopped();
    if (::GetTickCount() - start >= PACKAGE_WAIT_MS) return false;
    WaitForNetwork();
    if (!SleepUnlessStopped(PROBE_PASS_PAUSE_MS)) ThrowIfStopped();
  }
  const char* versionCode = package->GetVersionCode();
  const std::string version = versionCode != nullptr ? versionCode : "";
  const int32_t count = package->GetUrlCount();
  for (int32_t i = 0; i < count; ++i) {
    ThrowIfStopped();
    const char* url = package->GetUrl(i);
    std::string address = url != nullptr ? url : "";
    QueryUrl(version, address);
  }
  CXMutexLock guard(lock_);
  return !info_.urls.empty();
}

void QueryUrlInfoThread::WaitForNetwork() {
  for (const ProbeTarget& target : environment_.probes) {
    ThrowIfStopped();
    if (ProbeHost(target)) return;
  }
  SendDownloadError(environment_.logger, download_event::QUERY_ERROR, download_event::NETWORK_FAILED);
  throw std::runtime_error("network connect error");
}

bool QueryUrlInfoThread::ProbeHost(const ProbeTarget& target) {
  try {
    CTCPClient probe;
    AttachedClient attached(slot_, probe);
    try {
      probe.Resolve(target.host, target.port);
    } catch (const std::exception&) {
      probe.Resolve(target.host, target.port);
    }
    // One direct connection (two connect calls on the same socket), no proxy.
    probe.ConnectOnce();
    probe.Close();
    return true;
  } catch (...) {
    return false;
  }
}

void QueryUrlInfoThread::SetAddress(const std::string& address) {
  CXMutexLock guard(lock_);
  address_ = address;
}

void QueryUrlInfoThread::ThrowIfStopped() const {
  if (IsStopRequested()) throw std::runtime_error("user query stop thread");
}
