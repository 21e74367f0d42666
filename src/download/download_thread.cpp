#include "download/download_thread.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "deployment.h"
#include "download/download_events.h"
#include "download/range_reply.h"
#include "net/network_check.h"

namespace {

constexpr DWORD START_PAUSE_MS = 10;
constexpr DWORD CONNECT_RETRY_PAUSE_MS = 10;
constexpr DWORD RETRY_PAUSE_MS = 500;
// The worker gives up after this many connection failures in a row.
constexpr int32_t MAX_CONNECT_FAILURES = 10;
constexpr size_t SEND_PIECE_BYTES = 1024;
constexpr int32_t RECV_PIECE_BYTES = 1024;

[[noreturn]] void Cancelled() { throw std::runtime_error("User cancel thread"); }

}  // namespace

CDownloadThread::CDownloadThread(const std::string& url, int32_t timeoutMs, int32_t maxRetries,
                                 int64_t first, int64_t last, IRangeSink& sink, int32_t index,
                                 ILoggerServer* logger)
    : maxRetries_(maxRetries),
      position_(first),
      last_(last),
      writeBase_(first),
      sink_(sink),
      index_(index),
      logger_(logger) {
  const UrlParts parts = ParseUrlOrRaise(url, logger_);
  urlHost_ = parts.host;
  urlPort_ = parts.port;
  urlPath_ = parts.path;
  // As the HTTP client does: the process's resolver, else the public one,
  // which then serves the whole process.
  dns = CurrentDnsSetting();
  try {
    Resolve(urlHost_, urlPort_);
  } catch (const std::exception&) {
    dns.mode = DnsOwn;
    dns.server = deployment::PRIMARY_DNS_SERVER;
    Resolve(urlHost_, urlPort_);
    PublishDnsSetting(dns);
  }
  SetRecvTimeout(timeoutMs);
  SetSendTimeout(timeoutMs);
  buffer_.reset(new char[DOWNLOAD_BUFFER_BYTES]);
  ReleaseThread();
}

CDownloadThread::~CDownloadThread() { StopWorkerThread(); }

void CDownloadThread::OnStopRequested() noexcept {
  int32_t expected = DownloadThreadRunning;
  status_.compare_exchange_strong(expected, DownloadThreadCancelled);
  Abort();
}

int CDownloadThread::Run() {
  try {
    Fetch();
  } catch (...) {
    int32_t expected = DownloadThreadRunning;
    status_.compare_exchange_strong(expected, DownloadThreadFailed);
  }
  return 0;
}

void CDownloadThread::Fetch() {
  Pause(START_PAUSE_MS);
  int32_t connectFailuresInRow = 0;
  for (int32_t attempt = 0; attempt < maxRetries_; ++attempt) {
    ThrowIfCancelled();
    try {
      Connect();
    } catch (const std::exception&) {
      ThrowIfCancelled();
      if (++connectFailuresInRow > MAX_CONNECT_FAILURES) {
        SendDownloadError(logger_, download_event::WORKER_ERROR, download_event::CONNECT_FAILED);
        status_ = DownloadThreadFailed;
        return;
      }
      Pause(CONNECT_RETRY_PAUSE_MS);
      continue;
    }
    connectFailuresInRow = 0;
    const bool complete = SendRequest() && ReceiveRange();
    Close();
    if (complete) {
      status_ = DownloadThreadComplete;
      return;
    }
    Pause(RETRY_PAUSE_MS);
  }
  SendDownloadError(logger_, download_event::WORKER_ERROR, download_event::RETRIES_USED_UP);
  status_ = DownloadThreadFailed;
}

bool CDownloadThread::SendRequest() {
  const std::string request = BuildRangeRequest(urlPath_, urlHost_, position_, last_);
  const SOCKET s = Socket();
  for (size_t sent = 0; sent < request.size();) {
    ThrowIfCancelled();
    const int piece = static_cast<int>(std::min(request.size() - sent, SEND_PIECE_BYTES));
    const int result = ::send(s, request.data() + sent, piece, 0);
    if (result <= 0) return false;
    sent += static_cast<size_t>(result);
  }
  return true;
}

