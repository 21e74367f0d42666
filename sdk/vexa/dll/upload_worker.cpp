#include "vexa/dll/upload_worker.h"

#include <winsock2.h>

#include "vexa/core/spool_upload.h"
#include "vexa/dll/vexa_settings.h"

namespace {

constexpr DWORD kFirstBackoffMs = 1000;
constexpr DWORD kMaxBackoffMs = 60000;
// Records other processes left behind are picked up this often.
constexpr DWORD kIdleRescanMs = 30000;

// Keeps Winsock started for the life of the thread.
class WinsockSession {
 public:
  WinsockSession() {
    WSADATA data;
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockSession() {
    if (started_) ::WSACleanup();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;

 private:
  bool started_ = false;
};

}  // namespace

UploadWorker::UploadWorker(Spool spool)
    : spool_(std::move(spool)),
      wake_(::CreateEventW(nullptr, FALSE, TRUE, nullptr)),
      flushDone_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  ReleaseThread();
}

UploadWorker::~UploadWorker() { StopWorkerThread(); }

void UploadWorker::Wake() noexcept { ::SetEvent(wake_.get()); }

bool UploadWorker::Flush(DWORD timeoutMs) noexcept {
  if (!IsRunning() || !flushDone_) return false;
  ::ResetEvent(flushDone_.get());
  flushRequested_ = true;
  Wake();
  return ::WaitForSingleObject(flushDone_.get(), timeoutMs) == WAIT_OBJECT_0 && lastFlushEmptied_.load();
}

DWORD UploadWorker::NextWaitMs() const {
  if (backoffMs_ == 0) return kIdleRescanMs;
  const auto left = static_cast<LONG>(nextAttemptTick_ - ::GetTickCount());
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

int UploadWorker::Run() {
  if (!wake_ || !flushDone_) return 1;
  WinsockSession winsock;
  for (;;) {
    HANDLE waits[2] = {StopEvent(), wake_.get()};
    const DWORD result = ::WaitForMultipleObjects(2, waits, FALSE, NextWaitMs());
    if (result == WAIT_OBJECT_0 || IsStopRequested()) break;
    const bool flushing = flushRequested_.exchange(false);
    const uint32_t generation = VexaSettings::Instance().TargetGeneration();
    const bool targetChanged = generation != seenGeneration_;
    seenGeneration_ = generation;
    // A commit during back-off waits for its turn; a flush or a new target
    // tries at once.
    if (result == WAIT_OBJECT_0 + 1 && !flushing && !targetChanged && NextWaitMs() > 0 && backoffMs_ != 0) continue;
    if (targetChanged) backoffMs_ = 0;
    Attempt();
    if (flushing) ::SetEvent(flushDone_.get());
  }
  return 0;
}

void UploadWorker::Attempt() {
  switch (DrainSpool(spool_, VexaSettings::Instance().Target(), StopEvent())) {
    case DrainResult::Empty:
      backoffMs_ = 0;
      lastFlushEmptied_ = true;
      return;
    case DrainResult::Failed:
      backoffMs_ = backoffMs_ == 0 ? kFirstBackoffMs : (backoffMs_ * 2 > kMaxBackoffMs ? kMaxBackoffMs : backoffMs_ * 2);
      nextAttemptTick_ = ::GetTickCount() + backoffMs_;
      break;
    case DrainResult::NoTarget:
    case DrainResult::Cancelled:
      break;
  }
  lastFlushEmptied_ = false;
}
