#include "download/c_downloader.h"

#include <winsock2.h>

#include <utility>

#include "api/pkg_info.h"
#include "download/download_events.h"

CDownloader::CDownloader(DownloadEnvironment environment) : environment_(std::move(environment)) {
  WSADATA data = {};
  winsockStarted_ = ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

CDownloader::~CDownloader() {
  state_ = DownloadShutDown;
  // The query first: it may still hand its answer over and start workers.
  query_.reset();
  StopSegments();
  {
    CXMutexLock guard(mutex_);
    file_.reset();
  }
  if (winsockStarted_) ::WSACleanup();
}

bool CDownloader::Start() {
  const int32_t state = state_.load();
  if (state == DownloadRunning || state == DownloadReady) return true;
  if (state == DownloadShutDown) return false;
  SendDownloadStart(environment_.logger);
  if (!segments_.empty()) {
    // The URL information of an earlier run: continue its incomplete ranges.
    if (!StartSegments()) return false;
    state_ = DownloadRunning;
    return true;
  }
  query_.reset();
  try {
    query_ = std::make_unique<QueryUrlInfoThread>(std::string(), *this, environment_);
  } catch (...) {
  }
  if (!query_ || query_->ThreadHandle() == nullptr) {
    query_.reset();
    return false;
  }
  // A query that found a usable package at once has already made it ready.
  ChangeState(state, DownloadRunning);
  return true;
}

int32_t CDownloader::GetProgress() {
  const int64_t total = totalSize_.load();
  if (total <= 0) return 0;
  return static_cast<int32_t>(receivedSize_.load() * 100 / total);
}

int32_t CDownloader::Poll() {
  if (state_.load() != DownloadRunning) return state_.load();
  if (!query_) {
    StopSegments();
    Fail();
    return state_.load();
  }
  if (!query_->IsFinished()) return DownloadRunning;
  if (segments_.empty()) {
    Fail();
    return state_.load();
  }
  bool busy = false;
  if (!PollSegments(busy)) {
    StopSegments();
    Fail();
    return state_.load();
  }
  if (busy) return DownloadRunning;
  FinishDownload();
  return state_.load();
}

std::wstring CDownloader::GetFilePath() { return FilePath(); }

std::string CDownloader::GetPackageUrl() {
  if (!query_) return environment_.fallbackUrl;
  std::string address = query_->FallbackAddress();
  if (address.empty()) address = query_->FirstFoundAddress();
  if (address.empty()) address = environment_.fallbackUrl;
  return address;
}

std::vector<CDownloader::SegmentView> CDownloader::Segments() {
  CXMutexLock guard(mutex_);
  std::vector<SegmentView> views;
  for (const Segment& segment : segments_) {
    views.push_back(SegmentView{segment.range.next, segment.range.last, segment.worker != nullptr});
  }
  return views;
}

bool CDownloader::ChangeState(int32_t from, int32_t to) { return state_.compare_exchange_strong(from, to); }

void CDownloader::Fail() { ChangeState(DownloadRunning, DownloadFailed); }

bool CDownloader::MakeReady() {
  int32_t current = state_.load();
  while (current != DownloadShutDown && !state_.compare_exchange_weak(current, DownloadReady)) {
  }
  return current != DownloadShutDown;
}

std::wstring CDownloader::FilePath() {
  CXMutexLock guard(mutex_);
  return filePath_;
}

void CDownloader::SetFilePath(const std::wstring& path) {
  CXMutexLock guard(mutex_);
  filePath_ = path;
}

std::string CDownloader::PackageMd5() const {
  if (environment_.pkgInfo == nullptr) return std::string();
  const char* md5 = environment_.pkgInfo->GetMd5();
  return md5 != nullptr ? md5 : "";
}

IDownloader* CreateDownloader() {
  try {
    return new CDownloader(DefaultDownloadEnvironment());
  } catch (...) {
    return nullptr;
  }
}
