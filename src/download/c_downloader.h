// CDownloader: fetches the setup program into the package cache. Start runs
// the URL information query; with its answer the downloader reuses a
// recorded package or creates the target file at full size and hands its
// byte ranges to download workers; Poll notices when they are done, checks
// the MD5, records the package in config.ini and reports it ready. A failed
// run keeps what arrived, and the next Start continues the incomplete ranges.
//
// Threads: Start, Release and GetPackageUrl on the UI thread; Poll on the
// progress page's timer thread; OnUrlInfo on the query's thread; WriteAt on
// the workers' threads; GetProgress anywhere.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "download/byte_ranges.h"
#include "download/download_environment.h"
#include "download/download_thread.h"
#include "download/downloader.h"
#include "download/range_sink.h"
#include "download/url_info.h"
#include "download/url_info_query.h"
#include "sys/file_stream.h"
#include "sys/xmutex.h"

class CDownloader final : public IDownloader, public IUrlInfoSink, public IRangeSink {
 public:
  // Starts Windows Sockets for the object's lifetime.
  explicit CDownloader(DownloadEnvironment environment);
  ~CDownloader();

  CDownloader(const CDownloader&) = delete;
  CDownloader& operator=(const CDownloader&) = delete;

  bool Start() override;
  bool Unused1() override { return false; }
  bool Unused2() override { return false; }
  bool Unused3() override { return false; }
  int32_t GetProgress() override;
  int32_t Poll() override;
  void Release() override { delete this; }
  std::wstring GetFilePath() override;
  std::string GetPackageUrl() override;

  void OnUrlInfo(const UrlInfo& info) override;
  bool WriteAt(int32_t count, int32_t index, const char* data, int64_t offset) override;

  // What the ranges look like now, for whoever watches the download.
  struct SegmentView {
    int64_t next;
    int64_t last;
    bool hasWorker;
  };
  std::vector<SegmentView> Segments();
  int32_t State() const { return state_.load(); }
  int64_t TotalSize() const { return totalSize_.load(); }

 private:
  struct Segment {
    std::string url;
    std::unique_ptr<CDownloadThread> worker;
    ByteRange range;
  };

  // downloader_segments.cpp
  void ChooseFilePath(const std::wstring& offeredName);
  bool CreateTargetFile();
  bool StartSegments();
  void StopSegments();
  bool PollSegments(bool& busy);
  void RestartDownload();
  void FinishDownload();

  // package_cache.cpp
  bool VerifyPackage();
  void RememberPackage();
  bool UseCachedPackage();
  bool UseRecordedPackage();
  bool RecordedPackageMatches(const std::wstring& path);
  void UseLocalPackage(const std::wstring& path);

  // Moves from `from` to `to` only; false when the state was something else
  // (the destructor's shut-down is never overwritten).
  bool ChangeState(int32_t from, int32_t to);
  void Fail();
  // Ready from any state but the shut-down; false when shut down.
  bool MakeReady();
  std::wstring FilePath();
  void SetFilePath(const std::wstring& path);
  std::string PackageMd5() const;

  const DownloadEnvironment environment_;
  std::atomic<int32_t> state_{DownloadIdle};
  CXMutex mutex_;  // the file, its path, the segments' offsets and workers
  std::wstring filePath_;
  std::atomic<int64_t> totalSize_{0};
  std::atomic<int64_t> receivedSize_{0};
  std::unique_ptr<CFileStream> file_;
  std::unique_ptr<QueryUrlInfoThread> query_;
  std::vector<Segment> segments_;
  bool winsockStarted_ = false;
};
