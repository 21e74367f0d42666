// CDownloadThread: fetches one byte range of the package on its own thread
// and connection, with ranged GET requests, and writes it through the sink
// (the downloader). A broken connection is resumed from the first missing
// byte, up to the retry limit; a 3xx reply moves the next attempt to its
// Location. The owner learns the outcome from the thread ending and from the
// offsets the sink kept.
//
// Destroying the object stops it promptly: the connection is aborted, so a
// blocked connect, send or recv returns at once, and the thread is joined.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "download/range_sink.h"
#include "net/tcp_client.h"
#include "sys/worker_thread.h"

class ILoggerServer;

// Received body bytes are held in a block of this size before they are written.
constexpr int32_t DOWNLOAD_BUFFER_BYTES = 1024 * 1024;

enum DownloadThreadStatus : int32_t {
  DownloadThreadRunning = 1,
  DownloadThreadCancelled = 3,  // set by the destructor
  DownloadThreadComplete = 4,   // the whole range is in the file
  DownloadThreadFailed = 5,
};

class CDownloadThread final : public COrvaneBasedThread, public CTCPClient {
 public:
  // Fetches bytes first..last (inclusive) of the package at url, using
  // timeoutMs as receive and send time-out and at most maxRetries attempts;
  // writes through sink as segment index. Raises "init url failed" (after
  // its event) for a bad address and "Can't resolve host name" when neither
  // the current resolver nor the public one knows the host.
  CDownloadThread(const std::string& url, int32_t timeoutMs, int32_t maxRetries, int64_t first,
                  int64_t last, IRangeSink& sink, int32_t index, ILoggerServer* logger);
  ~CDownloadThread() override;

  int32_t Status() const noexcept { return status_.load(); }

 protected:
  int Run() override;
  void OnStopRequested() noexcept override;

 private:
  enum class HeadStep { Incomplete, Separated, EndAttempt };

  void Fetch();
  bool SendRequest();
  bool ReceiveRange();
  // Takes the reply head out of the buffer once its blank line is there.
  // EndAttempt for a redirect and for a head that grew too long.
  HeadStep SeparateHead(size_t& searched);
  void FollowRedirect(const std::string& location);
  // Counts body bytes just added to the buffer; drops those beyond last.
  void TakeBody(int32_t count);
  void Flush();
  void Pause(DWORD ms) const;
  void ThrowIfCancelled() const;

  std::atomic<int32_t> status_{DownloadThreadRunning};
  std::unique_ptr<char[]> buffer_;
  int32_t buffered_ = 0;
  bool headerPending_ = true;
  std::string urlHost_;
  uint16_t urlPort_ = 80;
  std::string urlPath_;
  const int32_t maxRetries_;
  int64_t position_;     // file offset of the next body byte to receive
  const int64_t last_;   // last byte of the range, inclusive
  const int64_t writeBase_;
  int64_t flushed_ = 0;  // bytes written so far; the next write goes to writeBase_ + flushed_
  IRangeSink& sink_;
  const int32_t index_;
  ILoggerServer* const logger_;
};
