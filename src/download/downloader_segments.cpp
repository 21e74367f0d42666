// CDownloader: the target file, its byte ranges and the workers that fill
// them.
#include <stdexcept>

#include "download/c_downloader.h"
#include "download/download_events.h"
#include "download/package_name.h"
#include "sys/app_info.h"
#include "sys/file_ops.h"
#include "sys/path_pieces.h"

namespace {

constexpr wchar_t PACKAGE_FOLDER[] = L"TESSARO\\";

// Seconds between the file's creation and its last write; 0 when unknown.
int32_t DownloadSeconds(const std::wstring& path) {
  try {
    CFileStream stream(OpenFileHandle(OpenModeReadShared, path));
    int64_t creation = 0;
    int64_t lastAccess = 0;
    int64_t lastWrite = 0;
    if (!stream.GetTimes(creation, lastAccess, lastWrite)) return 0;
    const int64_t seconds = lastWrite - creation;
    return seconds > 0 ? static_cast<int32_t>(seconds) : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

void CDownloader::OnUrlInfo(const UrlInfo& info) {
  if (state_.load() == DownloadShutDown) return;
  try {
    if (info.size <= 0 || info.urls.empty()) {
      SendDownloadError(environment_.logger, download_event::WORKER_ERROR, download_event::BAD_ARGUMENTS);
      UseRecordedPackage();
      return;
    }
    if (UseCachedPackage()) return;
    totalSize_ = info.size;
    if (FilePath().empty()) ChooseFilePath(info.fileName);
    if (!CreateTargetFile()) return;
    {
      CXMutexLock guard(mutex_);
      segments_.clear();
      for (const ByteRange& range : SplitIntoRanges(info.size, environment_.segmentCount)) {
        segments_.push_back(Segment{info.urls.front(), nullptr, range});
      }
    }
    receivedSize_ = 0;
    StartSegments();
  } catch (...) {
    // Without segments the next Poll reports the failure.
  }
}

void CDownloader::ChooseFilePath(const std::wstring& offeredName) {
  // The query only offers plain names; checked again because the name
  // becomes a path that is later run elevated.
  std::wstring name = IsPlainFileName(offeredName) ? offeredName : FileNameOfPath(environment_.ownModulePath);
  if (name.empty()) name = FALLBACK_PACKAGE_NAME;
  if (environment_.appInfo != nullptr) {
    const std::wstring channelName = ChannelPackageName(environment_.appInfo->GetProductVersion(L""));
    if (!channelName.empty()) name = channelName;
  }
  SetFilePath(environment_.cacheRoot + PACKAGE_FOLDER + name);
}

// Creates (or truncates) the target at full size and keeps it open for the
// workers; false, with no file kept, when that fails.
bool CDownloader::CreateTargetFile() {
  const std::wstring path = FilePath();
  std::unique_ptr<CFileStream> stream;
  try {
    CreateDirectoryChain(environment_.cacheRoot + PACKAGE_FOLDER);
    stream = std::make_unique<CFileStream>(OpenFileHandle(OpenModeCreate, path));
    if (!stream->SetSize(totalSize_.load())) stream.reset();
  } catch (const std::exception&) {
    stream.reset();
  }
  CXMutexLock guard(mutex_);
  file_ = std::move(stream);
  return file_ != nullptr;
}

bool CDownloader::StartSegments() {
  for (size_t i = 0; i < segments_.size(); ++i) {
    if (segments_[i].range.Complete()) continue;
    std::unique_ptr<CDownloadThread> worker;
    try {
      ByteRange range;
      std::string url;
      {
        CXMutexLock guard(mutex_);
        range = segments_[i].range;
        url = segments_[i].url;
      }
      worker = std::make_unique<CDownloadThread>(url, environment_.socketTimeoutMs, environment_.maxRetries,
                                                 range.next, range.last, *this, static_cast<int32_t>(i),
                                                 environment_.logger);
    } catch (...) {
      SendDownloadError(environment_.logger, download_event::WORKER_ERROR, download_event::CREATE_WORKER_FAILED);
      StopSegments();
      return false;
    }
    CXMutexLock guard(mutex_);
    segments_[i].worker = std::move(worker);
  }
  return true;
}

void CDownloader::StopSegments() {
  for (Segment& segment : segments_) {
    std::unique_ptr<CDownloadThread> worker;
    {
      CXMutexLock guard(mutex_);
      worker = std::move(segment.worker);
    }
    // Joined outside the lock: the worker may be waiting for it in WriteAt.
    worker.reset();
  }
}

// False when an incomplete range has no worker left to fill it; busy when a
// worker still runs.
bool CDownloader::PollSegments(bool& busy) {
  CXMutexLock guard(mutex_);
  for (const Segment& segment : segments_) {
    if (segment.range.Complete()) continue;
    if (!segment.worker || !segment.worker->IsRunning()) return false;
    busy = true;
  }
  return true;
}

bool CDownloader::WriteAt(int32_t count, int32_t index, const char* data, int64_t offset) {
  CXMutexLock guard(mutex_);
  if (!file_ || count <= 0 || index < 0 || static_cast<size_t>(index) >= segments_.size()) return false;
  if (file_->SeekTo(offset) != offset) return false;
  if (file_->Write(data, static_cast<uint32_t>(count)) != count) return false;
  receivedSize_ += count;
  segments_[static_cast<size_t>(index)].range.next += count;
  return true;
}

void CDownloader::FinishDownload() {
  {
    CXMutexLock guard(mutex_);
    file_.reset();
  }
  if (!VerifyPackage()) {
    RestartDownload();
    return;
  }
  StopSegments();
  SendDownloadResult(environment_.logger, download_event::DOWNLOADED, DownloadSeconds(FilePath()));
  RememberPackage();
  ChangeState(DownloadRunning, DownloadReady);
}

// After a package that failed its check: an empty file at full size and every
// range from its start, so the next Start fetches everything again.
void CDownloader::RestartDownload() {
  StopSegments();
  CreateTargetFile();
  {
    CXMutexLock guard(mutex_);
    const std::vector<ByteRange> fresh = SplitIntoRanges(totalSize_.load(), environment_.segmentCount);
    for (size_t i = 0; i < segments_.size() && i < fresh.size(); ++i) segments_[i].range.next = fresh[i].next;
  }
  receivedSize_ = 0;
  ChangeState(DownloadRunning, DownloadFailed);
}