// True when the whole range is in the file. Whatever body arrived before the
// connection ended is written, so the next attempt asks for the rest only.
bool CDownloadThread::ReceiveRange() {
  buffered_ = 0;
  headerPending_ = true;
  size_t searched = 0;
  const SOCKET s = Socket();
  for (;;) {
    ThrowIfCancelled();
    const int room = std::min(RECV_PIECE_BYTES, DOWNLOAD_BUFFER_BYTES - buffered_);
    const int received = ::recv(s, buffer_.get() + buffered_, room, 0);
    if (received <= 0) {
      if (!headerPending_) Flush();
      return false;
    }
    buffered_ += received;
    if (headerPending_) {
      const HeadStep step = SeparateHead(searched);
      if (step == HeadStep::EndAttempt) return false;
      if (step == HeadStep::Incomplete) continue;
      TakeBody(buffered_);
    } else {
      TakeBody(received);
    }
    if (buffered_ == DOWNLOAD_BUFFER_BYTES || position_ > last_) Flush();
    if (position_ > last_) return true;
  }
}

// The head may arrive in any number of pieces; its bytes stay in the buffer
// until the blank line is there, so neither the status line nor the first
// body bytes are lost.
CDownloadThread::HeadStep CDownloadThread::SeparateHead(size_t& searched) {
  const size_t length = static_cast<size_t>(buffered_);
  const size_t headLength = FindHeadEnd(buffer_.get(), length, searched);
  if (headLength == 0) {
    searched = length;
    return length >= RANGE_HEAD_LIMIT ? HeadStep::EndAttempt : HeadStep::Incomplete;
  }
  const RangeReplyHead head = ReadRangeReplyHead(buffer_.get(), headLength);
  if (head.IsRedirect()) {
    if (!head.location.empty()) FollowRedirect(head.location);
    return HeadStep::EndAttempt;
  }
  // Only a partial reply, or the whole file when the range starts at byte 0,
  // carries the package's bytes: an error page (404, 500, ...) written into
  // the range would make a corrupt package that only an MD5, if the gateway
  // gave one, could catch. Such a reply ends the attempt.
  if (!(head.status == 206 || (head.status == 200 && position_ == 0))) return HeadStep::EndAttempt;
  std::memmove(buffer_.get(), buffer_.get() + headLength, length - headLength);
  buffered_ = static_cast<int32_t>(length - headLength);
  headerPending_ = false;
  return HeadStep::Separated;
}

// The next attempt goes to the new place and asks for the same bytes. A
// relative target stays on the current host and port.
void CDownloadThread::FollowRedirect(const std::string& location) {
  const UrlParts parts = ParseUrlOrRaise(ResolveLocation(location, urlHost_, urlPort_), logger_);
  urlHost_ = parts.host;
  urlPort_ = parts.port;
  urlPath_ = parts.path;
  Resolve(urlHost_, urlPort_);
}

// Bytes beyond the end of the range belong to another worker's range (or to
// nothing): they are dropped, never written.
void CDownloadThread::TakeBody(int32_t count) {
  const int64_t missing = last_ - position_ + 1;
  const int32_t kept = static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(count, missing)));
  buffered_ -= count - kept;
  position_ += kept;
}

void CDownloadThread::Flush() {
  if (buffered_ == 0) return;
  if (!sink_.WriteAt(buffered_, index_, buffer_.get(), writeBase_ + flushed_)) {
    SendDownloadError(logger_, download_event::WORKER_ERROR, download_event::WRITE_FAILED);
    throw std::runtime_error(" write file failed");
  }
  flushed_ += buffered_;
  buffered_ = 0;
}

void CDownloadThread::Pause(DWORD ms) const {
  if (!SleepUnlessStopped(ms)) Cancelled();
}

void CDownloadThread::ThrowIfCancelled() const {
  if (status_.load() == DownloadThreadCancelled || IsStopRequested()) Cancelled();
}
